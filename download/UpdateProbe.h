#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// Asks the server for the update file's size with a HEAD request and tells whether the copy
// already in the download folder can be used instead of downloading it again: it can when
// it is a file of exactly the announced size.
class UpdateProbe : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        LocalCopyValid,  // the local copy has the announced size
        SizeAnnounced,   // the server announced a size; no local copy of that size
        SizeUnknown,     // the probe failed or announced no size
    };

    explicit UpdateProbe(QObject* parent = nullptr);

    // Sends the HEAD request for url; localPath is where the update file would lie (empty
    // when there is no download folder). Ends with probed().
    void start(QNetworkAccessManager& network, const QUrl& url, const QString& localPath);

    // The outcome of a finished HEAD reply, for the local path given.
    static Outcome judge(QNetworkReply* reply, const QString& localPath);

signals:
    void probed(UpdateProbe::Outcome outcome, QUrl url);
};
