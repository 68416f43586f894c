#pragma once

#include <QObject>
#include <QStringList>

class Downloader;

// Records every signal of a Downloader, in order, as short texts:
// "releases", "latest:<v>", "progress:<n>", "finished:<ok>:<path>:<name>",
// "transfer:<ok>", "status:<ok>:<message>" (ok is "true" or "false").
class SignalLog : public QObject
{
    Q_OBJECT

public:
    explicit SignalLog(Downloader* downloader);

    QStringList entries;

    bool contains(const QString& prefix) const;
    int count(const QString& prefix) const;
    // Waits until an entry starting with prefix is recorded.
    bool waitFor(const QString& prefix, int timeoutMs = 20000);
    // The recorded entries without the progress ones.
    QStringList withoutProgress() const;
    QList<qint64> progress() const;
};
