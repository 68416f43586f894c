#include "SimLastingStorage.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace {
constexpr qint64 kBlock = 4096;
}

SimLastingStorage::SimLastingStorage() = default;

bool SimLastingStorage::setContent(SimTransferContent::Scale scale, bool unreadableFile)
{
    contentScale = scale;
    unreadable = unreadableFile;
    return !made || reset();
}

QString SimLastingStorage::folder()
{
    if (!made && !reset())
        return {};
    return base.filePath(QStringLiteral("card"));
}

bool SimLastingStorage::reset()
{
    error.clear();
    made = false;
    if (!base.isValid()) {
        error = QStringLiteral("No temporary directory for the instrument's storage.");
        return false;
    }
    const QString card = base.filePath(QStringLiteral("card"));
    if (!QDir(card).removeRecursively()) {
        error = QStringLiteral("Could not clear the instrument's storage folder %1.").arg(card);
        return false;
    }
    if (!SimTransferContent::fill(card, contentScale, unreadable, &error)) {
        // Half a card is not shown: the transfer volume then fails to mount and says so.
        QDir(card).removeRecursively();
        return false;
    }
    made = true;
    return true;
}

qint64 SimLastingStorage::bytesOnVolume()
{
    const QString root = folder();
    if (root.isEmpty())
        return -1;
    qint64 bytes = 0;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        bytes += (it.fileInfo().size() + kBlock - 1) / kBlock * kBlock;
    }
    return bytes;
}

SimVolumeOptions SimLastingStorage::volumeOptions()
{
    SimVolumeOptions options;
    // A folder that cannot be made is named all the same: the mount then fails and says so.
    const QString root = folder();
    options.contentFolder = root.isEmpty() ? base.filePath(QStringLiteral("card")) : root;
    options.capacityBytes = capacity;
    return options;
}
