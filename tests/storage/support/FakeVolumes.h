#pragma once

#include <VolumeList.h>

#include <QList>

// A volume list the test sets directly, with any field values (also those the simulated
// storage cannot make, such as invalid volumes or an empty root). Main thread only.
class FakeVolumes : public VolumeList
{
public:
    QList<VolumeInfo> volumes;
    int calls = 0;

    // A valid, ready, writable volume, from a list that cannot tell the USB device behind it.
    static VolumeInfo writable(const QString& label, const QString& root);
    // The same on the instrument's USB device, from a list that can tell.
    static VolumeInfo instruments(const QString& label, const QString& root);
    // The same on another USB device (found false: none found behind it).
    static VolumeInfo stranger(const QString& label, const QString& root, bool found = false,
                               const QString& vendor = {}, const QString& product = {});

    QList<VolumeInfo> mountedVolumes() override;
};
