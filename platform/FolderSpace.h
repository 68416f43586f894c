#pragma once

#include <QString>
#include <QtGlobal>

// Whether a folder takes a file, and the room left on its volume: what the computer check
// asks of the download folder. Never throws.
class FolderSpace
{
public:
    virtual ~FolderSpace() = default;

    // Makes a small file in the folder, writes it and removes it again: empty when that
    // worked, else the system's words for why not.
    virtual QString tryWrite(const QString& folder) = 0;
    // The bytes this user may still write on the folder's volume; -1 when unknown.
    virtual qint64 freeBytes(const QString& folder) = 0;
};
