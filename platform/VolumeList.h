#pragma once

#include <QList>
#include <QString>

// One mounted volume, with the fields the storage code reads.
struct VolumeInfo
{
    bool valid = false;
    bool ready = false;
    bool readOnly = false;
    QString displayName; // the volume label where the system knows one
    QString rootPath;    // e.g. "E:/" or "/media/user/tavloupd"
};

// The list of mounted volumes, fresh on every call.
class VolumeList
{
public:
    virtual ~VolumeList() = default;

    virtual QList<VolumeInfo> mountedVolumes() = 0;
};
