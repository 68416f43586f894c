#include "DemoEventLog.h"

#include "SignalTap.h"
#include "Wiring.h"
#include "SimInstrument.h"

namespace {
QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}
} // namespace

DemoEventLog::DemoEventLog(const QString& path, QObject* parent) : QObject(parent), file(path)
{
    file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    clock.start();
}

void DemoEventLog::write(const QString& source, const QString& text)
{
    if (!file.isOpen())
        return;
    file.write(QStringLiteral("%1 %2: %3\n").arg(clock.elapsed(), 7).arg(source, text).toUtf8());
    file.flush();
}

void DemoEventLog::watchInstrument(SimInstrument& instrument)
{
    connect(&instrument, &SimInstrument::event, this,
            [this](const QString& line) { write(QStringLiteral("instrument"), line); });
    connect(&instrument.bus(), &SimMidiBus::programSent, this,
            [this](const QString& port, const QByteArray& message) {
                write(QStringLiteral("midi"), QStringLiteral("sent %1 on \"%2\"").arg(hex(message), port));
            });
    connect(&instrument.bus(), &SimMidiBus::programSendWasDropped, this,
            [this](const QByteArray& message) {
                write(QStringLiteral("midi"), QStringLiteral("dropped %1 (port closed)").arg(hex(message)));
            });
    connect(&instrument, &SimInstrument::updateApplied, this,
            [this](const QString& version, qint64 size, const QByteArray& sha256) {
                write(QStringLiteral("applied"), QStringLiteral("size %1 sha256 %2 version %3")
                                                     .arg(size)
                                                     .arg(QString::fromLatin1(sha256), version));
            });
}

void DemoEventLog::watchProgram(Wiring& wiring)
{
    // The signals the window and the wiring care about; a signal that an edition's object
    // does not have is simply not heard.
    const QList<QPair<QString, QList<QByteArray>>> watched{
        {QStringLiteral("midiHandler"),
         {"deviceFound", "tavloReceivedVersion", "deviceSetToTransferMode", "updateTransferDone",
          "deviceReenumerationFinished", "transferSysExReceived", "transferSysExEndReceived"}},
        {QStringLiteral("downloader"),
         {"latestVersionFetched", "downloadingProgressBar", "downloadStatus", "downloadFinished"}},
        {QStringLiteral("mainController"), {"copyingFileProgress", "fileTransferComplete"}},
    };
    for (const Wiring::Published& entry : wiring.published()) {
        for (const auto& [source, signalNames] : watched) {
            if (source == entry.name)
                tap(entry.object, source, signalNames);
        }
    }
    tap(wiring.storage(), QStringLiteral("fileManager"), {"readBackChecked", "ejectCompleted"});
}

void DemoEventLog::tap(QObject* object, const QString& source, const QList<QByteArray>& signalNames)
{
    for (const QByteArray& name : signalNames) {
        // Emissions on the storage worker are written on this object's thread, in order.
        new SignalTap(
            object, name,
            [this, source](const QString& emission) {
                QMetaObject::invokeMethod(this, [this, source, emission] { write(source, emission); });
            },
            this);
    }
}
