#include "RestoreWriter.h"

#include "RestoreFailureText.h"

#include <QStorageInfo>

namespace {

// The space the volume has now, or -1 when it cannot tell.
qint64 freeSpace(const QString& root)
{
    const QStorageInfo volume(root);
    return volume.isValid() && volume.isReady() ? volume.bytesAvailable() : -1;
}

} // namespace

RestoreWriter::Result RestoreWriter::write(const QString& volumeRoot, const QString& backupFolder,
                                           const RestorePlan& plan, const Hooks& hooks)
{
    Result result;
    const qint64 total = plan.bytes;
    qint64 done = 0;
    const auto verdict = [&] { return hooks.check ? hooks.check() : Verdict::Continue; };
    const auto report = [&] {
        if (hooks.progress)
            hooks.progress(done, total);
    };

    RestoreFileCopy::Hooks copyHooks;
    copyHooks.check = hooks.check;
    copyHooks.syncFile = hooks.syncFile;
    report();
    for (const BackupManifest::Entry& entry : plan.toWrite) {
        const Verdict now = verdict();
        if (now == Verdict::Cancelled) {
            result.cancelled = true;
            return result;
        }
        if (now == Verdict::Vanished) {
            result.why = RestoreFailureText::disconnected(result.written);
            return result;
        }
        // Until it replaces the old one, the copy needs room of its own.
        const qint64 stillToWrite = total - done;
        const qint64 free = freeSpace(volumeRoot);
        if (free >= 0 && free < entry.size) {
            result.why = RestoreFailureText::volumeFull(stillToWrite, free);
            return result;
        }

        const qint64 before = done;
        copyHooks.copied = [&](qint64 bytes) {
            done += bytes;
            report();
        };
        RestoreFileCopy::Result copied =
            RestoreFileCopy::copy(volumeRoot, backupFolder, entry, copyHooks);
        // A write that failed on a volume that is no longer listed failed because it went away.
        if ((copied.outcome == RestoreFileCopy::Outcome::Full ||
             copied.outcome == RestoreFileCopy::Outcome::WriteFailed ||
             copied.outcome == RestoreFileCopy::Outcome::Refused ||
             copied.outcome == RestoreFileCopy::Outcome::ReadBackMismatch) &&
            verdict() == Verdict::Vanished)
            copied.outcome = RestoreFileCopy::Outcome::Vanished;

        switch (copied.outcome) {
        case RestoreFileCopy::Outcome::Done:
            result.written.append(entry.path);
            done = before + entry.size;
            report();
            continue;
        case RestoreFileCopy::Outcome::Cancelled:
            result.cancelled = true;
            return result;
        case RestoreFileCopy::Outcome::Vanished:
            result.why = RestoreFailureText::disconnected(result.written);
            return result;
        case RestoreFileCopy::Outcome::Full:
            result.why = RestoreFailureText::volumeFull(stillToWrite,
                                                        qMax<qint64>(0, freeSpace(volumeRoot)));
            return result;
        case RestoreFileCopy::Outcome::WriteFailed:
            result.why = RestoreFailureText::writeRefused(entry.path, copied.systemText);
            return result;
        case RestoreFileCopy::Outcome::Refused:
            result.why = RestoreFailureText::refusedBySystem(entry.path, copied.systemText);
            return result;
        case RestoreFileCopy::Outcome::NotAFolder:
            result.why = RestoreFailureText::notAFolder(entry.path);
            return result;
        case RestoreFileCopy::Outcome::BackupChanged:
            result.why = RestoreFailureText::backupChangedDuringRestore(entry.path);
            return result;
        case RestoreFileCopy::Outcome::ReadBackMismatch:
            result.why = RestoreFailureText::readBackMismatch(entry.path);
            return result;
        }
    }
    result.ok = true;
    return result;
}
