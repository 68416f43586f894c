#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// An update file the user already has on the computer, checked before anything touches the
// instrument: it must be there, be a readable file, not be empty, carry the update file's
// extension and not be larger than the instrument's volume can take (when that is known; the
// copy checks the volume again). problemWith() is pure; inspect() reads the file system.
class LocalUpdateFile
{
public:
    struct Facts
    {
        QString path;
        bool exists = false;
        bool isFile = false;
        bool readable = false;  // it could be opened for reading
        qint64 size = -1;
    };

    // The update file's extension, without the dot.
    static QString extension();
    // The file dialog's filters: update files first, then every file.
    static QStringList nameFilters();

    // What the file system says about the path (opens the file once, reads nothing).
    static Facts inspect(const QString& path);
    // Empty when the file can be installed; else the sentence saying why not.
    // volumeCapacity is the instrument volume's size in bytes, or -1 when unknown.
    static QString problemWith(const Facts& facts, qint64 volumeCapacity);
    static QString problem(const QString& path, qint64 volumeCapacity)
    {
        return problemWith(inspect(path), volumeCapacity);
    }

    // A local path from what a file dialog gives ("file:///..." or a plain path).
    static QString pathFrom(const QString& urlOrPath);
    // "812 bytes", "1.5 MB": the size as the window shows it.
    static QString sizeText(qint64 bytes);
};
