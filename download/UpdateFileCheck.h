#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// What the update file must be: its size and SHA-256 when the catalogue or the server tell
// them. Checks a finished file or the figures of one that was just streamed.
struct UpdateFileCheck
{
    qint64 size = -1;        // -1: unknown
    QString sha256;          // lower-case hex; empty: unknown

    // No update file is larger: a longer download, or one announced longer, is ended.
    static constexpr qint64 kMaxBytes = 2LL * 1024 * 1024 * 1024;
    // The most bytes this file may have: its size when known, else kMaxBytes.
    qint64 mostBytes() const { return size >= 0 && size < kMaxBytes ? size : kMaxBytes; }

    // Empty when a file of this size and digest passes; else the sentence saying why not.
    QString problemWith(qint64 actualSize, const QString& actualSha256) const;
    // The same for a file on disk (read through once to hash it); a missing file fails.
    QString problemWithFile(const QString& path) const;

    // The file's SHA-256 in lower-case hex, empty when it cannot be read.
    static QString sha256Of(const QString& path);
};
