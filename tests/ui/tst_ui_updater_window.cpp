// The update-only edition's window, driven through stand-ins of its three published objects.

#include "MessageRecorder.h"
#include "UpdaterWindowFixture.h"
#include "WindowExpectations.h"

#include <QFile>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace WindowExpectations;

namespace {

const QString kInstalled = QStringLiteral("The latest version is already installed!");

} // namespace

class UpdaterWindowTest : public QObject
{
    Q_OBJECT

    // Made before the window and dropped after it: its warnings count too.
    struct Fixture : MessageRecorder, UpdaterWindowFixture
    {
        MessageRecorder& messages = *this;
    };
    std::unique_ptr<Fixture> f;

private slots:
    void init()
    {
        f = std::make_unique<Fixture>();
        QVERIFY(f->load());
        QObject::disconnect(&f->driver.engine(), nullptr, QCoreApplication::instance(), nullptr);
    }

    void cleanup()
    {
        const QStringList warnings = f->messages.warnings();
        f.reset();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
    }

    void servedAtItsOwnPath()
    {
        QVERIFY(QFile::exists(QStringLiteral(":/Tavlo Updater/main.qml")));
        QCOMPARE(f->driver.window()->size(), QSize(360, 720));
        QCOMPARE(f->driver.window()->minimumSize(), QSize(360, 720));
        QCOMPARE(f->driver.window()->maximumSize(), QSize(540, 1080));
        QCOMPARE(f->driver.window()->color(), QColor("black"));
        // Nothing of the full edition's transfer mode is there.
        for (const char* name : {"transferButton", "infoConnectText", "genericProgressBar", "openProjectsButton",
                                 "completeTransferButton"})
            QVERIFY2(!f->driver.item(name), name);
        const QQuickItem* logo = f->driver.item("logoContainer");
        QCOMPARE(logo->width(), 180.0);
        QCOMPARE(logo->height(), 180.0); // the logo is square
        QCOMPARE(logo->y(), 0.08 * 720);
    }

    void handlers_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("dot");
        QTest::addColumn<QString>("versionLine"); // checked when not empty
        QTest::addColumn<QString>("infoLine");    // checked when not empty
        QTest::addColumn<QStringList>("calls");

        const QStringList updating{"found", "click Update", "click Start Update"};
        QTest::newRow("searching") << QStringList{} << "" << "row" << "orange" << "" << "" << QStringList{};
        QTest::newRow("found") << QStringList{} << "found" << "row update" << "green" << "" << "" << QStringList{};
        QTest::newRow("lost") << QStringList{"found"} << "lost" << "row" << "red" << "" << "" << QStringList{};
        QTest::newRow("lost while polling") << QStringList{"lost"} << "lost" << "row" << "red" << "" << ""
                                            << QStringList{};
        QTest::newRow("version changes nothing") << QStringList{"found"} << "version 1.6.0" << "row update" << "green"
                                                 << "Looking for the latest version or Tvx..." << ""
                                                 << QStringList{};
        QTest::newRow("Update") << QStringList{"found", "latest 1.6.0"} << "click Update" << "row version info start"
                                << "green" << "The latest available version is Tvx1.6.0" << "" << QStringList{};
        QTest::newRow("Update, nothing newer") << QStringList{"found", "versionCheck true"} << "click Update"
                                               << "row version info exit" << "green" << kInstalled
                                               << "The latest version is already installed! You can now close this "
                                                  "application."
                                               << QStringList{};
        QTest::newRow("versionCheck false") << QStringList{"found"} << "versionCheck false" << "row update" << "green"
                                            << "Looking for the latest version or Tvx..." << "" << QStringList{};
        QTest::newRow("Start Update") << QStringList{"found", "click Update"} << "click Start Update"
                                      << "row version info" << "green" << "" << ""
                                      << QStringList{"downloadFile"};
        QTest::newRow("download 40") << updating << "download 40" << "row version info" << "green"
                                     << "Downloading... 40%" << "" << QStringList{};
        QTest::newRow("download 150 not clamped") << updating << "download 150" << "row version info" << "green"
                                                  << "Downloading... 150%" << "" << QStringList{};
        QTest::newRow("download -5 not clamped") << updating << "download -5" << "row version info" << "green"
                                                 << "Downloading... -5%" << "" << QStringList{};
        QTest::newRow("copy text as received") << (updating + QStringList{"download 100"}) << "copy 40%"
                                               << "row version info" << "green" << "Transfering file... 40%" << ""
                                               << QStringList{};
        QTest::newRow("copy succeeded") << (updating + QStringList{"copy 100%"}) << "copyDone true"
                                        << "row version info exit" << "green" << "File transfer complete!"
                                        << "File transfer complete! Tavlo will now reboot to apply the update. You "
                                           "can now close this application."
                                        << QStringList{};
        QTest::newRow("copy failed") << (updating + QStringList{"copy 40%"}) << "copyDone false"
                                     << "row version info exit" << "green" << "File transfer failed!"
                                     << "Something went wrong during the file transfer. Please try again or contact "
                                        "support."
                                     << QStringList{};
        // Unplugged while the update runs: what ran was cancelled; the window waits again.
        QTest::newRow("lost during update: back to waiting") << (updating + QStringList{"download 40"}) << "lost"
                                                             << "row" << "red" << "" << "" << QStringList{};
        // The instrument reboots to apply the update: its absence is awaited, not a loss.
        QTest::newRow("the reboot beside the result") << (updating + QStringList{"copyDone true"}) << "lost"
                                                << "row version info exit" << "green" << "File transfer complete!"
                                                << "" << QStringList{};
        QTest::newRow("found after an unplug during the update offers Update afresh")
            << (updating + QStringList{"lost"}) << "found" << "row update" << "green" << "" << ""
            << QStringList{};
        QTest::newRow("lost beside a failure keeps it")
            << (updating + QStringList{"copyDone false"}) << "lost" << "row version info exit" << "red"
            << "File transfer failed!" << "" << QStringList{};
    }

    void handlers()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, step);
        QFETCH(QString, shown);
        QFETCH(QString, dot);
        QFETCH(QString, versionLine);
        QFETCH(QString, infoLine);
        QFETCH(QStringList, calls);

        QVERIFY(f->playAll(setup));
        f->downloader.clearCalls();
        if (!step.isEmpty())
            QVERIFY2(f->play(step), qPrintable(step));
        QCOMPARE(shownNow(f->driver), normalised(shown));
        QCOMPARE(dotColour(f->driver), QColor(dot).name());
        if (!versionLine.isEmpty())
            QCOMPARE(f->driver.text("versionText"), versionLine);
        if (!infoLine.isEmpty())
            QCOMPARE(f->driver.text("infoText"), infoLine);
        QCOMPARE(f->downloader.calls(), calls);
        QCOMPARE(f->midi.calls(), QStringList{});
    }

    void unplugOnTheUpdateScreenGoesBackToWaiting()
    {
        // "Start Update" is never left to a press that cannot work: the unplugged instrument
        // takes the update screen away, and its return offers "Update" afresh.
        QVERIFY(f->playAll({"found", "click Update"}));
        QQuickItem* start = f->driver.button("Start Update");
        QVERIFY(start && start->isVisible() && start->isEnabled());
        QVERIFY(f->playAll({"lost"}));
        QVERIFY(!start->isVisible());
        QVERIFY(!f->driver.isShown("updateButton"));
        QVERIFY(f->playAll({"found", "click Update"}));
        QVERIFY(start->isVisible());
        QVERIFY(f->driver.click(start));
        QCOMPARE(f->downloader.calls(), QStringList{"downloadFile"});
    }

    void exitQuits()
    {
        QSignalSpy quitSpy(&f->driver.engine(), &QQmlEngine::quit);
        QVERIFY(f->playAll({"found", "click Update", "click Start Update", "copyDone true", "click EXIT"}));
        QCOMPARE(quitSpy.count(), 1);
    }

    void versionCheckIsLogged()
    {
        QVERIFY(f->playAll({"versionCheck true"}));
        QVERIFY(f->messages.infos().contains(kInstalled));
    }

    void sizesFollowWindow()
    {
        f->driver.window()->resize(540, 1080);
        const QQuickItem* logo = f->driver.item("logoContainer");
        QTRY_COMPARE(logo->width(), 270.0);
        QCOMPARE(logo->height(), 270.0);
        const QQuickItem* row = f->driver.item("dotAndLabelRow");
        QCOMPARE(row->width(), 135.0);
        QCOMPARE(row->height(), 0.3 * 270);
        QCOMPARE(f->driver.item("connectionIndication")->width(), 0.07 * 135);
        QCOMPARE(f->driver.item("connectionlabel")->property("font").value<QFont>().pixelSize(), 13);
        const QQuickItem* update = f->driver.item("updateButton");
        QCOMPARE(update->y(), logo->y() + 270 + 0.1 * 1080);
        QCOMPARE(update->height(), 90.0);
        // Captions in whole pixels, rounded down: 31.5 and 22.5 become 31 and 22.
        QCOMPARE(update->property("font").value<QFont>().pixelSize(), 31);
        QCOMPARE(f->driver.item("startUpdateButton")->property("font").value<QFont>().pixelSize(), 22);
        QCOMPARE(f->driver.item("closeApplicationButton")->property("font").value<QFont>().pixelSize(), 22);
        const QQuickItem* version = f->driver.item("versionText");
        QCOMPARE(version->y(), logo->y() + 270 + 0.02 * 1080);
    }
};

// Nothing published: the window loads quietly in its searching state.
class UpdaterUnpublishedTest : public QObject
{
    Q_OBJECT
private slots:
    void searchingWithoutObjects()
    {
        MessageRecorder messages;
        {
            WindowDriver driver;
            QVERIFY(driver.load(QUrl(QStringLiteral("qrc:/Tavlo Updater/main.qml"))));
            QTest::qWait(300);
            QCOMPARE(shownNow(driver), QStringLiteral("row"));
            QCOMPARE(label(driver), QStringLiteral("Looking for Tavlo"));
            QQuickItem* start = driver.item("startUpdateButton");
            start->setVisible(true);
            QVERIFY(driver.click(start));
            QCOMPARE(driver.root()->property("update_started").toBool(), false);
        }
        QVERIFY2(messages.warnings().isEmpty(), qPrintable(messages.warnings().join('\n')));
    }
};

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    UpdaterWindowTest flows;
    UpdaterUnpublishedTest unpublished;
    int status = QTest::qExec(&unpublished, argc, argv);
    status |= QTest::qExec(&flows, argc, argv);
    return status;
}

#include "tst_ui_updater_window.moc"
