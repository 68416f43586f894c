// Every screen of both windows, in English and in German, reached through the stand-ins of
// the published objects and a real UpdateChoices holding the built-in example's catalogue:
// the layout and keyboard check (LayoutCheck, KeyboardCheck) finds nothing, Enter and Return
// press each button, and Escape leaves the version page and the file dialog. The screens
// that show a fault known today say so (QEXPECT_FAIL "known: ..."): they pass once it is
// mended, and then the mark must go.

#include "AccessibleCheck.h"
#include "DemoReleases.h"
#include "DownloadFailureText.h"
#include "InstrumentLock.h"
#include "WindowClaim.h"
#include "KeyboardCheck.h"
#include "KnownScreenFaults.h"
#include "LayoutCheck.h"
#include "MainWindowFixture.h"
#include "MidiProblemText.h"
#include "ReleaseCatalogue.h"
#include "ScreenItems.h"
#include "Startup.h"
#include "UpdateChoices.h"
#include "UpdateDownload.h"
#include "UpdaterWindowFixture.h"

#include <QAccessible>
#include <QDeadlineTimer>
#include <QDir>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <memory>

namespace {

// The built-in example: its catalogue's entries and an update file outside it.
struct Example
{
    QTemporaryDir folder;
    QList<ReleaseEntry> entries;
    QString localFile;
};

// The sentences the Downloader gives for a catalogue that is not JSON and one answered with 500.
// The link's sentences for a MIDI problem, as the sequencer's errno gives it.
QString midiProblem(MidiProblem::Kind kind, const char* detail)
{
    return MidiProblemText::sentence({kind, detail});
}

QString catalogueNotJson()
{
    return QCoreApplication::translate("DownloadFailureText", "The release server's list of updates is unusable (%1).")
        .arg(ReleaseCatalogue::parse("<html>maintenance</html>").problem());
}

QString catalogueAnswered500()
{
    return QCoreApplication::translate("DownloadFailureText", "The list of updates could not be read. ")
           + DownloadFailureText::forReply(QNetworkReply::InternalServerError, 500);
}

// One window of either edition with the stand-ins and the example's choices published.
class Window
{
public:
    Window(const QString& edition, const Example& example)
        : download(QUrl(QStringLiteral("https://127.0.0.1:9/"))), choices(download), example(example)
    {
        // As once the catalogue is read: its list, and its last entry the update on offer.
        choices.setEntries(example.entries);
        download.choose(example.entries.constLast());
        if (edition == QLatin1String("full"))
            full = std::make_unique<MainWindowFixture>();
        else
            updater = std::make_unique<UpdaterWindowFixture>();
        driver().publish(QStringLiteral("updateChoices"), &choices);
        (full ? full->objects.flows : updater->flows).update.setChoices(&choices);
    }

    WindowDriver& driver() { return full ? full->driver : updater->driver; }
    StandInDownloader& downloader() { return full ? full->objects.downloader : updater->downloader; }
    QQuickWindow* window() { return driver().window(); }

    bool load()
    {
        if (!(full ? full->load() : updater->load()))
            return false;
        // "EXIT" quits the application: here it must not end the test.
        QObject::disconnect(&driver().engine(), nullptr, QCoreApplication::instance(), nullptr);
        return true;
    }

    QObject* dialog() { return driver().root()->findChild<QObject*>(QStringLiteral("updateFileDialog")); }

    // The fixtures' steps, and three of this test's own: "installed <v>" (the instrument told
    // its version to the choices, as the wiring does), "folder" (the file dialog shows the
    // example's folder) and "file" (the example's update file picked in the dialog). In a
    // step, @notJson and @500 stand for the Downloader's sentences, @midiMissing,
    // @midiRefused and @portInUse for the link's, in the language spoken.
    bool playAll(const QStringList& steps)
    {
        for (QString step : steps) {
            step.replace(QLatin1String("@notJson"), catalogueNotJson()).replace(QLatin1String("@500"), catalogueAnswered500());
            step.replace(QLatin1String("@midiMissing"),
                         midiProblem(MidiProblem::Kind::ServiceMissing, "/dev/snd/seq: no such file or directory"))
                .replace(QLatin1String("@midiRefused"),
                         midiProblem(MidiProblem::Kind::PermissionDenied, "/dev/snd/seq: permission denied"))
                .replace(QLatin1String("@portInUse"), midiProblem(MidiProblem::Kind::PortInUse, ""));
            bool ok = true;
            if (step.startsWith(QLatin1String("installed ")))
                choices.setInstalledVersion(step.section(QLatin1Char(' '), 1));
            else if (step == QLatin1String("folder"))
                ok = dialog() && dialog()->setProperty("currentFolder", QUrl::fromLocalFile(example.folder.path()))
                     && folderShown();
            else if (step == QLatin1String("file"))
                ok = QMetaObject::invokeMethod(driver().item(QStringLiteral("choicesPage")), "fileChosen",
                                               Q_ARG(QVariant, QVariant(QUrl::fromLocalFile(example.localFile))));
            else if (full)
                ok = full->playAll({step});
            else
                ok = updater->play(step);
            if (!ok)
                return false;
        }
        return true;
    }

    static int rowsUnder(const QQuickItem* item)
    {
        int rows = item->objectName().startsWith(QLatin1String("fileDialogDelegate")) ? 1 : 0;
        for (const QQuickItem* child : item->childItems())
            rows += rowsUnder(child);
        return rows;
    }

    // The dialog reads the folder on a thread of its own and makes its rows as the names
    // come: its rows are there when their number has held for a while.
    bool folderShown()
    {
        int rows = -1;
        int steady = 0;
        QDeadlineTimer deadline(5000);
        while (steady < 5 && !deadline.hasExpired()) {
            QTest::qWait(50);
            const int now = rowsUnder(driver().window()->contentItem());
            steady = now > 0 && now == rows ? steady + 1 : 0;
            rows = now;
        }
        return steady >= 5;
    }

    UpdateDownload download;
    UpdateChoices choices;

private:
    const Example& example;
    std::unique_ptr<MainWindowFixture> full;
    std::unique_ptr<UpdaterWindowFixture> updater;
};

const QStringList kEditions{QStringLiteral("full"), QStringLiteral("updater")};

const QStringList kHome{"found", "latest 1.6.0", "version 1.5.0", "installed 1.5.0"};
const QStringList kUpdate = kHome + QStringList{"press updateButton"};
const QStringList kStarted = kUpdate + QStringList{"press startUpdateButton"};
const QStringList kVersions = kUpdate + QStringList{"press versionsButton"};
const QStringList kTransfer = kHome + QStringList{"press transferButton", "transferAck"};

} // namespace

class ScreenCheckTest : public QObject
{
    Q_OBJECT

    Example example;
    QTranslator german;

    // The German catalogue for the rows whose tag ends in "(de)".
    void speak(const QByteArray& tag)
    {
        QCoreApplication::removeTranslator(&german);
        if (tag.endsWith("(de)"))
            QVERIFY(Startup::installTranslation(german, QLocale(QStringLiteral("de_DE"))));
    }

private slots:
    void initTestCase()
    {
        QAccessible::setActive(true);
        QCOMPARE(Startup::registerFonts(), 3);
        QString error;
        QVERIFY2(DemoReleases::writeExample(QDir(example.folder.path()), &error), qPrintable(error));
        example.localFile = DemoReleases::writeLocalFile(QDir(example.folder.path()), &error);
        QVERIFY2(!example.localFile.isEmpty(), qPrintable(error));
        QFile catalogue(example.folder.filePath(QStringLiteral("releases.json")));
        QVERIFY(catalogue.open(QIODevice::ReadOnly));
        example.entries = ReleaseCatalogue::parse(catalogue.readAll()).entries();
        QCOMPARE(example.entries.size(), 3);
    }

    void cleanup() { QCoreApplication::removeTranslator(&german); }

    // Each screen in both languages: nothing but the faults it names (KnownScreenFaults).
    void screens_data()
    {
        QTest::addColumn<QString>("edition");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("faults"); // each as {"id"} or {"id (de)"}: in German only

        struct Row
        {
            const char* name;
            QStringList editions;
            QStringList steps;
            QStringList faults;
        };
        const QList<Row> rows{
            {"searching", kEditions, {}, {}},
            {"not connected", kEditions, {"lost"}, {}},
            {"searching, MIDI system missing", kEditions, {"midiProblem @midiMissing"}, {}},
            {"searching, MIDI system refused", kEditions, {"midiProblem @midiRefused"}, {}},
            {"not connected, port in use", kEditions, {"lost", "midiProblem @portInUse"}, {}},
            {"home", kEditions, kHome, {}},
            {"interrupted update offered", kEditions, kHome + QStringList{"interrupted"}, {}},
            {"home without transfer", {"full"}, {"found", "latest 1.6.0", "version 1.4.0"}, {}},
            {"update screen", kEditions, kUpdate, {}},
            {"update screen, unplugged", {"full"}, kUpdate + QStringList{"lost"}, {"instructions-over-screen"}},
            {"update screen, no catalogue", kEditions, {"found", "reason @notJson", "press updateButton"}, {}},
            {"already installed", kEditions, {"found", "versionCheck true", "press updateButton"}, {}},
            {"up to date", kEditions, {"found", "latest 1.6.0", "version 1.6.0", "installed 1.6.0", "press updateButton"},
             {"up-to-date-too-long (de)"}},
            // The built-in example's notes of 1.6.0 are Markdown.
            {"version page, release notes of the built-in example", kEditions, kVersions, {"c", "list-rows-elided"}},
            {"version page, plain notes", kEditions, kVersions + QStringList{"key Down", "key Down"}, {"c", "list-rows-elided"}},
            {"version page, downgrade warning", kEditions,
             kVersions + QStringList{"key Down", "key Down", "press choiceActionButton"},
             {"c", "list-rows-elided", "buttons-below-warning"}},
            {"file dialog", kEditions, kUpdate + QStringList{"press fileButton", "folder"}, {"file-dialog"}},
            {"update file picked", kEditions, kUpdate + QStringList{"press fileButton", "key Escape", "file"},
             {"c", "list-rows-elided"}},
            {"downloading", kEditions, kStarted + QStringList{"download 40"}, {}},
            {"copying", {"full"}, kStarted + QStringList{"download 100", "copy 75"}, {}},
            {"copying", {"updater"}, kStarted + QStringList{"download 100", "copy 75%"}, {}},
            {"update done", kEditions, kStarted + QStringList{"download 100", "copyDone true"}, {}},
            {"update done, unplugged", kEditions, kStarted + QStringList{"download 100", "copyDone true", "lost"}, {}},
            {"download failed", {"full"}, kStarted + QStringList{"download 3", "reason The server did not answer.",
                                                                 "status false Network down"}, {}},
            {"copy failed", {"full"}, kStarted + QStringList{"download 100", "transferReason The volume did not appear.",
                                                             "copyDone false"}, {}},
            {"copy failed", {"updater"}, kStarted + QStringList{"download 100", "transferReason The volume did not appear.",
                                                                "copyDone false"}, {"retry-below-window"}},
            {"update not finished", {"full"}, kStarted + QStringList{"download 100", "copyDone true",
                                                                     "notFinished Tavlo did not come back."}, {}},
            {"update not finished", {"updater"}, kStarted + QStringList{"download 100", "copyDone true",
                                                                        "notFinished Tavlo did not come back."},
             {"retry-below-window"}},
            // The faults as the Downloader reports them after "Start Update" when there is no
            // catalogue: at once, with the catalogue's reason.
            {"catalogue not JSON, Start Update", {"updater"},
             {"found", "reason @notJson", "press updateButton", "press startUpdateButton", "reason ",
              "reason @notJson"}, {"retry-below-window"}},
            {"catalogue answered with 500, Start Update", {"full"},
             {"found", "reason @500", "press updateButton", "press startUpdateButton", "reason ",
              "reason @500", "status false @500"}, {}},
            {"connecting for transfer", {"full"}, kHome + QStringList{"press transferButton"}, {}},
            {"transfer screen", {"full"}, kTransfer, {"done-below-window (de)"}},
            {"transfer screen, unplugged", {"full"}, kTransfer + QStringList{"lost"},
             {"instructions-over-screen", "done-below-window (de)"}},
            {"finalizing transfer", {"full"}, kTransfer + QStringList{"press completeTransferButton"}, {}},
            {"home after transfer", {"full"}, kTransfer + QStringList{"press completeTransferButton", "transferEndAck"}, {}},
        };
        for (const Row& row : rows) {
            for (const QString& edition : row.editions) {
                for (const QString language : {"en", "de"}) {
                    QStringList faults;
                    for (const QString& fault : row.faults) {
                        if (!fault.endsWith(QLatin1String(")")) || fault.endsWith("(" + language + ")"))
                            faults.append(fault.section(QLatin1Char(' '), 0, 0));
                    }
                    QTest::addRow("%s: %s (%s)", qPrintable(edition), row.name, qPrintable(language))
                        << edition << row.steps << faults;
                }
            }
        }
    }

    void screens()
    {
        QFETCH(QString, edition);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, faults);
        speak(QTest::currentDataTag());
        Window window(edition, example);
        QVERIFY(window.load());
        QVERIFY(window.playAll(steps));
        KnownScreenFaults::verify(LayoutCheck::problems(window.window()) + KeyboardCheck::tabOrder(window.window())
                                      + AccessibleCheck::problems(window.window()),
                                  faults);
    }

    // The small window shown instead of either window while another program holds the
    // instrument, with each of its sentences.
    void inUseWindow_data()
    {
        QTest::addColumn<qint64>("pid");
        QTest::addColumn<bool>("window");
        QTest::addColumn<QString>("command");
        for (const QString language : {"en", "de"}) {
            QTest::addRow("tavlo update (%s)", qPrintable(language)) << qint64(123456) << false << "update";
            QTest::addRow("another window (%s)", qPrintable(language)) << qint64(123456) << true << "";
            QTest::addRow("another program (%s)", qPrintable(language)) << qint64(123456) << false << "";
        }
    }

    void inUseWindow()
    {
        QFETCH(qint64, pid);
        QFETCH(bool, window);
        QFETCH(QString, command);
        speak(QTest::currentDataTag());
        WindowDriver driver;
        QVERIFY(driver.load(WindowClaim::inUseDocument()));
        const QString sentence = InstrumentLock::inUseSentence({pid, window, command});
        driver.root()->setProperty("sentence", sentence);
        QTest::qWait(50);
        QCOMPARE(driver.text(QStringLiteral("inUseSentence")), sentence);
        KnownScreenFaults::verify(LayoutCheck::problems(driver.window()) + KeyboardCheck::tabOrder(driver.window()),
                                  {});
    }

    // Enter and Return press each button of both windows on a screen that shows it.
    void keysPressButtons_data()
    {
        QTest::addColumn<QString>("edition");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        struct Row
        {
            const char* button;
            QStringList editions;
            QStringList steps;
        };
        const QList<Row> rows{
            {"updateButton", kEditions, kHome},
            {"transferButton", {"full"}, kHome},
            {"startUpdateButton", kEditions, kUpdate},
            {"versionsButton", kEditions, kUpdate},
            {"fileButton", kEditions, kUpdate},
            {"choiceActionButton", kEditions, kVersions},
            {"installFromFileButton", kEditions, kVersions},
            {"choicesBackButton", kEditions, kVersions},
            {"closeApplicationButton", kEditions, {"found", "versionCheck true", "press updateButton"}},
            {"tryAgainButton", kEditions, kStarted + QStringList{"download 100", "transferReason The volume did not appear.",
                                                                 "copyDone false"}},
            {"openProjectsButton", {"full"}, kTransfer},
            {"openDefinitionsButton", {"full"}, kTransfer},
            {"openMidiFilesButton", {"full"}, kTransfer},
            {"openGroovesButton", {"full"}, kTransfer},
            {"completeTransferButton", {"full"}, kTransfer},
        };
        for (const Row& row : rows) {
            for (const QString& edition : row.editions) {
                QTest::addRow("%s: %s, Enter", qPrintable(edition), row.button)
                    << edition << row.steps << row.button << int(Qt::Key_Enter);
                QTest::addRow("%s: %s, Return", qPrintable(edition), row.button)
                    << edition << row.steps << row.button << int(Qt::Key_Return);
            }
        }
    }

    void keysPressButtons()
    {
        QFETCH(QString, edition);
        QFETCH(QStringList, steps);
        QFETCH(QString, button);
        QFETCH(int, key);
        Window window(edition, example);
        QVERIFY(window.load());
        QVERIFY(window.playAll(steps));
        QQuickItem* control = window.driver().item(button);
        QVERIFY(control);
        const QString problem = KeyboardCheck::activates(window.window(), control, Qt::Key(key));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    // Escape leaves the version page and the file dialog, back to the update screen.
    void escapeGoesBack_data()
    {
        QTest::addColumn<QString>("edition");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("faults");
        for (const QString& edition : kEditions) {
            QTest::addRow("%s: version page", qPrintable(edition)) << edition << kVersions << "choicesPage" << QStringList{};
            QTest::addRow("%s: file dialog", qPrintable(edition))
                << edition << (kUpdate + QStringList{"press fileButton"}) << "updateFileDialog"
                << QStringList{"file-dialog-escape"};
        }
    }

    void escapeGoesBack()
    {
        QFETCH(QString, edition);
        QFETCH(QStringList, steps);
        QFETCH(QString, page);
        QFETCH(QStringList, faults);
        Window window(edition, example);
        QVERIFY(window.load());
        QVERIFY(window.playAll(steps));
        QObject* shown = window.driver().root()->findChild<QObject*>(page);
        QVERIFY(shown);
        const QString problem =
            KeyboardCheck::escapeLeaves(window.window(), shown, window.driver().item(QStringLiteral("startUpdateButton")));
        KnownScreenFaults::verify(problem.isEmpty() ? QStringList{} : QStringList{problem}, faults);
    }

    // Known c, as a person meets it with the keyboard alone: at start the focus sits on the
    // hidden version list; on the version page, Down Down picks 1.4.0, Tab goes to the
    // covered "Start Update", and Enter installs the latest (1.6.0) instead, with the list
    // still on the screen.
    void versionPageByKeyboard_data()
    {
        QTest::addColumn<QString>("edition");
        for (const QString& edition : kEditions)
            QTest::newRow(qPrintable(edition)) << edition;
    }

    void versionPageByKeyboard()
    {
        QFETCH(QString, edition);
        Window window(edition, example);
        QVERIFY(window.load());
        KnownScreenFaults::verify(LayoutCheck::problems(window.window()), {});

        QVERIFY(window.playAll(kHome));
        QCOMPARE(KeyboardCheck::activates(window.window(), window.driver().item("updateButton"), Qt::Key_Return), QString());
        QCOMPARE(KeyboardCheck::activates(window.window(), window.driver().item("versionsButton"), Qt::Key_Return),
                 QString());
        QVERIFY(window.playAll({"key Down", "key Down"}));
        QVERIFY2(window.driver().text("choiceSentence").startsWith(QLatin1String("1.4.0 ")),
                 qPrintable(window.driver().text("choiceSentence")));
        KnownScreenFaults::verify(KeyboardCheck::tabOrder(window.window()), {"c"});

        QVERIFY(window.playAll({"key Tab"}));
        const QQuickItem* focused = window.window()->activeFocusItem();
        QVERIFY2(ScreenItems(window.window()).isShown(focused), qPrintable(ScreenItems::describe(focused)));
        QVERIFY(window.playAll({"key Enter"}));
        const bool started = window.downloader().callCount(QStringLiteral("downloadFile")) > 0;
        QVERIFY2(!started || window.download.fileName() == QLatin1String("tavlo-firmware-1.4.0.tvq"),
                 qPrintable(window.download.fileName()));
        QVERIFY(!started || !window.driver().isShown(QStringLiteral("choicesPage")));
    }
};

QTEST_MAIN(ScreenCheckTest)
#include "tst_ui_screen_check.moc"
