#include "CliInstruments.h"

#include "ChosenPortBackend.h"
#include "CliOutput.h"
#include "storage/full/FileManager.h"

#include <QJsonObject>

const QString CliInstruments::kTransferVolume = QStringLiteral("TAVLO");
const QString CliInstruments::kUpdateVolume = QStringLiteral("tavloupd");

CliInstruments::CliInstruments(const Platform& platform, const QString& port) : forLink(platform)
{
    if (platform.midi && platform.usb)
        found = InstrumentScan::scan(*platform.midi, *platform.usb, &problem);
    if (port.isEmpty()) {
        picked = found;
        return;
    }
    for (const InstrumentScan::Instrument& instrument : found)
        if (InstrumentScan::portMatches(instrument.input, port)
            || InstrumentScan::portMatches(instrument.output, port))
            picked << instrument;
    forLink.midi = std::make_shared<ChosenPortBackend>(platform.midi, port);
}

QString CliInstruments::volumePath(const QString& label) const
{
    if (!files)
        return QString();
    FileManager* manager = files;
    QString path;
    QMetaObject::invokeMethod(manager, [manager, label] { return manager->findDeviceMountPath(label); },
                              Qt::BlockingQueuedConnection, &path);
    return path;
}

QString CliInstruments::volumeRefusal(const QString& label) const
{
    if (!files)
        return QString();
    FileManager* manager = files;
    QString why;
    QMetaObject::invokeMethod(manager, [manager, label] { return manager->volumeRefusal(label); },
                              Qt::BlockingQueuedConnection, &why);
    return why;
}

QString CliInstruments::volumeMode() const
{
    if (!volumePath(kUpdateVolume).isEmpty())
        return QStringLiteral("update");
    if (!volumePath(kTransferVolume).isEmpty())
        return QStringLiteral("transfer");
    return QString();
}

void CliInstruments::print(CliOutput& out, const QList<InstrumentScan::Instrument>& list,
                           const QString& firmware) const
{
    const QString volume = volumeMode();
    const QString mode = volume.isEmpty() ? QStringLiteral("normal") : volume;
    for (const InstrumentScan::Instrument& instrument : list) {
        const QString version = list.size() == 1 ? firmware : QString();
        out.print({{QStringLiteral("event"), QStringLiteral("instrument")},
                   {QStringLiteral("input"), instrument.input},
                   {QStringLiteral("output"), instrument.output},
                   {QStringLiteral("vendor_id"), instrument.ids.vendorId},
                   {QStringLiteral("product_id"), instrument.ids.productId},
                   {QStringLiteral("firmware"), version},
                   {QStringLiteral("mode"), mode}},
                  tr("%1  USB %2:%3  firmware %4  %5 mode")
                      .arg(instrument.input, instrument.ids.vendorId, instrument.ids.productId,
                           version.isEmpty() ? tr("unknown") : version, mode));
    }
}
