#pragma once

#include <QByteArray>

#include "ReleaseServer.h"

// What the ReleaseServer makes of a GET's Range and If-Range for a 200 response: the part of
// the body from the asked byte on (206 with Content-Range), the whole body (no usable range,
// or an If-Range that names another version than the response's ETag or Last-Modified), or
// 416 for a range that starts beyond the end. Pure over the request and the response.
namespace ServedRange {

// The first byte of "bytes=N-" or "bytes=N-M"; -1 when the header is not such a range.
qint64 firstByteOf(const QByteArray& rangeHeader);
// The value of the response's header of this name (case-insensitive); empty when absent.
QByteArray headerOf(const ReleaseServer::Response& response, const QByteArray& name);
// The response as sent for this request; bodySize is the size of the whole body.
ReleaseServer::Response answer(const ReleaseServer::Request& request,
                               ReleaseServer::Response response, qint64 bodySize);

} // namespace ServedRange
