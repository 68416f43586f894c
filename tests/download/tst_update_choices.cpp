// What the update screen's choices say and do over a download core that reaches no server:
// what a picked row means against the installed version, which picks need a confirmation,
// that a pick and the default change what would be fetched, and that a local file is handed
// on only when it passes its check.
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "UpdateChoices.h"
#include "UpdateDownload.h"

namespace {

QList<ReleaseEntry> catalogue()
{
    QList<ReleaseEntry> list;
    for (const char* entryText : {"1.4.0|a.tvq", "1.5.0|b.tvq", "nightly|n.tvq", "1.6.0|c.tvq"}) {
        ReleaseEntry e;
        e.version = QString::fromLatin1(entryText).section(QLatin1Char('|'), 0, 0);
        e.fileName = QString::fromLatin1(entryText).section(QLatin1Char('|'), 1, 1);
        e.releaseNotes = e.version == QLatin1String("1.5.0") ? QStringLiteral("- faster") : QString();
        list.append(e);
    }
    return list;  // rows: 1.6.0, 1.5.0, 1.4.0, nightly
}

}  // namespace

class TestUpdateChoices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }
    void describe_data();
    void describe();
    void upToDate_data();
    void upToDate();
    void pickAndDefaultChangeTheFetch();
    void localFile();

private:
    QTemporaryDir dir;
};

void TestUpdateChoices::describe_data()
{
    QTest::addColumn<QString>("installed");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("relation");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("sentence");  // a part of it

    QTest::newRow("update") << "1.5.2" << 0 << "newer" << false << "Install 1.6.0" << "from 1.5.2 to 1.6.0";
    QTest::newRow("same") << "1.5.0" << 1 << "same" << false << "Reinstall" << "already installed";
    QTest::newRow("written differently is the same") << "1.5" << 1 << "same" << false << "Reinstall"
                                                     << "already installed";
    QTest::newRow("downgrade") << "1.5.2" << 2 << "older" << true << "Install older version"
                               << "older than 1.5.2";
    QTest::newRow("unknown installed, the offer") << "" << 0 << "unknown" << false << "Install 1.6.0"
                                                  << "Installs 1.6.0";
    QTest::newRow("unknown installed, older than the offer")
        << "" << 2 << "unknown" << true << "Install 1.4.0" << "may go back";
    QTest::newRow("unparsable row") << "1.5.2" << 3 << "unknown" << false << "Install nightly"
                                    << "no version that can be read";
}

void TestUpdateChoices::describe()
{
    QFETCH(QString, installed);
    QFETCH(int, row);
    QFETCH(QString, relation);
    QFETCH(bool, confirm);
    QFETCH(QString, action);
    QFETCH(QString, sentence);

    UpdateDownload core(QUrl(QStringLiteral("https://127.0.0.1:1")));
    UpdateChoices choices(core);
    choices.setEntries(catalogue());
    choices.setInstalledVersion(installed);
    const QVariantMap d = choices.describe(row);
    QCOMPARE(d.value("relation").toString(), relation);
    QCOMPARE(d.value("needsConfirmation").toBool(), confirm);
    QCOMPARE(d.value("actionText").toString(), action);
    QVERIFY2(d.value("sentence").toString().contains(sentence), qPrintable(d.value("sentence").toString()));
    QCOMPARE(d.value("notes").toString().isEmpty(), row != 1);
    QCOMPARE(d.value("notesMarkdown").toBool(), row == 1);
    QVERIFY(choices.describe(-1).isEmpty());
    QVERIFY(choices.describe(4).isEmpty());
}

void TestUpdateChoices::upToDate_data()
{
    QTest::addColumn<QString>("installed");
    QTest::addColumn<QString>("text");  // empty: not up to date
    QTest::newRow("older") << "1.5.2" << QString();
    QTest::newRow("same") << "1.6.0" << "Tavlo is up to date: it has 1.6.0, the latest on offer is 1.6.0.";
    QTest::newRow("newer") << " 1.7.0" << "Tavlo is up to date: it has 1.7.0, the latest on offer is 1.6.0.";
    QTest::newRow("unknown") << "" << QString();
}

void TestUpdateChoices::upToDate()
{
    QFETCH(QString, installed);
    QFETCH(QString, text);
    UpdateDownload core(QUrl(QStringLiteral("https://127.0.0.1:1")));
    UpdateChoices choices(core);
    QSignalSpy changed(&choices, &UpdateChoices::upToDateChanged);
    choices.setInstalledVersion(installed);
    QVERIFY(!choices.upToDate());  // nothing on offer yet
    choices.setEntries(catalogue());
    QCOMPARE(choices.upToDate(), !text.isEmpty());
    QCOMPARE(choices.upToDateText(), text);
    QCOMPARE(changed.isEmpty(), installed.isEmpty());  // nothing changed for an unknown version
}

void TestUpdateChoices::pickAndDefaultChangeTheFetch()
{
    UpdateDownload core(QUrl(QStringLiteral("https://127.0.0.1:1")));
    UpdateChoices choices(core);
    choices.setEntries(catalogue());
    QCOMPARE(choices.defaultRow(), 0);
    QVERIFY(choices.choose(2));
    QCOMPARE(core.fileName(), QStringLiteral("a.tvq"));
    QVERIFY(core.downloadUrl().endsWith(QLatin1String("/a.tvq")));
    QVERIFY(!choices.choose(3));  // cannot be picked: nothing changes
    QVERIFY(!choices.choose(9));
    QCOMPARE(core.fileName(), QStringLiteral("a.tvq"));
    choices.chooseDefault();
    QCOMPARE(core.fileName(), QStringLiteral("c.tvq"));
}

void TestUpdateChoices::localFile()
{
    UpdateDownload core(QUrl(QStringLiteral("https://127.0.0.1:1")));
    UpdateChoices choices(core);
    QSignalSpy finished(&core, &UpdateDownload::downloadFinished);
    QSignalSpy modeSwitch(&core, &UpdateDownload::setDeviceToTransferMode);
    QSignalSpy refused(&choices, &UpdateChoices::localFileRefused);

    const QString missing = dir.filePath(QStringLiteral("none.tvq"));
    QVERIFY(!choices.installLocalFile(QUrl::fromLocalFile(missing).toString()).isEmpty());
    QCOMPARE(refused.size(), 1);
    QVERIFY(finished.isEmpty() && modeSwitch.isEmpty());

    const QString path = dir.filePath(QStringLiteral("beta file.tvq"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(1536, 'b'));
    file.close();
    const QVariantMap check = choices.checkLocalFile(QUrl::fromLocalFile(path).toString());
    QVERIFY(check.value("ok").toBool());
    QCOMPARE(check.value("summary").toString(),
             QStringLiteral("Installs beta file.tvq (1536 bytes) from this computer."));
    QVERIFY(finished.isEmpty());  // a check starts nothing

    QCOMPARE(choices.installLocalFile(QUrl::fromLocalFile(path).toString()), QString());
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first(), (QVariantList{true, path, QStringLiteral("beta file.tvq")}));
    QCOMPARE(modeSwitch.size(), 1);
    QCOMPARE(modeSwitch.first().first().toBool(), true);
    QCOMPARE(core.filePath(), path);
}

QTEST_MAIN(TestUpdateChoices)
#include "tst_update_choices.moc"
