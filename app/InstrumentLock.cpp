#include "InstrumentLock.h"

#include "WiringLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {
const QString kLockName = QStringLiteral("tavlo-instrument.lock");
const QString kHolderName = QStringLiteral("tavlo-instrument.holder");
constexpr int kMaxCommandLength = 16;
} // namespace

InstrumentLock::InstrumentLock(const QString& folder) : folder(folder) {}

InstrumentLock::~InstrumentLock()
{
    if (isHeld)
        QFile::remove(QDir(folder).filePath(kHolderName));
    // The lock file goes with the QLockFile.
}

QString InstrumentLock::path() const
{
    return folder.isEmpty() ? QString() : QDir(folder).filePath(kLockName);
}

QString InstrumentLock::describe(Kind kind, qint64 processId, const QString& command)
{
    if (kind == Kind::Window)
        return QStringLiteral("window %1").arg(processId);
    return QStringLiteral("tavlo %1 %2").arg(processId).arg(command).trimmed();
}

InstrumentLock::Holder InstrumentLock::parse(const QString& line)
{
    Holder holder;
    const QStringList words = line.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 2 || words.size() > 3)
        return holder;
    if (words[0] != QLatin1String("window") && words[0] != QLatin1String("tavlo"))
        return holder;
    bool number = false;
    const qint64 pid = words[1].toLongLong(&number);
    if (!number || pid <= 0)
        return holder;
    holder.processId = pid;
    holder.window = words[0] == QLatin1String("window");
    if (!holder.window && words.size() == 3) {
        const QString& command = words[2];
        const bool letters = std::all_of(command.begin(), command.end(), [](QChar c) {
            return c >= QLatin1Char('a') && c <= QLatin1Char('z');
        });
        if (letters && command.size() <= kMaxCommandLength)
            holder.command = command;
    }
    return holder;
}

QString InstrumentLock::inUseSentence(const Holder& holder)
{
    const QString process = QString::number(holder.processId);
    if (holder.window)
        return QCoreApplication::translate(
                   "InstrumentLock",
                   "Tavlo is already open in another window (process %1). Use that window, or "
                   "close it and try again.").arg(process);
    if (!holder.command.isEmpty())
        return QCoreApplication::translate(
                   "InstrumentLock",
                   "The command \"tavlo %1\" is using Tavlo (process %2). Wait until it has "
                   "ended, then try again.").arg(holder.command, process);
    if (holder.processId > 0)
        return QCoreApplication::translate(
                   "InstrumentLock",
                   "Another program is using Tavlo (process %1). Wait until it has ended, then "
                   "try again.").arg(process);
    return QCoreApplication::translate(
        "InstrumentLock", "Another program is using Tavlo. Wait until it has ended, then try again.");
}

QString InstrumentLock::defaultFolder()
{
#ifdef Q_OS_WIN
    // Windows has no runtime folder (Qt names the user's profile folder, where the lock would
    // be seen): the user's own temporary folder.
    return QStandardPaths::writableLocation(QStandardPaths::TempLocation);
#endif
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    return folder;
}

bool InstrumentLock::acquire(Kind kind, const QString& command)
{
    if (isHeld || folder.isEmpty())
        return true;
    if (!QDir().mkpath(folder)) {
        why = QStringLiteral("the folder %1 could not be made").arg(folder);
        qCWarning(lcWiring, "No lock on the instrument: %s", qPrintable(why));
        return true;
    }
    lock = std::make_unique<QLockFile>(path());
    // A lock is never stale by its age (an update takes minutes); one whose program no
    // longer runs is taken over by QLockFile itself.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        isHeld = true;
        QSaveFile file(QDir(folder).filePath(kHolderName));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(describe(kind, QCoreApplication::applicationPid(), command).toUtf8());
            file.commit();
        }
        qCInfo(lcWiring, "Lock on the instrument taken: %s", qPrintable(path()));
        return true;
    }
    if (lock->error() != QLockFile::LockFailedError) {
        why = QStringLiteral("the lock file %1 could not be written").arg(path());
        qCWarning(lcWiring, "No lock on the instrument: %s", qPrintable(why));
        lock.reset();
        return true;
    }
    qint64 pid = 0;
    QString host;
    QString app;
    lock->getLockInfo(&pid, &host, &app);
    QFile file(QDir(folder).filePath(kHolderName));
    if (file.open(QIODevice::ReadOnly))
        heldBy = parse(QString::fromUtf8(file.read(64)));
    // The line beside the lock belongs to the lock's holder only when their processes agree.
    if (heldBy.processId != pid)
        heldBy = Holder{pid, false, QString()};
    qCInfo(lcWiring, "The instrument is held by process %lld (%s)", pid,
           heldBy.window ? "a window" : "tavlo or another program");
    lock.reset();
    return false;
}
