#include "OldFolders.h"

#include "AppFolders.h"
#include "OwnerOnlyFiles.h"
#include "WiringLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kMaxNameTries = 100;

const QDir::Filters kEverything =
    QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;

bool isLink(const QFileInfo& info)
{
    return info.isSymLink() || info.isJunction();
}

class Tidy
{
public:
    explicit Tidy(const AppFolders& folders) : folders(folders) {}

    void root(const QString& path)
    {
        const QFileInfo info(path);
        if (isLink(info) || !info.isDir())
            return; // not there, or not a folder this program made: left alone
        const QStringList names = QDir(path).entryList(kEverything, QDir::Name);
        for (const QString& name : names) {
            if (!OldFolders::isOldProgramFolder(name))
                continue;
            const QString folder = path + QLatin1Char('/') + name;
            const QFileInfo entry(folder);
            if (isLink(entry) || !entry.isDir())
                removeEntry(folder);
            else
                programFolder(folder);
        }
        removeIfEmpty(path);
    }

    OldFolders::Result result;

private:
    void programFolder(const QString& folder)
    {
        moveLogs(folder + QStringLiteral("/logs"));
        for (const char* sub : {"updates", "qmlcache", "cache"})
            removeTree(folder + QLatin1Char('/') + QLatin1String(sub));
        removeIfEmpty(folder);
    }

    void moveLogs(const QString& oldLogs)
    {
        const QFileInfo info(oldLogs);
        if (isLink(info) || (info.exists() && !info.isDir())) {
            removeEntry(oldLogs);
            return;
        }
        if (!info.exists())
            return;
        const QStringList names = QDir(oldLogs).entryList(kEverything, QDir::Name);
        bool folderReady = false;
        for (const QString& name : names) {
            const QString from = oldLogs + QLatin1Char('/') + name;
            const QFileInfo file(from);
            if (isLink(file)) {
                // Never carried over: the support file would read what it points at.
                removeEntry(from);
                continue;
            }
            if (!file.isFile() || !name.startsWith(QLatin1String("session-"))
                || !name.endsWith(QLatin1String(".log")))
                continue;
            if (!folderReady) {
                if (!OwnerOnlyFiles::makeFolder(folders.logs)) {
                    problem(QStringLiteral("The log folder %1 cannot be made; the old logs stay in %2")
                                .arg(folders.logs, oldLogs));
                    return;
                }
                folderReady = true;
            }
            moveLog(from, name);
        }
        removeIfEmpty(oldLogs);
    }

    void moveLog(const QString& from, const QString& name)
    {
        const QDir target(folders.logs);
        for (int n = 0; n < kMaxNameTries; ++n) {
            const QString to = target.filePath(n == 0 ? name : OldFolders::movedName(name, n));
            const QFileInfo taken(to);
            if (taken.exists() || taken.isSymLink())
                continue;
            // QFile::rename never replaces a file that is there by now.
            if (QFile::rename(from, to)) {
                QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
                ++result.logsMoved;
                return;
            }
            if (!QFileInfo::exists(to)) {
                problem(QStringLiteral("The old log %1 cannot be moved to %2").arg(from, to));
                return;
            }
        }
        problem(QStringLiteral("The old log %1 cannot be moved: every name is taken").arg(from));
    }

    // A file or link is removed as itself; a folder with everything below it, never through
    // a link.
    void removeTree(const QString& path)
    {
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink())
            return;
        if (isLink(info) || !info.isDir()) {
            removeEntry(path);
            return;
        }
        const QStringList names = QDir(path).entryList(kEverything, QDir::Name);
        for (const QString& name : names)
            removeTree(path + QLatin1Char('/') + name);
        if (QDir().rmdir(path))
            ++result.entriesRemoved;
        else
            problem(QStringLiteral("The old folder %1 cannot be removed").arg(path));
    }

    void removeEntry(const QString& path)
    {
        const QFileInfo info(path);
        const bool removed = info.isJunction() ? QDir().rmdir(path) : QFile::remove(path);
        if (removed)
            ++result.entriesRemoved;
        else
            problem(QStringLiteral("The old entry %1 cannot be removed").arg(path));
    }

    // Quietly kept when something is left in it (a failure said so already, or it is not ours).
    void removeIfEmpty(const QString& path)
    {
        const QFileInfo info(path);
        if (isLink(info) || !info.isDir() || !QDir(path).isEmpty(kEverything))
            return;
        if (QDir().rmdir(path))
            ++result.entriesRemoved;
        else
            problem(QStringLiteral("The emptied old folder %1 cannot be removed").arg(path));
    }

    void problem(const QString& line)
    {
        result.problems << line;
        qCWarning(lcWiring, "%s", qPrintable(line));
    }

    const AppFolders& folders;
};

} // namespace

OldFolders::Result OldFolders::tidy(const AppFolders& folders)
{
    Tidy tidy(folders);
    if (!folders.oldDataRoot.isEmpty())
        tidy.root(folders.oldDataRoot);
    if (!folders.oldCacheRoot.isEmpty() && folders.oldCacheRoot != folders.oldDataRoot)
        tidy.root(folders.oldCacheRoot);
    if (tidy.result.logsMoved > 0 || tidy.result.entriesRemoved > 0)
        qCInfo(lcWiring, "Old folders tidied up: %d session logs moved to %s, %d entries removed",
               tidy.result.logsMoved, qPrintable(folders.logs), tidy.result.entriesRemoved);
    return tidy.result;
}

bool OldFolders::isOldProgramFolder(const QString& name)
{
    const QString prefix = QStringLiteral("Tavlo Updater");
    if (name == prefix)
        return true;
    const QString versioned = prefix + QStringLiteral(" v");
    return name.size() > versioned.size() && name.startsWith(versioned)
           && name.at(versioned.size()).isDigit();
}

QString OldFolders::movedName(const QString& name, int n)
{
    const QString suffix = QStringLiteral(".log");
    const QString stem = name.endsWith(suffix) ? name.chopped(suffix.size()) : name;
    return stem + QStringLiteral("-moved-%1").arg(n) + suffix;
}
