// The object graph of either edition (built once per edition): what it publishes to its
// window, where the FileManager lives, the relays across the worker thread, the transfer
// mode's requests (full edition), the orderly stop, and the resources the program carries.

#include "AppWiring.h"
#include "FileManager.h"
#ifndef TAVLO_UPDATE_ONLY
#include "FileManagerBridge.h"
#endif
#include "RecordingFolderOpener.h"
#include "SimInstrument.h"
#include "SimulatedStorage.h"

#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QUrl>

#include <atomic>

class TestWiring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void contextProperties();
    void fileManagerOnWorkerThread();
    void progressRelayed();
    void transferResultReachesLinkAndWindow();
#ifndef TAVLO_UPDATE_ONLY
    void bridgeRequestsRunOnWorker();
#endif
    void stopWaitsForWorker();
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
#ifdef TAVLO_UPDATE_ONLY
    QVERIFY(!context->contextProperty(QStringLiteral("fileManagerBridge")).isValid());
    const QUrl document(QStringLiteral("qrc:/Tavlo Updater/main.qml"));
#else
    QVERIFY(wiring.fileManagerBridge());
    QCOMPARE(context->contextProperty(QStringLiteral("fileManagerBridge")).value<QObject*>(),
             wiring.fileManagerBridge());
    const QUrl document(QStringLiteral("qrc:/Tavlo_App/main.qml"));
#endif
    // The storage worker is never published.
    QVERIFY(!context->contextProperty(QStringLiteral("fileManager")).isValid());

    // The window document loads against exactly these objects.
    engine.load(document);
    QCOMPARE(engine.rootObjects().size(), 1);
}

void TestWiring::fileManagerOnWorkerThread()
{
    SimInstrument instrument;
    AppWiring wiring(instrument.platform(), kNoServer);
    QThread* worker = wiring.workerThread();
    QVERIFY(worker);
    QVERIFY(worker != QThread::currentThread());
    QVERIFY(worker->isRunning());
    QCOMPARE(wiring.fileManager()->thread(), worker);
    QCOMPARE(wiring.fileManager()->parent(), nullptr);
}

void TestWiring::progressRelayed()
{
    SimInstrument instrument;
    AppWiring wiring(instrument.platform(), kNoServer);
    QSignalSpy relayed(&wiring.mainController(), &MainController::copyingFileProgress);

    // Emitted on the worker thread, as the copy does; arrives queued, value unchanged.
    QMetaObject::invokeMethod(
        wiring.fileManager(),
        [&wiring] {
#ifdef TAVLO_UPDATE_ONLY
            Q_EMIT wiring.fileManager()->copyProgress(QStringLiteral("40%"));
            Q_EMIT wiring.fileManager()->copyProgress(QStringLiteral("81%"));
#else
            Q_EMIT wiring.fileManager()->copyProgress(40);
            Q_EMIT wiring.fileManager()->copyProgress(81);
#endif
        },
        Qt::BlockingQueuedConnection);
    QTRY_COMPARE(relayed.size(), 2);
#ifdef TAVLO_UPDATE_ONLY
    QCOMPARE(relayed.at(0).at(0).toString(), QStringLiteral("40%"));
    QCOMPARE(relayed.at(1).at(0).toString(), QStringLiteral("81%"));
#else
    QCOMPARE(relayed.at(0).at(0).toInt(), 40);
    QCOMPARE(relayed.at(1).at(0).toInt(), 81);
#endif
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
    // The link heard it first.
    QCOMPARE(done.size(), 1);
#ifdef TAVLO_UPDATE_ONLY
    // The volume is still mounted: the instrument is told at once, once.
    QTRY_COMPARE(instrument.midi().updateFinishCount(), 1);
#endif
}

#ifndef TAVLO_UPDATE_ONLY
void TestWiring::bridgeRequestsRunOnWorker()
{
    SimInstrument instrument;
    AppWiring wiring(instrument.platform(), kNoServer);
    QQmlApplicationEngine engine;
    wiring.publish(engine);
    QVERIFY(instrument.storage().mount(QString::fromLatin1(SimInstrument::kTransferVolumeLabel), 0,
                                       SimulatedStorage::transferVolumeOptions()));
    const QString root =
        instrument.storage().rootPath(QString::fromLatin1(SimInstrument::kTransferVolumeLabel));

    // The file browser stand-in is asked on the caller's thread.
    auto* browser = dynamic_cast<RecordingFolderOpener*>(instrument.storage().folderOpener().get());
    QVERIFY(browser);
    std::atomic<QThread*> openedOn{nullptr};
    connect(browser, &RecordingFolderOpener::folderOpened, this,
            [&openedOn] { openedOn = QThread::currentThread(); }, Qt::DirectConnection);
    QSignalSpy opened(&instrument.storage(), &SimulatedStorage::folderOpened);
    wiring.fileManagerBridge()->openMidiFiles();
    QTRY_COMPARE(opened.size(), 1);
    QCOMPARE(opened.at(0).at(0).toUrl(), QUrl::fromLocalFile(root + QStringLiteral("/MIDI_Clips")));
    QCOMPARE(openedOn.load(), wiring.workerThread());

    // "DONE": the worker ejects the transfer volume and reports it.
    QSignalSpy ejected(wiring.fileManager(), &FileManager::ejectCompleted);
    wiring.fileManagerBridge()->completeTransfer();
    QTRY_COMPARE(ejected.size(), 1);
    QCOMPARE(ejected.at(0).at(0).toBool(), true);
    QVERIFY(!instrument.storage().isMounted(QString::fromLatin1(SimInstrument::kTransferVolumeLabel)));
}
#endif

void TestWiring::stopWaitsForWorker()
{
    SimInstrument instrument;
    QPointer<QThread> worker;
    QPointer<FileManager> files;
    std::atomic<bool> requestStarted{false};
    std::atomic<bool> requestFinished{false};
    {
        AppWiring wiring(instrument.platform(), kNoServer);
        worker = wiring.workerThread();
        files = wiring.fileManager();
        // A request in hand on the worker when the program stops is carried to its end.
        QMetaObject::invokeMethod(wiring.fileManager(), [&requestStarted, &requestFinished] {
            requestStarted = true;
            QThread::msleep(300);
            requestFinished = true;
        });
        QTRY_VERIFY(requestStarted.load());
    }
    QVERIFY(requestFinished.load());
    // The worker and the FileManager are gone with the wiring.
    QVERIFY(worker.isNull());
    QVERIFY(files.isNull());
}

void TestWiring::resources_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("present");
#ifdef TAVLO_UPDATE_ONLY
    QTest::newRow("window document") << QStringLiteral(":/Tavlo Updater/main.qml") << true;
    QTest::newRow("no full window") << QStringLiteral(":/Tavlo_App/main.qml") << false;
    QTest::newRow("no progress bar") << QStringLiteral(":/Tavlo_App/GenericProgressBar.qml") << false;
    QTest::newRow("no beta image") << QStringLiteral(":/icons/icons/beta.png") << false;
#else
    QTest::newRow("window document") << QStringLiteral(":/Tavlo_App/main.qml") << true;
    QTest::newRow("progress bar") << QStringLiteral(":/Tavlo_App/GenericProgressBar.qml") << true;
    QTest::newRow("beta image") << QStringLiteral(":/icons/icons/beta.png") << true;
    QTest::newRow("no update-only window") << QStringLiteral(":/Tavlo Updater/main.qml") << false;
#endif
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
