// "tavlo doctor" end to end: the program against the simulated instrument and release server
// (the harness), on a computer that offers everything, and on ones where one thing is
// missing; each check's outcome, the exit code, and the line of the check that failed.
#include "CliProcess.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

Q_DECLARE_METATYPE(CliProcess::Setup)

namespace {

// The outcomes in the report's order, from the --json events.
QStringList outcomes(const QStringList& lines, QHash<QString, QString>* texts)
{
    QStringList seen;
    for (const QString& line : lines) {
        const QJsonObject event = QJsonDocument::fromJson(line.toUtf8()).object();
        if (event.value(QStringLiteral("event")).toString() != QLatin1String("check_result"))
            continue;
        seen << event.value(QStringLiteral("outcome")).toString();
        texts->insert(event.value(QStringLiteral("check")).toString(),
                      event.value(QStringLiteral("text")).toString());
    }
    return seen;
}

} // namespace

class CliDoctorTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void doctor_data();
    void doctor();
    void plainReport();

private:
    CliProcess cli;
};

void CliDoctorTest::doctor_data()
{
    QTest::addColumn<CliProcess::Setup>("setup");
    QTest::addColumn<QStringList>("expected"); // MIDI, ports, instrument, server, folder, volumes
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("check");        // the check whose text is looked at
    QTest::addColumn<QString>("contains");

    const QString downloads = cli.scratch() + QStringLiteral("/downloads");
    CliProcess::Setup all;
    all.environment.insert(QStringLiteral("TAVLO_SIM_DOWNLOADS"), downloads);
    QTest::newRow("all OK") << all << QStringList{"ok", "ok", "ok", "ok", "ok", "ok"} << 0
                            << "instrument" << "Tavlo answered: firmware 1.5.2.";

    CliProcess::Setup noMidi = all;
    noMidi.environment.insert(QStringLiteral("TAVLO_SIM_NO_MIDI"), QStringLiteral("1"));
    QTest::newRow("MIDI system missing") << noMidi
        << QStringList{"problem", "not_run", "not_run", "ok", "ok", "ok"} << 15
        << "midi_system" << "(/dev/snd/seq: No such file or directory). Load its sequencer";

    CliProcess::Setup none = all;
    none.instruments = 0;
    QTest::newRow("instrument not connected: notes") << none
        << QStringList{"ok", "note", "note", "ok", "ok", "ok"} << 0
        << "instrument" << "Tavlo is not connected.";

    CliProcess::Setup offline = all;
    offline.server = false;
    QTest::newRow("server unreachable") << offline
        << QStringList{"ok", "ok", "ok", "problem", "ok", "ok"} << 15
        << "release_server" << "https://127.0.0.1:9/releases/releases.json could not be reached (without a proxy)";

    CliProcess::Setup clock = all;
    clock.environment.insert(QStringLiteral("TAVLO_SIM_CERTIFICATE"), QStringLiteral("not-yet-valid"));
    QTest::newRow("certificate not yet valid") << clock
        << QStringList{"ok", "ok", "ok", "problem", "ok", "ok"} << 15
        << "release_server" << "but the server's certificate is valid from 1 January 2040. Set the date and time, then check again.";

    // The window holds the instrument: it is not asked (its ports are not opened twice), and
    // the rest is checked all the same.
    CliProcess::Setup held = all;
    held.environment.insert(QStringLiteral("TAVLO_SIM_HELD_BY"), QStringLiteral("window"));
    QTest::newRow("held by the window") << held
        << QStringList{"ok", "ok", "not_run", "ok", "ok", "ok"} << 0
        << "instrument" << "Tavlo is not asked while another program holds it.";

    // A plain file where the download folder's parent should be: no folder can be made there.
    CliProcess::Setup unwritable = all;
    unwritable.environment.insert(QStringLiteral("TAVLO_SIM_DOWNLOADS"),
                                  cli.scratch() + QStringLiteral("/a-file/updates"));
    QTest::newRow("download folder not writable") << unwritable
        << QStringList{"ok", "ok", "ok", "ok", "problem", "ok"} << 15
        << "download_folder" << "could not be made";
}

void CliDoctorTest::doctor()
{
    QFETCH(CliProcess::Setup, setup);
    QFETCH(QStringList, expected);
    QFETCH(int, exitCode);
    QFETCH(QString, check);
    QFETCH(QString, contains);
    QFile blocker(cli.scratch() + QStringLiteral("/a-file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    setup.environment.insert(QStringLiteral("no_proxy"), QStringLiteral("*"));

    const CliProcess::Result r = cli.run({QStringLiteral("doctor"), QStringLiteral("--json")}, setup);
    QVERIFY2(!r.crashed, qPrintable(r.err));
    QHash<QString, QString> texts;
    QCOMPARE(outcomes(r.out, &texts), expected);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(texts.value(check).contains(contains), qPrintable(texts.value(check)));
    // The instrument was asked through the link, never set on a way of its own.
    QCOMPARE(r.state.value(QStringLiteral("woken")), QStringLiteral("0"));
}

void CliDoctorTest::plainReport()
{
    // Without --json: the heading, then one line per check with its name and status.
    CliProcess::Setup setup;
    setup.instruments = 0;
    setup.environment.insert(QStringLiteral("TAVLO_SIM_DOWNLOADS"), cli.scratch() + QStringLiteral("/plain"));
    setup.environment.insert(QStringLiteral("no_proxy"), QStringLiteral("*"));
    const CliProcess::Result r = cli.run({QStringLiteral("doctor")}, setup);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out.size(), 7);
    QVERIFY(r.out.at(0).startsWith(QLatin1String("Check of this computer, ")));
    QVERIFY2(r.out.at(1).startsWith(QLatin1String("MIDI system: OK. ")), qPrintable(r.out.at(1)));
    QCOMPARE(r.out.at(3), QStringLiteral("Tavlo: Note. Tavlo is not connected."));
    QVERIFY2(r.out.at(6).startsWith(QLatin1String("Tavlo's volumes: OK. None of Tavlo's volumes is mounted")),
             qPrintable(r.out.at(6)));
}

QTEST_GUILESS_MAIN(CliDoctorTest)
#include "tst_cli_doctor.moc"
