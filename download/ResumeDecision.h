#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QString>
#include <QtGlobal>

// Whether a download continues the partial file it left, and what the server's answer to a
// continued request means. Pure: built from the partial's figures and the answer's status and
// headers.
//
// A partial file is continued only when it has bytes, a validator (the server's ETag, else
// its Last-Modified, as recorded when its first bytes arrived) and came from the same address:
// the request then asks for "Range: bytes=N-" with "If-Range: <validator>". A 206 whose
// Content-Range starts at N, and which names no other validator, is appended; a 200 (the
// server ignores ranges, or the file changed and If-Range did not match) is the whole file
// from byte 0; a 416 or a 206 that does not fit is dropped and the file asked for again
// from 0.
namespace ResumeDecision {

struct Partial
{
    qint64 size = 0;
    QString validator; // empty: none recorded
    QString url;
};

// The validator of an answer: its ETag, else its Last-Modified; empty when it has neither.
// A weak ETag ("W/...") is no validator for a range.
QString validatorOf(const QString& etag, const QString& lastModified);

// The byte the request for url starts at: partial.size when it may be continued, else 0.
qint64 resumeFrom(const Partial& partial, const QString& url);

struct ContentRange
{
    qint64 first = -1;
    qint64 last = -1;
    qint64 total = -1; // -1: "*" (unknown)
    bool valid = false;
};
// "bytes FIRST-LAST/TOTAL" (TOTAL may be "*").
ContentRange parseContentRange(const QByteArray& header);

enum class Action {
    Append,     // the body continues the partial at its end
    StartFresh, // the body is the whole file: the partial is emptied first
    Restart,    // the answer cannot be used: the partial goes, the file is asked for from 0
    NotTheFile, // no file in the answer (an error status): the download fails as it would
};

struct Outcome
{
    Action action = Action::NotTheFile;
    // The size of the whole file when the answer says it (Content-Range's total, or a 200's
    // Content-Length); -1 when unknown.
    qint64 total = -1;
};

// What to do with an answer: from is the byte the request asked to start at (0: no Range
// was sent), sentValidator the If-Range sent with it; contentLength is -1 when absent.
Outcome judge(qint64 from, const QString& sentValidator, int status,
              const QByteArray& contentRange, qint64 contentLength,
              const QString& answerValidator);

// Whether a reply that ended with this error lost its connection on the way, and so is
// worth another try that continues it, rather than an answer (an error status), a refusal
// or a failed secure connection, which another try would meet again.
bool brokeOff(QNetworkReply::NetworkError error, int httpStatus);

} // namespace ResumeDecision
