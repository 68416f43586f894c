#include "SignalLog.h"

#include <QDeadlineTimer>
#include <QTest>

#include <QNetworkReply>
#include <QProcess>

namespace {
QString flag(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}
}  // namespace

SignalLog::SignalLog(QObject* downloader) : QObject(downloader)
{
    const auto link = [this, downloader](const char* signal, const char* slot) {
        // SIGNAL()/SLOT() texts start with a code digit; the meta-object knows the rest.
        if (downloader->metaObject()->indexOfSignal(signal + 1) >= 0)
            connect(downloader, signal, this, slot);
    };
    link(SIGNAL(releasesJsonFetched()), SLOT(onReleases()));
    link(SIGNAL(latestVersionFetched(QString)), SLOT(onLatest(QString)));
    link(SIGNAL(versionCheck(bool)), SLOT(onVersionCheck(bool)));
    link(SIGNAL(downloadFinished(bool,QString,QString)), SLOT(onFinished(bool,QString,QString)));
    link(SIGNAL(setDeviceToTransferMode(bool)), SLOT(onTransfer(bool)));
    link(SIGNAL(downloadingProgressBar(qlonglong)), SLOT(onProgress(qlonglong)));
    link(SIGNAL(downloadStatus(bool,QString)), SLOT(onStatus(bool,QString)));
}

void SignalLog::onReleases()
{
    entries << QStringLiteral("releases");
}

void SignalLog::onLatest(const QString& version)
{
    entries << QStringLiteral("latest:") + version;
}

void SignalLog::onVersionCheck(bool ok)
{
    entries << QStringLiteral("versionCheck:") + flag(ok);
}

void SignalLog::onFinished(bool ok, const QString& path, const QString& name)
{
    entries << QStringLiteral("finished:%1:%2:%3").arg(flag(ok), path, name);
}

void SignalLog::onTransfer(bool ok)
{
    entries << QStringLiteral("transfer:") + flag(ok);
}

void SignalLog::onProgress(qlonglong value)
{
    entries << QStringLiteral("progress:%1").arg(value);
}

void SignalLog::onStatus(bool ok, const QString& message)
{
    entries << QStringLiteral("status:%1:%2").arg(flag(ok), message);
}

bool SignalLog::waitUntilIdle(const QObject* downloader, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    // A reply or a curl process is deleted once its end has been handled.
    while (!downloader->findChildren<QNetworkReply*>().isEmpty()
           || !downloader->findChildren<QProcess*>().isEmpty()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
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
