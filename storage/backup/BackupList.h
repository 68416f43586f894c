#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// The backups under a folder, newest first, as the restore page and "tavlo restore" list
// them: each folder with a manifest that reads ("<name>.partial" folders and folders without
// one are left out). Reads only the manifests, not the files.
struct BackupList
{
    struct Item
    {
        QString folder;   // absolute path
        QString name;     // the folder's name, e.g. "2026-12-09 14-03 firmware 1.5.2"
        QDateTime created;
        QString firmware;
        int files = 0;
        qint64 bytes = 0;
    };

    static QList<Item> read(const QString& backupsRoot);
};
