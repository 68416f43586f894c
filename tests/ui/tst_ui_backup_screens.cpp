// The full window's backup screen and restore page, and what the home and update screens
// offer of them, in English and in German, reached through the stand-ins (the storage
// worker's reports played onto the real BackupFlow and RestoreFlow): the layout, keyboard
// and screen-reader checks find nothing; Enter, Return and Space press each of their
// buttons; Escape closes the restore list and the end screens.

#include "AccessibleCheck.h"
#include "BackupFailureText.h"
#include "KeyboardCheck.h"
#include "KnownScreenFaults.h"
#include "LayoutCheck.h"
#include "MainWindowFixture.h"
#include "RestoreFailureText.h"
#include "ScreenItems.h"
#include "Startup.h"

#include <QAccessible>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QTranslator>

namespace {

// A folder deep enough that its path is longer than the window is wide.
const QString kDeepFolder = QStringLiteral(
    "/home/maria-josefine/Documents/Tavlo Backups/Studio Sessions Winter 2026/Vorbereitung Konzert Oktober");

// The worker's sentences of a step's "@name", in the language spoken.
QString withSentences(QString step)
{
    return step.replace(QLatin1String("@backupFull"), BackupFailureText::targetFull(kDeepFolder))
        .replace(QLatin1String("@restoreFull"), RestoreFailureText::volumeFull(48234496, 1048576))
        .replace(QLatin1String("@unreadable"),
                 BackupFailureText::sourceUnreadable(QStringLiteral("Projects/Sommerfest Ölmühle 1.tvp"),
                                                     QStringLiteral("Input/output error")));
}

// As the program starts: the option "Back up Tavlo's projects first" on.
const QStringList kHome{"backupFirst on", "found", "latest 1.6.0", "version 1.5.2"};
const QStringList kUpdate = kHome + QStringList{"press updateButton"};
const QStringList kEntering = kHome + QStringList{"press backupButton"};
const QStringList kCopying =
    kEntering + QStringList{"transferAck", "backupSized 214 187340800", "backupProgress 74936320 187340800"};
const QStringList kBackupDone = kCopying + QStringList{"backupDone", "transferEndAck"};
const QStringList kBackupFailed = kCopying + QStringList{"backupFailed @backupFull", "transferEndAck"};
const QStringList kUpdateBackupFailed =
    kUpdate + QStringList{"press startUpdateButton", "transferAck", "backupSized 214 187340800", "backupFailed @unreadable",
                          "transferEndAck"};
const QStringList kRestoreList = kHome + QStringList{"press restoreButton"};
const QStringList kRestoreAsks =
    kRestoreList + QStringList{"press backupRow", "restoreChecked ok", "transferAck", "restorePlanned 14 6 3"};
const QStringList kRestoreWriting = kRestoreAsks + QStringList{"press replaceButton", "restoreProgress 6000000 17468420"};
const QStringList kRestoreDone = kRestoreWriting + QStringList{"restoreWritten 20", "transferEndAck"};
const QStringList kRestoreFailed = kRestoreWriting + QStringList{"restoreFailed @restoreFull", "transferEndAck"};
const QStringList kRestoreRefused = kRestoreList + QStringList{"press backupRow", "restoreChecked bad 9"};

} // namespace

class BackupScreensTest : public QObject
{
    Q_OBJECT

    QTranslator german;

    // The German catalogue for the rows whose tag ends in "(de)".
    void speak(const QByteArray& tag)
    {
        QCoreApplication::removeTranslator(&german);
        if (tag.endsWith("(de)"))
            QVERIFY(Startup::installTranslation(german, QLocale(QStringLiteral("de_DE"))));
    }

    static bool playAll(MainWindowFixture& window, const QStringList& steps)
    {
        for (const QString& step : steps) {
            if (!window.playAll({withSentences(step)}))
                return false;
        }
        return true;
    }

private slots:
    void initTestCase()
    {
        QAccessible::setActive(true);
        QCOMPARE(Startup::registerFonts(), 3);
    }

    void cleanup() { QCoreApplication::removeTranslator(&german); }

    // Each screen in both languages, at the smallest and the largest window: nothing but the
    // faults it names (KnownScreenFaults). "shown" must be on the screen, so that a row
    // cannot pass on a screen that never came.
    void screens_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QStringList>("faults");

        struct Row
        {
            const char* name;
            QStringList steps;
            const char* shown;
        };
        const QList<Row> rows{
            {"home with Back up now and Restore", kHome, "restoreButton"},
            {"update screen with the option", kUpdate, "backupFirstCheckBox"},
            {"update screen with the estimate", kUpdate + QStringList{"lastBackup 187340800 163000"}, "backupEstimate"},
            {"update screen, option off", kUpdate + QStringList{"press backupFirstCheckBox"}, "startUpdateButton"},
            {"backing up, entering", kEntering, "backupCancelButton"},
            {"backing up, copying", kCopying, "backupProgress"},
            {"backup done", kBackupDone, "backupCloseButton"},
            {"backup cancelled", kCopying + QStringList{"press backupCancelButton", "backupCancelled", "transferEndAck"},
             "backupCloseButton"},
            {"backup failed, a long folder", kBackupFailed, "backupCloseButton"},
            {"backup before the update failed", kUpdateBackupFailed, "backupCloseButton"},
            {"restore list", kRestoreList, "backupList"},
            {"restore checking", kRestoreList + QStringList{"press backupRow"}, "restoreCancelButton"},
            {"restore asks, a long list", kRestoreAsks, "differingList"},
            {"restore writing", kRestoreWriting, "restoreProgress"},
            {"restore done", kRestoreDone, "restoreCloseButton"},
            {"restore kept", kRestoreAsks + QStringList{"press keepButton", "transferEndAck"}, "restoreCloseButton"},
            {"restore failed", kRestoreFailed, "restoreCloseButton"},
            {"restore refused, a tampered backup", kRestoreRefused, "restoreCloseButton"},
        };
        const QList<std::pair<const char*, QSize>> sizes{{"smallest", QSize(360, 750)}, {"largest", QSize(540, 1080)}};
        for (const Row& row : rows) {
            for (const auto& [sizeName, size] : sizes) {
                for (const char* language : {"en", "de"}) {
                    QTest::addRow("%s, %s (%s)", row.name, sizeName, language)
                        << row.steps << QString::fromLatin1(row.shown) << size << QStringList{};
                }
            }
        }
    }

    void screens()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, shown);
        QFETCH(QSize, size);
        QFETCH(QStringList, faults);
        speak(QTest::currentDataTag());
        MainWindowFixture window;
        QVERIFY(window.load());
        window.driver.window()->resize(size);
        QTRY_COMPARE(window.driver.window()->size(), size);
        QVERIFY(playAll(window, steps));
        QVERIFY2(window.driver.isShown(shown), qPrintable(shown));
        QQuickWindow* shownWindow = window.driver.window();
        KnownScreenFaults::verify(LayoutCheck::problems(shownWindow) + KeyboardCheck::tabOrder(shownWindow)
                                      + AccessibleCheck::problems(shownWindow),
                                  faults);
    }

    // Enter, Return and Space press each new button (and a row of the backup list) on a
    // screen that shows it, after Tab brought the focus there; what the press does shows.
    void keysPressButtons_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("after"); // shown once pressed
        QTest::addColumn<int>("key");
        struct Row
        {
            const char* button;
            QStringList steps;
            const char* after;
        };
        const QList<Row> rows{
            {"backupButton", kHome, "backupCancelButton"},
            {"restoreButton", kHome, "backupList"},
            {"backupCancelButton", kCopying, "backupCancelButton"}, // still there until the worker stops
            {"backupCloseButton", kBackupDone, "restoreButton"},
            {"backupRow", kRestoreList, "restoreCancelButton"},
            {"restoreCancelButton", kRestoreList, "backupButton"},
            {"replaceButton", kRestoreAsks, "restoreProgress"},
            {"keepButton", kRestoreAsks, "restoreStatus"},
            {"restoreCloseButton", kRestoreDone, "backupButton"},
            {"startUpdateButton", kUpdate, "backupCancelButton"},
        };
        for (const Row& row : rows) {
            for (const auto& [name, key] : {std::pair{"Enter", Qt::Key_Enter}, std::pair{"Return", Qt::Key_Return},
                                            std::pair{"Space", Qt::Key_Space}}) {
                QTest::addRow("%s, %s", row.button, name)
                    << row.steps << QString::fromLatin1(row.button) << QString::fromLatin1(row.after) << int(key);
            }
        }
    }

    void keysPressButtons()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, button);
        QFETCH(QString, after);
        QFETCH(int, key);
        MainWindowFixture window;
        QVERIFY(window.load());
        QVERIFY(playAll(window, steps));
        QQuickItem* control = window.driver.item(button);
        QVERIFY(control);
        const QString problem = KeyboardCheck::activates(window.driver.window(), control, Qt::Key(key));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        window.objects.flows.deliverNotices();
        QVERIFY2(window.driver.isShown(after), qPrintable(after));
    }

    // The option is a check box: Space turns it off and on again, and the flow follows.
    void optionByKeyboard()
    {
        MainWindowFixture window;
        QVERIFY(window.load());
        QVERIFY(playAll(window, kUpdate));
        BackupFlow& backup = *window.objects.flows.backup;
        QVERIFY(backup.beforeUpdate());
        QQuickItem* box = window.driver.item(QStringLiteral("backupFirstCheckBox"));
        QVERIFY(box);
        for (int i = 0; i < 8 && window.driver.window()->activeFocusItem() != box; ++i)
            QTest::keyClick(window.driver.window(), Qt::Key_Tab);
        QCOMPARE(window.driver.window()->activeFocusItem(), box);
        QTest::keyClick(window.driver.window(), Qt::Key_Space);
        QVERIFY(!backup.beforeUpdate());
        QTest::keyClick(window.driver.window(), Qt::Key_Space);
        QVERIFY(backup.beforeUpdate());
    }

    // Escape closes the restore list and the end screens, wherever the focus is on them
    // (as the page opened, or on one of its buttons after Tab), and goes home.
    void escapeCloses_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("tabs"); // Tab presses before Escape
        const QList<std::tuple<const char*, QStringList, const char*>> rows{
            {"restore list", kRestoreList, "restorePage"},
            {"restore done", kRestoreDone, "restorePage"},
            {"restore failed", kRestoreFailed, "restorePage"},
            {"restore refused", kRestoreRefused, "restorePage"},
            {"backup done", kBackupDone, "backupScreen"},
            {"backup failed", kBackupFailed, "backupScreen"},
        };
        for (const auto& [name, steps, page] : rows) {
            for (int tabs : {0, 1, 2})
                QTest::addRow("%s, %d Tab", name, tabs) << steps << QString::fromLatin1(page) << tabs;
        }
    }

    void escapeCloses()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, page);
        QFETCH(int, tabs);
        MainWindowFixture window;
        QVERIFY(window.load());
        QVERIFY(playAll(window, steps));
        QVERIFY(window.driver.isShown(page));
        for (int i = 0; i < tabs; ++i)
            QTest::keyClick(window.driver.window(), Qt::Key_Tab);
        QTest::keyClick(window.driver.window(), Qt::Key_Escape);
        window.objects.flows.deliverNotices();
        QVERIFY(!window.driver.isShown(page));
        QVERIFY(window.driver.isShown(QStringLiteral("backupButton")));
    }
};

QTEST_MAIN(BackupScreensTest)
#include "tst_ui_backup_screens.moc"
