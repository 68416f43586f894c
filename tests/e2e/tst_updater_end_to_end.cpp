// A whole firmware update through the update-only edition's own window, loaded from
// "qrc:/Tavlo Updater/main.qml" with the program's objects, against the simulated instrument
// and the local release server; and a download that fails on the way.
#include "app/updater/UpdaterEditionWiring.h"
#include "ReleaseServer.h"
#include "SimInstrument.h"
#include "SysExMessages.h"
#include "TestTimings.h"
#include "WindowDriver.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QQmlProperty>
#include <QQuickItem>
#include <QTemporaryDir>
#include "AppFolders.h"
#include <QTest>

namespace {

const QUrl kWindow(QStringLiteral("qrc:/Tavlo Updater/main.qml"));

QByteArray firmware(qint64 size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 7919 + 13) % 256);
    return data;
}

QByteArray catalogueFor(const QString& name)
{
    return "[{\"file_name\":\"" + name.toUtf8()
           + "\",\"version\":\"1.6.0\",\"total_file_size\":\"10000\"}]";
}

} // namespace

// Every text the version line shows, in order.
class TextRecorder : public QObject
{
    Q_OBJECT
public:
    explicit TextRecorder(QQuickItem* item) : item(item)
    {
        QQmlProperty(item, QStringLiteral("text")).connectNotifySignal(this, SLOT(changed()));
    }
    QStringList texts;

public Q_SLOTS:
    void changed() { texts << QQmlProperty::read(item, QStringLiteral("text")).toString(); }

private:
    QQuickItem* item;
};

class TestEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void updateThroughWindow();
    void failedDownloadLeavesProgress();

private:
    ReleaseServer server;
};

void TestEndToEnd::initTestCase()
{
    QVERIFY2(server.start(), qPrintable(server.errorText()));
    ReleaseServer::trustInThisProcess();
}

void TestEndToEnd::updateThroughWindow()
{
    const QString name = QStringLiteral("tavlo-firmware-1.6.0.tvq");
    const QByteArray served = firmware(10000);
    server.setCatalogue(catalogueFor(name));
    ReleaseServer::Response file = ReleaseServer::Response::ok(served);
    file.pieces = {4000, 4000};
    file.pieceDelayMs = 100;
    server.setResponse("GET", QStringLiteral("/releases/") + name, file);

    SimInstrument instrument;
    instrument.setTimings(TestTimings::fastInstrument());
    instrument.setFirmwareVersion(QStringLiteral("1.5.2"));
    instrument.setVersionAfterUpdate(QStringLiteral("1.6.0"));

    UpdaterEditionWiring wiring(instrument.platform(), server.baseUrl(), TestTimings::fast());
    WindowDriver driver;
    wiring.publish(driver.engine());
    QVERIFY(driver.load(kWindow));
    TextRecorder versionLine(driver.item(QStringLiteral("versionText")));

    // No instrument yet: reported at the first tick, about a second after start.
    QTRY_COMPARE_WITH_TIMEOUT(driver.text(QStringLiteral("connectionlabel")),
                              QStringLiteral("Tavlo is not connected"), 2500);
    QVERIFY(!driver.isShown(QStringLiteral("updateButton")));

    instrument.plugIn();
    QTRY_VERIFY_WITH_TIMEOUT(driver.isShown(QStringLiteral("updateButton")), 2500);
    QCOMPARE(driver.text(QStringLiteral("connectionlabel")), QStringLiteral("Tavlo is connected"));
    QVERIFY(driver.clickButton(QStringLiteral("Update")));
    QTRY_COMPARE(driver.text(QStringLiteral("versionText")),
                 QStringLiteral("The latest available version is Tvx1.6.0"));
    QVERIFY(driver.clickButton(QStringLiteral("Start Update")));

    QTRY_COMPARE_WITH_TIMEOUT(driver.text(QStringLiteral("versionText")),
                              QStringLiteral("File transfer complete!"), 30000);
    QVERIFY(driver.isShown(QStringLiteral("closeApplicationButton")));
    QVERIFY(!driver.isShown(QStringLiteral("startUpdateButton")));
    QCOMPARE(driver.text(QStringLiteral("connectionlabel")), QStringLiteral("Tavlo is connected"));

    // The version line went through the download and the copy, each percent sign once.
    QStringList copying;
    for (const QString& text : versionLine.texts) {
        if (text.startsWith(QLatin1String("Transfering file... ")))
            copying << text;
    }
    QCOMPARE(copying, (QStringList{"Transfering file... 40%", "Transfering file... 81%",
                                   "Transfering file... 100%"}));
    QVERIFY(versionLine.texts.contains(QStringLiteral("Downloading... 100%")));
    const int downloading = versionLine.texts.indexOf(QStringLiteral("Downloading... 100%"));
    QVERIFY(downloading < versionLine.texts.indexOf(copying.constFirst()));

    // The instrument applies exactly the bytes that were served, told once.
    QTRY_COMPARE_WITH_TIMEOUT(instrument.appliedUpdates().size(), 1, 10000);
    QCOMPARE(instrument.appliedUpdates().constFirst().bytes, served);
    QCOMPARE(instrument.firmwareVersion(), QStringLiteral("1.6.0"));
    QTest::qWait(1500);
    QCOMPARE(instrument.midi().updateFinishCount(), 1);
    QCOMPARE(instrument.appliedUpdates().size(), 1);
    // The downloaded copy lies in the user's own download folder.
    QFile download(AppFolders::forThisSystem().downloads + QLatin1Char('/') + name);
    QVERIFY(download.open(QIODevice::ReadOnly));
    QCOMPARE(download.readAll(), served);
}

void TestEndToEnd::failedDownloadLeavesProgress()
{
    const QString name = QStringLiteral("tavlo-firmware-broken.tvq");
    server.setCatalogue(catalogueFor(name));
    ReleaseServer::Response broken = ReleaseServer::Response::ok(firmware(30000));
    broken.pieces = {10000, 10000};
    broken.pieceDelayMs = 200;
    broken.closeAfterBytes = 20000;
    server.setResponse("GET", QStringLiteral("/releases/") + name, broken);

    SimInstrument instrument;
    instrument.plugIn();
    UpdaterEditionWiring wiring(instrument.platform(), server.baseUrl(), TestTimings::fast());
    WindowDriver driver;
    wiring.publish(driver.engine());
    QVERIFY(driver.load(kWindow));

    QTRY_VERIFY_WITH_TIMEOUT(driver.isShown(QStringLiteral("updateButton")), 2500);
    QVERIFY(driver.clickButton(QStringLiteral("Update")));
    QTRY_COMPARE(driver.text(QStringLiteral("versionText")),
                 QStringLiteral("The latest available version is Tvx1.6.0"));
    QVERIFY(driver.clickButton(QStringLiteral("Start Update")));
    QTRY_VERIFY_WITH_TIMEOUT(
        driver.text(QStringLiteral("versionText")).startsWith(QLatin1String("Downloading... ")), 10000);

    // The connection is cut after two thirds: no longer a silent stop at the last progress,
    // but a failure screen with the reason, "EXIT" and "Try again".
    QTRY_COMPARE_WITH_TIMEOUT(driver.text(QStringLiteral("versionText")),
                              QStringLiteral("Download failed!"), 5000);
    QVERIFY(driver.isShown(QStringLiteral("closeApplicationButton")));
    QVERIFY(driver.isShown(QStringLiteral("tryAgainButton")));
    QVERIFY(!driver.text(QStringLiteral("failureReasonText")).isEmpty());
    QVERIFY(driver.clickButton(QStringLiteral("Try again")));
    QVERIFY(driver.isShown(QStringLiteral("startUpdateButton")));
    // The instrument stays in normal mode: nothing but the version request reached it.
    QCOMPARE(instrument.midi().receivedMessages(),
             QList<QByteArray>{QByteArray(reinterpret_cast<const char*>(SysEx::MIDI_SYSEX_VERSION_REQUEST.data()),
                                          qsizetype(SysEx::MIDI_SYSEX_VERSION_REQUEST.size()))});
    QVERIFY(!QFile::exists(QDir::tempPath() + QLatin1Char('/') + name));
}

int main(int argc, char* argv[])
{
    // The downloads land in a folder of this run; it must be named before anything reads the
    // temporary location.
    QTemporaryDir downloads;
    if (!downloads.isValid())
        return 1;
    qputenv("TMPDIR", QFile::encodeName(downloads.path()));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(downloads.path()));
    QGuiApplication app(argc, argv);
    TestEndToEnd test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_updater_end_to_end.moc"
