#include "SignalLog.h"

#include <QDeadlineTimer>
#include <QTest>

#include "Downloader.h"

namespace {
QString flag(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}
}  // namespace

SignalLog::SignalLog(Downloader* downloader) : QObject(downloader)
{
    connect(downloader, &Downloader::releasesJsonFetched, this,
            [this]() { entries << QStringLiteral("releases"); });
    connect(downloader, &Downloader::latestVersionFetched, this,
            [this](const QString& version) { entries << QStringLiteral("latest:") + version; });
    connect(downloader, &Downloader::versionCheck, this,
            [this](bool ok) { entries << QStringLiteral("versionCheck:") + flag(ok); });
    connect(downloader, &Downloader::downloadFinished, this,
            [this](bool ok, const QString& path, const QString& name) {
                entries << QStringLiteral("finished:%1:%2:%3").arg(flag(ok), path, name);
            });
    connect(downloader, &Downloader::setDeviceToTransferMode, this,
            [this](bool ok) { entries << QStringLiteral("transfer:") + flag(ok); });
    connect(downloader, &Downloader::downloadingProgressBar, this,
            [this](qlonglong value) { entries << QStringLiteral("progress:%1").arg(value); });
#ifndef TAVLO_UPDATE_ONLY
    connect(downloader, &Downloader::downloadStatus, this,
            [this](bool ok, const QString& message) {
                entries << QStringLiteral("status:%1:%2").arg(flag(ok), message);
            });
#endif
}

bool SignalLog::contains(const QString& prefix) const
{
    return count(prefix) > 0;
}

int SignalLog::count(const QString& prefix) const
{
    int n = 0;
    for (const QString& entry : entries) {
        if (entry.startsWith(prefix))
            ++n;
    }
    return n;
}

bool SignalLog::waitFor(const QString& prefix, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!contains(prefix)) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}

QStringList SignalLog::withoutProgress() const
{
    QStringList rest;
    for (const QString& entry : entries) {
        if (!entry.startsWith(QStringLiteral("progress:")))
            rest << entry;
    }
    return rest;
}

QList<qint64> SignalLog::progress() const
{
    QList<qint64> values;
    for (const QString& entry : entries) {
        if (entry.startsWith(QStringLiteral("progress:")))
            values << entry.mid(9).toLongLong();
    }
    return values;
}
