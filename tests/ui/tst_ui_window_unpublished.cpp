// The window with none of the program's objects published: it loads quietly, sits in its
// searching state, and a later publication under other names does not disturb it. Also the
// one thing the entry points publish besides the objects: why a run keeps no session log.

#include "MessageRecorder.h"
#include "WindowDriver.h"
#include "WindowExpectations.h"

#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

using namespace WindowExpectations;

class WindowUnpublishedTest : public QObject
{
    Q_OBJECT

private slots:
    void searchingWithoutObjects()
    {
        MessageRecorder messages;
        {
            WindowDriver driver;
            QVERIFY(driver.load(QUrl(QStringLiteral("qrc:/Tavlo_App/main.qml"))));
            // Let the window render and its timers run: longer than the longest interval
            // (the waiting dots' 500 ms).
            QTest::qWait(600);

            QCOMPARE(shownNow(driver), QStringLiteral("row instructions"));
            QCOMPARE(dotColour(driver), QColor("orange").name());
            QCOMPARE(label(driver), QStringLiteral("Looking for Tavlo"));
            QCOMPARE(driver.text("infoConnectText"),
                     QStringLiteral("1- Connect the USB-C to USB-A Tavlo cable to the HOST port of Tavlo (USB-C) and to "
                                    "the computer (USB-A).\n\n2- Ensure that the Breakout Module is connected to Tavlo "
                                    "by using the USB-C to USB-C cable from the Module Output on Tavlo to the USB-C "
                                    "port on the Breakout Module.\n\n3- Make sure that No cables are connected to the "
                                    "USB MIDI port of Tavlo."));
            QCOMPARE(driver.window()->color(), QColor("black"));
            QCOMPARE(driver.window()->size(), QSize(360, 750));
            // Titled with the program's name (the application name, the menu entry's Name=).
            QCOMPARE(driver.window()->title(), QCoreApplication::applicationName());
            QVERIFY(driver.window()->isVisible());
        }
        QVERIFY2(messages.warnings().isEmpty(), qPrintable(messages.warnings().join('\n')));
    }

    // The buttons that call into the objects stay harmless when nothing is published: the
    // window never shows them then, so show them directly; a press starts nothing.
    void callsWithoutObjectsAreQuiet()
    {
        MessageRecorder messages;
        {
            WindowDriver driver;
            QVERIFY(driver.load(QUrl(QStringLiteral("qrc:/Tavlo_App/main.qml"))));
            QQuickItem* container = driver.item("logoContainer");
            container->setProperty("connected", true);
            for (const char* name : {"transferButton", "startUpdateButton", "openProjectsButton",
                                     "openDefinitionsButton", "openMidiFilesButton", "openGroovesButton",
                                     "completeTransferButton"}) {
                QQuickItem* button = driver.item(name);
                QVERIFY2(button, name);
                button->setVisible(true);
                QVERIFY2(driver.click(button), name);
                button->setVisible(false);
            }
            QCOMPARE(driver.root()->property("update_started").toBool(), false);
        }
        QVERIFY2(messages.warnings().isEmpty(), qPrintable(messages.warnings().join('\n')));
    }

    // Both windows say once, as they open, that the run keeps no session log and why; a
    // click puts it away for the rest of the run. Without a problem nothing is shown.
    void logProblemToldOnce_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("problem");
        for (const char* window : {"qrc:/Tavlo_App/main.qml", "qrc:/Tavlo Updater/main.qml"}) {
            QTest::addRow("%s, no log", window) << window << "The log folder /x could not be made.";
            QTest::addRow("%s, log kept", window) << window << "";
        }
    }

    void logProblemToldOnce()
    {
        QFETCH(QString, window);
        QFETCH(QString, problem);
        MessageRecorder messages;
        {
            WindowDriver driver;
            driver.engine().rootContext()->setContextProperty(QStringLiteral("sessionLogProblem"), problem);
            QVERIFY(driver.load(QUrl(window)));
            QQuickItem* notice = driver.item("logProblemNotice");
            QVERIFY(notice);
            QCOMPARE(notice->isVisible(), !problem.isEmpty());
            if (!problem.isEmpty()) {
                QCOMPARE(driver.text("logProblemText"), "This run keeps no session log. " + problem);
                // Above everything else, inside the window.
                const QRectF area = notice->mapRectToScene(notice->boundingRect());
                QVERIFY(QRectF(QPointF(0, 0), driver.window()->size()).contains(area));
                QVERIFY(driver.click(notice));
                QTRY_VERIFY(!notice->isVisible());
                QTest::qWait(100);
                QVERIFY(!notice->isVisible());
            }
        }
        QVERIFY2(messages.warnings().isEmpty(), qPrintable(messages.warnings().join('\n')));
    }
};

QTEST_MAIN(WindowUnpublishedTest)
#include "tst_ui_window_unpublished.moc"
