// The update-only edition's object graph: what every wiring does (WiringChecks), then what
// this edition does its own way: the copy progress relayed as text, the transfer result told
// to the instrument at once, and the resources it carries (none of the full edition's own).

#include "storage/updater/FileManager.h"
#include "SimInstrument.h"
#include "TestTimings.h"
#include "app/updater/UpdaterEditionWiring.h"
#include "WiringChecks.h"

#include <QFile>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

class TestUpdaterWiring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void progressRelayedAsText();
    void transferResultToldAtOnce();
    void resources_data();
    void resources();
};

namespace {
std::unique_ptr<UpdaterEditionWiring> makeWiring(const Platform& platform)
{
    return std::make_unique<UpdaterEditionWiring>(platform, WiringChecks::noServer(),
                                                  TestTimings::fast());
}
} // namespace

void TestUpdaterWiring::progressRelayedAsText()
{
    SimInstrument instrument;
    const auto wiring = makeWiring(instrument.platform());
    QSignalSpy relayed(&wiring->mainController(), &MainController::copyingFileProgress);
    FileManager* files = wiring->fileManager();
    QMetaObject::invokeMethod(
        files,
        [files] {
            Q_EMIT files->copyProgress(QStringLiteral("40%"));
            Q_EMIT files->copyProgress(QStringLiteral("81%"));
        },
        Qt::BlockingQueuedConnection);
    QTRY_COMPARE(relayed.size(), 2);
    QCOMPARE(relayed.at(0).at(0).toString(), QStringLiteral("40%"));
    QCOMPARE(relayed.at(1).at(0).toString(), QStringLiteral("81%"));
}

void TestUpdaterWiring::transferResultToldAtOnce()
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
    QCOMPARE(done.size(), 1);
    // The volume is still mounted: the instrument is told at once, once.
    QTRY_COMPARE(instrument.midi().updateFinishCount(), 1);
}

void TestUpdaterWiring::resources_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("present");
    QTest::newRow("window document") << QStringLiteral(":/Tavlo Updater/main.qml") << true;
    QTest::newRow("no full window") << QStringLiteral(":/Tavlo_App/main.qml") << false;
    QTest::newRow("no progress bar") << QStringLiteral(":/Tavlo_App/GenericProgressBar.qml") << false;
    QTest::newRow("no beta image") << QStringLiteral(":/icons/icons/beta.png") << false;
}

void TestUpdaterWiring::resources()
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
                new UpdaterEditionWiring(platform, server, TestTimings::fast()));
        },
        {"midiHandler", "downloader", "mainController", "updateChoices", "presence", "updateFlow", "interruptedUpdate",
         "historyModel", "computerCheck"},
        QUrl(QStringLiteral("qrc:/Tavlo Updater/main.qml")));
    TestUpdaterWiring own;
    const int failed = QTest::qExec(&common, argc, argv);
    return failed + QTest::qExec(&own, argc, argv);
}

#include "tst_updater_wiring.moc"
