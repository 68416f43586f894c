// "Check this computer" in both windows and both languages: opened from the right-click menu,
// it runs the checks and shows one row per check as plain text, passes the layout, keyboard
// and screen-reader checks at its smallest and a large size, copies the report to the
// clipboard and closes on Escape and on "Close".

#include "AccessibleCheck.h"
#include "ComputerCheck.h"
#include "DiagnosisReport.h"
#include "KeyboardCheck.h"
#include "LayoutCheck.h"
#include "MainWindowFixture.h"
#include "MidiBackend.h"
#include "MidiInput.h"
#include "MidiOutput.h"
#include "Startup.h"
#include "SupportFile.h"
#include "UpdaterWindowFixture.h"

#include <QAccessible>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QtQml>

#include <memory>

namespace {

// A computer without a MIDI system.
class MissingMidi : public MidiBackend
{
public:
    std::unique_ptr<MidiInput> createInput() override { return nullptr; }
    std::unique_ptr<MidiOutput> createOutput() override { return nullptr; }
    MidiProblem lastProblem() const override
    {
        return {MidiProblem::Kind::ServiceMissing, "/dev/snd/seq: No such file or directory"};
    }
};

QQuickWindow* checkWindow()
{
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->objectName() == QLatin1String("computerCheckWindow"))
            return qobject_cast<QQuickWindow*>(window);
    }
    return nullptr;
}

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

// The rows' status lines, top to bottom, each marked when it is not plain text.
QStringList statusesShown(QQuickWindow* window)
{
    QList<QQuickItem*> items = itemsNamed(window->contentItem(), QStringLiteral("computerCheckStatus"));
    std::sort(items.begin(), items.end(), [](QQuickItem* a, QQuickItem* b) {
        return a->mapToScene({0, 0}).y() < b->mapToScene({0, 0}).y();
    });
    QStringList texts;
    for (QQuickItem* item : items) {
        const QString plain = item->property("textFormat").toInt() == 0 ? QString() : QStringLiteral("(not plain) ");
        texts << plain + item->property("text").toString();
    }
    return texts;
}

} // namespace

class ComputerCheckPageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QAccessible::setActive(true);
        QCOMPARE(Startup::registerFonts(), 3);
        qmlRegisterType<SupportFile>("Tavlo_Support", 1, 0, "SupportFile");
    }

    void opensChecksAndCloses_data()
    {
        QTest::addColumn<QString>("edition");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("byEscape"); // else "Close"
        for (const QString edition : {"full", "updater"}) {
            for (const QString language : {"en", "de"})
                QTest::addRow("%s (%s)", qPrintable(edition), qPrintable(language))
                    << edition << language << (language == QLatin1String("en"));
        }
    }

    void opensChecksAndCloses()
    {
        QFETCH(QString, edition);
        QFETCH(QString, language);
        QFETCH(bool, byEscape);
        QTranslator german;
        if (language == QLatin1String("de"))
            QVERIFY(Startup::installTranslation(german, QLocale(QStringLiteral("de_DE"))));
        QTemporaryDir downloads;
        ComputerCheck::Sources sources;
        sources.midi = std::make_shared<MissingMidi>();
        sources.server = QUrl(QStringLiteral("https://127.0.0.1:9"));
        sources.downloadFolder = downloads.path();
        ComputerCheck check(sources, {300, 3000, 3000});

        auto full = edition == QLatin1String("full") ? std::make_unique<MainWindowFixture>() : nullptr;
        auto updater = full ? nullptr : std::make_unique<UpdaterWindowFixture>();
        WindowDriver& driver = full ? full->driver : updater->driver;
        driver.engine().rootContext()->setContextProperty(QStringLiteral("computerCheck"), &check);
        QVERIFY(full ? full->load() : updater->load());

        QQuickWindow* main = driver.window();
        QTest::mouseClick(main, Qt::RightButton, Qt::NoModifier, QPoint(main->width() / 2, main->height() / 2));
        QObject* item = nullptr;
        QTRY_VERIFY((item = driver.root()->findChild<QObject*>(QStringLiteral("computerCheckMenuItem")))
                    && item->property("visible").toBool());
        QCOMPARE(item->property("text").toString(),
                 QCoreApplication::translate("ComputerCheckAction", "Check this computer…"));
        QSignalSpy finished(&check, &ComputerCheck::finished);
        QVERIFY(QMetaObject::invokeMethod(item, "triggered"));
        QQuickWindow* page = nullptr;
        QTRY_VERIFY((page = checkWindow()) && page->isExposed());
        QCOMPARE(page->transientParent(), main);
        QCOMPARE(page->title(), language == QLatin1String("de") ? QStringLiteral("Diesen Computer prüfen")
                                                                : QStringLiteral("Check this computer"));
        QVERIFY(finished.count() > 0 || finished.wait(5000));
        QTest::qWait(50);

        QStringList expected;
        for (const CheckResult& result : check.results())
            expected << DiagnosisReport::name(result.check) + QStringLiteral(": ")
                            + DiagnosisReport::status(result.outcome);
        QCOMPARE(expected.size(), 6);
        QCOMPARE(statusesShown(page), expected);

        // At its smallest and at a large size.
        for (const QSize size : {page->minimumSize(), QSize(900, 900)}) {
            page->resize(size);
            QTest::qWait(50);
            const QStringList problems =
                LayoutCheck::problems(page) + KeyboardCheck::tabOrder(page) + AccessibleCheck::problems(page);
            QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
            const QString shots = qEnvironmentVariable("TAVLO_SCREENSHOTS");
            if (!shots.isEmpty())
                page->grabWindow().save(QDir(shots).filePath(
                    QStringLiteral("computer-check-%1-%2-%3x%4.png")
                        .arg(edition, language).arg(size.width()).arg(size.height())));
        }

        QQuickItem* copy = itemNamed(page, "computerCheckCopy");
        QVERIFY(copy);
        QGuiApplication::clipboard()->clear();
        QCOMPARE(KeyboardCheck::activates(page, copy, Qt::Key_Return), QString());
        QTRY_COMPARE(QGuiApplication::clipboard()->text(), check.report());

        if (byEscape) {
            QTest::keyClick(page, Qt::Key_Escape);
        } else {
            QQuickItem* close = itemNamed(page, "computerCheckClose");
            QVERIFY(close);
            QCOMPARE(KeyboardCheck::activates(page, close, Qt::Key_Return), QString());
        }
        QTRY_VERIFY(!page->isVisible());
        QCoreApplication::removeTranslator(&german);
    }
};

QTEST_MAIN(ComputerCheckPageTest)
#include "tst_ui_computer_check.moc"
