// "History" in both windows and both languages: opened from the right-click menu, it lists
// what was done to the instrument newest first (or says that nothing was), as plain text,
// passes the layout, keyboard and screen-reader checks, and closes on Escape and on "Close".

#include "AccessibleCheck.h"
#include "CannedHistory.h"
#include "HistoryModel.h"
#include "HistoryText.h"
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
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QtQml>

#include <memory>

namespace {

QQuickWindow* historyWindow()
{
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->objectName() == QLatin1String("historyWindow"))
            return qobject_cast<QQuickWindow*>(window);
    }
    return nullptr;
}

// The items of this name in the window's item tree (a list's rows are in it, not among the
// window's QObject children).
QList<QQuickItem*> itemsNamed(QQuickItem* from, const QString& name)
{
    QList<QQuickItem*> found;
    if (from->objectName() == name)
        found << from;
    for (QQuickItem* child : from->childItems())
        found += itemsNamed(child, name);
    return found;
}

QQuickItem* itemNamed(QQuickWindow* window, const char* name)
{
    const QList<QQuickItem*> items = itemsNamed(window->contentItem(), QString::fromLatin1(name));
    return items.isEmpty() ? nullptr : items.first();
}

// The summaries the page shows, top to bottom.
QStringList summariesShown(QQuickWindow* window)
{
    QList<QQuickItem*> items = itemsNamed(window->contentItem(), QStringLiteral("historySummary"));
    std::sort(items.begin(), items.end(), [](QQuickItem* a, QQuickItem* b) {
        return a->mapToScene({0, 0}).y() < b->mapToScene({0, 0}).y();
    });
    QStringList texts;
    for (QQuickItem* item : items) {
        // Shown as plain text (Text.PlainText), or named as not.
        const QString plain = item->property("textFormat").toInt() == 0 ? QString() : QStringLiteral("(not plain) ");
        if (item->isVisible())
            texts << plain + item->property("text").toString();
    }
    return texts;
}

} // namespace

class HistoryPageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QAccessible::setActive(true);
        QCOMPARE(Startup::registerFonts(), 3);
        qmlRegisterType<SupportFile>("Tavlo_Support", 1, 0, "SupportFile");
    }

    void opensAndCloses_data()
    {
        QTest::addColumn<QString>("edition");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("records");
        QTest::addColumn<bool>("byEscape"); // else "Close"
        for (const QString edition : {"full", "updater"}) {
            for (const QString language : {"en", "de"}) {
                QTest::addRow("%s, records (%s)", qPrintable(edition), qPrintable(language))
                    << edition << language << true << true;
                QTest::addRow("%s, nothing yet (%s)", qPrintable(edition), qPrintable(language))
                    << edition << language << false << false;
            }
        }
    }

    void opensAndCloses()
    {
        QFETCH(QString, edition);
        QFETCH(QString, language);
        QFETCH(bool, records);
        QFETCH(bool, byEscape);
        QTranslator german;
        if (language == QLatin1String("de"))
            QVERIFY(Startup::installTranslation(german, QLocale(QStringLiteral("de_DE"))));
        QTemporaryDir state;
        if (records)
            QVERIFY(CannedHistory::writeInto(state.path()));
        const HistoryLog log = HistoryLog::inFolder(state.path());
        HistoryModel model(log);
        auto full = edition == QLatin1String("full") ? std::make_unique<MainWindowFixture>() : nullptr;
        auto updater = full ? nullptr : std::make_unique<UpdaterWindowFixture>();
        WindowDriver& driver = full ? full->driver : updater->driver;
        driver.engine().rootContext()->setContextProperty(QStringLiteral("historyModel"), &model);
        QVERIFY(full ? full->load() : updater->load());

        QQuickWindow* main = driver.window();
        QTest::mouseClick(main, Qt::RightButton, Qt::NoModifier, QPoint(main->width() / 2, main->height() / 2));
        QObject* item = nullptr;
        QTRY_VERIFY((item = driver.root()->findChild<QObject*>(QStringLiteral("historyMenuItem")))
                    && item->property("visible").toBool());
        QCOMPARE(item->property("text").toString(),
                 QCoreApplication::translate("HistoryAction", "History…"));
        QVERIFY(QMetaObject::invokeMethod(item, "triggered"));
        QQuickWindow* page = nullptr;
        QTRY_VERIFY((page = historyWindow()) && page->isExposed());
        QCOMPARE(page->transientParent(), main);
        QCOMPARE(page->title(), language == QLatin1String("de") ? QStringLiteral("Verlauf") : QStringLiteral("History"));
        QTest::qWait(50);

        QStringList expected;
        if (records) {
            QList<HistoryRecord> canned = CannedHistory::records();
            std::reverse(canned.begin(), canned.end());
            for (const HistoryRecord& record : canned)
                expected << HistoryText::summary(record);
        }
        QCOMPARE(summariesShown(page), expected);
        const QQuickItem* empty = itemNamed(page, "historyEmpty");
        QVERIFY(empty);
        QCOMPARE(empty->isVisible(), !records);
        if (!records)
            QCOMPARE(empty->property("text").toString(), HistoryText::empty());

        const QStringList problems =
            LayoutCheck::problems(page) + KeyboardCheck::tabOrder(page) + AccessibleCheck::problems(page);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));

        if (byEscape) {
            QTest::keyClick(page, Qt::Key_Escape);
        } else {
            QQuickItem* close = itemNamed(page, "historyClose");
            QVERIFY(close);
            QCOMPARE(KeyboardCheck::activates(page, close, Qt::Key_Return), QString());
        }
        QTRY_VERIFY(!page->isVisible());
        QCoreApplication::removeTranslator(&german);
    }
};

QTEST_MAIN(HistoryPageTest)
#include "tst_ui_history.moc"
