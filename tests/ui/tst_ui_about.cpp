// "About" in both windows and both languages: opened by F1 and from the right-click menu, it
// says the version, where the session logs are and the licences, passes the layout, keyboard
// and screen-reader checks, and closes on Escape.

#include "AccessibleCheck.h"
#include "KeyboardCheck.h"
#include "LayoutCheck.h"
#include "MainWindowFixture.h"
#include "Startup.h"
#include "SupportFile.h"
#include "UpdaterWindowFixture.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QTranslator>
#include <QtQml>

#include <memory>

namespace {

const QString kFolder = QStringLiteral("/home/someone-with-a-long-name/.local/state/tavlo/logs");

QQuickWindow* aboutWindow()
{
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->objectName() == QLatin1String("aboutWindow"))
            return qobject_cast<QQuickWindow*>(window);
    }
    return nullptr;
}

QString textOf(QQuickWindow* window, const char* objectName)
{
    const auto* item = window->findChild<QQuickItem*>(QString::fromLatin1(objectName));
    return item ? item->property("text").toString() : QStringLiteral("(missing)");
}

} // namespace

class AboutTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QAccessible::setActive(true);
        QCOMPARE(Startup::registerFonts(), 3);
        QCoreApplication::setApplicationVersion(QStringLiteral("1.3.1"));
        qmlRegisterType<SupportFile>("Tavlo_Support", 1, 0, "SupportFile");
    }

    void opensAndCloses_data()
    {
        QTest::addColumn<QString>("edition");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("byMenu");
        for (const QString edition : {"full", "updater"}) {
            for (const QString language : {"en", "de"}) {
                QTest::addRow("%s, F1 (%s)", qPrintable(edition), qPrintable(language)) << edition << language << false;
                QTest::addRow("%s, menu (%s)", qPrintable(edition), qPrintable(language)) << edition << language << true;
            }
        }
    }

    void opensAndCloses()
    {
        QFETCH(QString, edition);
        QFETCH(QString, language);
        QFETCH(bool, byMenu);
        QTranslator german;
        if (language == QLatin1String("de"))
            QVERIFY(Startup::installTranslation(german, QLocale(QStringLiteral("de_DE"))));
        auto full = edition == QLatin1String("full") ? std::make_unique<MainWindowFixture>() : nullptr;
        auto updater = full ? nullptr : std::make_unique<UpdaterWindowFixture>();
        WindowDriver& driver = full ? full->driver : updater->driver;
        driver.engine().rootContext()->setContextProperty(QStringLiteral("sessionLogFolder"), kFolder);
        QVERIFY(full ? full->load() : updater->load());

        QQuickWindow* main = driver.window();
        if (byMenu) {
            QTest::mouseClick(main, Qt::RightButton, Qt::NoModifier, QPoint(main->width() / 2, main->height() / 2));
            QObject* item = nullptr;
            QTRY_VERIFY((item = driver.root()->findChild<QObject*>(QStringLiteral("aboutMenuItem")))
                        && item->property("visible").toBool());
            QVERIFY(QMetaObject::invokeMethod(item, "triggered"));
        } else {
            QTest::keyClick(main, Qt::Key_F1);
        }
        QQuickWindow* about = nullptr;
        QTRY_VERIFY((about = aboutWindow()) && about->isExposed());
        QCOMPARE(about->transientParent(), main);
        QVERIFY(about->title().startsWith(language == QLatin1String("de") ? QStringLiteral("Über ") : QStringLiteral("About ")));

        QVERIFY(textOf(about, "aboutName").contains(QStringLiteral("1.3.1")));
        QCOMPARE(textOf(about, "aboutLogFolder"), kFolder);
        for (const char* part : {"Qt 6", "RtMidi", "Poppins"})
            QVERIFY(textOf(about, "aboutLicences").contains(QLatin1String(part)));
        const QStringList problems =
            LayoutCheck::problems(about) + KeyboardCheck::tabOrder(about) + AccessibleCheck::problems(about);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));

        QTest::keyClick(about, Qt::Key_Escape);
        QTRY_VERIFY(!about->isVisible());
        QCoreApplication::removeTranslator(&german);
    }
};

QTEST_MAIN(AboutTest)
#include "tst_ui_about.moc"
