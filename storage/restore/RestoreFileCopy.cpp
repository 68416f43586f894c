#include "RestoreFileCopy.h"

#include <FileReplace.h>
#include <FileSync.h>
#include <HashAlongside.h>
#include <ReadBackFile.h>
#include <Sha256.h>
#include <WriteRefusal.h>
#include <WriteRefusalText.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

using Outcome = RestoreFileCopy::Outcome;
using Result = RestoreFileCopy::Result;

QString withoutTrailingSlash(const QString& path)
{
    QString clean = QDir::cleanPath(path);
    if (clean.endsWith(QLatin1Char('/')))
        clean.chop(1);
    return clean;
}

// What a failed write or open on the volume means: the volume gone, full, or refused.
Result writeProblem(const QString& root, const QFileDevice& file)
{
    if (!QFileInfo::exists(root))
        return {Outcome::Vanished, {}};
    const QStorageInfo volume(root);
    if (file.error() == QFileDevice::ResourceError ||
        (volume.isValid() && volume.bytesAvailable() >= 0 &&
         volume.bytesAvailable() < RestoreFileCopy::kBlock))
        return {Outcome::Full, {}};
    const WriteRefusal refusal = WriteRefusal::probe(QFileInfo(file.fileName()).absolutePath());
    if (refusal.kind == WriteRefusal::Kind::Full)
        return {Outcome::Full, {}};
    const QString refused =
        WriteRefusalText::sentenceHere(refusal, WriteRefusalText::Place::TavloDrive);
    if (!refused.isEmpty())
        return {Outcome::Refused, refused};
    return {Outcome::WriteFailed, file.errorString()};
}

// The first temporary name in folder that nothing holds (not even a broken link) and that
// is not the file's own name in any case.
QString freeTemporaryName(const QString& folder, const QString& finalName)
{
    for (int n = 0; n < 100; ++n) {
        const QString name = QStringLiteral(".tavlo-restore-%1.tmp").arg(n);
        const QString path = folder + QLatin1Char('/') + name;
        const QFileInfo info(path);
        if (name.compare(finalName, Qt::CaseInsensitive) != 0 && !info.exists() &&
            !info.isSymLink())
            return path;
    }
    return QString();
}

} // namespace

QString RestoreFileCopy::targetPath(const QString& volumeRoot, const QString& relativePath)
{
    if (volumeRoot.isEmpty() || !BackupManifest::isSafeRelativePath(relativePath))
        return QString();
    const QString root = withoutTrailingSlash(volumeRoot);
    const QString joined = QDir::cleanPath(root + QLatin1Char('/') + relativePath);
    if (!joined.startsWith(root + QLatin1Char('/')) || joined.size() <= root.size() + 1)
        return QString();
    return joined;
}

RestoreFileCopy::Result RestoreFileCopy::copy(const QString& volumeRoot,
                                              const QString& backupFolder,
                                              const BackupManifest::Entry& entry,
                                              const Hooks& hooks)
{
    const QString root = withoutTrailingSlash(volumeRoot);
    const QString finalPath = targetPath(root, entry.path);
    if (finalPath.isEmpty())
        return {Outcome::WriteFailed,
                QCoreApplication::translate("RestoreFailureText", "not a path within the volume")};
    if (!QFileInfo::exists(root))
        return {Outcome::Vanished, {}};

    // The folders on the way: made where missing, never entered through a link.
    QStringList made;
    const auto removeMade = [&made] {
        for (auto it = made.crbegin(); it != made.crend(); ++it)
            QDir().rmdir(*it);
    };
    const QStringList parts = entry.path.split(QLatin1Char('/'));
    QString folder = root;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        folder += QLatin1Char('/') + parts.at(i);
        const QFileInfo info(folder);
        if (info.isSymLink() || info.isJunction() || (info.exists() && !info.isDir())) {
            removeMade();
            return {Outcome::NotAFolder, {}};
        }
        if (info.exists())
            continue;
        if (!QDir().mkdir(folder)) {
            removeMade();
            if (!QFileInfo::exists(root))
                return {Outcome::Vanished, {}};
            return {Outcome::WriteFailed, QCoreApplication::translate(
                                              "RestoreFailureText", "a folder could not be made")};
        }
        made.append(folder);
    }

    QFile source(QDir(backupFolder).filePath(entry.path));
    if (QFileInfo(source.fileName()).isSymLink() ||
        !source.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        removeMade();
        return {Outcome::BackupChanged, {}};
    }

    const QString tempPath = freeTemporaryName(folder, parts.constLast());
    QFile destination(tempPath);
    const auto fail = [&](const Result& result) {
        destination.close();
        if (!tempPath.isEmpty())
            QFile::remove(tempPath);
        removeMade();
        return result;
    };
    // NewOnly: created by this open, so never a file or link that was there.
    if (tempPath.isEmpty() ||
        !destination.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        const Result problem = writeProblem(root, destination);
        destination.close();
        removeMade();
        return problem;
    }

    const auto interrupted = [&]() -> Outcome {
        const Verdict verdict = hooks.check ? hooks.check() : Verdict::Continue;
        if (verdict == Verdict::Cancelled)
            return Outcome::Cancelled;
        return verdict == Verdict::Vanished ? Outcome::Vanished : Outcome::Done;
    };

    // Two buffers in turn: the one just read is hashed on the side while it is written.
    QByteArray blocks[2] = {QByteArray(kBlock, Qt::Uninitialized),
                            QByteArray(kBlock, Qt::Uninitialized)};
    HashAlongside hash;
    int turn = 0;
    qint64 written = 0;
    qint64 nextCheck = kCheckEveryBytes;
    for (;;) {
        if (written >= nextCheck) {
            nextCheck = written + kCheckEveryBytes;
            const Outcome stop = interrupted();
            if (stop != Outcome::Done)
                return fail({stop, {}});
        }
        char* buffer = blocks[turn].data();
        turn ^= 1;
        const qint64 got = source.read(buffer, kBlock);
        if (got < 0)
            return fail({Outcome::BackupChanged, {}});
        if (got == 0)
            break;
        if (written + got > entry.size) // grew since the check
            return fail({Outcome::BackupChanged, {}});
        hash.add(QByteArrayView(buffer, got));
        if (destination.write(buffer, got) != got) {
            const Result problem = writeProblem(root, destination);
            return fail(problem);
        }
        written += got;
        if (hooks.copied)
            hooks.copied(got);
    }
    if (written != entry.size || hash.result().toHex() != entry.sha256.toLower())
        return fail({Outcome::BackupChanged, {}});
    source.close();

    // The time the file had on the instrument; a volume that cannot keep it still gets the file.
    destination.setFileTime(QDateTime::fromMSecsSinceEpoch(entry.modifiedMs, Qt::UTC),
                            QFileDevice::FileModificationTime);
    const bool synced = hooks.syncFile ? hooks.syncFile(destination.handle())
                                       : FileSync::syncDescriptor(destination.handle());
    if (!synced) {
        const Result problem = writeProblem(root, destination);
        return fail(problem.outcome == Outcome::WriteFailed
                        ? Result{Outcome::WriteFailed,
                                 QCoreApplication::translate("RestoreFailureText",
                                                             "the file could not be flushed")}
                        : problem);
    }
    FileSync::dropCachedPages(destination.handle());
    destination.close();

    // What the device gives back must be the backup's file, as the manifest says.
    ReadBackFile readBack(tempPath);
    if (!readBack.openForReadBack())
        return fail(QFileInfo::exists(root) ? Result{Outcome::ReadBackMismatch, {}}
                                            : Result{Outcome::Vanished, {}});
    Sha256 readHash;
    qint64 readSize = 0;
    QByteArray block(kBlock, Qt::Uninitialized);
    for (;;) {
        const qint64 got = readBack.read(block.data(), kBlock);
        if (got < 0) {
            readBack.close();
            return fail(QFileInfo::exists(root) ? Result{Outcome::ReadBackMismatch, {}}
                                                : Result{Outcome::Vanished, {}});
        }
        if (got == 0)
            break;
        readHash.addData(QByteArrayView(block.constData(), got));
        readSize += got;
    }
    readBack.close();
    if (readSize != entry.size || readHash.result().toHex() != entry.sha256.toLower())
        return fail({Outcome::ReadBackMismatch, {}});

    const Outcome stop = interrupted();
    if (stop != Outcome::Done)
        return fail({stop, {}});
    // The replace takes UTF-8 names on every system, as the read-back does.
    if (!FileReplace::replace(tempPath.toUtf8().constData(), finalPath.toUtf8().constData())) {
        if (!QFileInfo::exists(root))
            return fail({Outcome::Vanished, {}});
        return fail({Outcome::WriteFailed,
                     QCoreApplication::translate("RestoreFailureText",
                                                 "the file could not be put in place")});
    }
    // The rename is done: the file is the backup's as far as the system knows. A volume that
    // went away meanwhile is seen at the next check.
    FileSync::syncDirectory(QFile::encodeName(folder).constData());
    return {Outcome::Done, {}};
}
