#pragma once

#include "UsbIdentityLookup.h"

#include <functional>

// Linux: the ALSA sequencer's port names end in " client:port" ("Tavlo:Tavlo MIDI 1 24:0").
// The sequencer client gives the sound card, the card's device in sysfs leads up to the USB
// device, whose idVendor and idProduct files hold the identity.
class LinuxUsbIdentityLookup : public UsbIdentityLookup
{
public:
    // Gives the sound card number of a sequencer client, or a negative number when the client
    // has no card (user-space clients) or the sequencer cannot be asked.
    using ClientCardQuery = std::function<int(int client)>;

    explicit LinuxUsbIdentityLookup(QString sysfsRoot = QStringLiteral("/sys"),
                                    ClientCardQuery clientCard = {});

    UsbIds lookUp(const QString& portName) override;

    // The sequencer client number in an ALSA port name, or -1 when the name has no
    // " client:port" suffix.
    static int sequencerClientOf(const QString& portName);

private:
    UsbIds idsOfCard(int card) const;

    QString sysfsRoot;
    ClientCardQuery clientCard;
};
