#include "FakeVolumes.h"

#include <InstrumentUsbIdentity.h>

VolumeInfo FakeVolumes::writable(const QString& label, const QString& root)
{
    VolumeInfo info;
    info.valid = true;
    info.ready = true;
    info.readOnly = false;
    info.displayName = label;
    info.rootPath = root;
    return info;
}

VolumeInfo FakeVolumes::instruments(const QString& label, const QString& root)
{
    return stranger(label, root, true, InstrumentUsbIdentity::vendorId(),
                    InstrumentUsbIdentity::productId());
}

VolumeInfo FakeVolumes::stranger(const QString& label, const QString& root, bool found,
                                 const QString& vendor, const QString& product)
{
    VolumeInfo info = writable(label, root);
    info.usbChecked = true;
    info.usb.found = found;
    info.usb.vendorId = vendor;
    info.usb.productId = product;
    return info;
}

QList<VolumeInfo> FakeVolumes::mountedVolumes()
{
    ++calls;
    return volumes;
}
