// The sentence for a MIDI problem in both windows, in English and in German, photographed
// under a real display (Xvfb, as the other screenshots): under the connection instructions
// in the full window, under the logo in the update-only window; the layout and keyboard
// check finds nothing; it goes once the instrument is found.
#include "KeyboardCheck.h"
#include "LayoutCheck.h"
#include "MidiProblemText.h"
#include "StandInDownloader.h"
#include "StandInFlows.h"
#include "StandInMidiHandler.h"
#include "StandInSet.h"
#include "StandInUpdaterMainController.h"
#include "Startup.h"
#include "WindowDriver.h"

#include <QDir>
#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QTranslator>

class MidiProblemScreensTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QCOMPARE(Startup::registerFonts(), 3);
        QVERIFY(QDir().mkpath(QStringLiteral(TAVLO_SCREENSHOT_DIR)));
    }

    void screens_data()
    {
        QTest::addColumn<bool>("updater");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<bool>("lost"); // the instrument was seen, then lost
        for (const char* language : {"en", "de"}) {
            QTest::addRow("20-midi-missing-%s", language)
                << false << int(MidiProblem::Kind::ServiceMissing) << "/dev/snd/seq: no such file or directory" << false;
            QTest::addRow("21-port-in-use-%s", language) << false << int(MidiProblem::Kind::PortInUse) << "" << true;
            QTest::addRow("u12-midi-refused-%s", language)
                << true << int(MidiProblem::Kind::PermissionDenied) << "/dev/snd/seq: permission denied" << false;
            QTest::addRow("u13-port-in-use-%s", language) << true << int(MidiProblem::Kind::PortInUse) << "" << true;
        }
    }

    void screens()
    {
        QFETCH(bool, updater);
        QFETCH(int, kind);
        QFETCH(QString, detail);
        QFETCH(bool, lost);
        QTranslator german;
        if (QByteArray(QTest::currentDataTag()).endsWith("-de"))
            QVERIFY(Startup::installTranslation(german, QLocale(QStringLiteral("de_DE"))));
        const QString sentence =
            MidiProblemText::sentence({MidiProblem::Kind(kind), detail.toStdString()});

        StandInSet objects;
        StandInMidiHandler midi;
        StandInDownloader downloader;
        StandInUpdaterMainController controller;
        StandInFlows flows(midi, downloader, controller);
        WindowDriver driver;
        if (updater) {
            driver.publish("midiHandler", &midi);
            driver.publish("downloader", &downloader);
            driver.publish("mainController", &controller);
            flows.publishTo(driver);
            QVERIFY(driver.load(QUrl(QStringLiteral("qrc:/Tavlo Updater/main.qml"))));
        } else {
            objects.publishTo(driver);
            QVERIFY(driver.load(QUrl(QStringLiteral("qrc:/Tavlo_App/main.qml"))));
        }
        QObject::disconnect(&driver.engine(), nullptr, QCoreApplication::instance(), nullptr);
        StandInMidiHandler& link = updater ? midi : objects.midiHandler;
        StandInFlows& shown = updater ? flows : objects.flows;
        if (lost) {
            emit link.deviceFound(true);
            emit link.deviceFound(false);
        }
        emit link.midiProblemChanged(sentence);
        shown.deliverNotices();
        QTest::qWait(100);

        QCOMPARE(driver.text(QStringLiteral("midiProblemText")), sentence);
        QVERIFY(driver.isShown(QStringLiteral("midiProblemText")));
        const QQuickItem* problem = driver.item(QStringLiteral("midiProblemText"));
        if (!updater) {
            // Under the instructions, not over them.
            const QQuickItem* instructions = driver.item(QStringLiteral("infoConnectText"));
            QVERIFY(instructions && instructions->isVisible());
            QVERIFY(problem->mapToScene({0, 0}).y() >= instructions->mapToScene({0, instructions->height()}).y());
        }
        const QStringList faults = LayoutCheck::problems(driver.window()) + KeyboardCheck::tabOrder(driver.window());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        const QString path = QStringLiteral(TAVLO_SCREENSHOT_DIR "/%1.png").arg(QLatin1String(QTest::currentDataTag()));
        QVERIFY(driver.grab().save(path));

        // Found: the sentence goes, as the instructions do.
        emit link.midiProblemChanged(QString());
        emit link.deviceFound(true);
        shown.deliverNotices();
        QTest::qWait(50);
        QVERIFY(!driver.isShown(QStringLiteral("midiProblemText")));
    }
};

QTEST_MAIN(MidiProblemScreensTest)
#include "tst_ui_midi_problem_screens.moc"
