#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <InstrumentUsbIdentity.h>

// How a simulated volume appears when it mounts.
struct SimVolumeOptions
{
    bool ready = true;
    bool readOnly = false;
    bool busy = false;                 // a dismount is refused while set
    // Writable as far as anyone can see, but the system refuses new files in its root (Linux's
    // immutable flag: see SimWriteBarrier). Not with a capacity (tmpfs has no such flag).
    bool refusesWrites = false;
    QStringList folders;               // created in the root
    QMap<QString, QByteArray> files;   // created in the root, e.g. a stale "tvxxfer.tvq"
    // When set: the volume shows this folder's content (the instrument's lasting storage), and
    // what the computer changes there stays in the folder. Without a capacity the folder is
    // the volume's root itself; with one, its content is copied onto the tmpfs at the mount
    // (a mount fails when it does not fit) and copied back into the folder when the volume
    // goes: ejected by the program, taken away (unplugged) or vanished when full.
    QString contentFolder;
    // When not negative: the volume is a tmpfs of this size (the kernel rounds up to whole
    // pages), so writes beyond it fail with "no space left" as on a full disk. Needs root.
    qint64 capacityBytes = -1;
    // With a capacity: once the volume is full, it disappears from the computer (taken out of
    // the mount table, its file system detached), as when the cable is pulled mid-copy.
    bool vanishWhenFull = false;
    // The USB device behind the volume: the instrument's unless told. A stranger (a user's
    // own drive with the same label) has none (found false) or another one.
    UsbIds usb = instrumentUsb();

    static UsbIds instrumentUsb()
    {
        UsbIds ids;
        ids.found = true;
        ids.vendorId = InstrumentUsbIdentity::vendorId();
        ids.productId = InstrumentUsbIdentity::productId();
        return ids;
    }
};
