#pragma once

// Asks the ALSA sequencer which sound card a sequencer client belongs to.
class AlsaSequencerCards
{
public:
    // The card number of a kernel client (>= 0), or -1 for a user-space client, an unknown
    // client, or a system without a sequencer.
    static int cardOfClient(int client);
};
