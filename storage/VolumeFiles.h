#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// The file work of the update hand-over inside a volume's root directory.
class VolumeFiles
{
public:
    using Progress = std::function<void(qint64 copied, qint64 total)>;

    // Copies sourcePath into root under its own file name, in 4096-byte chunks, reporting the
    // bytes copied so far and the source's size after every chunk, and makes sure the data
    // reached the volume (flush and sync). A partial copy stays where it is on failure.
    static bool copyInto(const QString& root, const QString& sourcePath, const Progress& progress);
    // Removes a file of this name left in root by an earlier attempt; true when none is left.
    // A directory of that name is not touched and gives false.
    static bool removeStale(const QString& root, const QString& name);
    // Renames root/fromName to root/toName; fails when toName exists already.
    static bool rename(const QString& root, const QString& fromName, const QString& toName);
};
