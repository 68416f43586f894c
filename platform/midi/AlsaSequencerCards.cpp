#include "AlsaSequencerCards.h"

#include "AlsaSequencerProbe.h"

#include <alsa/asoundlib.h>

int AlsaSequencerCards::cardOfClient(int client)
{
    AlsaSequencerProbe::routeLibraryMessages();
    snd_seq_t* sequencer = nullptr;
    if (snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0)
        return -1;
    snd_seq_client_info_t* info = nullptr;
    int card = -1;
    if (snd_seq_client_info_malloc(&info) == 0) {
        if (snd_seq_get_any_client_info(sequencer, client, info) == 0)
            card = snd_seq_client_info_get_card(info);
        snd_seq_client_info_free(info);
    }
    snd_seq_close(sequencer);
    return card < 0 ? -1 : card;
}
