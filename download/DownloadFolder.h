#pragma once

#include <QString>

// The folder the update file is downloaded into: the per-user cache folder's "updates"
// (AppFolders; never the shared temporary folder, where any local user could plant a file),
// created with owner-only permissions. All three programs share it.
class DownloadFolder
{
public:
    // Creates the folder when needed and restricts it to its owner; its path, or an empty
    // text when it cannot be made or is not a folder this user alone can write.
    static QString prepare();
    // The same for a folder given by path (AppFolders::downloads in prepare()).
    static QString prepareAt(const QString& path);
};
