// The main window's rules and looks, driven through stand-ins of the four published
// objects: which firmware is offered "Transfer", the progress bar, the waiting dots, the
// buttons that wait for the instrument, and the layout at every window size.

#include "MainWindowFixture.h"
#include "WindowExpectations.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <memory>

using namespace WindowExpectations;

namespace {

const QString kLatestPrefix = QStringLiteral("The latest available version is Tvx");

} // namespace

class WindowDetailsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> f;

    bool playAll(const QStringList& steps) { return f->playAll(steps); }

    // The window's dots tick every 500 ms; here they tick every kTick ms so that five
    // ticks go by quickly, and the rhythm is checked against that.
    static constexpr int kTick = 100;

    // The window's timer of the dots, once it is seen to tick every 500 ms, set to tick
    // every kTick ms; null when there is no such timer or it ticks at another rate.
    QObject* loadingTimer()
    {
        QObject* timer = f->driver.root()->findChild<QObject*>(QStringLiteral("loadingTimer"));
        if (!timer || timer->property("interval").toInt() != 500)
            return nullptr;
        timer->setProperty("interval", kTick);
        return timer;
    }

private slots:
    void init()
    {
        f = std::make_unique<MainWindowFixture>();
        QVERIFY(f->load());
    }

    void cleanup()
    {
        const QStringList warnings = f->messages.warnings();
        f.reset();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
    }

    // ------------------------------------------------------------------ version rules
    void transferOfferRule_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("offered");
        QTest::newRow("1.4.9") << "1.4.9" << false;
        QTest::newRow("1.5.0") << "1.5.0" << true;
        QTest::newRow("1.5") << "1.5" << true;
        QTest::newRow("1.10") << "1.10" << true;
        QTest::newRow("2.0.0") << "2.0.0" << true;
        QTest::newRow("1.5.0-rc") << "1.5.0-rc" << true;
        QTest::newRow("0.9") << "0.9" << false;
        QTest::newRow("no version yet") << "" << false;
    }

    void transferOfferRule()
    {
        QFETCH(QString, version);
        QFETCH(bool, offered);
        QVERIFY(playAll({"found"}));
        if (!version.isEmpty())
            QVERIFY(playAll({"version " + version}));
        QVERIFY(f->driver.isShown("updateButton"));
        QCOMPARE(f->driver.isShown("transferButton"), offered);
    }

    // ------------------------------------------------------------------ progress
    void progressClamping_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<double>("percentage");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("caption");
        QTest::newRow("download 40") << "download 40" << 40.0 << "downloading" << "40%" << "Downloading...";
        QTest::newRow("download 150") << "download 150" << 100.0 << "downloading" << "100%" << "Downloading...";
        QTest::newRow("download -5") << "download -5" << 0.0 << "downloading" << "0%" << "Downloading...";
        QTest::newRow("download huge") << "download 9223372036854775807" << 100.0 << "downloading" << "100%"
                                       << "Downloading...";
        QTest::newRow("copy 0") << "copy 0" << 0.0 << "transfer" << "0%" << "Transferring...";
        QTest::newRow("copy 150") << "copy 150" << 100.0 << "transfer" << "100%" << "Transferring...";
        QTest::newRow("copy -5") << "copy -5" << 0.0 << "transfer" << "0%" << "Transferring...";
        QTest::newRow("copy 100") << "copy 100" << 100.0 << "transfer" << "100%" << "Transferring...";
    }

    void progressClamping()
    {
        QFETCH(QString, step);
        QFETCH(double, percentage);
        QFETCH(QString, mode);
        QFETCH(QString, number);
        QFETCH(QString, caption);
        QVERIFY(playAll({"found", "click Update", "click Start Update", step}));
        QQuickItem* bar = f->driver.item("genericProgressBar");
        QVERIFY(bar && bar->isVisible());
        QCOMPARE(bar->property("percentage").toDouble(), percentage);
        QCOMPARE(bar->property("mode").toString(), mode);
        QCOMPARE(bar->property("fileName").toString(), QString());
        QCOMPARE(f->driver.item("percentText", bar)->property("text").toString(), number);
        QCOMPARE(f->driver.item("label", bar)->property("text").toString(), caption);
        const QQuickItem* fill = f->driver.item("progressFill", bar);
        const QQuickItem* track = f->driver.item("progressBar", bar);
        QVERIFY(fill && track);
        QCOMPARE(fill->width(), track->width() * percentage / 100.0);
        QVERIFY(!f->driver.isShown("versionText"));
    }

    // While the progress bar is shown the version line sits below it, else below the logo.
    void versionLineFollowsProgressBar()
    {
        QVERIFY(playAll({"found", "click Update"}));
        const QQuickItem* logo = f->driver.item("logoContainer");
        const QQuickItem* version = f->driver.item("versionText");
        QQuickItem* bar = f->driver.item("genericProgressBar");
        const qreal h = f->driver.window()->height();
        QCOMPARE(version->y(), logo->y() + logo->height() + 0.02 * h);
        bar->setVisible(true);
        QCOMPARE(version->y(), bar->y() + bar->height() + 0.02 * h);
    }

    // ------------------------------------------------------------------ loading animation
    void loadingAnimation_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("base");
        QTest::newRow("connecting") << QStringList{"found", "version 1.5.0", "click Transfer"}
                                    << "Connecting to Tavlo";
        QTest::newRow("finalizing")
            << QStringList{"found", "version 1.5.0", "click Transfer", "transferAck", "click DONE"}
            << "Finalizing Transfer";
    }

    void loadingAnimation()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, base);
        QQuickItem* version = f->driver.item("versionText");
        QVERIFY(version);
        QVERIFY(loadingTimer());
        QStringList frames;
        QList<qint64> times;
        QElapsedTimer clock;
        clock.start();

        QVERIFY(playAll(setup));
        QCOMPARE(version->property("text").toString(), base);
        QVERIFY(version->isVisible());
        frames << version->property("text").toString();
        times << clock.elapsed();
        // Sample the text while five ticks go by.
        QString last = frames.constLast();
        while (frames.size() < 6 && clock.elapsed() < 10 * kTick) {
            QTest::qWait(5);
            const QString now = version->property("text").toString();
            if (now != last) {
                frames << now;
                times << clock.elapsed();
                last = now;
            }
        }
        QCOMPARE(frames, (QStringList{base, base + ".", base + "..", base + "...", base, base + "."}));
        for (int i = 1; i < times.size(); ++i) {
            const qint64 step = times.at(i) - times.at(i - 1);
            QVERIFY2(step > 0.4 * kTick && step < 1.6 * kTick,
                     qPrintable(QString("tick %1 took %2 ms").arg(i).arg(step)));
        }
    }

    // The acknowledgment stops the dots; the text does not change afterwards.
    void loadingStopsOnAcknowledgment()
    {
        QVERIFY(loadingTimer());
        QVERIFY(playAll({"latest 1.8.0", "found", "version 1.5.0", "click Transfer"}));
        // Two ticks and a bit, so that the acknowledgment comes with dots shown.
        QTest::qWait(2 * kTick + kTick / 5);
        QCOMPARE(f->driver.root()->property("_loadingDots").toInt(), 2);
        QVERIFY(playAll({"transferAck"}));
        QCOMPARE(f->driver.root()->property("_loadingDots").toInt(), 0);
        const QString stopped = f->driver.text("versionText");
        QCOMPARE(stopped, kLatestPrefix + "1.8.0");
        QTest::qWait(2 * kTick + kTick / 2);
        QCOMPARE(f->driver.text("versionText"), stopped);
        // DONE starts a fresh cycle from the base text.
        QVERIFY(playAll({"click DONE"}));
        QCOMPARE(f->driver.text("versionText"), QStringLiteral("Finalizing Transfer"));
    }

    // ------------------------------------------------------------------ enabled while disconnected
    void disabledWhileDisconnected_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("call");
        QTest::addColumn<bool>("followsConnection");
        const QStringList transferLost{"found", "version 1.5.0", "click Transfer", "transferAck", "lost"};
        QTest::newRow("Start Update") << QStringList{"found", "click Update", "lost"} << "Start Update"
                                      << "downloader.downloadFile" << true;
        QTest::newRow("Open Projects") << transferLost << "Open Projects" << "fileManagerBridge.openProjects" << true;
        QTest::newRow("Open Instruments") << transferLost << "Open Instruments"
                                          << "fileManagerBridge.openInstrumentDefinitions" << true;
        QTest::newRow("Open MIDI Files") << transferLost << "Open MIDI Files" << "fileManagerBridge.openMidiFiles"
                                         << true;
        QTest::newRow("Open Grooves") << transferLost << "Open Grooves" << "fileManagerBridge.openGrooves" << true;
        QTest::newRow("DONE") << transferLost << "DONE" << "fileManagerBridge.completeTransfer" << true;
        QTest::newRow("EXIT stays enabled")
            << QStringList{"found", "click Update", "click Start Update", "status false no route", "lost"} << "EXIT"
            << "" << false;
    }

    void disabledWhileDisconnected()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, button);
        QFETCH(QString, call);
        QFETCH(bool, followsConnection);
        QObject::disconnect(&f->driver.engine(), nullptr, QCoreApplication::instance(), nullptr);

        QVERIFY(playAll(setup));
        f->objects.clearCalls();
        QQuickItem* target = f->driver.button(button);
        QVERIFY(target && target->isVisible());
        QCOMPARE(dotColour(f->driver), QColor("red").name());
        if (!followsConnection) {
            QVERIFY(target->isEnabled());
            QCOMPARE(target->opacity(), 1.0);
            return;
        }
        QVERIFY(!target->isEnabled());
        QCOMPARE(target->opacity(), 0.5);
        QVERIFY(f->driver.click(target));
        QCOMPARE(f->objects.allCalls(), QStringList{});

        QVERIFY(playAll({"found"}));
        QVERIFY(target->isEnabled());
        QCOMPARE(target->opacity(), 1.0);
        QVERIFY(f->driver.click(target));
        QCOMPARE(f->objects.allCalls(), QStringList{call});
    }

    // ------------------------------------------------------------------ layout
    void layoutFollowsWindow_data()
    {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::newRow("minimum") << 360 << 750;
        QTest::newRow("between") << 450 << 900;
        QTest::newRow("maximum") << 540 << 1080;
    }

    void layoutFollowsWindow()
    {
        QFETCH(int, w);
        QFETCH(int, h);
        QQuickWindow* window = f->driver.window();
        QCOMPARE(window->minimumSize(), QSize(360, 750));
        QCOMPARE(window->maximumSize(), QSize(540, 1080));
        window->resize(w, h);
        QTRY_COMPARE(window->width(), w);
        QTRY_COMPARE(window->height(), h);
        const qreal l = 0.5 * w;
        const QQuickItem* logo = f->driver.item("logoContainer");
        QTRY_COMPARE(logo->width(), l);
        QCOMPARE(logo->height(), l);
        QCOMPARE(logo->y(), 0.08 * h);
        // Centring snaps to whole pixels.
        QVERIFY(qAbs(logo->x() + l / 2 - w / 2.0) <= 1);
        const qreal logoBottom = logo->y() + l;

        struct Expected
        {
            const char* name;
            qreal top;
            qreal height; // < 0: not checked
        };
        const QQuickItem* update = f->driver.item("updateButton");
        const QQuickItem* projects = f->driver.item("openProjectsButton");
        const QQuickItem* info = f->driver.item("infoText");
        const QQuickItem* version = f->driver.item("versionText");
        const Expected expected[] = {
            {"updateButton", logoBottom + 0.1 * h, l / 3},
            {"transferButton", update->y() + update->height() + 0.02 * h, l / 3},
            {"genericProgressBar", logoBottom + 0.01 * h, 120},
            {"versionText", logoBottom + 0.02 * h, l / 2},
            {"infoText", version->y() + version->height() + 0.1 * h, l / 4},
            {"infoConnectText", logoBottom + 0.08 * h, -1},
            {"startUpdateButton", info->y() + info->height() + 0.2 * h, l / 3},
            {"closeApplicationButton", info->y() + info->height() + 0.2 * h, l / 3},
            {"openProjectsButton", logoBottom + 0.08 * h, l / 3.2},
            {"openDefinitionsButton", projects->y() + projects->height() + 0.01 * h, l / 3.2},
        };
        for (const Expected& e : expected) {
            const QQuickItem* item = f->driver.item(e.name);
            QVERIFY2(item, e.name);
            QVERIFY2(qFuzzyCompare(item->y() + 1, e.top + 1), qPrintable(QString("%1 top %2, expected %3")
                                                                             .arg(e.name).arg(item->y()).arg(e.top)));
            QVERIFY2(qFuzzyCompare(item->width(), l), e.name);
            QVERIFY2(qAbs(item->x() + l / 2 - w / 2.0) <= 1, e.name);
            if (e.height >= 0)
                QVERIFY2(qFuzzyCompare(item->height(), e.height), e.name);
        }
        // Captions in whole pixels, rounded down.
        const std::pair<const char*, int> captions[] = {
            {"updateButton", int(l / 3 * 0.35)},
            {"startUpdateButton", int(l / 3 * 0.25)},
            {"closeApplicationButton", int(l / 3 * 0.25)},
            {"versionText", int(l / 2 * 0.15)},
            {"infoText", int(l / 4 * 0.21)},
            {"infoConnectText", qMax(int(l * 0.038), 11)},
            {"transferInfoText", qMax(int(l * 0.04), 12)},
        };
        for (const auto& [name, pixels] : captions)
            QVERIFY2(f->driver.item(name)->property("font").value<QFont>().pixelSize() == pixels, name);
        const QQuickItem* projectsCaption = qvariant_cast<QQuickItem*>(projects->property("contentItem"));
        QCOMPARE(projectsCaption->property("font").value<QFont>().pixelSize(), qMax(int(l / 3.2 * 0.22), 9));

        const QQuickItem* dot = f->driver.item("connectionIndication");
        QCOMPARE(dot->width(), 0.055 * l);
        QCOMPARE(dot->height(), 0.055 * l);
        const QQuickItem* label = f->driver.item("connectionlabel");
        QCOMPARE(label->property("font").value<QFont>().pixelSize(), qMax(9, qRound(0.06 * l)));
        const QQuickItem* row = f->driver.item("dotAndLabelRow");
        QVERIFY(row->width() <= 0.8 * l + 0.001);
        QCOMPARE(row->height(), 0.18 * l);
        QCOMPARE(row->mapToItem(logo, QPointF(0, 0)).y(), l + 10);
    }
};

QTEST_MAIN(WindowDetailsTest)
#include "tst_ui_window_details.moc"
