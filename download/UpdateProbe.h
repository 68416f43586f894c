#pragma once

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include "UpdateFileCheck.h"

class QNetworkAccessManager;
class QNetworkReply;

// Asks the server for the update file's size with a HEAD request and tells whether the copy
// already in the download folder can be used instead of downloading it again: it can when
// it has exactly the announced size and passes the same check as a download (the expected
// size and SHA-256); with no checksum known, the server's ETag or Last-Modified must also be
// the one recorded when the copy was downloaded.
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
    void start(QNetworkAccessManager& network, const QUrl& url, const QString& localPath,
               const UpdateFileCheck& expected = UpdateFileCheck());
    // Forgets a HEAD request still outstanding: it reports nothing.
    void cancel();

    // The outcome of a finished HEAD reply, for the local path given.
    static Outcome judge(QNetworkReply* reply, const QString& localPath,
                         const UpdateFileCheck& expected = UpdateFileCheck());

signals:
    void probed(UpdateProbe::Outcome outcome, QUrl url);

private:
    QPointer<QNetworkReply> pending;
};
