#pragma once

#include "UsbIdentityLookup.h"

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
    // Whether this system's list looks up the USB device behind each volume. Where it cannot
    // (false), a volume is taken by its label alone.
    bool usbChecked = false;
    // The USB device behind the volume's block device; usb.found is false when the volume
    // has none (not on USB, or its device could not be read).
    UsbIds usb;
};

// The list of mounted volumes, fresh on every call.
class VolumeList
{
public:
    virtual ~VolumeList() = default;

    virtual QList<VolumeInfo> mountedVolumes() = 0;
};
