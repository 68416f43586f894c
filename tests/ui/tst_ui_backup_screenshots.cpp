// Renders the full window's backup and restore screens on a display (run under Xvfb), in
// English and in German, checks that each picture shows what it should, and keeps the
// pictures for people to look at (next to those of ui_screenshots).

#include "BackupFailureText.h"
#include "StandInSet.h"
#include "Startup.h"
#include "WindowDriver.h"

#include <QDir>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSet>
#include <QTest>
#include <QTranslator>

namespace {

int distinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    }
    return int(colours.size());
}

// The colour the window shows at a point of the item, in the grabbed image's pixels.
QColor colourAt(const QImage& image, const QQuickItem* item, QPointF within, qreal ratio)
{
    return image.pixelColor((item->mapToScene(within) * ratio).toPoint());
}

// As the program starts: the option "Back up Tavlo's projects first" on.
const QStringList kHome{"backupFirst on", "found", "latest 1.6.0", "version 1.5.2"};
const QStringList kCopying = kHome + QStringList{"press backupButton", "transferAck", "backupSized 214 187340800",
                                                 "backupProgress 74936320 187340800"};
const QStringList kRestoreList = kHome + QStringList{"press restoreButton"};
const QStringList kRestoreAsks =
    kRestoreList + QStringList{"press backupRow", "restoreChecked ok", "transferAck", "restorePlanned 14 6 3"};

} // namespace

class BackupScreenshotsTest : public QObject
{
    Q_OBJECT

    QString m_dir;

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QCOMPARE(Startup::registerFonts(), 3);
        m_dir = QStringLiteral(TAVLO_SCREENSHOT_DIR);
        QVERIFY(QDir().mkpath(m_dir));
        std::printf("Screenshots go to %s\n", qPrintable(m_dir));
    }

    void screen_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("progressFill"); // a filled part of the bar must be visible

        const QString failed = QStringLiteral("backupFailed @full");
        const QList<std::tuple<const char*, QStringList, const char*, bool>> rows{
            {"40-home-with-backup", kHome, "restoreButton", false},
            {"41-update-with-backup-option", kHome + QStringList{"lastBackup 187340800 163000", "press updateButton"},
             "backupEstimate", false},
            {"42-backing-up", kCopying, "backupProgress", true},
            {"43-backup-done", kCopying + QStringList{"backupDone", "transferEndAck"}, "backupCloseButton", false},
            {"44-backup-failed", kCopying + QStringList{failed, "transferEndAck"}, "backupCloseButton", false},
            {"45-restore-list", kRestoreList, "backupList", false},
            {"46-restore-asks", kRestoreAsks, "differingList", false},
            {"47-restore-done", kRestoreAsks + QStringList{"press replaceButton", "restoreWritten 20", "transferEndAck"},
             "restoreCloseButton", false},
        };
        for (const auto& [name, steps, shown, fill] : rows) {
            for (const char* language : {"en", "de"})
                QTest::addRow("%s-%s", name, language) << steps << QString::fromLatin1(shown) << fill;
        }
    }

    void screen()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, shown);
        QFETCH(bool, progressFill);
        QTranslator german;
        if (QByteArray(QTest::currentDataTag()).endsWith("-de"))
            QVERIFY(Startup::installTranslation(german, QLocale(QStringLiteral("de_DE"))));
        StandInSet objects;
        WindowDriver driver;
        objects.publishTo(driver);
        QVERIFY(driver.load(QUrl(QStringLiteral("qrc:/Tavlo_App/main.qml"))));
        const QString full = BackupFailureText::targetFull(
            QStringLiteral("/home/maria-josefine/Documents/Tavlo Backups/Studio Sessions Winter 2026"));
        for (QString step : steps)
            QVERIFY2(objects.play(step.replace(QLatin1String("@full"), full), driver), qPrintable(objects.error()));
        QTest::qWait(100);
        QVERIFY2(driver.isShown(shown), qPrintable(shown));

        const QImage image = driver.grab();
        const QString path = m_dir + QLatin1Char('/') + QString::fromLatin1(QTest::currentDataTag()) + ".png";
        QVERIFY2(!image.isNull() && image.save(path), "the picture could not be taken or kept");
        std::printf("  %s\n", qPrintable(path));
        const qreal ratio = qreal(image.width()) / driver.window()->width();
        QVERIFY2(distinctColours(image) >= 16, "the picture is nearly blank");
        if (progressFill) {
            const QQuickItem* track = driver.item("progressBar", driver.item("backupProgress"));
            QVERIFY(track && track->isVisible());
            const QColor seen = colourAt(image, track, {track->width() * 0.05, track->height() / 2}, ratio);
            QVERIFY2(seen.blue() > 150 && seen.red() < 120, qPrintable("fill is " + seen.name()));
        }
        // Every shown button draws its white border.
        const QStringList buttons{"backupButton", "restoreButton", "startUpdateButton", "backupCancelButton",
                                  "backupCloseButton", "restoreCancelButton", "restoreCloseButton", "replaceButton",
                                  "keepButton"};
        for (const QString& name : buttons) {
            const QQuickItem* button = driver.item(name);
            if (!button || !driver.isShown(name))
                continue;
            const QQuickItem* background = qvariant_cast<QQuickItem*>(button->property("background"));
            QVERIFY(background);
            const QColor edge = colourAt(image, background, {background->width() / 2, 0.5}, ratio);
            QVERIFY2(edge.lightness() > 200, qPrintable(name + " border is " + edge.name()));
        }
    }
};

QTEST_MAIN(BackupScreenshotsTest)
#include "tst_ui_backup_screenshots.moc"
