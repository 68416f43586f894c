#include "DemoEventLog.h"

#include "AppWiring.h"
#include "FileManager.h"
#include "SimInstrument.h"

namespace {
QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}
QString flag(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
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

void DemoEventLog::watchProgram(AppWiring& wiring)
{
    MidiHandler* midi = &wiring.midiHandler();
    const QString m = QStringLiteral("midiHandler");
    connect(midi, &MidiHandler::deviceFound, this,
            [this, m](bool found) { write(m, QStringLiteral("deviceFound(%1)").arg(flag(found))); });
    connect(midi, &MidiHandler::tavloReceivedVersion, this, [this, m](const QString& version) {
        write(m, QStringLiteral("tavloReceivedVersion(\"%1\")").arg(version));
    });
    connect(midi, &MidiHandler::deviceSetToTransferMode, this,
            [this, m] { write(m, QStringLiteral("deviceSetToTransferMode()")); });
    connect(midi, &MidiHandler::updateTransferDone, this,
            [this, m] { write(m, QStringLiteral("updateTransferDone()")); });
#ifndef TAVLO_UPDATE_ONLY
    connect(midi, &MidiHandler::deviceReenumerationFinished, this, [this, m](bool ok) {
        write(m, QStringLiteral("deviceReenumerationFinished(%1)").arg(flag(ok)));
    });
    connect(midi, &MidiHandler::transferSysExReceived, this,
            [this, m] { write(m, QStringLiteral("transferSysExReceived()")); });
    connect(midi, &MidiHandler::transferSysExEndReceived, this,
            [this, m] { write(m, QStringLiteral("transferSysExEndReceived()")); });
#endif

    Downloader* downloader = &wiring.downloader();
    const QString d = QStringLiteral("downloader");
    connect(downloader, &Downloader::latestVersionFetched, this, [this, d](const QString& v) {
        write(d, QStringLiteral("latestVersionFetched(\"%1\")").arg(v));
    });
    connect(downloader, &Downloader::downloadingProgressBar, this, [this, d](qlonglong p) {
        write(d, QStringLiteral("downloadingProgressBar(%1)").arg(p));
    });
#ifndef TAVLO_UPDATE_ONLY
    connect(downloader, &Downloader::downloadStatus, this,
            [this, d](bool ok, const QString& message) {
                write(d, QStringLiteral("downloadStatus(%1, \"%2\")").arg(flag(ok), message));
            });
#endif
    connect(downloader, &Downloader::downloadFinished, this,
            [this, d](bool ok, const QString& path, const QString& name) {
                write(d, QStringLiteral("downloadFinished(%1, \"%2\", \"%3\")").arg(flag(ok), path, name));
            });

    MainController* controller = &wiring.mainController();
    const QString c = QStringLiteral("mainController");
#ifdef TAVLO_UPDATE_ONLY
    connect(controller, &MainController::copyingFileProgress, this, [this, c](const QString& p) {
        write(c, QStringLiteral("copyingFileProgress(\"%1\")").arg(p));
    });
#else
    connect(controller, &MainController::copyingFileProgress, this,
            [this, c](int p) { write(c, QStringLiteral("copyingFileProgress(%1)").arg(p)); });
#endif
    connect(controller, &MainController::fileTransferComplete, this, [this, c](bool ok) {
        write(c, QStringLiteral("fileTransferComplete(%1)").arg(flag(ok)));
    });
#ifndef TAVLO_UPDATE_ONLY
    connect(wiring.fileManager(), &FileManager::ejectCompleted, this, [this](bool ok) {
        write(QStringLiteral("fileManager"), QStringLiteral("ejectCompleted(%1)").arg(flag(ok)));
    });
#endif
}
