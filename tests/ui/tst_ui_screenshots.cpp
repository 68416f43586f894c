// Renders the real window on a display (run under Xvfb) in its main screens, checks that
// each picture shows what it should, and keeps the pictures for people to look at.

#include "CannedHistory.h"
#include "HistoryModel.h"
#include "StandInDownloader.h"
#include "StandInFlows.h"
#include "StandInMidiHandler.h"
#include "StandInSet.h"
#include "StandInUpdaterMainController.h"
#include "InstrumentLock.h"
#include "Startup.h"
#include "WindowClaim.h"
#include "WindowDriver.h"

#include <QDir>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <memory>

namespace {

const QUrl kMainUrl(QStringLiteral("qrc:/Tavlo_App/main.qml"));

int distinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    }
    return int(colours.size());
}

bool near(QColor a, QColor b, int tolerance = 12)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
           && qAbs(a.blue() - b.blue()) <= tolerance;
}

// The colour the window shows at the centre of the item, in the grabbed image's pixels.
QColor colourAt(const QImage& image, const QQuickItem* item, QPointF within, qreal ratio)
{
    const QPointF scene = item->mapToScene(within) * ratio;
    return image.pixelColor(scene.toPoint());
}

} // namespace

class ScreenshotsTest : public QObject
{
    Q_OBJECT

    QString m_dir;

    // The window as it is now, kept under the row's name (a null image when it could not be
    // taken or saved).
    QImage keep(WindowDriver& driver) const { return keep(driver.grab()); }

    QImage keep(const QImage& image) const
    {
        const QString path = m_dir + QLatin1Char('/') + QString::fromLatin1(QTest::currentDataTag()) + ".png";
        if (image.isNull() || !image.save(path))
            return QImage();
        std::printf("  %s\n", qPrintable(path));
        return image;
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QCOMPARE(Startup::registerFonts(), 3);
        // As the programs name themselves ("About" shows both).
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Tavlo"));
        QCoreApplication::setApplicationVersion(QStringLiteral("1.3.1"));
        m_dir = QStringLiteral(TAVLO_SCREENSHOT_DIR);
        QVERIFY(QDir().mkpath(m_dir));
        std::printf("Screenshots go to %s\n", qPrintable(m_dir));
    }

    void screen_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("dot");        // empty: the dot is hidden
        QTest::addColumn<bool>("progressFill");  // a filled part of the bar must be visible

        const QStringList home{"found", "latest 1.6.0", "version 1.5.0"};
        QTest::newRow("01-searching") << QStringList{} << "orange" << false;
        QTest::newRow("02-disconnected") << QStringList{"lost"} << "red" << false;
        QTest::newRow("03-home-with-transfer") << home << "green" << false;
        QTest::newRow("04-update-screen") << (home + QStringList{"click Update"}) << "green" << false;
        QTest::newRow("05-downloading") << (home + QStringList{"click Update", "click Start Update", "download 40"})
                                        << "green" << true;
        QTest::newRow("06-copying") << (home + QStringList{"click Update", "click Start Update", "download 100",
                                                           "copy 75"})
                                    << "green" << true;
        QTest::newRow("07-result") << (home + QStringList{"click Update", "click Start Update", "download 100",
                                                          "copy 100", "copyDone true"})
                                   << "" << false;
        QTest::newRow("08-download-failed")
            << (home + QStringList{"click Update", "click Start Update", "download 3", "status false Network down"})
            << "green" << false;
        QTest::newRow("09-connecting") << (home + QStringList{"click Transfer"}) << "green" << false;
        QTest::newRow("10-transfer-screen") << (home + QStringList{"click Transfer", "transferAck"}) << "green"
                                            << false;
        QTest::newRow("11-transfer-disconnected") << (home + QStringList{"click Transfer", "transferAck", "lost"})
                                                  << "red" << false;
        QTest::newRow("14-transfer-drive-refused")
            << (home + QStringList{"click Transfer", "transferAck", "click DONE",
                                   "volumeRefused A drive named TAVLO that is not Tavlo is connected; it was left alone."})
            << "green" << false;
        QTest::newRow("12-largest") << (home + QStringList{"click Update"}) << "green" << false;
        // The instructions come back over the update screen while the bar is shown (and
        // cover part of its fill).
        QTest::newRow("13-lost-while-downloading")
            << (home + QStringList{"click Update", "click Start Update", "download 40", "lost"}) << "red" << false;
    }

    void screen()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, dot);
        QFETCH(bool, progressFill);

        StandInSet objects;
        WindowDriver driver;
        objects.publishTo(driver);
        QVERIFY(driver.load(kMainUrl));
        if (QByteArray(QTest::currentDataTag()).endsWith("largest")) {
            driver.window()->resize(540, 1080);
            QTRY_COMPARE(driver.item("logoContainer")->width(), 270.0);
        }
        for (const QString& step : steps)
            QVERIFY2(objects.play(step, driver), qPrintable(objects.error()));
        QTest::qWait(100);

        const QImage image = keep(driver);
        QVERIFY2(!image.isNull(), "the picture could not be taken or kept");

        const qreal ratio = qreal(image.width()) / driver.window()->width();
        QVERIFY2(distinctColours(image) >= 16, "the picture is nearly blank");
        // The background is black.
        QVERIFY(near(image.pixelColor(2, image.height() - 3), Qt::black));

        const QQuickItem* indicator = driver.item("connectionIndication");
        QVERIFY(indicator);
        if (!dot.isEmpty()) {
            const QColor seen = colourAt(image, indicator, {indicator->width() / 2, indicator->height() / 2}, ratio);
            QVERIFY2(near(seen, QColor(dot)),
                     qPrintable(QString("dot is %1, expected %2").arg(seen.name(), QColor(dot).name())));
        } else {
            QVERIFY(!indicator->isVisible());
        }
        if (progressFill) {
            const QQuickItem* track = driver.item("progressBar", driver.item("genericProgressBar"));
            QVERIFY(track && track->isVisible());
            const QColor seen = colourAt(image, track, {track->width() * 0.05, track->height() / 2}, ratio);
            QVERIFY2(near(seen, QColor("#44BACD")), qPrintable("fill is " + seen.name()));
            const QColor empty = colourAt(image, track, {track->width() * 0.97, track->height() / 2}, ratio);
            QVERIFY2(near(empty, QColor("#222222")), qPrintable("track is " + empty.name()));
        }
        // Every shown button draws its white border.
        const QStringList buttons{"updateButton", "transferButton", "startUpdateButton", "closeApplicationButton",
                                  "openProjectsButton", "completeTransferButton"};
        for (const QString& name : buttons) {
            const QQuickItem* button = driver.item(name);
            if (!button->isVisible())
                continue;
            const QQuickItem* background = qvariant_cast<QQuickItem*>(button->property("background"));
            QVERIFY(background);
            const QColor edge = colourAt(image, background, {background->width() / 2, 0.5}, ratio);
            QVERIFY2(edge.lightness() > 100 * (button->opacity() >= 1 ? 2 : 1),
                     qPrintable(name + " border is " + edge.name()));
        }
    }

    // The update-only edition's window in its update flow.
    void updaterScreen_data()
    {
        QTest::addColumn<QString>("dot");
        QTest::addColumn<QString>("versionLine");
        QTest::newRow("u1-searching") << "orange" << "";
        QTest::newRow("u2-home") << "green" << "";
        QTest::newRow("u3-update-screen") << "green" << "The latest available version is Tvx1.6.0";
        QTest::newRow("u4-downloading") << "green" << "Downloading... 40%";
        QTest::newRow("u5-copying") << "green" << "Transfering file... 81%";
        QTest::newRow("u6-result-lost") << "green" << "File transfer complete!"; // the reboot is awaited
        QTest::newRow("u7-largest") << "green" << "The latest available version is Tvx1.6.0";
    }

    void updaterScreen()
    {
        QFETCH(QString, dot);
        QFETCH(QString, versionLine);
        StandInMidiHandler midi;
        StandInDownloader downloader;
        StandInUpdaterMainController controller;
        StandInFlows flows(midi, downloader, controller);
        WindowDriver driver;
        driver.publish("midiHandler", &midi);
        driver.publish("downloader", &downloader);
        driver.publish("mainController", &controller);
        flows.publishTo(driver);
        QVERIFY(driver.load(QUrl(QStringLiteral("qrc:/Tavlo Updater/main.qml"))));
        QObject::disconnect(&driver.engine(), nullptr, QCoreApplication::instance(), nullptr);
        if (QByteArray(QTest::currentDataTag()).endsWith("largest")) {
            driver.window()->resize(540, 1080);
            QTRY_COMPARE(driver.item("logoContainer")->width(), 270.0);
        }

        // u7 shows the update screen, as u3 does.
        const int stage = QByteArray(QTest::currentDataTag()).startsWith("u7")
                              ? 3
                              : QByteArray(QTest::currentDataTag()).mid(1, 1).toInt();
        // Each report, then the flows' notices of it, as the event loop delivers them.
        if (stage >= 2) {
            emit midi.deviceFound(true);
            emit downloader.latestVersionFetched("1.6.0");
            flows.deliverNotices();
        }
        if (stage >= 3) {
            QVERIFY(driver.clickButton("Update"));
            flows.deliverNotices();
        }
        if (stage >= 4) {
            QVERIFY(driver.clickButton("Start Update"));
            emit downloader.downloadingProgressBar(40);
            flows.deliverNotices();
        }
        if (stage >= 5)
            emit controller.copyingFileProgress("81%");
        if (stage >= 6) {
            emit controller.fileTransferComplete(true);
            emit midi.deviceFound(false);
        }
        flows.deliverNotices();
        QTest::qWait(100);
        if (!versionLine.isEmpty())
            QCOMPARE(driver.text("versionText"), versionLine);

        const QImage image = keep(driver);
        QVERIFY2(!image.isNull(), "the picture could not be taken or kept");
        const qreal ratio = qreal(image.width()) / driver.window()->width();
        QVERIFY2(distinctColours(image) >= 16, "the picture is nearly blank");
        const QQuickItem* indicator = driver.item("connectionIndication");
        const QColor seen = colourAt(image, indicator, {indicator->width() / 2, indicator->height() / 2}, ratio);
        QVERIFY2(near(seen, QColor(dot)), qPrintable(QString("dot is %1, expected %2").arg(seen.name(), dot)));
    }

    // The screens of an interrupted update and of an instrument held by another program, in
    // both editions' windows, in English and in German.
    void heldOrInterrupted_data()
    {
        QTest::addColumn<QString>("document");
        for (const char* language : {"en", "de"}) {
            QTest::addRow("15-interrupted-%s", language) << "full";
            QTest::addRow("u8-interrupted-%s", language) << "updater";
            QTest::addRow("16-in-use-%s", language) << "in use";
            QTest::addRow("17-awake-%s", language) << "copying";
            QTest::addRow("u9-awake-%s", language) << "updater copying";
            QTest::addRow("18-about-%s", language) << "about";
            QTest::addRow("u10-about-%s", language) << "updater about";
            QTest::addRow("19-history-%s", language) << "history";
            QTest::addRow("u11-history-%s", language) << "updater history";
        }
    }

    void heldOrInterrupted()
    {
        QFETCH(QString, document);
        QTranslator german;
        if (QByteArray(QTest::currentDataTag()).endsWith("-de"))
            QVERIFY(Startup::installTranslation(german, QLocale(QStringLiteral("de_DE"))));
        StandInSet objects;
        StandInMidiHandler midi;
        StandInDownloader downloader;
        StandInUpdaterMainController controller;
        StandInFlows flows(midi, downloader, controller);
        WindowDriver driver;
        driver.engine().rootContext()->setContextProperty(QStringLiteral("sessionLogFolder"),
                                                          QStringLiteral("/home/someone/.local/state/tavlo/logs"));
        // The History page's records.
        QTemporaryDir state;
        QVERIFY(CannedHistory::writeInto(state.path()));
        const HistoryLog historyLog = HistoryLog::inFolder(state.path());
        HistoryModel history(historyLog);
        driver.engine().rootContext()->setContextProperty(QStringLiteral("historyModel"), &history);
        const bool updater = document.startsWith(QLatin1String("updater"));
        if (document == QLatin1String("in use")) {
            QVERIFY(driver.load(WindowClaim::inUseDocument()));
            driver.root()->setProperty("sentence", InstrumentLock::inUseSentence({123456, false, QStringLiteral("update")}));
        } else if (updater) {
            driver.publish("midiHandler", &midi);
            driver.publish("downloader", &downloader);
            driver.publish("mainController", &controller);
            flows.publishTo(driver);
            QVERIFY(driver.load(QUrl(QStringLiteral("qrc:/Tavlo Updater/main.qml"))));
        } else {
            objects.publishTo(driver);
            QVERIFY(driver.load(kMainUrl));
        }
        QObject::disconnect(&driver.engine(), nullptr, QCoreApplication::instance(), nullptr);
        StandInFlows& shown = updater ? flows : objects.flows;
        if (document != QLatin1String("in use")) {
            if (updater) {
                emit midi.deviceFound(true);
                emit downloader.latestVersionFetched("1.6.0");
            } else {
                for (const char* step : {"found", "latest 1.6.0", "version 1.5.2"})
                    QVERIFY2(objects.play(QString::fromLatin1(step), driver), qPrintable(objects.error()));
            }
            shown.deliverNotices();
        }
        if (document.endsWith(QLatin1String("history"))) {
            // "History" is a window of its own, opened from the right-click menu: the picture is of it.
            QObject* action = driver.root()->findChild<QObject*>(QStringLiteral("historyAction"));
            QVERIFY(action && QMetaObject::invokeMethod(action, "open"));
            QQuickWindow* page = nullptr;
            QTRY_VERIFY((page = driver.root()->findChild<QQuickWindow*>(QStringLiteral("historyWindow")))
                        && page->isExposed());
            QTest::qWait(200);
            const QImage image = keep(page->grabWindow());
            QVERIFY2(!image.isNull(), "the picture could not be taken or kept");
            QVERIFY2(distinctColours(image) >= 16, "the picture is nearly blank");
            return;
        }
        if (document.endsWith(QLatin1String("about"))) {
            // "About" is a window of its own: the picture is of it.
            // F1 is the window's shortcut: it needs the window active.
            driver.window()->requestActivate();
            QVERIFY(QTest::qWaitForWindowActive(driver.window()));
            QTest::keyClick(driver.window(), Qt::Key_F1);
            QQuickWindow* about = nullptr;
            QTRY_VERIFY((about = driver.root()->findChild<QQuickWindow*>(QStringLiteral("aboutWindow")))
                        && about->isExposed());
            QTest::qWait(200);
            const QImage image = keep(about->grabWindow());
            QVERIFY2(!image.isNull(), "the picture could not be taken or kept");
            QVERIFY2(distinctColours(image) >= 16, "the picture is nearly blank");
            return;
        }
        if (document.endsWith(QLatin1String("copying"))) {
            QVERIFY(driver.clickButton(QCoreApplication::translate("HomeScreen", "Update"))
                    || driver.press(QStringLiteral("updateButton")));
            shown.deliverNotices();
            QVERIFY(driver.press(QStringLiteral("startUpdateButton")));
            if (updater) {
                emit downloader.downloadingProgressBar(100);
                emit downloader.setDeviceToTransferMode(true);
                emit controller.copyingFileProgress("60%");
            } else {
                emit objects.downloader.downloadingProgressBar(100);
                emit objects.downloader.setDeviceToTransferMode(true);
                emit objects.mainController.copyingFileProgress(60);
            }
            shown.deliverNotices();
            QVERIFY(driver.isShown(QStringLiteral("awakeText")));
        } else if (document != QLatin1String("in use")) {
            shown.updateVolumeFound();
            shown.deliverNotices();
            QVERIFY(driver.isShown(QStringLiteral("finishUpdateButton")));
        }
        QTest::qWait(100);
        const QImage image = keep(driver);
        QVERIFY2(!image.isNull(), "the picture could not be taken or kept");
        QVERIFY2(distinctColours(image) >= 16, "the picture is nearly blank");
    }
};

QTEST_MAIN(ScreenshotsTest)
#include "tst_ui_screenshots.moc"
