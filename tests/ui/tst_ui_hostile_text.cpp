// What a release server, a mirror or a device sends is shown as the text it is: a version, a
// reason or a progress line with a tag or an image in it neither restyles the window nor
// makes it fetch anything. And whatever a document might ask for, the window's network is
// closed.

#include "ClosedNetworkAccess.h"
#include "MainWindowFixture.h"
#include "UpdaterWindowFixture.h"

#include <QQuickItem>
#include <QTcpServer>
#include <QQuickWindow>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

// Counts the connections made to it: the window must make none.
struct Listener
{
    QTcpServer server;
    int connections = 0;

    Listener()
    {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                ++connections;
                socket->deleteLater();
            }
        });
    }
    QString address(const char* path) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(server.serverPort()).arg(QLatin1String(path));
    }
};

// Steps carrying markup; %1 is the listener's address. Whether the screen then shows it.
struct HostileStep
{
    QStringList setup;
    QString step;
    bool shown;
};

// Whether a shown text of the window holds the needle as it is.
bool showsLiterally(const QQuickItem* item, const QString& needle)
{
    if (!item->isVisible())
        return false;
    if (item->inherits("QQuickText") && item->property("text").toString().contains(needle))
        return true;
    const QList<QQuickItem*> children = item->childItems();
    return std::any_of(children.begin(), children.end(),
                       [&needle](const QQuickItem* child) { return showsLiterally(child, needle); });
}

QList<HostileStep> hostileSteps(bool fullEdition)
{
    const QString version = QStringLiteral("1.7.0<img src=\"%1\"><b>!</b>");
    const QString reason = QStringLiteral("<font color=red>Call 555</font><img src=\"%1\">");
    const QStringList updating{"found", "click Update", "click Start Update"};
    QList<HostileStep> steps{
        {{"found", "click Update"}, "latest " + version, true},
        {updating, "reason " + reason, false},
    };
    if (fullEdition) {
        steps.append({updating + QStringList{"download 100", "transferReason " + reason}, "copyDone false", true});
        steps.append({updating + QStringList{"reason " + reason}, "status false " + reason, true});
    } else {
        steps.append({updating + QStringList{"notFinished " + reason}, "copyDone true", true});
    }
    return steps;
}

} // namespace

class HostileTextTest : public QObject
{
    Q_OBJECT

private slots:
    void shownAsText_data()
    {
        QTest::addColumn<bool>("fullEdition");
        QTest::addColumn<int>("index");
        for (bool full : {true, false}) {
            const QList<HostileStep> steps = hostileSteps(full);
            for (int i = 0; i < steps.size(); ++i)
                QTest::addRow("%s: %s", full ? "full" : "update-only", qPrintable(steps.at(i).step.section(' ', 0, 0)))
                    << full << i;
        }
    }

    // The window's network is left open here: the plain texts alone must hold.
    void shownAsText()
    {
        QFETCH(bool, fullEdition);
        QFETCH(int, index);
        Listener listener;
        const HostileStep hostile = hostileSteps(fullEdition).at(index);
        const QString step = hostile.step.arg(listener.address("x.png"));

        std::unique_ptr<MainWindowFixture> full;
        std::unique_ptr<UpdaterWindowFixture> updater;
        WindowDriver* driver = nullptr;
        if (fullEdition) {
            full = std::make_unique<MainWindowFixture>();
            QVERIFY(full->load());
            QVERIFY(full->playAll(hostile.setup + QStringList{step}));
            driver = &full->driver;
        } else {
            updater = std::make_unique<UpdaterWindowFixture>();
            QVERIFY(updater->load());
            QVERIFY(updater->playAll(hostile.setup + QStringList{step}));
            driver = &updater->driver;
        }
        QTest::qWait(200);
        // The tag is there to read, not taken as markup.
        if (hostile.shown)
            QVERIFY(showsLiterally(driver->window()->contentItem(), QStringLiteral("<img src=\"")));
        QCOMPARE(listener.connections, 0);
    }

    // A document that asks for an address by itself: with the program's network closed
    // nothing is fetched; without it (the control) the listener hears the request.
    void networkClosedToDocuments_data()
    {
        QTest::addColumn<bool>("closed");
        QTest::newRow("closed") << true;
        QTest::newRow("open (control)") << false;
    }

    void networkClosedToDocuments()
    {
        QFETCH(bool, closed);
        Listener listener;
        WindowDriver driver;
        if (closed)
            ClosedNetworkAccess::closeFor(driver.engine());
        driver.engine().loadData(QStringLiteral("import QtQuick\nWindow { visible: true; width: 100; height: 100\n"
                                                "Image { source: \"%1\" } }\n")
                                     .arg(listener.address("logo.png"))
                                     .toUtf8());
        QVERIFY(driver.adopt());
        if (closed)
            QTest::qWait(300);
        else
            QTRY_VERIFY_WITH_TIMEOUT(listener.connections > 0, 5000);
        QCOMPARE(listener.connections > 0, !closed);
    }
};

QTEST_MAIN(HostileTextTest)
#include "tst_ui_hostile_text.moc"
