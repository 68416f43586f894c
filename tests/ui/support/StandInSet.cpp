#include "StandInSet.h"

#include "RestoreFailureText.h"
#include "WindowDriver.h"

#include <QTest>

void StandInSet::publishTo(WindowDriver& driver)
{
    driver.publish(QStringLiteral("midiHandler"), &midiHandler);
    driver.publish(QStringLiteral("downloader"), &downloader);
    driver.publish(QStringLiteral("mainController"), &mainController);
    driver.publish(QStringLiteral("fileManagerBridge"), &fileManagerBridge);
    flows.publishTo(driver);
}

namespace {

bool parseBool(const QString& word, bool& ok)
{
    ok = word == QLatin1String("true") || word == QLatin1String("false");
    return word == QLatin1String("true");
}

} // namespace

QStringList StandInSet::fileNames(int count, int first)
{
    static const char* const stems[] = {
        "Projects/Sommerfest Ölmühle %1.tvp", "Projects/Café Jam – take %1.tvp",
        "Grooves/Bossa für Zoë %1.tvg", "Instrument Definitions/Rhodes Mk II (warm) %1.tvi",
        "MIDI Files/Übung in Es-Dur %1.mid", "Projects/Łódź live set %1.tvp",
        "Grooves/Half-time shuffle %1.tvg", "Projects/Señor Groove %1 final.tvp",
    };
    constexpr int kStems = int(sizeof stems / sizeof stems[0]);
    QStringList names;
    for (int i = first; i < first + count; ++i)
        names << QString::fromUtf8(stems[i % kStems]).arg(i / kStems + 1);
    return names;
}

bool StandInSet::playReport(const QString& verb, const QString& rest, bool& ok)
{
    const QStringList args = rest.split(QLatin1Char(' '));
    const auto number = [&args, &ok](int i) {
        bool read = false;
        const qint64 value = args.value(i).toLongLong(&read);
        ok = ok && read;
        return value;
    };
    BackupFlow* backup = flows.backup.get();
    RestoreFlow* restore = flows.restore.get();
    if (verb == QLatin1String("backupSized")) {
        sizedFiles = int(number(0));
        sizedBytes = number(1);
        if (ok)
            backup->onBackupSized(sizedFiles, sizedBytes);
    } else if (verb == QLatin1String("backupProgress")) {
        const qint64 done = number(0);
        const qint64 total = number(1);
        if (ok)
            backup->onBackupProgress(done, total);
    } else if (verb == QLatin1String("backupDone")) {
        backup->onBackupFinished(true, false, flows.kBackupsRoot + QStringLiteral("/2026-12-09 20-41 firmware 1.5.0"),
                                 sizedFiles, sizedBytes, 0, QString());
    } else if (verb == QLatin1String("backupCancelled")) {
        backup->onBackupFinished(false, true, QString(), sizedFiles, sizedBytes, 0, QString());
    } else if (verb == QLatin1String("backupFailed")) {
        backup->onBackupFinished(false, false, QString(), sizedFiles, sizedBytes, 0, rest);
    } else if (verb == QLatin1String("backupFirst")) {
        ok = rest == QLatin1String("on") || rest == QLatin1String("off");
        if (ok)
            backup->setBeforeUpdate(rest == QLatin1String("on"));
    } else if (verb == QLatin1String("lastBackup")) {
        const qint64 bytes = number(0);
        const qint64 ms = number(1);
        if (ok)
            backup->setLastBackup(bytes, ms);
    } else if (verb == QLatin1String("restoreChecked")) {
        if (args.value(0) == QLatin1String("ok")) {
            restore->onBackupChecked(true, {}, QString());
        } else {
            const QStringList bad = fileNames(int(number(1)));
            ok = ok && args.value(0) == QLatin1String("bad");
            if (ok)
                restore->onBackupChecked(false, bad, RestoreFailureText::filesDoNotMatch(bad));
        }
    } else if (verb == QLatin1String("restorePlanned")) {
        const int changed = int(number(0));
        const int missing = int(number(1));
        const int only = int(number(2));
        if (ok)
            restore->onRestorePlanned(true, fileNames(changed), fileNames(missing, changed), only,
                                      qint64(changed + missing) * 873421, QString());
    } else if (verb == QLatin1String("restoreProgress")) {
        const qint64 done = number(0);
        const qint64 total = number(1);
        if (ok)
            restore->onRestoreProgress(done, total);
    } else if (verb == QLatin1String("restoreWritten")) {
        const int files = int(number(0));
        if (ok)
            restore->onRestoreFinished(true, false, files, QString());
    } else if (verb == QLatin1String("restoreFailed")) {
        restore->onRestoreFinished(false, false, 1, rest);
    } else {
        return false;
    }
    return true;
}

bool StandInSet::play(const QString& step, WindowDriver& driver)
{
    m_error.clear();
    const int blank = int(step.indexOf(QLatin1Char(' ')));
    const QString verb = blank < 0 ? step : step.left(blank);
    const QString rest = blank < 0 ? QString() : step.mid(blank + 1);
    bool ok = true;

    if (verb == QLatin1String("found")) {
        emit midiHandler.deviceFound(true);
    } else if (verb == QLatin1String("lost")) {
        emit midiHandler.deviceFound(false);
    } else if (verb == QLatin1String("version")) {
        emit midiHandler.tavloReceivedVersion(rest);
    } else if (verb == QLatin1String("midiProblem")) {
        emit midiHandler.midiProblemChanged(rest);
    } else if (verb == QLatin1String("transferAck")) {
        emit midiHandler.transferSysExReceived();
    } else if (verb == QLatin1String("volumeRefused")) {
        // Told before the eject's result, which then fails: "DONE" is offered again.
        flows.transfer.onVolumeRefused(rest);
        flows.transfer.onEjectResult(false);
    } else if (verb == QLatin1String("transferEndAck")) {
        emit midiHandler.transferSysExEndReceived();
    } else if (verb == QLatin1String("latest")) {
        emit downloader.latestVersionFetched(rest);
    } else if (verb == QLatin1String("download")) {
        const qlonglong value = rest.toLongLong(&ok);
        if (ok)
            emit downloader.downloadingProgressBar(value);
    } else if (verb == QLatin1String("versionCheck")) {
        const bool value = parseBool(rest, ok);
        if (ok)
            emit downloader.versionCheck(value);
    } else if (verb == QLatin1String("status")) {
        const int split = int(rest.indexOf(QLatin1Char(' ')));
        const bool value = parseBool(split < 0 ? rest : rest.left(split), ok);
        if (ok)
            emit downloader.downloadStatus(value, split < 0 ? QString() : rest.mid(split + 1));
    } else if (verb == QLatin1String("reason")) {
        downloader.fail(rest);
    } else if (verb == QLatin1String("transferReason")) {
        emit mainController.transferFailureReason(rest);
    } else if (verb == QLatin1String("interrupted")) {
        flows.updateVolumeFound();
    } else if (verb == QLatin1String("notFinished")) {
        emit midiHandler.updateFinishFailed(rest);
    } else if (verb == QLatin1String("copy")) {
        const int value = rest.toInt(&ok);
        if (ok)
            emit mainController.copyingFileProgress(value);
    } else if (verb == QLatin1String("copyDone")) {
        const bool value = parseBool(rest, ok);
        if (ok)
            emit mainController.fileTransferComplete(value);
    } else if (playReport(verb, rest, ok)) {
        // One of the storage worker's reports.
    } else if (verb == QLatin1String("click")) {
        if (!driver.clickButton(rest)) {
            m_error = QStringLiteral("no shown button \"%1\"").arg(rest);
            return false;
        }
    } else if (verb == QLatin1String("press") || verb == QLatin1String("key")) {
        if (!(verb == QLatin1String("press") ? driver.press(rest) : driver.key(rest))) {
            m_error = QStringLiteral("no shown item or key \"%1\"").arg(rest);
            return false;
        }
    } else if (verb == QLatin1String("wait")) {
        const int ms = rest.toInt(&ok);
        if (ok)
            QTest::qWait(ms);
    } else {
        ok = false;
    }
    flows.deliverNotices();
    if (!ok)
        m_error = QStringLiteral("malformed step \"%1\"").arg(step);
    return ok;
}

QString StandInSet::error() const
{
    return m_error;
}

QStringList StandInSet::allCalls() const
{
    QStringList calls;
    const std::pair<const char*, const StandInObject*> objects[] = {
        {"midiHandler", &midiHandler},
        {"downloader", &downloader},
        {"mainController", &mainController},
        {"fileManagerBridge", &fileManagerBridge},
    };
    for (const auto& [name, object] : objects) {
        const QStringList own = object->calls();
        for (const QString& method : own)
            calls.append(QString::fromLatin1(name) + QLatin1Char('.') + method);
    }
    return calls;
}

void StandInSet::clearCalls()
{
    midiHandler.clearCalls();
    downloader.clearCalls();
    mainController.clearCalls();
    fileManagerBridge.clearCalls();
}
