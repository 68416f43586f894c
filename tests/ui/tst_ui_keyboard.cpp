// Both windows used with the keyboard alone: Tab walks every screen's controls in reading
// order (top to bottom) and back to the first, Enter and Space press the focused button, the
// update is started without the mouse, and the focus frame shows only for keyboard focus.

#include "MainWindowFixture.h"
#include "UpdaterWindowFixture.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

namespace {

QString focusedName(const WindowDriver& driver)
{
    const QQuickItem* item = driver.window()->activeFocusItem();
    return item ? item->objectName() : QString();
}

// The objectNames that Tab reaches one after another, starting from wherever the focus is,
// until it comes back to the first one (at most twelve presses).
QStringList tabCycle(WindowDriver& driver)
{
    QStringList names;
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(driver.window(), Qt::Key_Tab);
        const QString name = focusedName(driver);
        if (!names.isEmpty() && name == names.first())
            return names;
        names.append(name);
    }
    names.append(QStringLiteral("(no cycle)"));
    return names;
}

bool focusFrameShown(WindowDriver& driver, const QString& button)
{
    QQuickItem* frame = driver.item(QStringLiteral("focusFrame"), driver.item(button));
    return frame && frame->isVisible();
}

} // namespace

class KeyboardTest : public QObject
{
    Q_OBJECT

private slots:
    // Every screen of the main window, reached and walked with the keyboard.
    void mainWindowScreens_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("order");
        const QStringList home{"found", "latest 1.6.0", "version 1.5.0"};
        QTest::newRow("home") << home
                              << QStringList{"updateButton", "transferButton", "backupButton", "restoreButton"};
        QTest::newRow("home without transfer")
            << QStringList{"found", "latest 1.6.0", "version 1.4.0"} << QStringList{"updateButton"};
        QTest::newRow("update screen") << (home + QStringList{"click Update"})
                                       << QStringList{"backupFirstCheckBox", "startUpdateButton"};
        QTest::newRow("already installed") << (home + QStringList{"versionCheck true", "click Update"})
                                           << QStringList{"closeApplicationButton"};
        QTest::newRow("download failed")
            << (home + QStringList{"click Update", "click Start Update", "status false Network down"})
            << QStringList{"closeApplicationButton", "tryAgainButton"};
        QTest::newRow("transfer screen") << (home + QStringList{"click Transfer", "transferAck"})
                                         << QStringList{"openProjectsButton", "openDefinitionsButton",
                                                        "openMidiFilesButton", "openGroovesButton",
                                                        "completeTransferButton"};
    }

    void mainWindowScreens()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, order);
        MainWindowFixture window;
        QVERIFY(window.load());
        auto& [messages, objects, driver] = window;
        for (const QString& step : steps)
            QVERIFY2(objects.play(step, driver), qPrintable(objects.error()));
        QCOMPARE(tabCycle(driver), order);
        // The focused button shows it; the others do not (the check box shows its focus
        // in the style's way).
        for (const QString& name : order) {
            if (name.endsWith(QLatin1String("Button")))
                QCOMPARE(focusFrameShown(driver, name), name == focusedName(driver));
        }
    }

    // From the first screen to a started download without the mouse: Enter on "Update",
    // Space on "Start Update".
    void mainWindowUpdateByKeyboard()
    {
        MainWindowFixture window;
        QVERIFY(window.load());
        auto& [messages, objects, driver] = window;
        for (const QString& step : QStringList{"found", "latest 1.6.0", "version 1.5.0"})
            QVERIFY(objects.play(step, driver));

        QTest::keyClick(driver.window(), Qt::Key_Tab);
        QCOMPARE(focusedName(driver), QStringLiteral("updateButton"));
        QTest::keyClick(driver.window(), Qt::Key_Return);
        QTRY_VERIFY(driver.isShown(QStringLiteral("startUpdateButton")));
        QVERIFY(!driver.isShown(QStringLiteral("updateButton")));

        // The option to back up first comes before "Start Update" (the stand-ins have it off).
        QTest::keyClick(driver.window(), Qt::Key_Tab);
        QCOMPARE(focusedName(driver), QStringLiteral("backupFirstCheckBox"));
        QTest::keyClick(driver.window(), Qt::Key_Tab);
        QCOMPARE(focusedName(driver), QStringLiteral("startUpdateButton"));
        QTest::keyClick(driver.window(), Qt::Key_Space);
        QTRY_COMPARE(objects.downloader.callCount(QStringLiteral("downloadFile")), 1);
        QVERIFY(!driver.isShown(QStringLiteral("startUpdateButton")));
    }

    // The keypad's Enter presses a button too; a dimmed button is never reached.
    void enterOnKeypadAndDimmedButtons()
    {
        MainWindowFixture window;
        QVERIFY(window.load());
        auto& [messages, objects, driver] = window;
        for (const QString& step : QStringList{"found", "latest 1.6.0", "version 1.5.0", "click Update", "lost"})
            QVERIFY(objects.play(step, driver));
        // "Start Update" is dimmed while the instrument is away: Tab finds nothing to press.
        QVERIFY(driver.isShown(QStringLiteral("startUpdateButton")));
        QTest::keyClick(driver.window(), Qt::Key_Tab);
        QVERIFY(focusedName(driver) != QStringLiteral("startUpdateButton"));
        QTest::keyClick(driver.window(), Qt::Key_Return);
        QCOMPARE(objects.downloader.callCount(QStringLiteral("downloadFile")), 0);

        QVERIFY(objects.play(QStringLiteral("found"), driver));
        QTest::keyClick(driver.window(), Qt::Key_Tab);
        QCOMPARE(focusedName(driver), QStringLiteral("backupFirstCheckBox"));
        QTest::keyClick(driver.window(), Qt::Key_Tab);
        QCOMPARE(focusedName(driver), QStringLiteral("startUpdateButton"));
        QTest::keyClick(driver.window(), Qt::Key_Enter, Qt::KeypadModifier);
        QTRY_COMPARE(objects.downloader.callCount(QStringLiteral("downloadFile")), 1);
    }

    // A mouse click gives no focus frame; the screens look as they always did.
    void noFocusFrameAfterClick()
    {
        MainWindowFixture window;
        QVERIFY(window.load());
        auto& [messages, objects, driver] = window;
        for (const QString& step : QStringList{"found", "latest 1.6.0", "version 1.5.0", "click Transfer",
                                               "transferAck", "click Open Projects"})
            QVERIFY(objects.play(step, driver));
        QVERIFY(!focusFrameShown(driver, QStringLiteral("openProjectsButton")));
        QTest::keyClick(driver.window(), Qt::Key_Tab);
        QVERIFY(focusFrameShown(driver, focusedName(driver)));
    }

    // The update-only window: home, then the update started by the keyboard.
    void updaterWindowByKeyboard()
    {
        UpdaterWindowFixture window;
        QVERIFY(window.load());
        auto& [midi, downloader, controller, flows, driver] = window;
        QVERIFY(window.playAll({"found", "latest 1.6.0"}));

        QCOMPARE(tabCycle(driver), QStringList{"updateButton"});
        QVERIFY(focusFrameShown(driver, QStringLiteral("updateButton")));
        QTest::keyClick(driver.window(), Qt::Key_Space);
        QTRY_VERIFY(driver.isShown(QStringLiteral("startUpdateButton")));

        QCOMPARE(tabCycle(driver), QStringList{"startUpdateButton"});
        QTest::keyClick(driver.window(), Qt::Key_Return);
        QTRY_COMPARE(downloader.callCount(QStringLiteral("downloadFile")), 1);
    }

    void updaterAlreadyInstalled()
    {
        UpdaterWindowFixture window;
        QVERIFY(window.load());
        auto& [midi, downloader, controller, flows, driver] = window;
        QVERIFY(window.playAll({"found", "versionCheck true"}));
        QTest::keyClick(driver.window(), Qt::Key_Tab);
        QTest::keyClick(driver.window(), Qt::Key_Return);
        QTRY_COMPARE(tabCycle(driver), QStringList{"closeApplicationButton"});
    }
};

QTEST_MAIN(KeyboardTest)
#include "tst_ui_keyboard.moc"
