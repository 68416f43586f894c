// "tavlo history" end to end: the program's runs against the simulated instrument (the
// harness), in one state folder, and what "tavlo history" then says of them.
#include "CliProcess.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

Q_DECLARE_METATYPE(CliProcess::Setup)

namespace {

QString joined(const QStringList& lines)
{
    return lines.join(QLatin1Char('\n'));
}

CliProcess::Setup setup()
{
    return CliProcess::Setup();
}

// The instrument comes back from an update reporting this firmware.
CliProcess::Setup comingBackWith(const QString& version)
{
    CliProcess::Setup s;
    s.environment.insert(QStringLiteral("TAVLO_SIM_NEXT"), version);
    return s;
}

} // namespace

class CliHistoryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void historyOfWhatWasDone_data();
    void historyOfWhatWasDone();

private:
    CliProcess cli;
};

// "tavlo history" after runs of the program against the instrument, in the state folder they
// shared: one line per update that reached the instrument, newest first, and with --json the
// records with their fields (the SHA-256 is that of the file the instrument applied).
void CliHistoryTest::historyOfWhatWasDone_data()
{
    QTest::addColumn<QStringList>("runs"); // "+++" between the runs
    QTest::addColumn<CliProcess::Setup>("setup");
    QTest::addColumn<QStringList>("lines"); // the history's lines without their dates
    QTest::addColumn<QString>("newest");    // in --json: "result from to confirmed" (- for none)

    QTest::newRow("nothing yet") << QStringList{} << setup() << QStringList{"Nothing has been done to Tavlo yet."}
                                 << QString();
    QTest::newRow("an update, confirmed") << QStringList{"update", "--yes"} << setup()
                                          << QStringList{"Update 1.5.2 → 1.6.0: confirmed"}
                                          << "confirmed 1.5.2 1.6.0 1.6.0";
    QTest::newRow("not applied") << QStringList{"update", "--yes"} << comingBackWith("1.5.2")
                                 << QStringList{"Update 1.5.2 → 1.6.0: not applied"} << "not-applied 1.5.2 1.6.0 1.5.2";
    // The instrument comes back with 1.5.5 from both.
    QTest::newRow("two updates, newest first")
        << QStringList{"update", "--yes", "--version", "1.5.5", "+++", "update", "--yes"} << comingBackWith("1.5.5")
        << QStringList{"Update 1.5.5 → 1.6.0: not applied", "Update 1.5.2 → 1.5.5: confirmed"}
        << "not-applied 1.5.5 1.6.0 1.5.5";
    CliProcess::Setup modeFails = setup();
    modeFails.environment.insert(QStringLiteral("TAVLO_SIM_UPDATE_MODE_FAILS"), QStringLiteral("1"));
    QTest::newRow("update mode not reached") << QStringList{"update", "--yes"} << modeFails
                                             << QStringList{"Update 1.5.2 → 1.6.0: failed"} << "failed 1.5.2 1.6.0 -";
    QTest::newRow("a check does nothing to it") << QStringList{"check"} << setup()
                                                << QStringList{"Nothing has been done to Tavlo yet."} << QString();
}

void CliHistoryTest::historyOfWhatWasDone()
{
    QFETCH(QStringList, runs);
    QFETCH(CliProcess::Setup, setup);
    QFETCH(QStringList, lines);
    QFETCH(QString, newest);
    const QString folder = cli.scratch() + QStringLiteral("/state-") + QString::fromLatin1(QTest::currentDataTag());
    setup.environment.insert(QStringLiteral("TAVLO_SIM_HISTORY_FOLDER"), folder);
    QStringList words = runs;
    if (!words.isEmpty())
        words << "+++";
    const CliProcess::Result text = cli.run(words + QStringList{"history"}, setup);
    QVERIFY(!text.crashed);
    QVERIFY2(text.exitCode == 0, qPrintable(joined(text.out) + text.err));
    // The history's lines are the last of the output: "yyyy-MM-dd HH:mm  summary".
    QStringList shown = text.out.mid(text.out.size() - lines.size());
    const QRegularExpression dated(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d  "));
    for (QString& line : shown) {
        if (dated.match(line).hasMatch())
            line = line.mid(18);
    }
    QCOMPARE(shown, lines);

    const CliProcess::Result json = cli.run({"history", "--json"}, setup);
    QCOMPARE(json.exitCode, 0);
    if (newest.isEmpty()) {
        QCOMPARE(json.out, QStringList());
        return;
    }
    QCOMPARE(json.out.size(), lines.size());
    const QJsonObject record = QJsonDocument::fromJson(json.out.first().toUtf8()).object();
    QCOMPARE(record.value("event").toString(), QStringLiteral("history"));
    QCOMPARE(record.value("kind").toString(), QStringLiteral("update"));
    QCOMPARE(record.value("instrument").toString(), QStringLiteral("1D6B:0104"));
    QVERIFY(QDateTime::fromString(record.value("time").toString(), Qt::ISODateWithMs).isValid());
    const QString confirmed = record.value("confirmed").toString();
    QCOMPARE(QStringList({record.value("result").toString(), record.value("from").toString(),
                          record.value("to").toString(), confirmed.isEmpty() ? "-" : confirmed})
                 .join(' '),
             newest);
    // The file as read back from the instrument's volume: the one it applied.
    if (newest.startsWith(QLatin1String("failed"))) {
        QVERIFY(!record.contains("sha256"));
    } else {
        QCOMPARE(record.value("file").toString(), QString::fromLatin1(CliProcess::kFileName));
        QCOMPARE(record.value("sha256").toString(), CliProcess::sha256(cli.updateFile()));
    }
}

QTEST_GUILESS_MAIN(CliHistoryTest)
#include "tst_cli_history.moc"
