#include "DemoChoiceSteps.h"

#include "SimInstrument.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QQuickItem>
#include <QUrl>

#include <memory>

namespace DemoChoiceSteps {

namespace {

using Step = DemoAutoplay::Step;

QString translated(const char* context, const char* source)
{
    return QCoreApplication::translate(context, source);
}

// From home to the update screen with its choices; the screenshot shows them.
std::vector<Step> toUpdateScreen(DemoAutoplay& play, SimInstrument& instrument, const QString& shot)
{
    return {
        Step{QStringLiteral("the instrument is connected and has told its version"),
             [&play, &instrument] {
                 return play.isShown(QStringLiteral("updateButton")) && instrument.midi().isOnBus();
             },
             QString(), [&play] { play.press(QStringLiteral("updateButton")); }},
        Step{QStringLiteral("the update screen with its choices"),
             [&play] { return play.isShown(QStringLiteral("versionsButton")); }, shot, nullptr},
    };
}

// The instrument applied one more update than before the run.
Step applied(SimInstrument& instrument, const std::shared_ptr<int>& before, const QString& shot,
             DemoAutoplay& play)
{
    return Step{QStringLiteral("the update file is on the instrument"),
                [&play, &instrument, before] {
                    return play.text(QStringLiteral("versionText"))
                               == translated("UpdateFlow", "File transfer complete!")
                           && instrument.appliedUpdates().size() > *before;
                },
                shot, nullptr, 90000};
}

} // namespace

std::vector<Step> localFile(DemoAutoplay& play, SimInstrument& instrument, const QString& path)
{
    auto before = std::make_shared<int>(0);
    std::vector<Step> steps = toUpdateScreen(play, instrument, QStringLiteral("21-update-screen-choices"));
    steps.back().action = [&play, &instrument, before] {
        *before = int(instrument.appliedUpdates().size());
        play.press(QStringLiteral("fileButton"));
    };
    auto dialog = [&play]() -> QObject* {
        QQuickItem* page = play.item(QStringLiteral("choicesPage"));
        return page ? page->findChild<QObject*>(QStringLiteral("updateFileDialog")) : nullptr;
    };
    steps.push_back(Step{QStringLiteral("the file dialog, filtered to update files"),
                         [dialog] { return dialog() && dialog()->property("visible").toBool(); },
                         QStringLiteral("22-file-dialog"),
                         [&play, dialog, path] {
                             // The demo cannot click through the folders: it hands over the
                             // file the way the dialog does when one is picked.
                             QMetaObject::invokeMethod(dialog(), "reject");
                             QMetaObject::invokeMethod(play.item(QStringLiteral("choicesPage")), "fileChosen",
                                                       Q_ARG(QVariant, QVariant(QUrl::fromLocalFile(path))));
                         }});
    steps.push_back(Step{QStringLiteral("which file and which size"),
                         [&play] { return play.isShown(QStringLiteral("choiceActionButton"))
                                          && play.item(QStringLiteral("choiceActionButton"))->isEnabled(); },
                         QStringLiteral("23-local-file-chosen"),
                         [&play] { play.press(QStringLiteral("choiceActionButton")); }});
    steps.push_back(applied(instrument, before, QStringLiteral("24-local-file-installed"), play));
    return steps;
}

std::vector<Step> downgrade(DemoAutoplay& play, SimInstrument& instrument, const QString& olderVersion)
{
    auto before = std::make_shared<int>(0);
    std::vector<Step> steps = toUpdateScreen(play, instrument, QString());
    steps.back().action = [&play, &instrument, before] {
        *before = int(instrument.appliedUpdates().size());
        play.press(QStringLiteral("versionsButton"));
    };
    steps.push_back(Step{QStringLiteral("the version list, the update on offer picked"),
                         [&play] { return play.isShown(QStringLiteral("versionList")); },
                         QStringLiteral("31-version-list"),
                         [&play, olderVersion] {
                             QQuickItem* list = play.item(QStringLiteral("versionList"));
                             auto* model = list->property("model").value<QAbstractItemModel*>();
                             const int role = model->roleNames().key("version");
                             for (int row = 0; row < model->rowCount(); ++row) {
                                 if (model->index(row, 0).data(role).toString() == olderVersion)
                                     list->setProperty("currentIndex", row);
                             }
                         }});
    steps.push_back(Step{QStringLiteral("the older version with its release notes"),
                         [&play] { return play.isShown(QStringLiteral("releaseNotes")); },
                         QStringLiteral("32-older-version-notes"),
                         [&play] { play.press(QStringLiteral("choiceActionButton")); }});
    steps.push_back(Step{QStringLiteral("the downgrade warning"),
                         [&play] { return play.isShown(QStringLiteral("downgradeWarning")); },
                         QStringLiteral("33-downgrade-warning"),
                         [&play] { play.press(QStringLiteral("choiceActionButton")); }});
    steps.push_back(applied(instrument, before, QStringLiteral("34-downgrade-installed"), play));
    return steps;
}

} // namespace DemoChoiceSteps
