#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// What the server said about the update file when it was downloaded, kept in a small side
// file beside it, so that a later run reuses the local copy only when it is the same file:
// its size and the server's ETag or Last-Modified. A partial download keeps one beside its
// partial file too (its validator and address, see ResumeDecision). Reading is a pure parse
// of the side file's bytes.
struct LocalCopyRecord
{
    qint64 size = -1;
    QString etag;
    QString lastModified;
    // The address the file came from (kept for a partial download, which continues only
    // from the same address).
    QString url;

    // The side file of the update file at path.
    static QString pathFor(const QString& updateFilePath);
    static LocalCopyRecord parse(const QByteArray& bytes);
    QByteArray serialize() const;

    // True when the record names a validator and the server's answer carries the same one.
    bool matches(qint64 fileSize, const QString& serverEtag, const QString& serverLastModified) const;

    // Reads the side file of updateFilePath; an absent or unreadable one is an empty record.
    static LocalCopyRecord readFor(const QString& updateFilePath);
    // Writes it atomically; false when it could not be written.
    bool writeFor(const QString& updateFilePath) const;
};
