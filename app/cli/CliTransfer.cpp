#include "CliTransfer.h"

#include "CliExitCode.h"
#include "CliInstruments.h"
#include "CliOutput.h"
#include "CliPrompt.h"
#include "CliUpdateChecks.h"
#include "storage/full/FileManager.h"
#include "app/full/FullEditionWiring.h"

#include <QCoreApplication>
#include <QTimer>

// The texts keep the translation context "CliSession", where they were first written, so the
// German catalogue's entries for them stay in use.

CliTransfer::CliTransfer(CliInstruments& instruments, FullEditionWiring& wiring,
                         const Timings& timings, CliOutput& output, QObject* parent)
    : QObject(parent), instruments(instruments), wiring(wiring), timings(timings), out(output)
{
    MidiHandler& midi = wiring.midiHandler();
    connect(&midi, &MidiHandler::deviceReenumerationFinished, this, &CliTransfer::onReenumerated);
    connect(&midi, &MidiHandler::transferSysExReceived, this, [this] {
        if (current == State::Entering)
            showVolume();
    });
    connect(this, &CliTransfer::ejectRequested, wiring.fileManager(), &FileManager::ejectDeviceAndEmit,
            Qt::QueuedConnection);
}

void CliTransfer::start(const QString& firmware)
{
    if (!CliUpdateChecks::offersTransfer(firmware)) {
        end(CliExitCode::kFailed,
            QCoreApplication::translate("CliSession", "Transfer mode needs firmware 1.5.0 or later; "
                                                      "the instrument has %1.").arg(firmware));
        return;
    }
    current = State::Entering;
    out.event(QStringLiteral("entering_transfer"),
              QCoreApplication::translate("CliSession", "Switching the instrument to transfer mode..."));
    wiring.midiHandler().sendTransferSysEx();
}

void CliTransfer::onReenumerated(bool success)
{
    if (current == State::Entering) {
        if (success)
            showVolume();
        else
            end(CliExitCode::kFailed,
                QCoreApplication::translate("CliSession", "The instrument did not come back in transfer mode."));
    } else if (current == State::Leaving) {
        if (!success) {
            end(CliExitCode::kFailed,
                QCoreApplication::translate("CliSession", "The instrument did not come back after the "
                                                          "transfer. Switch it off and on again."));
            return;
        }
        out.print({{QStringLiteral("event"), QStringLiteral("transfer_ended")},
                   {QStringLiteral("mode"), QStringLiteral("normal")}},
                  QCoreApplication::translate("CliSession", "The instrument is back in normal mode."));
        end(stopRequested ? CliExitCode::kInterrupted : CliExitCode::kDone);
    }
}

void CliTransfer::showVolume()
{
    const QString path = instruments.volumePath(CliInstruments::kTransferVolume);
    if (path.isEmpty()) {
        // The volume mounts a moment after the instrument is back: look again.
        if (++volumeLooks * timings.cli.pollMs
            > timings.storage.volumeRetryIntervalMs * timings.storage.maxVolumeRetries) {
            end(CliExitCode::kStorage,
                QCoreApplication::translate("CliSession", "The instrument is in transfer mode, but its "
                                                          "volume %1 did not appear. Run \"tavlo transfer "
                                                          "--done\" to return it to normal.")
                    .arg(CliInstruments::kTransferVolume));
            return;
        }
        QTimer::singleShot(timings.cli.pollMs, this, &CliTransfer::showVolume);
        return;
    }
    if (current != State::Entering)
        return;
    current = State::InTransfer;
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
        if (current != State::InTransfer)
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
        out.print({{QStringLiteral("event"), QStringLiteral("transfer_ended")},
                   {QStringLiteral("mode"), QStringLiteral("normal")}},
                  QCoreApplication::translate("CliSession", "The instrument is not in transfer mode. "
                                                            "Nothing to do."));
        end(CliExitCode::kDone);
        return;
    }
    current = State::Leaving;
    out.event(QStringLiteral("leaving_transfer"),
              QCoreApplication::translate("CliSession", "Ejecting the volume and returning the instrument "
                                                        "to normal..."));
    connect(wiring.fileManager(), &FileManager::ejectCompleted, this, [this](bool ejected) {
        if (!ejected && current == State::Leaving)
            end(CliExitCode::kStorage,
                QCoreApplication::translate("CliSession", "The volume %1 could not be ejected; close the "
                                                          "files open on it and run \"tavlo transfer "
                                                          "--done\" again.")
                    .arg(CliInstruments::kTransferVolume));
    }, Qt::QueuedConnection);
    Q_EMIT ejectRequested(CliInstruments::kTransferVolume);
}

void CliTransfer::requestStop()
{
    if (stopRequested)
        return;
    stopRequested = true;
    switch (current) {
    case State::Entering:
        out.note(QCoreApplication::translate("CliSession", "Stopping once the instrument is in transfer "
                                                           "mode, to return it to normal."));
        return;
    case State::InTransfer:
        leave();
        return;
    case State::Leaving:
        out.note(QCoreApplication::translate("CliSession", "Stopping once the instrument is back in normal mode."));
        return;
    case State::Idle:
    case State::Ended:
        return;
    }
}

void CliTransfer::end(int code, const QString& problem)
{
    if (current == State::Ended)
        return;
    current = State::Ended;
    Q_EMIT finished(code, problem);
}
