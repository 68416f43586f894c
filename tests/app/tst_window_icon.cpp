// The window icon: the sizes made ahead of time are the artwork scaled as start-up used to
// scale it, pixel for pixel, and a size whose file is missing or wrong is still scaled from
// the artwork.
#include "AppIdentity.h"
#include "Startup.h"

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

class WindowIconTest : public QObject
{
    Q_OBJECT

private slots:
    void madeSizesMatchTheArtwork_data()
    {
        QTest::addColumn<int>("side");
        for (const int side : Startup::kWindowIconSides)
            QTest::addRow("%d", side) << side;
    }

    // A file left behind by a changed artwork fails here.
    void madeSizesMatchTheArtwork()
    {
        QFETCH(int, side);
        const AppIdentity identity = AppIdentity::fullEdition();
        const QImage made(identity.windowIconSizePath.arg(side));
        QCOMPARE(made.size(), QSize(side, side));
        const QImage artwork(identity.windowIconPath);
        QVERIFY(!artwork.isNull());
        const QImage scaled = artwork.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QCOMPARE(made.convertToFormat(QImage::Format_ARGB32), scaled.convertToFormat(QImage::Format_ARGB32));
    }

    void aSizeWithoutItsFileIsScaledFromTheArtwork_data()
    {
        QTest::addColumn<QString>("sizePath");
        QTest::addColumn<bool>("artworkReads");
        QTest::addColumn<bool>("expectNull");
        QTest::newRow("no file of that size") << QStringLiteral("%1/missing-%2.png") << true << false;
        QTest::newRow("a file of another size") << QStringLiteral("%1/small-%2.png") << true << false;
        QTest::newRow("not an image") << QStringLiteral("%1/text-%2.png") << true << false;
        QTest::newRow("no pattern") << QString() << true << false;
        QTest::newRow("neither reads") << QStringLiteral("%1/missing-%2.png") << false << true;
    }

    void aSizeWithoutItsFileIsScaledFromTheArtwork()
    {
        QFETCH(QString, sizePath);
        QFETCH(bool, artworkReads);
        QFETCH(bool, expectNull);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QImage(10, 10, QImage::Format_ARGB32).save(dir.filePath(QStringLiteral("small-32.png")));
        QFile text(dir.filePath(QStringLiteral("text-32.png")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a picture");
        text.close();

        AppIdentity identity = AppIdentity::fullEdition();
        if (!sizePath.isEmpty())
            identity.windowIconSizePath = sizePath.arg(dir.path(), QStringLiteral("%1"));
        else
            identity.windowIconSizePath.clear();
        if (!artworkReads)
            identity.windowIconPath = dir.filePath(QStringLiteral("no-artwork.png"));

        const QImage image = Startup::windowIconImage(identity, 32);
        QCOMPARE(image.isNull(), expectNull);
        if (expectNull)
            return;
        const QImage scaled = QImage(identity.windowIconPath)
                                  .scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QCOMPARE(image.convertToFormat(QImage::Format_ARGB32), scaled.convertToFormat(QImage::Format_ARGB32));
    }

    void theApplicationIconHasEverySide()
    {
        int argc = 1;
        char name[] = "tst_window_icon";
        char* argv[] = {name, nullptr};
        QGuiApplication app(argc, argv);
        const QIcon icon = Startup::applyIdentity(app, AppIdentity::fullEdition());
        QList<QSize> sides;
        for (const int side : Startup::kWindowIconSides)
            sides.append(QSize(side, side));
        QCOMPARE(icon.availableSizes(), sides);
        QCOMPARE(QGuiApplication::windowIcon().availableSizes(), sides);
    }
};

QTEST_APPLESS_MAIN(WindowIconTest)
#include "tst_window_icon.moc"
