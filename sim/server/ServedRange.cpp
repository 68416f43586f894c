#include "ServedRange.h"

namespace ServedRange {

qint64 firstByteOf(const QByteArray& rangeHeader)
{
    const QByteArray value = rangeHeader.trimmed();
    if (!value.startsWith("bytes="))
        return -1;
    const QByteArray byteRange = value.mid(6);
    // One range only: a list is answered whole.
    if (byteRange.contains(','))
        return -1;
    const qsizetype dash = byteRange.indexOf('-');
    if (dash <= 0)
        return -1;
    bool ok = false;
    const qint64 first = byteRange.left(dash).toLongLong(&ok);
    return ok && first >= 0 ? first : -1;
}

QByteArray headerOf(const ReleaseServer::Response& response, const QByteArray& name)
{
    for (const auto& header : response.extraHeaders) {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0)
            return header.second;
    }
    return QByteArray();
}

ReleaseServer::Response answer(const ReleaseServer::Request& request,
                               ReleaseServer::Response response, qint64 bodySize)
{
    if (request.method != "GET" || response.status != 200 || !response.honoursRange
        || response.chunkedEncoding || response.declaredLength >= 0)
        return response;
    const qint64 first = firstByteOf(request.range);
    if (first < 0)
        return response;
    if (!request.ifRange.isEmpty()) {
        const QByteArray etag = headerOf(response, "ETag");
        const QByteArray lastModified = headerOf(response, "Last-Modified");
        // A weak ETag never matches for a range (RFC 9110, 13.1.5).
        const bool sameEtag = !etag.isEmpty() && !etag.startsWith("W/") && request.ifRange == etag;
        const bool sameDate = !lastModified.isEmpty() && request.ifRange == lastModified;
        if (!sameEtag && !sameDate)
            return response; // another version: the whole of this one
    }
    if (first >= bodySize) {
        ReleaseServer::Response refused = ReleaseServer::Response::error(416);
        refused.extraHeaders = response.extraHeaders;
        refused.extraHeaders.append({"Content-Range", "bytes */" + QByteArray::number(bodySize)});
        return refused;
    }
    response.status = 206;
    response.bodyOffset = first;
    response.extraHeaders.append({"Content-Range", "bytes " + QByteArray::number(first) + '-'
                                                       + QByteArray::number(bodySize - 1) + '/'
                                                       + QByteArray::number(bodySize)});
    return response;
}

} // namespace ServedRange
