#pragma once

#include <QObject>
#include <QStringList>

// Records every signal of a Downloader (of either edition), in order, as short texts:
// "releases", "latest:<v>", "versionCheck:<ok>", "progress:<n>",
// "finished:<ok>:<path>:<name>", "transfer:<ok>", and "status:<ok>:<message>" where the
// Downloader has a download status (ok is "true" or "false").
class SignalLog : public QObject
{
    Q_OBJECT

public:
    explicit SignalLog(QObject* downloader);

    QStringList entries;

    bool contains(const QString& prefix) const;
    int count(const QString& prefix) const;
    // Waits until an entry starting with prefix is recorded.
    bool waitFor(const QString& prefix, int timeoutMs = 20000);
    // The recorded entries without the progress ones.
    QStringList withoutProgress() const;
    QList<qint64> progress() const;

    // Waits until the Downloader has no request and no curl run left open: nothing of the
    // runs started so far can still be signalled.
    static bool waitUntilIdle(const QObject* downloader, int timeoutMs = 20000);
    bool waitUntilIdle(int timeoutMs = 20000) const { return waitUntilIdle(parent(), timeoutMs); }

private slots:
    void onReleases();
    void onLatest(const QString& version);
    void onVersionCheck(bool ok);
    void onFinished(bool ok, const QString& path, const QString& name);
    void onTransfer(bool ok);
    void onProgress(qlonglong value);
    void onStatus(bool ok, const QString& message);
};
