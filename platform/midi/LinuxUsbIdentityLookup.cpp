#include "LinuxUsbIdentityLookup.h"

#include "AlsaSequencerCards.h"

#include <SysfsUsbDevice.h>

#include <QRegularExpression>

#include <utility>

LinuxUsbIdentityLookup::LinuxUsbIdentityLookup(QString sysfsRoot, ClientCardQuery clientCard)
    : sysfsRoot(std::move(sysfsRoot))
    , clientCard(clientCard ? std::move(clientCard) : ClientCardQuery(&AlsaSequencerCards::cardOfClient))
{
}

int LinuxUsbIdentityLookup::sequencerClientOf(const QString& portName)
{
    static const QRegularExpression suffix(QStringLiteral(" (\\d+):(\\d+)$"));
    const QRegularExpressionMatch match = suffix.match(portName);
    if (!match.hasMatch())
        return -1;
    bool ok = false;
    const int client = match.captured(1).toInt(&ok);
    return ok ? client : -1;
}

UsbIds LinuxUsbIdentityLookup::lookUp(const QString& portName)
{
    const int client = sequencerClientOf(portName);
    if (client < 0)
        return {};
    const int card = clientCard(client);
    if (card < 0)
        return {};
    return idsOfCard(card);
}

UsbIds LinuxUsbIdentityLookup::idsOfCard(int card) const
{
    // Up from the card's device to the USB device that holds the identity, never leaving the
    // sysfs tree.
    return SysfsUsbDevice::above(sysfsRoot, QStringLiteral("%1/class/sound/card%2/device").arg(sysfsRoot).arg(card));
}
