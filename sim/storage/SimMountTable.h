#pragma once

#include <QList>
#include <QString>

// The simulated computer's table of mounted volumes, kept in the file system: one small JSON
// file per mounted volume in one directory. The simulation (main thread) writes an entry
// with an atomic replace (QSaveFile, never in place) and takes it away with a single unlink; the storage
// worker lists and reads the directory. Every reader thus sees each entry either whole or
// not at all, and no lock is needed. Entries are listed in the order of their ids.
class SimMountTable
{
public:
    struct Entry
    {
        QString id;    // the entry's file name without ".json"; orders the list
        QString label;
        QString rootPath;
        bool ready = true;
        bool readOnly = false;
        bool busy = false; // a dismount is refused while the volume is busy
        // The USB device behind the volume (usbFound false: none).
        bool usbFound = false;
        QString vendorId;
        QString productId;
    };

    explicit SimMountTable(QString directory);

    QList<Entry> read() const;
    bool write(const Entry& entry) const;
    bool remove(const QString& id) const;

    QString directory() const { return dir; }

private:
    QString dir;
};
