// The recorder against the update flow: an update played through the flow (FlowScript, as
// the flow's own tests play it) ends with the record it should, or none when nothing was done
// to the instrument; the backups' and restores' records; and the page's list of them.
#include "FlowScript.h"
#include "HistoryLog.h"
#include "HistoryModel.h"
#include "HistoryRecorder.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString kSha = QStringLiteral("9F86D081884C7D659A2FEAA0C55AD015A3BF4F1B2B0B822CD15D6C15B0F00A08");
const QStringList kCopying{"found", "version 1.5.2", "latest 1.6.0", "open", "start", "download 100",
                           "downloaded", "readBack tavlo-1.6.0.tvq", "copy 50"};
const QStringList kHandedOver = kCopying + QStringList{"copy 100", "copied"};

// "result from>to confirmed file sha(first 8)", the record's fields in one line.
QString described(const HistoryRecord& r)
{
    return QStringLiteral("%1 %2>%3 %4 %5 %6")
        .arg(r.result, r.fromVersion, r.toVersion, r.confirmedVersion.isEmpty() ? "-" : r.confirmedVersion,
             r.fileName.isEmpty() ? "-" : r.fileName, r.sha256.isEmpty() ? "-" : r.sha256.left(8));
}

} // namespace

class HistoryRecorderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void updates_data();
    void updates();
    void backupsAndRestores();
    void pageListFollowsTheRecords();
};

void HistoryRecorderTest::updates_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("records"); // newest first

    const QString confirmed = QStringLiteral("confirmed 1.5.2>1.6.0 1.6.0 tavlo-1.6.0.tvq 9f86d081");
    QTest::newRow("confirmed") << kHandedOver + QStringList{"lost", "found", "version 1.6.0"}
                               << QStringList{confirmed};
    QTest::newRow("confirmed after a further reboot")
        << kHandedOver + QStringList{"version 1.5.2", "version 1.6.0"} << QStringList{confirmed};
    QTest::newRow("another firmware came back")
        << kHandedOver + QStringList{"version 1.5.2", "elapse 250"}
        << QStringList{"not-applied 1.5.2>1.6.0 1.5.2 tavlo-1.6.0.tvq 9f86d081"};
    QTest::newRow("not back") << kHandedOver + QStringList{"elapse 500"}
                              << QStringList{"not-confirmed 1.5.2>1.6.0 - tavlo-1.6.0.tvq 9f86d081"};
    QTest::newRow("the copy failed") << kCopying + QStringList{"copyFailed The volume is full."}
                                     << QStringList{"failed 1.5.2>1.6.0 - tavlo-1.6.0.tvq 9f86d081"};
    QTest::newRow("update mode not reached")
        << QStringList{"found", "version 1.5.2", "latest 1.6.0", "open", "start", "downloaded", "modeFailed no"}
        << QStringList{"failed 1.5.2>1.6.0 - - -"};
    // As the wiring has it: the update-mode message fails as the file comes to hand.
    QTest::newRow("update mode not reached, before the copy")
        << QStringList{"found", "version 1.5.2", "latest 1.6.0", "open", "start", "download 100", "modeFailed no",
                       "downloaded"}
        << QStringList{"failed 1.5.2>1.6.0 - - -"};
    QTest::newRow("never told to apply") << kHandedOver + QStringList{"notFinished gone"}
                                         << QStringList{"failed 1.5.2>1.6.0 - tavlo-1.6.0.tvq 9f86d081"};
    QTest::newRow("unplugged during the copy") << kCopying + QStringList{"lost"}
                                               << QStringList{"cancelled 1.5.2>1.6.0 - tavlo-1.6.0.tvq 9f86d081"};
    QTest::newRow("the program ends during the copy") << kCopying + QStringList{"quit"}
                                                      << QStringList{"cancelled 1.5.2>1.6.0 - tavlo-1.6.0.tvq 9f86d081"};
    QTest::newRow("the program ends before the return") << kHandedOver + QStringList{"quit"}
                                                        << QStringList{"not-confirmed 1.5.2>1.6.0 - tavlo-1.6.0.tvq 9f86d081"};
    QTest::newRow("a file of unknown version") << QStringList{"file"} + kHandedOver + QStringList{"version 1.6.1"}
                                               << QStringList{"confirmed 1.5.2> 1.6.1 tavlo-1.6.0.tvq 9f86d081"};
    // Nothing reached the instrument: no record.
    QTest::newRow("download failed") << QStringList{"found", "version 1.5.2", "latest 1.6.0", "open", "start",
                                                    "status fail Network down"}
                                     << QStringList{};
    QTest::newRow("unplugged during the download")
        << QStringList{"found", "version 1.5.2", "latest 1.6.0", "open", "start", "download 40", "lost"}
        << QStringList{};
    QTest::newRow("a read-back outside an update is no one's") << QStringList{"readBack stray.tvq", "quit"}
                                                               << QStringList{};
    QTest::newRow("failed, then tried again")
        << kCopying + QStringList{"copyFailed full", "retry", "start", "download 100", "downloaded", "copy 100",
                                  "copied", "version 1.6.0"}
        << QStringList{"confirmed 1.5.2>1.6.0 1.6.0 - -", "failed 1.5.2>1.6.0 - tavlo-1.6.0.tvq 9f86d081"};
}

void HistoryRecorderTest::updates()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, records);
    QTemporaryDir dir;
    const HistoryLog log = HistoryLog::inFolder(dir.path());
    FlowScript script(UpdateFlowPolicy::fullEdition());
    auto recorder = std::make_unique<HistoryRecorder>(log, script.update, script.presence);
    const QDateTime at(QDate(2026, 12, 9), QTime(14, 3), Qt::UTC);
    recorder->setClock([at] { return at; });
    for (const QString& step : steps) {
        if (step.startsWith(QLatin1String("readBack ")))
            recorder->onReadBackChecked(step.section(QLatin1Char(' '), 1), kSha);
        else if (step == QLatin1String("quit"))
            recorder.reset();
        else if (step == QLatin1String("file"))
            script.fileVersion.clear();
        else
            QVERIFY2(script.play({step}), qPrintable(script.error()));
    }
    recorder.reset();
    QStringList got;
    for (const HistoryRecord& r : log.read()) {
        got << described(r);
        QCOMPARE(r.kind, HistoryRecord::Kind::Update);
        QCOMPARE(r.time, at);
        QCOMPARE(r.instrument, QStringLiteral("1D6B:0104"));
    }
    QCOMPARE(got, records);
}

void HistoryRecorderTest::backupsAndRestores()
{
    QTemporaryDir dir;
    const HistoryLog log = HistoryLog::inFolder(dir.path());
    FlowScript script(UpdateFlowPolicy::fullEdition());
    HistoryRecorder recorder(log, script.update, script.presence);
    QSignalSpy recorded(&recorder, &HistoryRecorder::recorded);
    QVERIFY(!recorder.lastBackup());

    recorder.recordBackup("1.5.2", "/b/one", 412, 38'000'000, 1'000, 60'000, "done", QString());
    recorder.recordBackup("1.5.2", "/b/two", 3, 10, 0, 5, "cancelled", "Stopped");
    recorder.recordRestore("1.5.2", "/b/one", 3, "done", QString());
    // A result the history does not know is kept as a failure, with what was said.
    recorder.recordRestore("1.5.2", "/b/one", -4, "exploded", QString());
    QCOMPARE(recorded.size(), 4);

    const std::optional<HistoryRecord> last = recorder.lastBackup();
    QVERIFY(last.has_value());
    QCOMPARE(last->folder, QStringLiteral("/b/one"));
    QCOMPARE(last->bytes, qint64(38'000'000));
    QCOMPARE(last->linkedBytes, qint64(1'000));
    QCOMPARE(last->durationMs, qint64(60'000));

    const QList<HistoryRecord> all = log.read();
    QCOMPARE(all.size(), 4);
    QCOMPARE(all.first().kind, HistoryRecord::Kind::Restore);
    QCOMPARE(all.first().result, QStringLiteral("failed"));
    QCOMPARE(all.first().reason, QStringLiteral("exploded"));
    QCOMPARE(all.first().files, 0);
    QCOMPARE(all.at(1).files, 3);

    // With no history kept, nothing is read back, and the flows go on.
    const HistoryLog none = HistoryLog::inFolder(QString());
    HistoryRecorder nowhere(none, script.update, script.presence);
    nowhere.recordBackup("1.5.2", "/b", 1, 1, 0, 1, "done", QString());
    QVERIFY(!nowhere.lastBackup());
}

void HistoryRecorderTest::pageListFollowsTheRecords()
{
    QTemporaryDir dir;
    const HistoryLog log = HistoryLog::inFolder(dir.path());
    FlowScript script(UpdateFlowPolicy::fullEdition());
    HistoryRecorder recorder(log, script.update, script.presence);
    HistoryModel model(log);
    connect(&recorder, &HistoryRecorder::recorded, &model, &HistoryModel::reload);
    QSignalSpy counted(&model, &HistoryModel::countChanged);
    QCOMPARE(model.rowCount(), 0);

    recorder.recordBackup("1.5.2", "/b/2026-12-09 14-03", 412, 38'000'000, 0, 1, "done", QString());
    QStringList steps = kHandedOver + QStringList{"version 1.6.0"};
    steps.removeAll(QStringLiteral("readBack tavlo-1.6.0.tvq"));
    recorder.onReadBackChecked(QStringLiteral("tavlo-1.6.0.tvq"), kSha);
    QVERIFY(script.play(steps));
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(counted.size(), 2);
    const auto role = [&](int row, const char* name) {
        return model.data(model.index(row), model.roleNames().key(name)).toString();
    };
    QCOMPARE(role(0, "summary"), QStringLiteral("Update 1.5.2 → 1.6.0: confirmed"));
    // Read back before the update started: no one's.
    QCOMPARE(role(0, "detail"), QStringLiteral("The instrument reported firmware 1.6.0 afterwards."));
    QCOMPARE(role(1, "summary"), QStringLiteral("Backup: 412 files, 38 MB"));
    QCOMPARE(role(1, "detail"), QStringLiteral("Folder /b/2026-12-09 14-03"));
    QCOMPARE(role(1, "dateText").size(), 16); // "2026-12-09 14:03"
    QCOMPARE(model.data(model.index(2), model.roleNames().key("summary")), QVariant());
}

QTEST_MAIN(HistoryRecorderTest)
#include "tst_history_recorder.moc"
