// The rules of the backup and restore flows over the transfer mode and the update: each row
// plays reports and presses (BackupScript) and compares what the window would show, the
// requests made of the instrument and the storage worker, and what the history is told.

#include "BackupScript.h"

#include <QTest>

namespace {
const QStringList kHome{"found", "version 1.5.2", "latest 1.6.0"};
const QStringList kUpdateScreen = kHome + QStringList{"open"};
const QStringList kCopying = kHome + QStringList{"backupNow", "ack", "sized 12 3000000"};
const QStringList kBeforeUpdate = kUpdateScreen + QStringList{"startUpdate", "ack", "sized 12 3000000"};
const QStringList kAsking = kHome + QStringList{"restoreOpen", "choose 0", "checked ok", "ack", "planned 2 1 4"};
const QString kEnter = QStringLiteral("sendTransferSysEx");
const QString kEject = QStringLiteral("completeTransfer");
const QString kBackUp = QStringLiteral("backUp TAVLO 1.5.2");
} // namespace

class BackupFlowsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rows_data();
    void rows();
    void progressAndEstimate();
};

void BackupFlowsTest::rows_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QStringList>("records");

    const QStringList none;
    QTest::newRow("home offers backup and restore")
        << kHome << "Idle Idle Idle Idle | - | - | backupNow restore" << none << none;
    QTest::newRow("1.4.9 offers neither, nor the option")
        << QStringList{"found", "version 1.4.9", "latest 1.6.0", "open"}
        << "Idle Idle Idle Choosing | - | - | -" << none << none;
    QTest::newRow("update screen offers the option, on")
        << kUpdateScreen << "Idle Idle Idle Choosing | - | - | option(on)" << none << none;

    // Back up now.
    QTest::newRow("backup: entering")
        << kHome + QStringList{"backupNow"}
        << "Entering Idle Connecting Idle | Backing up Tavlo's projects | Switching Tavlo to transfer mode… | cancel"
        << QStringList{kEnter} << none;
    QTest::newRow("backup: copying")
        << kCopying + QStringList{"progress 1500000 3000000"}
        << "Copying Idle Open Idle | Backing up Tavlo's projects | 1.5 MB of 3 MB copied and checked (12 fi | cancel"
        << QStringList{kEnter, kBackUp} << none;
    QTest::newRow("backup: done only once the instrument is back")
        << kCopying + QStringList{"backedUp"}
        << "Leaving Idle Finalizing Idle | Backing up Tavlo's projects | Returning Tavlo to normal mode… | -"
        << QStringList{kEnter, kBackUp, kEject} << none;
    QTest::newRow("backup: done")
        << kCopying + QStringList{"backedUp", "endAck"}
        << "Done Idle Idle Idle | Backup complete | Saved and checked: 12 files (3 MB) in \"n | close"
        << QStringList{kEnter, kBackUp, kEject} << QStringList{"backup done 1.5.2 12"};
    QTest::newRow("backup: closed, home again")
        << kCopying + QStringList{"backedUp", "endAck", "close"}
        << "Idle Idle Idle Idle | - | - | backupNow restore"
        << QStringList{kEnter, kBackUp, kEject} << QStringList{"backup done 1.5.2 12"};
    QTest::newRow("backup: a file unreadable")
        << kCopying + QStringList{"backupFailed Tavlo's file x could not be read.", "endAck"}
        << "Failed Idle Idle Idle | Backup failed | Tavlo's file x could not be read. | close"
        << QStringList{kEnter, kBackUp, kEject} << QStringList{"backup failed 1.5.2 12"};
    QTest::newRow("backup: cancelled while copying")
        << kCopying + QStringList{"cancel", "backupCancelled", "endAck"}
        << "Cancelled Idle Idle Idle | Backup cancelled | Nothing was kept. | close"
        << QStringList{kEnter, kBackUp, "cancelBackup", kEject} << QStringList{"backup cancelled 1.5.2 12"};
    QTest::newRow("backup: cancelled while switching copies nothing")
        << kHome + QStringList{"backupNow", "cancel", "ack", "endAck"}
        << "Cancelled Idle Idle Idle | Backup cancelled | Nothing was kept. | close"
        << QStringList{kEnter, kEject} << QStringList{"backup cancelled 1.5.2 0"};
    QTest::newRow("backup: unplugged while copying")
        << kCopying + QStringList{"lost", "backupCancelled"}
        << "Failed Idle Idle Idle | Backup failed | Tavlo was disconnected during the backup | close"
        << QStringList{kEnter, kBackUp, "cancelBackup"} << QStringList{"backup failed 1.5.2 12"};
    QTest::newRow("backup: drive in use, the transfer screen takes over")
        << kCopying + QStringList{"backedUp", "ejectFailed", "close"}
        << "Idle Idle Open Idle | - | - | folders"
        << QStringList{kEnter, kBackUp, kEject} << QStringList{"backup done 1.5.2 12"};

    // Before an update.
    QTest::newRow("update: the backup first, no download yet")
        << kBeforeUpdate
        << "Copying Idle Open Choosing | Backing up Tavlo's projects | 0 bytes of 3 MB copied and checked (12 f | cancel"
        << QStringList{kEnter, kBackUp} << none;
    QTest::newRow("update: starts once the instrument is back")
        << kBeforeUpdate + QStringList{"backedUp", "endAck"}
        << "Idle Idle Idle Downloading | - | - | -"
        << QStringList{kEnter, kBackUp, kEject, "downloadFile"} << QStringList{"backup done 1.5.2 12"};
    QTest::newRow("update: not before the link's wait for the instrument is over")
        << QStringList{"linkSettles"} + kBeforeUpdate + QStringList{"backedUp", "endAck"}
        << "Leaving Idle Idle Choosing | Backing up Tavlo's projects | Returning Tavlo to normal mode… | -"
        << QStringList{kEnter, kBackUp, kEject} << QStringList{"backup done 1.5.2 12"};
    QTest::newRow("update: then it starts")
        << QStringList{"linkSettles"} + kBeforeUpdate + QStringList{"backedUp", "endAck", "settled"}
        << "Idle Idle Idle Downloading | - | - | -"
        << QStringList{kEnter, kBackUp, kEject, "downloadFile"} << QStringList{"backup done 1.5.2 12"};
    QTest::newRow("update: a wait over before the transfer's end counts")
        << QStringList{"linkSettles"} + kBeforeUpdate + QStringList{"backedUp", "settled", "endAck"}
        << "Idle Idle Idle Downloading | - | - | -"
        << QStringList{kEnter, kBackUp, kEject, "downloadFile"} << QStringList{"backup done 1.5.2 12"};
    QTest::newRow("update: a failed backup starts nothing")
        << kBeforeUpdate + QStringList{"backupFailed The folder is full.", "endAck"}
        << "Failed Idle Idle Choosing | Backup failed | The folder is full. The update was not s | close"
        << QStringList{kEnter, kBackUp, kEject} << QStringList{"backup failed 1.5.2 12"};
    QTest::newRow("update: closed, the update screen again")
        << kBeforeUpdate + QStringList{"backupCancelled", "endAck", "close"}
        << "Idle Idle Idle Choosing | - | - | option(on)"
        << QStringList{kEnter, kBackUp, kEject} << QStringList{"backup cancelled 1.5.2 12"};
    QTest::newRow("update: a file from the computer, the backup first")
        << kUpdateScreen + QStringList{"installLocal /f.tvq"}
        << "Entering Idle Connecting Choosing | Backing up Tavlo's projects | Switching Tavlo to transfer mode… | cancel"
        << QStringList{kEnter, "installLocal: "} << none;
    // (The script's update flow has no choices, so the file is refused once the backup is done.)
    QTest::newRow("update: a file found unusable after the backup, said")
        << kUpdateScreen + QStringList{"installLocal /f.tvq", "ack", "backedUp", "endAck"}
        << "Failed Idle Idle Choosing | The backup is complete; the update did not start | The update file cannot be installed now. | close"
        << QStringList{kEnter, "installLocal: ", kBackUp, kEject} << QStringList{"backup done 1.5.2 12"};
    QTest::newRow("update: option off, no backup")
        << kUpdateScreen + QStringList{"option off", "startUpdate"}
        << "Idle Idle Idle Downloading | - | - | -" << QStringList{"downloadFile"} << none;
    QTest::newRow("update: no transfer mode, no backup")
        << QStringList{"found", "version 1.4.9", "latest 1.6.0", "open", "startUpdate"}
        << "Idle Idle Idle Downloading | - | - | -" << QStringList{"downloadFile"} << none;

    // Restore.
    QTest::newRow("restore: the list")
        << kHome + QStringList{"restoreOpen"}
        << "Idle Choosing Idle Idle | Restore a backup | Choose the backup to put back onto Tavlo | cancel"
        << none << none;
    QTest::newRow("restore: no backups, not offered")
        << QStringList{"nobackups"} + kHome + QStringList{"restoreOpen"}
        << "Idle Idle Idle Idle | - | - | backupNow" << none << none;
    QTest::newRow("restore: a tampered backup never touches the instrument")
        << kHome + QStringList{"restoreOpen", "choose 1", "checked bad 2 files changed.", "close"}
        << "Idle Idle Idle Idle | - | - | backupNow restore"
        << QStringList{"check /b/1"} << QStringList{"restore failed /b/1 0"};
    QTest::newRow("restore: asks, listing what differs")
        << kAsking
        << "Idle Asking Open Idle | Replace these files on Tavlo? | Differing from the backup: 3 files on Ta | replace keep"
        << QStringList{"check /b/0", kEnter, "plan"} << none;
    QTest::newRow("restore: replaced and checked")
        << kAsking + QStringList{"confirm", "wrote 3", "endAck"}
        << "Idle Done Idle Idle | Restore complete | Restored from the backup and checked: 3 | close"
        << QStringList{"check /b/0", kEnter, "plan", "restore", kEject} << QStringList{"restore done /b/0 3"};
    QTest::newRow("restore: kept, nothing replaced")
        << kAsking + QStringList{"decline", "endAck"}
        << "Idle Cancelled Idle Idle | Restore cancelled | Nothing on Tavlo was replaced. | close"
        << QStringList{"check /b/0", kEnter, "plan", kEject} << QStringList{"restore cancelled /b/0 0"};
    QTest::newRow("restore: nothing differs, nothing asked")
        << kHome + QStringList{"restoreOpen", "choose 0", "checked ok", "ack", "planned 0 0 0", "endAck"}
        << "Idle Done Idle Idle | Restore complete | Tavlo already holds every file of this b | close"
        << QStringList{"check /b/0", kEnter, "plan", kEject} << QStringList{"restore done /b/0 0"};
    QTest::newRow("restore: volume full")
        << kAsking + QStringList{"confirm", "restoreFailed Tavlo's drive is full.", "endAck"}
        << "Idle Failed Idle Idle | Restore failed | Tavlo's drive is full. | close"
        << QStringList{"check /b/0", kEnter, "plan", "restore", kEject} << QStringList{"restore failed /b/0 1"};
    QTest::newRow("restore: unplugged while writing")
        << kAsking + QStringList{"confirm", "lost"}
        << "Idle Failed Idle Idle | Restore failed | Tavlo was disconnected during the restor | close"
        << QStringList{"check /b/0", kEnter, "plan", "restore", "cancelRestore"}
        << QStringList{"restore failed /b/0 0"};
}

void BackupFlowsTest::rows()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, shown);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, records);
    BackupScript script;
    if (steps.value(0) == QLatin1String("nobackups")) {
        script.backups = 0;
        script.restore.refresh();
        steps.removeFirst();
    }
    QVERIFY2(script.play(steps), qPrintable(script.error()));
    QCOMPARE(script.shown(), shown);
    QCOMPARE(script.script.calls, calls);
    QCOMPARE(script.records, records);
}

// The option's estimate comes from the last backup, and a finished backup becomes the next
// estimate; the percentage follows the bytes.
void BackupFlowsTest::progressAndEstimate()
{
    BackupScript script;
    QVERIFY(script.play(kUpdateScreen));
    QCOMPARE(script.backup.estimateText(), QString());
    script.backup.setLastBackup(250000000, 150000);
    QCOMPARE(script.backup.estimateText(), QStringLiteral("Last backup: 250 MB, about 3 minutes."));
    QVERIFY(script.play({"startUpdate", "ack", "sized 12 4000000", "progress 1000000 4000000"}));
    QCOMPARE(script.backup.progress(), 25);
    QVERIFY(script.play({"backedUp", "endAck"}));
    QVERIFY2(script.backup.estimateText().startsWith(QStringLiteral("Last backup: 3 MB, ")),
             qPrintable(script.backup.estimateText()));
}

QTEST_GUILESS_MAIN(BackupFlowsTest)
#include "tst_backup_flows.moc"
