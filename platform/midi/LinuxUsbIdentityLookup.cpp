#include "LinuxUsbIdentityLookup.h"

#include "AlsaSequencerCards.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <utility>

namespace {

QString readTrimmed(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).trimmed();
}

} // namespace

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
    const QString root = QFileInfo(sysfsRoot).canonicalFilePath();
    if (root.isEmpty())
        return {};
    QString dir = QFileInfo(QStringLiteral("%1/class/sound/card%2/device").arg(sysfsRoot).arg(card))
                      .canonicalFilePath();
    // Walk up from the card's device to the USB device that holds the identity, never
    // leaving the sysfs tree.
    while (!dir.isEmpty() && dir.startsWith(root) && dir != root) {
        const QString vendorPath = dir + QStringLiteral("/idVendor");
        const QString productPath = dir + QStringLiteral("/idProduct");
        if (QFileInfo::exists(vendorPath) && QFileInfo::exists(productPath)) {
            UsbIds ids;
            ids.vendorId = readTrimmed(vendorPath).toUpper();
            ids.productId = readTrimmed(productPath).toUpper();
            ids.found = !ids.vendorId.isEmpty() && !ids.productId.isEmpty();
            return ids;
        }
        const QString parent = QFileInfo(dir).path();
        if (parent == dir)
            break;
        dir = parent;
    }
    return {};
}
