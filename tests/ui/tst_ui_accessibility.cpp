// Both windows as a screen reader sees them: every shown control in the accessibility tree
// has a role and a name, the buttons can be pressed through it, and the progress bar tells
// its percentage.

#include "MainWindowFixture.h"
#include "ReleaseEntry.h"
#include "UpdateChoices.h"
#include "UpdateDownload.h"
#include "UpdaterWindowFixture.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

namespace {

struct Node
{
    QAccessible::Role role;
    QString name;
    QString objectName;
};

// The shown nodes under the interface, depth first.
void collect(QAccessibleInterface* iface, QList<Node>& nodes)
{
    if (!iface || iface->state().invisible)
        return;
    const QObject* object = iface->object();
    nodes.append({iface->role(), iface->text(QAccessible::Name),
                  object ? object->objectName() : QString()});
    for (int i = 0; i < iface->childCount(); ++i)
        collect(iface->child(i), nodes);
}

QList<Node> tree(WindowDriver& driver)
{
    QList<Node> nodes;
    collect(QAccessible::queryAccessibleInterface(driver.window()), nodes);
    return nodes;
}

// The nodes a user reaches or reads: buttons, texts, the progress bar, the logo.
bool isControl(QAccessible::Role role)
{
    return role == QAccessible::Button || role == QAccessible::StaticText || role == QAccessible::ProgressBar
           || role == QAccessible::Graphic || role == QAccessible::CheckBox || role == QAccessible::EditableText;
}

// "objectName (role)" of every shown control without a name; empty when all have one.
QStringList unnamed(const QList<Node>& nodes)
{
    QStringList missing;
    for (const Node& node : nodes) {
        if (isControl(node.role) && node.name.trimmed().isEmpty())
            missing.append(QStringLiteral("%1 (role %2)").arg(node.objectName).arg(int(node.role)));
    }
    return missing;
}

QString nameOf(const QList<Node>& nodes, const QString& objectName, QAccessible::Role* role = nullptr)
{
    for (const Node& node : nodes) {
        if (node.objectName == objectName) {
            if (role)
                *role = node.role;
            return node.name;
        }
    }
    return QStringLiteral("(not in the tree)");
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QAccessible::setActive(true); }

    void mainWindowScreens_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("buttons");
        const QStringList home{"found", "latest 1.6.0", "version 1.5.0"};
        QTest::newRow("searching") << QStringList{} << QStringList{};
        QTest::newRow("home") << home << QStringList{"updateButton", "transferButton"};
        QTest::newRow("update screen") << (home + QStringList{"click Update"}) << QStringList{"startUpdateButton"};
        QTest::newRow("downloading") << (home + QStringList{"click Update", "click Start Update", "download 40"})
                                     << QStringList{};
        QTest::newRow("result") << (home + QStringList{"click Update", "click Start Update", "download 100",
                                                       "copy 100", "copyDone true"})
                                << QStringList{"closeApplicationButton"};
        QTest::newRow("transfer screen") << (home + QStringList{"click Transfer", "transferAck"})
                                         << QStringList{"openProjectsButton", "openDefinitionsButton",
                                                        "openMidiFilesButton", "openGroovesButton",
                                                        "completeTransferButton"};
    }

    void mainWindowScreens()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, buttons);
        MainWindowFixture window;
        QVERIFY(window.load());
        auto& [messages, objects, driver] = window;
        for (const QString& step : steps)
            QVERIFY2(objects.play(step, driver), qPrintable(objects.error()));

        const QList<Node> nodes = tree(driver);
        QVERIFY(nodes.size() > 3);
        const QStringList missing = unnamed(nodes);
        QVERIFY2(missing.isEmpty(), qPrintable("without a name: " + missing.join(", ")));
        // Each shown button is a button named by its caption.
        for (const QString& button : buttons) {
            QAccessible::Role role = QAccessible::NoRole;
            QCOMPARE(nameOf(nodes, button, &role), driver.item(button)->property("text").toString());
            QCOMPARE(role, QAccessible::Button);
        }
        // The connection label is read out as it is shown, and only while it is shown.
        if (driver.isShown(QStringLiteral("connectionlabel")))
            QCOMPARE(nameOf(nodes, QStringLiteral("connectionlabel")), driver.text(QStringLiteral("connectionlabel")));
        else
            QCOMPARE(nameOf(nodes, QStringLiteral("connectionlabel")), QStringLiteral("(not in the tree)"));
    }

    // The progress bar is a progress bar named by its caption, and tells the percentage as
    // its description as the bar moves.
    void progressBarValue()
    {
        MainWindowFixture window;
        QVERIFY(window.load());
        auto& [messages, objects, driver] = window;
        for (const QString& step : QStringList{"found", "latest 1.6.0", "version 1.5.0", "click Update",
                                               "click Start Update", "download 40"})
            QVERIFY(objects.play(step, driver));
        QAccessibleInterface* bar =
            QAccessible::queryAccessibleInterface(driver.item(QStringLiteral("genericProgressBar")));
        QVERIFY(bar);
        QCOMPARE(bar->role(), QAccessible::ProgressBar);
        QCOMPARE(bar->text(QAccessible::Name), QStringLiteral("Downloading..."));
        QCOMPARE(bar->text(QAccessible::Description), QStringLiteral("40%"));
        QVERIFY(objects.play(QStringLiteral("download 100"), driver));
        QVERIFY(objects.play(QStringLiteral("copy 75"), driver));
        QCOMPARE(bar->text(QAccessible::Name), QStringLiteral("Transferring..."));
        QCOMPARE(bar->text(QAccessible::Description), QStringLiteral("75%"));
    }

    // The buttons whose caption alone does not say what happens carry a description; a
    // screen reader's press starts the update.
    void descriptionsAndPress()
    {
        MainWindowFixture window;
        QVERIFY(window.load());
        auto& [messages, objects, driver] = window;
        for (const QString& step : QStringList{"found", "latest 1.6.0", "version 1.5.0"})
            QVERIFY(objects.play(step, driver));
        QAccessibleInterface* transfer =
            QAccessible::queryAccessibleInterface(driver.item(QStringLiteral("transferButton")));
        QVERIFY(!transfer->text(QAccessible::Description).isEmpty());

        QAccessibleInterface* update =
            QAccessible::queryAccessibleInterface(driver.item(QStringLiteral("updateButton")));
        QVERIFY(update->actionInterface());
        update->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(driver.isShown(QStringLiteral("startUpdateButton")));
        QAccessibleInterface* start =
            QAccessible::queryAccessibleInterface(driver.item(QStringLiteral("startUpdateButton")));
        QVERIFY(!start->text(QAccessible::Description).isEmpty());
        start->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(objects.downloader.callCount(QStringLiteral("downloadFile")), 1);
    }

    // Each row of the version page is read out as it is shown, and says when it cannot be
    // installed (which the screen shows by its grey alone). The window is named.
    void versionRowsAndWindowName()
    {
        UpdateDownload download(QUrl(QStringLiteral("https://127.0.0.1:9/")));
        UpdateChoices choices(download);
        auto entry = [](const char* version, const char* date, const char* codeName, const char* file) {
            ReleaseEntry e;
            e.version = QString::fromLatin1(version);
            e.releaseDate = QString::fromLatin1(date);
            e.codeName = QString::fromLatin1(codeName);
            e.fileName = QString::fromLatin1(file);
            e.sha256 = QString(64, QLatin1Char('a'));
            e.totalFileSize = QStringLiteral("1000");
            return e;
        };
        choices.setEntries({entry("1.4.0", "2026-06-15", "Alder", "tvx_1.4.0.tvq"),
                            entry("1.5.0", "2026-09-01", "", "tvx_1.5.0.tvq"),
                            entry("1.6.0", "2026-11-30", "Demo", "../tvx_1.6.0.tvq")});
        choices.setInstalledVersion(QStringLiteral("1.5.0"));

        MainWindowFixture window;
        window.driver.publish(QStringLiteral("updateChoices"), &choices);
        window.objects.flows.update.setChoices(&choices);
        QVERIFY(window.load());
        QVERIFY(!window.driver.window()->title().isEmpty());
        QCOMPARE(tree(window.driver).first().name, window.driver.window()->title());
        QVERIFY(window.playAll({"found", "latest 1.6.0", "version 1.5.0", "press updateButton",
                                "press versionsButton"}));
        QStringList rows;
        for (const Node& node : tree(window.driver)) {
            if (node.role == QAccessible::ListItem)
                rows << node.name;
        }
        const QString dot = QStringLiteral("  \u00b7  ");
        QCOMPARE(rows, (QStringList{"1.6.0" + dot + "2026-11-30" + dot + "Demo, cannot be installed",
                                    "1.5.0" + dot + "2026-09-01  (installed)",
                                    "1.4.0" + dot + "2026-06-15" + dot + "Alder"}));
    }

    void updaterWindowScreens()
    {
        UpdaterWindowFixture window;
        QVERIFY(window.load());
        auto& [midi, downloader, controller, flows, driver] = window;

        auto check = [&driver](const char* screen) {
            const QStringList missing = unnamed(tree(driver));
            if (!missing.isEmpty())
                qWarning("%s: without a name: %s", screen, qPrintable(missing.join(", ")));
            return missing.isEmpty();
        };
        QVERIFY(check("searching"));
        QVERIFY(window.playAll({"found", "latest 1.6.0"}));
        QVERIFY(check("home"));
        QCOMPARE(nameOf(tree(driver), QStringLiteral("updateButton")), QStringLiteral("Update"));
        QVERIFY(window.play("click Update"));
        QVERIFY(check("update screen"));
        QCOMPARE(nameOf(tree(driver), QStringLiteral("versionText")),
                 QStringLiteral("The latest available version is Tvx1.6.0"));
        QVERIFY(window.playAll({"click Start Update", "download 40"}));
        QVERIFY(check("downloading"));
        QCOMPARE(nameOf(tree(driver), QStringLiteral("versionText")), QStringLiteral("Downloading... 40%"));
        QVERIFY(window.play("copyDone true"));
        QVERIFY(check("result"));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_ui_accessibility.moc"
