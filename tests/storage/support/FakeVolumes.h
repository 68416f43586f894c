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

    // A valid, ready, writable volume.
    static VolumeInfo writable(const QString& label, const QString& root);

    QList<VolumeInfo> mountedVolumes() override;
};
