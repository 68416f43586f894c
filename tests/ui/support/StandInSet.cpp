#include "StandInSet.h"

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
