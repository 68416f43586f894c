#pragma once

#include "SimMountTable.h"

#include <VolumeDismounter.h>

#include <QObject>

// Dismounts a simulated volume on the storage worker thread: refuses while the volume is
// busy, otherwise takes its entry out of the mount table and announces it with `dismounted`
// (queued to the simulation on the main thread). The volume's directory and its files stay
// for the simulated instrument to read.
class SimVolumeDismounter : public QObject, public VolumeDismounter
{
    Q_OBJECT

public:
    explicit SimVolumeDismounter(SimMountTable table);

    bool dismount(const QString& rootPath) override;

signals:
    void dismounted(QString id, QString label, QString rootPath);

private:
    const SimMountTable table;
};
