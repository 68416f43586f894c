#pragma once

#include <QByteArray>
#include <QString>

class QTemporaryDir;

// Files for the storage tests: recognisable contents, written and read back in one call.
class StorageTestFiles
{
public:
    // size bytes of a pattern that repeats only every 251 bytes, so a shifted or repeated
    // chunk shows.
    static QByteArray pattern(qint64 size);
    // Writes dir/name; the path, or empty when it could not be written completely.
    static QString write(const QTemporaryDir& dir, const QString& name, const QByteArray& content);
    // The whole file, or "<unreadable>".
    static QByteArray read(const QString& path);
};
