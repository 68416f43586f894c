#pragma once

#include "UsbIdentityLookup.h"

#include <QString>

// The USB device above a device in a Linux sysfs tree, read from a given root folder ("/sys"
// in the programs, a folder of the test's in the tests). Pure over that tree: it only reads,
// never leaves the root (links are resolved, and a path that resolves outside it ends the
// walk), and reports found only with both IDs read, upper-cased and trimmed.
class SysfsUsbDevice
{
public:
    // Walks up from the folder start until one holds both idVendor and idProduct.
    static UsbIds above(const QString& sysfsRoot, const QString& start);

    // The USB device behind a block device such as "/dev/sdb1" (a partition) or "/dev/sdb":
    // class/block/<name> of the tree, its "device" link where it has one (a whole disk), and
    // up from there. Anything not directly below "/dev/", or a name the tree does not hold,
    // is not found.
    static UsbIds ofBlockDevice(const QString& sysfsRoot, const QString& devicePath);
};
