#include "BackupCopier.h"

#include <FileSync.h>
#include <HashAlongside.h>
#include <ReadBackFile.h>
#include <ReadableFiles.h>

#include <QDateTime>
#include <QFile>
#include <QStorageInfo>

namespace {

BackupCopier::Result failed(BackupCopier::Outcome outcome, const QString& text, bool full = false)
{
    BackupCopier::Result result;
    result.outcome = outcome;
    result.systemText = text;
    result.targetFull = full;
    return result;
}

// A write that failed for want of room: the system says so (ENOSPC), or nothing is left.
bool looksFull(const QFile& file, const QString& path)
{
    if (file.error() == QFileDevice::ResourceError)
        return true;
    QStorageInfo where(path);
    where.refresh();
    return where.isValid() && where.bytesAvailable() < BackupCopier::kBlockSize;
}

} // namespace

BackupCopier::BackupCopier(const ReadableFiles& files, BlockCheck afterBlock)
    : files(files), afterBlock(std::move(afterBlock))
{
}

BackupCopier::Result BackupCopier::copy(const QString& source, const QString& target, qint64 modifiedMs)
{
    QFile in(source);
    QString reason;
    if (!files.openForReading(in, &reason))
        return failed(Outcome::SourceUnreadable, reason);

    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return failed(Outcome::TargetFailed, out.errorString(), looksFull(out, target));

    // Two buffers in turn: the hash reads one while the next block is read into the other.
    QByteArray buffers[2] = {QByteArray(kBlockSize, Qt::Uninitialized), QByteArray(kBlockSize, Qt::Uninitialized)};
    HashAlongside hash;
    Result result;
    int turn = 0;
    auto giveUp = [&](Result why) {
        hash.reset(); // no block is read from any more
        out.close();
        QFile::remove(target);
        return why;
    };
    for (;;) {
        QByteArray& buffer = buffers[turn];
        const qint64 got = in.read(buffer.data(), kBlockSize);
        if (got < 0)
            return giveUp(failed(Outcome::SourceUnreadable, in.errorString()));
        if (got == 0)
            break;
        if (out.write(buffer.constData(), got) != got)
            return giveUp(failed(Outcome::TargetFailed, out.errorString(), looksFull(out, target)));
        hash.add(QByteArrayView(buffer.constData(), got));
        result.bytes += got;
        turn = 1 - turn;
        if (afterBlock && !afterBlock(got))
            return giveUp(failed(Outcome::Stopped, QString()));
    }
    // The time is set after the last write, which would move it again.
    if (!out.setFileTime(QDateTime::fromMSecsSinceEpoch(modifiedMs, Qt::UTC), QFileDevice::FileModificationTime))
        return giveUp(failed(Outcome::TargetFailed, out.errorString()));
    out.close();
    if (out.error() != QFileDevice::NoError)
        return giveUp(failed(Outcome::TargetFailed, out.errorString(), looksFull(out, target)));
    result.sha256Hex = hash.result().toHex();
    return result;
}

bool BackupCopier::syncCopy(const QString& target)
{
    QFile file(target);
    return file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly) && FileSync::syncDescriptor(file.handle());
}

QByteArray BackupCopier::readBack(const QString& target)
{
    ReadBackFile back(target);
    if (!back.openForReadBack())
        return QByteArray();
    // As in copy(): the hash works on one buffer while the next block is read into the other.
    QByteArray buffers[2] = {QByteArray(kBlockSize, Qt::Uninitialized), QByteArray(kBlockSize, Qt::Uninitialized)};
    HashAlongside hash;
    for (int turn = 0;; turn = 1 - turn) {
        const qint64 got = back.read(buffers[turn].data(), kBlockSize);
        if (got < 0) {
            hash.reset();
            return QByteArray();
        }
        if (got == 0)
            break;
        hash.add(QByteArrayView(buffers[turn].constData(), got));
    }
    return hash.result().toHex();
}
