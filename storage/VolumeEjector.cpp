#include "VolumeEjector.h"
#include "StorageLog.h"

#include "StorageFailureText.h"

#include <FileSync.h>
#include <VolumeDismounter.h>

#include <QDebug>
#include <QFile>

VolumeEjector::VolumeEjector(std::shared_ptr<VolumeList> volumes,
                             std::shared_ptr<VolumeDismounter> dismounter)
    : lookup(std::move(volumes))
    , dismounter(std::move(dismounter))
{
}

bool VolumeEjector::eject(const QString& label)
{
    const QString root = lookup.mountPath(label);
    if (root.isEmpty() || !dismounter)
        return false;
    return dismounter->dismount(root);
}

bool VolumeEjector::finishHandOver(const QString& label)
{
    const QString root = lookup.mountPath(label);
    if (root.isEmpty()) {
        reason = StorageFailureText::volumeGoneBeforeEject();
        return false;
    }
    // The dismount flushes too; a refused sync is only worth a warning.
    if (!FileSync::syncFileSystem(QFile::encodeName(root).constData()))
        qCWarning(lcStorage) << "FM: The volume at" << root << "could not be synced before the eject";
    if (!eject(label)) {
        // A volume that went away meanwhile (the instrument unplugged) is not in use.
        if (lookup.mountPath(label).isEmpty()) {
            reason = StorageFailureText::volumeGoneBeforeEject();
            return false;
        }
        const QStringList who = dismounter ? dismounter->holders(root) : QStringList();
        reason = who.isEmpty() ? StorageFailureText::volumeInUse() : StorageFailureText::volumeInUseBy(who);
        return false;
    }
    reason.clear();
    return true;
}
