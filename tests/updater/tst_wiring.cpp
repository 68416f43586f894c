// The update-only edition's object graph: what it publishes to its window, the progress text
// relayed by the MainController, and the resources that the program carries.

#include "AppWiring.h"
#include "FileManager.h"
#include "SimInstrument.h"

#include <QFile>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QSignalSpy>
#include <QTest>

class TestWiring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void contextProperties();
    void progressTextRelayed();
    void transferResultReachesLinkAndWindow();
    void resources_data();
    void resources();
};

namespace {
// Nothing listens here: the catalogue request fails quietly.
const QUrl kNoServer(QStringLiteral("https://127.0.0.1:9"));
} // namespace

void TestWiring::contextProperties()
{
    SimInstrument instrument;
    AppWiring wiring(instrument.platform(), kNoServer);
    QQmlApplicationEngine engine;
    wiring.publish(engine);

    QQmlContext* context = engine.rootContext();
    QCOMPARE(context->contextProperty(QStringLiteral("midiHandler")).value<QObject*>(),
             &wiring.midiHandler());
    QCOMPARE(context->contextProperty(QStringLiteral("downloader")).value<QObject*>(),
             &wiring.downloader());
    QCOMPARE(context->contextProperty(QStringLiteral("mainController")).value<QObject*>(),
             &wiring.mainController());
    QVERIFY(!context->contextProperty(QStringLiteral("fileManagerBridge")).isValid());

    // The window document loads against exactly these objects.
    engine.load(QUrl(QStringLiteral("qrc:/Tavlo Updater/main.qml")));
    QCOMPARE(engine.rootObjects().size(), 1);
}

void TestWiring::progressTextRelayed()
{
    SimInstrument instrument;
    AppWiring wiring(instrument.platform(), kNoServer);
    QSignalSpy relayed(&wiring.mainController(), &MainController::copyingFileProgress);

    // Emitted on the worker thread, as the copy does; arrives queued, text unchanged.
    QMetaObject::invokeMethod(
        wiring.fileManager(),
        [&wiring] {
            Q_EMIT wiring.fileManager()->copyProgress(QStringLiteral("40%"));
            Q_EMIT wiring.fileManager()->copyProgress(QStringLiteral("81%"));
        },
        Qt::BlockingQueuedConnection);
    QTRY_COMPARE(relayed.size(), 2);
    QCOMPARE(relayed.at(0).at(0).toString(), QStringLiteral("40%"));
    QCOMPARE(relayed.at(1).at(0).toString(), QStringLiteral("81%"));
}

void TestWiring::transferResultReachesLinkAndWindow()
{
    SimInstrument instrument;
    instrument.plugIn();
    AppWiring wiring(instrument.platform(), kNoServer);
    QSignalSpy found(&wiring.midiHandler(), &MidiHandler::deviceFound);
    QVERIFY(found.wait(3000));

    QSignalSpy done(&wiring.midiHandler(), &MidiHandler::updateTransferDone);
    QSignalSpy window(&wiring.mainController(), &MainController::fileTransferComplete);
    QMetaObject::invokeMethod(
        wiring.fileManager(), [&wiring] { Q_EMIT wiring.fileManager()->fileTransferComplete(true); },
        Qt::BlockingQueuedConnection);
    QTRY_COMPARE(window.size(), 1);
    QCOMPARE(window.at(0).at(0).toBool(), true);
    // The link heard it first and told the instrument, once.
    QCOMPARE(done.size(), 1);
    QTRY_COMPARE(instrument.midi().updateFinishCount(), 1);
}

void TestWiring::resources_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("present");
    QTest::newRow("window document") << QStringLiteral(":/Tavlo Updater/main.qml") << true;
    QTest::newRow("no full window") << QStringLiteral(":/Tavlo_App/main.qml") << false;
    QTest::newRow("no progress bar") << QStringLiteral(":/Tavlo_App/GenericProgressBar.qml") << false;
    QTest::newRow("no beta image") << QStringLiteral(":/icons/icons/beta.png") << false;
    QTest::newRow("window icon") << QStringLiteral(":/icons/icons/iosicon.png") << true;
    QTest::newRow("logo") << QStringLiteral(":/icons/icons/logo_middle.png") << true;
    QTest::newRow("logo circle") << QStringLiteral(":/icons/icons/logo_circle.png") << true;
    QTest::newRow("full logo") << QStringLiteral(":/icons/icons/logo_full.png") << true;
    QTest::newRow("windows icon") << QStringLiteral(":/icons/icons/tavlo_windows_icon.ico") << true;
    QTest::newRow("regular face") << QStringLiteral(":/icons/font/Poppins-Regular.ttf") << true;
    QTest::newRow("semibold face") << QStringLiteral(":/icons/font/Poppins-SemiBold.ttf") << true;
    QTest::newRow("bold face") << QStringLiteral(":/icons/font/Poppins-Bold.ttf") << true;
}

void TestWiring::resources()
{
    QFETCH(QString, path);
    QFETCH(bool, present);
    QCOMPARE(QFile::exists(path), present);
}

QTEST_MAIN(TestWiring)
#include "tst_wiring.moc"
