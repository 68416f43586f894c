#include "BackupWriter.h"

#include "BackupCopier.h"
#include "BackupFailureText.h"
#include "BackupFolderName.h"
#include "BackupList.h"
#include "VolumeTree.h"

#include <FileSync.h>
#include <HardLink.h>
#include <WriteRefusal.h>
#include <WriteRefusalText.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

#include <optional>

namespace {
// The volume is looked for once every this many blocks within a file (and between files).
constexpr int kBlocksBetweenChecks = 8;

// The folder itself, or the nearest folder above it that exists (where a refusal shows).
QString nearestFolder(const QString& path)
{
    QDir dir(path);
    while (!dir.exists() && !dir.isRoot() && dir.cdUp()) {
    }
    return dir.absolutePath();
}
} // namespace

struct BackupWriter::Run
{
    Request request;
    VolumeTree tree;
    BackupManifest manifest;
    std::optional<BackupManifest> earlier;
    QString earlierFolder;
    QString partialPath;
    QString name;
    QSet<QString> linked;
    qint64 done = 0;
    qint64 total = 0;
    int blocks = 0;
    Result result;
};

BackupWriter::BackupWriter(const ReadableFiles& files, Check check, Sized sized, Progress progress)
    : files(files), check(std::move(check)), sized(std::move(sized)), progress(std::move(progress))
{
}

BackupWriter::Result BackupWriter::run(const Request& request)
{
    Run run;
    run.request = request;
    run.manifest.firmware = request.firmware;
    run.manifest.created = request.time.toUTC();
    const bool ok = prepareFolder(run) && copyFiles(run) && syncCopies(run) && writeManifest(run) && verify(run) && finish(run);
    if (!ok && !run.partialPath.isEmpty())
        QDir(run.partialPath).removeRecursively();
    run.result.ok = ok;
    run.result.leftOut = run.tree.leftOut();
    return run.result;
}

bool BackupWriter::stopped(Run& run, Stop stop)
{
    if (stop == Stop::None)
        return false;
    run.result.cancelled = stop == Stop::Cancelled;
    if (stop == Stop::VolumeGone) {
        run.result.why = BackupFailureText::volumeGone();
        run.result.detail = QStringLiteral("the volume went away");
    }
    return true;
}

bool BackupWriter::targetFailed(Run& run, const QString& systemText, bool full)
{
    const QString& root = run.request.backupsRoot;
    QStorageInfo disk(root);
    if (full)
        run.result.why = BackupFailureText::targetFull(root);
    else if (disk.isValid() && disk.isReadOnly())
        run.result.why = BackupFailureText::targetReadOnly(root);
    else {
        const QString refused = WriteRefusalText::sentenceHere(
            WriteRefusal::probe(nearestFolder(root)), WriteRefusalText::Place::BackupFolder, root);
        run.result.why = refused.isEmpty() ? BackupFailureText::targetNotWritable(root, systemText)
                                           : refused;
    }
    run.result.detail = QStringLiteral("writing under %1: %2").arg(root, systemText);
    return false;
}

bool BackupWriter::prepareFolder(Run& run)
{
    if (stopped(run, check(true)))
        return false;
    if (!run.tree.list(run.request.volumeRoot)) {
        if (stopped(run, check(true)))
            return false;
        run.result.why = BackupFailureText::folderUnreadable(run.tree.failedFolder());
        run.result.detail = QStringLiteral("listing \"%1\" failed").arg(run.tree.failedFolder());
        return false;
    }
    run.total = run.tree.totalBytes();
    run.result.files = int(run.tree.files().size());
    run.result.bytes = run.total;
    if (sized)
        sized(run.result.files, run.total);

    const QString& root = run.request.backupsRoot;
    if (!QDir().mkpath(root))
        return targetFailed(run, QStringLiteral("the folder could not be made"), false);

    // The newest earlier backup whose manifest reads: its unchanged files are linked to.
    const QList<BackupList::Item> earlier = BackupList::read(root);
    if (!earlier.isEmpty()) {
        QFile file(earlier.first().folder + QLatin1Char('/') + QLatin1String(BackupManifest::kFileName));
        if (file.open(QIODevice::ReadOnly)) {
            run.earlier = BackupManifest::parse(file.readAll());
            run.earlierFolder = earlier.first().folder;
        }
    }

    // Room for what cannot be linked, asked before anything is written.
    qint64 toCopy = 0;
    for (const VolumeTree::File& file : run.tree.files()) {
        const BackupManifest::Entry* before = run.earlier ? run.earlier->find(file.path) : nullptr;
        if (!before || before->size != file.size || before->modifiedMs != file.modifiedMs)
            toCopy += file.size;
    }
    QStorageInfo disk(root);
    if (disk.isValid() && disk.isReadOnly())
        return targetFailed(run, QStringLiteral("read-only"), false);
    if (disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < toCopy)
        return targetFailed(run, QStringLiteral("%1 bytes free, %2 needed").arg(disk.bytesAvailable()).arg(toCopy), true);

    const QDir rootDir(root);
    const QString base = BackupFolderName::forBackup(run.request.time, run.request.firmware);
    for (int attempt = 0; attempt < 1000 && run.partialPath.isEmpty(); ++attempt) {
        run.name = BackupFolderName::firstFree(base, [&rootDir](const QString& name) {
            return rootDir.exists(name) || rootDir.exists(BackupFolderName::partialName(name));
        });
        const QString partial = BackupFolderName::partialName(run.name);
        // mkdir, not mkpath: a folder made meanwhile by another backup is not taken over.
        if (rootDir.mkdir(partial))
            run.partialPath = rootDir.absoluteFilePath(partial);
        else if (!rootDir.exists(partial))
            return targetFailed(run, QStringLiteral("the folder \"%1\" could not be made").arg(partial), false);
    }
    if (run.partialPath.isEmpty())
        return targetFailed(run, QStringLiteral("no free folder name"), false);
    for (const QString& folder : run.tree.folders())
        if (!QDir(run.partialPath).mkdir(folder))
            return targetFailed(run, QStringLiteral("the folder \"%1\" could not be made").arg(folder), false);
    return true;
}

bool BackupWriter::linkFromEarlier(Run& run, const QString& path, qint64 size, qint64 modifiedMs)
{
    if (!run.earlier)
        return false;
    const BackupManifest::Entry* before = run.earlier->find(path);
    if (!before || before->size != size || before->modifiedMs != modifiedMs)
        return false;
    // The earlier copy must still be what its manifest says, as far as size and time tell.
    const QString existing = run.earlierFolder + QLatin1Char('/') + path;
    const QFileInfo info(existing);
    if (info.isSymLink() || !info.isFile() || info.size() != size
        || info.lastModified().toMSecsSinceEpoch() != modifiedMs)
        return false;
    QString why;
    if (!HardLink::make(existing, run.partialPath + QLatin1Char('/') + path, &why))
        return false; // copied instead
    run.manifest.entries.append(*before);
    run.linked.insert(path);
    run.result.linkedBytes += size;
    run.done += size;
    return true;
}

bool BackupWriter::copyFiles(Run& run)
{
    Stop blockStop = Stop::None;
    BackupCopier copier(files, [&](qint64 blockBytes) {
        run.done += blockBytes;
        if (progress)
            progress(run.done, run.total);
        if (++run.blocks % kBlocksBetweenChecks == 0)
            blockStop = check(false);
        return blockStop == Stop::None;
    });
    for (const VolumeTree::File& file : run.tree.files()) {
        if (stopped(run, check(false)))
            return false;
        if (linkFromEarlier(run, file.path, file.size, file.modifiedMs)) {
            if (progress)
                progress(run.done, run.total);
            continue;
        }
        const qint64 doneBefore = run.done;
        const BackupCopier::Result copied = copier.copy(run.request.volumeRoot + QLatin1Char('/') + file.path,
                                                        run.partialPath + QLatin1Char('/') + file.path,
                                                        file.modifiedMs);
        switch (copied.outcome) {
        case BackupCopier::Outcome::Copied: break;
        case BackupCopier::Outcome::Stopped: return !stopped(run, blockStop);
        case BackupCopier::Outcome::SourceUnreadable:
            // A file that stops reading is most often an instrument that was unplugged.
            if (stopped(run, check(true)))
                return false;
            run.result.why = BackupFailureText::sourceUnreadable(file.path, copied.systemText);
            run.result.detail = QStringLiteral("reading \"%1\": %2").arg(file.path, copied.systemText);
            return false;
        case BackupCopier::Outcome::TargetFailed:
            if (stopped(run, check(true)))
                return false;
            return targetFailed(run, copied.systemText, copied.targetFull);
        }
        // What was read, not what was listed: a file that changed meanwhile is kept as read.
        run.done = doneBefore + copied.bytes;
        run.total += copied.bytes - file.size;
        run.manifest.entries.append({file.path, copied.bytes, file.modifiedMs, copied.sha256Hex});
        if (progress)
            progress(run.done, run.total);
    }
    run.result.bytes = run.manifest.totalBytes();
    return !stopped(run, check(true));
}

bool BackupWriter::syncCopies(Run& run)
{
    // One sync of the whole file system where the system has one (the disk writes the files in
    // the order it likes), then each copy on its own: cheap for what is on the disk already,
    // and the only sync where the system has no such call.
    FileSync::syncFileSystem(QFile::encodeName(run.partialPath).constData());
    for (const BackupManifest::Entry& entry : run.manifest.entries) {
        if (run.linked.contains(entry.path))
            continue;
        if (!BackupCopier::syncCopy(run.partialPath + QLatin1Char('/') + entry.path))
            return targetFailed(run, QStringLiteral("the disk did not confirm the write of \"%1\"").arg(entry.path), false);
    }
    return true;
}

bool BackupWriter::writeManifest(Run& run)
{
    QFile file(run.partialPath + QLatin1Char('/') + QLatin1String(BackupManifest::kFileName));
    const QByteArray json = run.manifest.toJson();
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(json) != json.size() || !file.flush())
        return targetFailed(run, file.errorString(), file.error() == QFileDevice::ResourceError);
    if (!FileSync::syncDescriptor(file.handle()))
        return targetFailed(run, QStringLiteral("the disk did not confirm the write"), false);
    file.close();
    return true;
}

bool BackupWriter::verify(Run& run)
{
    for (const BackupManifest::Entry& entry : run.manifest.entries) {
        if (stopped(run, check(false) == Stop::Cancelled ? Stop::Cancelled : Stop::None))
            return false;
        const QString copy = run.partialPath + QLatin1Char('/') + entry.path;
        if (run.linked.contains(entry.path)) {
            const QFileInfo info(copy);
            if (info.size() == entry.size && info.lastModified().toMSecsSinceEpoch() == entry.modifiedMs)
                continue;
            run.result.why = BackupFailureText::verifyMismatch(entry.path);
            run.result.detail = QStringLiteral("the linked copy of \"%1\" changed").arg(entry.path);
            return false;
        }
        const QByteArray hash = BackupCopier::readBack(copy);
        if (hash.isEmpty()) {
            run.result.why = BackupFailureText::verifyUnreadable(entry.path);
            run.result.detail = QStringLiteral("reading the copy of \"%1\" back failed").arg(entry.path);
            return false;
        }
        if (hash != entry.sha256) {
            run.result.why = BackupFailureText::verifyMismatch(entry.path);
            run.result.detail = QStringLiteral("the copy of \"%1\" reads back other bytes").arg(entry.path);
            return false;
        }
    }
    // The manifest itself reads back as written.
    QFile file(run.partialPath + QLatin1Char('/') + QLatin1String(BackupManifest::kFileName));
    std::optional<BackupManifest> back;
    if (file.open(QIODevice::ReadOnly))
        back = BackupManifest::parse(file.readAll());
    if (!back || back->entries != run.manifest.entries) {
        run.result.why = BackupFailureText::verifyMismatch(QLatin1String(BackupManifest::kFileName));
        run.result.detail = QStringLiteral("the manifest does not read back");
        return false;
    }
    return true;
}

bool BackupWriter::finish(Run& run)
{
    if (stopped(run, check(false) == Stop::Cancelled ? Stop::Cancelled : Stop::None))
        return false;
    QDir rootDir(run.request.backupsRoot);
    const QString partial = BackupFolderName::partialName(run.name);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (!rootDir.exists(run.name) && rootDir.rename(partial, run.name)) {
            FileSync::syncDirectory(QFile::encodeName(rootDir.absolutePath()).constData());
            run.partialPath.clear();
            run.result.folder = rootDir.absoluteFilePath(run.name);
            return true;
        }
        if (!rootDir.exists(run.name))
            return targetFailed(run, QStringLiteral("the folder could not be renamed"), false);
        // Taken meanwhile: the next free name.
        run.name = BackupFolderName::firstFree(run.name, [&rootDir](const QString& name) {
            return rootDir.exists(name) || rootDir.exists(BackupFolderName::partialName(name));
        });
    }
    return targetFailed(run, QStringLiteral("no free folder name"), false);
}
