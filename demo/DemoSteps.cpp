#include "DemoSteps.h"

#include "DemoEdition.h"
#include "SimInstrument.h"

#include <QCoreApplication>

namespace DemoSteps {

namespace {

// A window text in the language the window speaks (the English source without a catalogue).
QString inWindowLanguage(const char* context, const char* source)
{
    return QCoreApplication::translate(context, source);
}

// The part of a translated text before its first placeholder.
QString before(const char* context, const char* source)
{
    const QString text = inWindowLanguage(context, source);
    return text.left(text.indexOf(QLatin1String("%1")));
}

} // namespace

std::vector<DemoAutoplay::Step> update(DemoAutoplay& play, SimInstrument& instrument,
                                       const QString& newVersion, const DemoEdition& edition)
{
    using Step = DemoAutoplay::Step;
    auto versionLine = [&play] { return play.text(QStringLiteral("versionText")); };
    const QString progressItem = edition.downloadProgressItem;
    return {
        Step{QStringLiteral("searching for the instrument"), nullptr, QStringLiteral("01-searching"),
             nullptr, 1000},
        Step{QStringLiteral("the instrument is connected and has told its version"),
             [&play, &instrument] {
                 return play.isShown(QStringLiteral("updateButton"))
                        && !instrument.midi().receivedMessages().isEmpty();
             },
             QStringLiteral("02-home"),
             [&play] { play.press(QStringLiteral("updateButton")); }},
        Step{QStringLiteral("the update on offer"),
             [&play, versionLine] {
                 return play.isShown(QStringLiteral("startUpdateButton"))
                        && versionLine().startsWith(inWindowLanguage("UpdateFlow", "The latest available version is Tvx"));
             },
             QStringLiteral("03-update-screen"),
             [&play] { play.press(QStringLiteral("startUpdateButton")); }},
        // Where the instrument has the transfer mode, its projects are backed up first.
        Step{QStringLiteral("backing up before the update"),
             [&play, &edition] {
                 return !edition.hasTransferMode || play.isShown(QStringLiteral("backupProgress"));
             },
             edition.hasTransferMode ? QStringLiteral("03a-backing-up") : QString(), nullptr},
        Step{QStringLiteral("downloading"),
             [&play, versionLine, progressItem] {
                 // A window without a progress bar shows the percentage in its version line.
                 return progressItem.isEmpty()
                            ? versionLine().startsWith(before("UpdateFlow", "Downloading... %1%"))
                            : play.isShown(progressItem);
             },
             QStringLiteral("04-downloading"), nullptr},
        Step{QStringLiteral("the update file is on the instrument"),
             [versionLine] { return versionLine() == inWindowLanguage("UpdateFlow", "File transfer complete!"); },
             QStringLiteral("05-update-complete"), nullptr, 60000},
        Step{QStringLiteral("the instrument applied the update and came back"),
             [&instrument, newVersion] {
                 return instrument.firmwareVersion() == newVersion && instrument.midi().isOnBus();
             },
             QString(), nullptr, 60000},
        Step{QStringLiteral("the window confirms the firmware the instrument came back with"),
             [&play, newVersion] {
                 return play.text(QStringLiteral("confirmationText"))
                        == inWindowLanguage("UpdateFlow", "Tavlo now runs firmware %1.").arg(newVersion);
             },
             QStringLiteral("06-update-confirmed"), nullptr, 30000},
    };
}

std::vector<DemoAutoplay::Step> transfer(DemoAutoplay& play)
{
    using Step = DemoAutoplay::Step;
    auto shown = [&play](const char* name) {
        return [&play, name] { return play.isShown(QString::fromLatin1(name)); };
    };
    auto press = [&play](const char* name) {
        return [&play, name] { play.press(QString::fromLatin1(name)); };
    };
    auto versionLineStarts = [&play](const char* start) {
        return [&play, start] {
            return play.text(QStringLiteral("versionText")).startsWith(inWindowLanguage("TransferFlow", start));
        };
    };
    return {
        Step{QStringLiteral("home with the transfer offer"), shown("transferButton"),
             QStringLiteral("11-home-with-transfer"), press("transferButton")},
        Step{QStringLiteral("connecting"), nullptr, QString(), nullptr},
        Step{QStringLiteral("connecting, a moment later"), versionLineStarts("Connecting to Tavlo"),
             QStringLiteral("12-connecting"), nullptr},
        Step{QStringLiteral("the transfer screen"), shown("openProjectsButton"),
             QStringLiteral("13-transfer-screen"), press("openProjectsButton")},
        Step{QStringLiteral("open instruments"), nullptr, QString(), press("openDefinitionsButton")},
        Step{QStringLiteral("open MIDI files"), nullptr, QString(), press("openMidiFilesButton")},
        Step{QStringLiteral("open grooves"), nullptr, QString(), press("openGroovesButton")},
        Step{QStringLiteral("done"), shown("completeTransferButton"), QString(),
             press("completeTransferButton")},
        Step{QStringLiteral("finalizing"), versionLineStarts("Finalizing Transfer"),
             QStringLiteral("14-finalizing"), nullptr},
        Step{QStringLiteral("back home"), shown("updateButton"), QStringLiteral("15-back-home"),
             nullptr, 60000},
    };
}

std::vector<DemoAutoplay::Step> restore(DemoAutoplay& play)
{
    using Step = DemoAutoplay::Step;
    auto shown = [&play](const char* name) {
        return [&play, name] { return play.isShown(QString::fromLatin1(name)); };
    };
    auto press = [&play](const char* name) {
        return [&play, name] { play.press(QString::fromLatin1(name)); };
    };
    auto titled = [&play](const char* source) {
        return [&play, source] {
            return play.text(QStringLiteral("restoreTitle")) == inWindowLanguage("RestoreFlow", source);
        };
    };
    return {
        Step{QStringLiteral("home with the restore offer"), shown("restoreButton"),
             QStringLiteral("41-home-with-restore"), press("restoreButton")},
        Step{QStringLiteral("the backups"), shown("backupRow"), QStringLiteral("42-restore-list"),
             press("backupRow")},
        Step{QStringLiteral("the files that differ from the backup"), shown("replaceButton"),
             QStringLiteral("43-restore-asks"), press("replaceButton"), 60000},
        Step{QStringLiteral("restored"), titled("Restore complete"),
             QStringLiteral("44-restore-complete"), press("restoreCloseButton"), 60000},
        Step{QStringLiteral("back home"), shown("updateButton"), QString(), nullptr, 60000},
    };
}

} // namespace DemoSteps
