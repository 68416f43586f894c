#include "CliTransfer.h"

#include "CliExitCode.h"
#include "CliInstruments.h"
#include "CliOutput.h"
#include "CliPrompt.h"
#include "FirmwareVersion.h"
#include "storage/full/FileManager.h"
#include "app/full/FullEditionWiring.h"

#include <QCoreApplication>
#include <QTimer>

// The texts keep the translation context "CliSession", where they were first written, so the
// German catalogue's entries for them stay in use.

CliTransfer::CliTransfer(CliInstruments& instruments, FullEditionWiring& wiring,
                         const Timings& timings, CliOutput& output, QObject* parent)
    : QObject(parent), instruments(instruments), wiring(wiring), timings(timings), out(output),
      flow(wiring.transferFlow())
{
    MidiHandler& midi = wiring.midiHandler();
    connect(&midi, &MidiHandler::deviceReenumerationFinished, this, &CliTransfer::onReenumerated);
    connect(&flow, &TransferFlow::stateChanged, this, &CliTransfer::onFlowState);
    flow.setBridge(&bridge);
    connect(&bridge, &FileManagerBridge::requestEjectDevice, wiring.fileManager(),
            &FileManager::ejectDeviceAndEmit, Qt::QueuedConnection);
}

void CliTransfer::start(const QString& firmware)
{
    if (!FirmwareVersion::offersTransfer(firmware)) {
        end(CliExitCode::kFailed,
            QCoreApplication::translate("CliSession", "Transfer mode needs firmware 1.5.0 or later; "
                                                      "the instrument has %1.").arg(firmware));
        return;
    }
    flow.start();
}

void CliTransfer::onFlowState(TransferFlow::State state)
{
    switch (state) {
    case TransferFlow::State::Connecting:
        out.event(QStringLiteral("entering_transfer"),
                  QCoreApplication::translate("CliSession", "Switching the instrument to transfer mode..."));
        return;
    case TransferFlow::State::Open:
        if (!shown)
            showVolume();
        return;
    case TransferFlow::State::Finalizing:
        out.event(QStringLiteral("leaving_transfer"),
                  QCoreApplication::translate("CliSession", "Ejecting the volume and returning the "
                                                            "instrument to normal..."));
        return;
    case TransferFlow::State::Idle:
        out.print({{QStringLiteral("event"), QStringLiteral("transfer_ended")},
                   {QStringLiteral("mode"), QStringLiteral("normal")}},
                  QCoreApplication::translate("CliSession", "The instrument is back in normal mode."));
        end(stopRequested ? CliExitCode::kInterrupted : CliExitCode::kDone);
        return;
    }
}

// The link's wait ends without the instrument: the flow hears of no acknowledgment then.
void CliTransfer::onReenumerated(bool success)
{
    if (success)
        return;
    if (flow.state() == TransferFlow::State::Connecting)
        end(CliExitCode::kFailed,
            QCoreApplication::translate("CliSession", "The instrument did not come back in transfer mode."));
    else if (flow.state() == TransferFlow::State::Finalizing)
        end(CliExitCode::kFailed,
            QCoreApplication::translate("CliSession", "The instrument did not come back after the "
                                                      "transfer. Switch it off and on again."));
}

void CliTransfer::showVolume()
{
    const QString path = instruments.volumePath(CliInstruments::kTransferVolume);
    if (path.isEmpty()) {
        // The volume mounts a moment after the instrument is back: look again.
        if (++volumeLooks * timings.cli.pollMs
            > timings.storage.volumeRetryIntervalMs * timings.storage.maxVolumeRetries) {
            // A drive with the label that is not the instrument's one volume is named.
            const QString refusal = instruments.volumeRefusal(CliInstruments::kTransferVolume);
            end(CliExitCode::kStorage,
                (refusal.isEmpty() ? QString() : refusal + QLatin1Char(' '))
                    + QCoreApplication::translate("CliSession", "The instrument is in transfer mode, but its "
                                                          "volume %1 did not appear. Run \"tavlo transfer "
                                                          "--done\" to return it to normal.")
                    .arg(CliInstruments::kTransferVolume));
            return;
        }
        QTimer::singleShot(timings.cli.pollMs, this, &CliTransfer::showVolume);
        return;
    }
    if (ended || shown || flow.state() != TransferFlow::State::Open)
        return;
    shown = true;
    out.print({{QStringLiteral("event"), QStringLiteral("transfer")},
               {QStringLiteral("mode"), QStringLiteral("transfer")},
               {QStringLiteral("mount_path"), path}},
              QCoreApplication::translate("CliSession", "The instrument's storage is at %1").arg(path));
    if (stopRequested) {
        leave();
        return;
    }
    out.note(QCoreApplication::translate("CliSession", "Press Enter to eject it and return the instrument "
                                                       "to normal (or run \"tavlo transfer --done\" later)."));
    waitForEnter();
}

void CliTransfer::waitForEnter()
{
    CliPrompt::waitForLine(this, [this](bool entered) {
        if (ended || flow.state() != TransferFlow::State::Open)
            return;
        if (entered) {
            leave();
            return;
        }
        // No one to press Enter (the input ended): the instrument stays in transfer mode.
        out.note(QCoreApplication::translate("CliSession", "Left in transfer mode; run \"tavlo transfer "
                                                           "--done\" to end it."));
        end(CliExitCode::kDone);
    });
}

void CliTransfer::leave()
{
    if (instruments.volumePath(CliInstruments::kTransferVolume).isEmpty()) {
        // A drive with the label that is not the instrument's one volume: left alone, and
        // the user told why.
        const QString refusal = instruments.volumeRefusal(CliInstruments::kTransferVolume);
        if (!refusal.isEmpty())
            out.note(refusal);
        out.print({{QStringLiteral("event"), QStringLiteral("transfer_ended")},
                   {QStringLiteral("mode"), QStringLiteral("normal")}},
                  QCoreApplication::translate("CliSession", "The instrument is not in transfer mode. "
                                                            "Nothing to do."));
        end(CliExitCode::kDone);
        return;
    }
    connect(wiring.fileManager(), &FileManager::ejectCompleted, this, [this](bool ejected) {
        if (!ejected && !ended)
            end(CliExitCode::kStorage,
                QCoreApplication::translate("CliSession", "The volume %1 could not be ejected; close the "
                                                          "files open on it and run \"tavlo transfer "
                                                          "--done\" again.")
                    .arg(CliInstruments::kTransferVolume));
    }, Qt::QueuedConnection);
    // "--done" at start: an earlier run left the instrument showing its storage.
    shown = true;
    flow.resumeOpen();
    flow.done();
}

void CliTransfer::requestStop()
{
    if (stopRequested)
        return;
    stopRequested = true;
    switch (flow.state()) {
    case TransferFlow::State::Connecting:
        out.note(QCoreApplication::translate("CliSession", "Stopping once the instrument is in transfer "
                                                           "mode, to return it to normal."));
        return;
    case TransferFlow::State::Open:
        leave();
        return;
    case TransferFlow::State::Finalizing:
        out.note(QCoreApplication::translate("CliSession", "Stopping once the instrument is back in normal mode."));
        return;
    case TransferFlow::State::Idle:
        return;
    }
}

void CliTransfer::end(int code, const QString& problem)
{
    if (ended)
        return;
    ended = true;
    Q_EMIT finished(code, problem);
}
