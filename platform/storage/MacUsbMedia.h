#pragma once

#include <string>
#include <vector>

// Reads the output of "system_profiler -xml SPUSBDataType" (a property list) into the disks
// each USB device carries, so that a volume counts as the instrument's only when the USB
// device behind its disk is the instrument. Pure: built, tested and fuzzed on every system.
class MacUsbMedia
{
public:
    struct Disk
    {
        std::string bsdName;   // "disk4" or "disk4s1", as the list spells it
        std::string vendorId;  // four upper-case hex digits, e.g. "1D6B"
        std::string productId; // e.g. "0104"
    };

    // Every disk and volume listed under a USB device, with the identity of the innermost
    // device that lists it (a hub's own identity never passes to the devices behind it).
    // Empty for output that is not such a list, lists nested deeper than any real bus does,
    // or disks whose device has no readable identity.
    static std::vector<Disk> disksOf(const std::string& plistXml);

    // The identity in system_profiler's spelling ("0x1d6b  (Linux Foundation)", "0x104"):
    // four upper-case hex digits, or empty when it is not a hex number of at most four digits.
    static std::string usbIdOf(const std::string& field);

    // The BSD name of a device path such as "/dev/disk4s1"; empty unless it is a disk
    // identifier.
    static std::string bsdNameOfDevice(const std::string& devicePath);
};
