#pragma once

#include "FolderSpace.h"

// FolderSpace over Qt's files and QStorageInfo, on every system.
class PlainFolderSpace : public FolderSpace
{
public:
    QString tryWrite(const QString& folder) override;
    qint64 freeBytes(const QString& folder) override;
};
