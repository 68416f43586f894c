// The translator of start-up: the German catalogue for a German locale, English (the
// source texts) for every other one and whenever the catalogue is missing or broken; and
// both windows speaking the language that was installed.

#include "MainWindowFixture.h"
#include "Startup.h"
#include "UpdaterWindowFixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

namespace {

QString homeUpdate()
{
    return QCoreApplication::translate("HomeScreen", "Update");
}

} // namespace

class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void germanLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("de_DE") << "de_DE";
        QTest::newRow("de_AT") << "de_AT";
        QTest::newRow("de_CH") << "de_CH";
    }

    void germanLocale()
    {
        QFETCH(QString, locale);
        QTranslator translator;
        QVERIFY(Startup::installTranslation(translator, QLocale(locale)));
        QCOMPARE(homeUpdate(), QStringLiteral("Aktualisieren"));
        QCOMPARE(QCoreApplication::translate("UpdatePanel", "Start Update"), QStringLiteral("Update starten"));
        // Placeholders survive the translation.
        QCOMPARE(QCoreApplication::translate("CurlFallback", "Fallback failed: %1").arg("x"),
                 QStringLiteral("Auch der zweite Weg ist fehlgeschlagen: x"));
        QVERIFY(QCoreApplication::removeTranslator(&translator));
        QCOMPARE(homeUpdate(), QStringLiteral("Update"));
    }

    // English and the locales without a catalogue get the source texts.
    void otherLocales_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("en_US") << "en_US";
        QTest::newRow("en_GB") << "en_GB";
        QTest::newRow("C") << "C";
        QTest::newRow("fr_FR") << "fr_FR";
        QTest::newRow("ja_JP") << "ja_JP";
    }

    void otherLocales()
    {
        QFETCH(QString, locale);
        QTranslator translator;
        QVERIFY(!Startup::installTranslation(translator, QLocale(locale)));
        QVERIFY(translator.isEmpty());
        QCOMPARE(homeUpdate(), QStringLiteral("Update"));
    }

    // A catalogue that is missing, empty or not a catalogue at all leaves the window in
    // English, and nothing is installed.
    void brokenOrMissingCatalogue_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("empty file") << QByteArray("");
        QTest::newRow("not a catalogue") << QByteArray("<TS version=\"2.1\">garbage</TS>");
        // A catalogue's magic number followed by nonsense.
        QTest::newRow("truncated") << QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd4200ff");
    }

    void brokenOrMissingCatalogue()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        if (QByteArray(QTest::currentDataTag()) != "missing") {
            QFile file(folder.filePath(QStringLiteral("tavlo_de.qm")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QTranslator translator;
        QVERIFY(!Startup::installTranslation(translator, QLocale(QStringLiteral("de_DE")), folder.path()));
        QCOMPARE(homeUpdate(), QStringLiteral("Update"));
    }

    // The main window in German, the program objects' English texts untouched.
    void mainWindowInGerman()
    {
        QTranslator translator;
        QVERIFY(Startup::installTranslation(translator, QLocale(QStringLiteral("de_DE"))));
        MainWindowFixture window;
        QVERIFY(window.load());
        auto& [messages, objects, driver] = window;
        QCOMPARE(driver.text("connectionlabel"), QStringLiteral("Suche nach Tavlo"));
        for (const QString& step : QStringList{"found", "latest 1.6.0", "version 1.5.0"})
            QVERIFY(objects.play(step, driver));
        QCOMPARE(driver.text("connectionlabel"), QStringLiteral("Tavlo ist verbunden"));
        QCOMPARE(driver.text("transferButton"), QStringLiteral("Übertragen"));
        // The instructions stay hidden once connected, also in German.
        QVERIFY(!driver.isShown("infoConnectText"));
        QVERIFY(objects.play(QStringLiteral("click Aktualisieren"), driver));
        QCOMPARE(driver.text("versionText"), QStringLiteral("Die neueste verfügbare Version ist Tvx1.6.0"));
        QCOMPARE(driver.text("startUpdateButton"), QStringLiteral("Update starten"));
        QCoreApplication::removeTranslator(&translator);
    }

    void updaterWindowInGerman()
    {
        QTranslator translator;
        QVERIFY(Startup::installTranslation(translator, QLocale(QStringLiteral("de_DE"))));
        UpdaterWindowFixture window;
        QVERIFY(window.load());
        QVERIFY(window.playAll({"found", "click Aktualisieren", "click Update starten", "download 40"}));
        QCOMPARE(window.driver.text("versionText"), QStringLiteral("Download läuft... 40%"));
        QVERIFY(window.play("copy 81%"));
        QCOMPARE(window.driver.text("versionText"), QStringLiteral("Datei wird übertragen... 81%"));
        QCoreApplication::removeTranslator(&translator);
    }
};

QTEST_MAIN(TranslationsTest)
#include "tst_translations.moc"
