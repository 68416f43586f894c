#include "SimVolumeDismounter.h"

#include <QDir>

SimVolumeDismounter::SimVolumeDismounter(SimMountTable table) : table(std::move(table)) {}

bool SimVolumeDismounter::dismount(const QString& rootPath)
{
    const QString wanted = QDir::cleanPath(rootPath);
    const QList<SimMountTable::Entry> entries = table.read();
    for (const SimMountTable::Entry& entry : entries) {
        if (QDir::cleanPath(entry.rootPath) != wanted)
            continue;
        if (entry.busy)
            return false;
        // Whoever unlinks the entry first dismounts the volume; a volume that vanished in
        // the meantime cannot be dismounted.
        if (!table.remove(entry.id))
            return false;
        emit dismounted(entry.id, entry.label, entry.rootPath);
        return true;
    }
    return false;
}
