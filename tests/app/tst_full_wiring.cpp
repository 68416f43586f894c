// The full edition's object graph: what every wiring does (WiringChecks), then what only this
// edition has: the integer copy progress relayed across the worker thread, the transfer
// result to the link before the window, the transfer mode's requests on the worker, and
// the resources the program carries.

#include "storage/full/FileManager.h"
#include "app/full/FileManagerBridge.h"
#include "app/full/FullEditionWiring.h"
#include "RecordingFolderOpener.h"
#include "SimInstrument.h"
#include "SimulatedStorage.h"
#include "TestTimings.h"
#include "WiringChecks.h"

#include <QFile>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>

class TestFullWiring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void progressRelayed();
    void transferResultReachesLinkAndWindow();
    void bridgeRequestsRunOnWorker();
    void resources_data();
    void resources();
};

namespace {
std::unique_ptr<FullEditionWiring> makeWiring(const Platform& platform)
{
    return std::make_unique<FullEditionWiring>(platform, WiringChecks::noServer(),
                                               TestTimings::fast());
}
} // namespace

void TestFullWiring::progressRelayed()
{
    SimInstrument instrument;
    const auto wiring = makeWiring(instrument.platform());
    QSignalSpy relayed(&wiring->mainController(), &MainController::copyingFileProgress);

    // Emitted on the worker thread, as the copy does; arrives queued, value unchanged.
    FileManager* files = wiring->fileManager();
    QMetaObject::invokeMethod(
        files,
        [files] {
            Q_EMIT files->copyProgress(40);
            Q_EMIT files->copyProgress(81);
        },
        Qt::BlockingQueuedConnection);
    QTRY_COMPARE(relayed.size(), 2);
    QCOMPARE(relayed.at(0).at(0).toInt(), 40);
    QCOMPARE(relayed.at(1).at(0).toInt(), 81);
}

void TestFullWiring::transferResultReachesLinkAndWindow()
{
    SimInstrument instrument;
    instrument.plugIn();
    const auto wiring = makeWiring(instrument.platform());
    QSignalSpy found(&wiring->midiHandler(), &MidiHandler::deviceFound);
    QVERIFY(found.wait(3000));

    QSignalSpy done(&wiring->midiHandler(), &MidiHandler::updateTransferDone);
    QSignalSpy window(&wiring->mainController(), &MainController::fileTransferComplete);
    FileManager* files = wiring->fileManager();
    QMetaObject::invokeMethod(
        files, [files] { Q_EMIT files->fileTransferComplete(true); }, Qt::BlockingQueuedConnection);
    QTRY_COMPARE(window.size(), 1);
    QCOMPARE(window.at(0).at(0).toBool(), true);
    // The link heard it first.
    QCOMPARE(done.size(), 1);
}

void TestFullWiring::bridgeRequestsRunOnWorker()
{
    SimInstrument instrument;
    const auto wiring = makeWiring(instrument.platform());
    QQmlApplicationEngine engine;
    wiring->publish(engine);
    QVERIFY(wiring->fileManagerBridge());
    QVERIFY(instrument.storage().mount(QString::fromLatin1(SimInstrument::kTransferVolumeLabel), 0,
                                       SimulatedStorage::transferVolumeOptions()));
    const QString root =
        instrument.storage().rootPath(QString::fromLatin1(SimInstrument::kTransferVolumeLabel));

    // The file browser stand-in is asked on the worker thread.
    auto* browser = dynamic_cast<RecordingFolderOpener*>(instrument.storage().folderOpener().get());
    QVERIFY(browser);
    std::atomic<QThread*> openedOn{nullptr};
    connect(browser, &RecordingFolderOpener::folderOpened, this,
            [&openedOn] { openedOn = QThread::currentThread(); }, Qt::DirectConnection);
    QSignalSpy opened(&instrument.storage(), &SimulatedStorage::folderOpened);
    wiring->fileManagerBridge()->openMidiFiles();
    QTRY_COMPARE(opened.size(), 1);
    QCOMPARE(opened.at(0).at(0).toUrl(), QUrl::fromLocalFile(root + QStringLiteral("/MIDI_Clips")));
    QCOMPARE(openedOn.load(), wiring->workerThread());

    // "DONE": the worker ejects the transfer volume and reports it.
    QSignalSpy ejected(wiring->fileManager(), &FileManager::ejectCompleted);
    wiring->fileManagerBridge()->completeTransfer();
    QTRY_COMPARE(ejected.size(), 1);
    QCOMPARE(ejected.at(0).at(0).toBool(), true);
    // The simulated mount table hears of the eject on the main thread, a moment later.
    QTRY_VERIFY(!instrument.storage().isMounted(QString::fromLatin1(SimInstrument::kTransferVolumeLabel)));
}

void TestFullWiring::resources_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("present");
    QTest::newRow("window document") << QStringLiteral(":/Tavlo_App/main.qml") << true;
    QTest::newRow("progress bar") << QStringLiteral(":/Tavlo_App/GenericProgressBar.qml") << true;
    QTest::newRow("beta image") << QStringLiteral(":/icons/icons/beta.png") << true;
    QTest::newRow("no update-only window") << QStringLiteral(":/Tavlo Updater/main.qml") << false;
}

void TestFullWiring::resources()
{
    QFETCH(QString, path);
    QFETCH(bool, present);
    QCOMPARE(QFile::exists(path), present);
}

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    WiringChecks common(
        [](const Platform& platform, const QUrl& server) {
            return std::unique_ptr<Wiring>(
                new FullEditionWiring(platform, server, TestTimings::fast()));
        },
        {"midiHandler", "downloader", "mainController", "fileManagerBridge", "updateChoices", "presence",
         "updateFlow", "transferFlow", "interruptedUpdate", "backupFlow", "restoreFlow", "historyModel",
         "computerCheck"},
        QUrl(QStringLiteral("qrc:/Tavlo_App/main.qml")));
    TestFullWiring own;
    const int failed = QTest::qExec(&common, argc, argv);
    return failed + QTest::qExec(&own, argc, argv);
}

#include "tst_full_wiring.moc"
