#include "UpdaterWindowFixture.h"

#include <QTest>
#include <QUrl>

UpdaterWindowFixture::UpdaterWindowFixture()
{
    driver.publish(QStringLiteral("midiHandler"), &midi);
    driver.publish(QStringLiteral("downloader"), &downloader);
    driver.publish(QStringLiteral("mainController"), &controller);
    flows.publishTo(driver);
}

bool UpdaterWindowFixture::load()
{
    return driver.load(QUrl(QStringLiteral("qrc:/Tavlo Updater/main.qml")));
}

bool UpdaterWindowFixture::play(const QString& step)
{
    const QString verb = step.section(QLatin1Char(' '), 0, 0);
    const QString rest = step.section(QLatin1Char(' '), 1);
    bool ok = true;
    if (verb == QLatin1String("found") || verb == QLatin1String("lost"))
        emit midi.deviceFound(verb == QLatin1String("found"));
    else if (verb == QLatin1String("version"))
        emit midi.tavloReceivedVersion(rest);
    else if (verb == QLatin1String("midiProblem"))
        emit midi.midiProblemChanged(rest);
    else if (verb == QLatin1String("interrupted"))
        flows.updateVolumeFound();
    else if (verb == QLatin1String("notFinished"))
        emit midi.updateFinishFailed(rest);
    else if (verb == QLatin1String("latest"))
        emit downloader.latestVersionFetched(rest);
    else if (verb == QLatin1String("download"))
        emit downloader.downloadingProgressBar(rest.toLongLong(&ok));
    else if (verb == QLatin1String("versionCheck"))
        emit downloader.versionCheck(rest == QLatin1String("true"));
    else if (verb == QLatin1String("reason"))
        downloader.fail(rest);
    else if (verb == QLatin1String("copy"))
        emit controller.copyingFileProgress(rest);
    else if (verb == QLatin1String("copyDone"))
        emit controller.fileTransferComplete(rest == QLatin1String("true"));
    else if (verb == QLatin1String("transferReason"))
        emit controller.transferFailureReason(rest);
    else if (verb == QLatin1String("click"))
        ok = driver.clickButton(rest);
    else if (verb == QLatin1String("press"))
        ok = driver.press(rest);
    else if (verb == QLatin1String("key"))
        ok = driver.key(rest);
    else if (verb == QLatin1String("wait"))
        QTest::qWait(rest.toInt(&ok));
    else
        ok = false;
    flows.deliverNotices();
    if (!ok)
        qWarning("step failed: %s", qPrintable(step));
    return ok;
}

bool UpdaterWindowFixture::playAll(const QStringList& steps)
{
    for (const QString& step : steps) {
        if (!play(step))
            return false;
    }
    return true;
}
