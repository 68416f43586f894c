#include "ResumeDecision.h"

namespace ResumeDecision {

QString validatorOf(const QString& etag, const QString& lastModified)
{
    const QString strong = etag.trimmed();
    if (!strong.isEmpty() && !strong.startsWith(QLatin1String("W/")))
        return strong;
    return lastModified.trimmed();
}

qint64 resumeFrom(const Partial& partial, const QString& url)
{
    if (partial.size <= 0 || partial.validator.isEmpty() || partial.url.isEmpty()
        || partial.url != url)
        return 0;
    // The validator goes into a request header as it is: printable ASCII only.
    for (const QChar c : partial.validator) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return 0;
    }
    return partial.size;
}

ContentRange parseContentRange(const QByteArray& header)
{
    ContentRange range;
    const QByteArray value = header.trimmed();
    if (!value.startsWith("bytes "))
        return range;
    const QByteArray byteRange = value.mid(6).trimmed();
    const qsizetype dash = byteRange.indexOf('-');
    const qsizetype slash = byteRange.indexOf('/');
    if (dash <= 0 || slash <= dash + 1 || slash == byteRange.size() - 1)
        return range;
    bool firstOk = false;
    bool lastOk = false;
    range.first = byteRange.left(dash).toLongLong(&firstOk);
    range.last = byteRange.mid(dash + 1, slash - dash - 1).toLongLong(&lastOk);
    const QByteArray total = byteRange.mid(slash + 1);
    bool totalOk = true;
    range.total = total == "*" ? -1 : total.toLongLong(&totalOk);
    range.valid = firstOk && lastOk && totalOk && range.first >= 0 && range.last >= range.first
                  && (range.total < 0 || range.total > range.last);
    return range;
}

Outcome judge(qint64 from, const QString& sentValidator, int status,
              const QByteArray& contentRange, qint64 contentLength,
              const QString& answerValidator)
{
    Outcome outcome;
    if (status == 206) {
        const ContentRange range = parseContentRange(contentRange);
        // A part the request did not ask for, of unknown size, not reaching the end, or of
        // another version of the file is never appended.
        const bool fits = from > 0 && range.valid && range.first == from && range.total > 0
                          && range.last == range.total - 1
                          && (contentLength < 0 || contentLength == range.last - range.first + 1)
                          && (answerValidator.isEmpty() || answerValidator == sentValidator);
        if (!fits) {
            outcome.action = Action::Restart;
            return outcome;
        }
        outcome.action = Action::Append;
        outcome.total = range.total;
        return outcome;
    }
    if (status == 416 && from > 0) {
        outcome.action = Action::Restart;
        return outcome;
    }
    if (status >= 200 && status < 300) {
        outcome.action = Action::StartFresh;
        outcome.total = contentLength;
        return outcome;
    }
    return outcome;
}

bool brokeOff(QNetworkReply::NetworkError error, int httpStatus)
{
    if (httpStatus >= 400)
        return false;
    switch (error) {
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::UnknownNetworkError:
        return true;
    default:
        return false;
    }
}

} // namespace ResumeDecision
