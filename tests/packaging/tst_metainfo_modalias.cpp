// The packages' AppStream metainfo names the instrument's USB identity as a modalias, so that
// software centres offer the program when the instrument is plugged in: the identity the
// program itself looks for (InstrumentUsbIdentity), in the kernel's spelling.
#include "InstrumentUsbIdentity.h"

#include <QFile>
#include <QTest>
#include <QXmlStreamReader>

class MetainfoModaliasTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modalias_data();
    void modalias();
};

void MetainfoModaliasTest::modalias_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("tavlo") << QStringLiteral(TAVLO_STAGED "/full/com.tavlo_instruments.Tavlo.metainfo.xml");
    QTest::newRow("tavlo-updater")
        << QStringLiteral(TAVLO_STAGED "/updater/com.tavlo_instruments.TavloUpdater.metainfo.xml");
}

void MetainfoModaliasTest::modalias()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    QXmlStreamReader xml(&file);
    QStringList modaliases;
    bool inProvides = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("provides"))
            inProvides = true;
        else if (xml.isEndElement() && xml.name() == QLatin1String("provides"))
            inProvides = false;
        else if (xml.isStartElement() && xml.name() == QLatin1String("modalias")) {
            QVERIFY2(inProvides, "a modalias outside <provides>");
            modaliases << xml.readElementText();
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    // The kernel writes the ids in upper-case hex after "v" and "p"; the device's release
    // ("d") may be any.
    const QString expected = QStringLiteral("usb:v%1p%2d*").arg(InstrumentUsbIdentity::vendorId().toUpper(),
                                                               InstrumentUsbIdentity::productId().toUpper());
    QCOMPARE(modaliases, QStringList{expected});
}

QTEST_GUILESS_MAIN(MetainfoModaliasTest)
#include "tst_metainfo_modalias.moc"
