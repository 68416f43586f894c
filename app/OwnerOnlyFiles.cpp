#include "OwnerOnlyFiles.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

bool OwnerOnlyFiles::makeFolder(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    const QFileInfo existing(folder);
    if (!existing.exists()) {
        const QString parent = existing.absolutePath();
        if (!QDir().mkpath(parent) || !QDir(parent).mkdir(existing.fileName(), kFolderRights)) {
            // Made by someone else in between is as good, once narrowed below.
            if (!QFileInfo(folder).isDir())
                return false;
        }
    }
    if (!QFileInfo(folder).isDir())
        return false;
    constexpr QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                                          | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    if (QFileInfo(folder).permissions() & others)
        return QFile::setPermissions(folder, kFolderRights);
    return true;
}

std::FILE* OwnerOnlyFiles::openForAppend(const QString& path, Refusal* refusal)
{
    Refusal why = Refusal::None;
#ifdef Q_OS_WIN
    // "N": not inherited by child processes. A reparse point (a symbolic link or junction)
    // at the path is refused.
    const auto* wide = reinterpret_cast<const wchar_t*>(path.utf16());
    const DWORD attributes = GetFileAttributesW(wide);
    std::FILE* file = nullptr;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        why = Refusal::SymbolicLink;
    else if (!(file = _wfopen(wide, L"abN")))
        why = Refusal::CannotOpen;
#else
    const QByteArray name = QFile::encodeName(path);
    std::FILE* file = nullptr;
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW,
                          S_IRUSR | S_IWUSR);
    struct stat status = {};
    if (fd < 0) {
        why = ::lstat(name.constData(), &status) == 0 && S_ISLNK(status.st_mode)
                  ? Refusal::SymbolicLink
                  : Refusal::CannotOpen;
    } else {
        // The umask may have taken more than asked for, or the file was there before.
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)
            && (status.st_mode & 0777) != (S_IRUSR | S_IWUSR))
            ::fchmod(fd, S_IRUSR | S_IWUSR);
        file = ::fdopen(fd, "a");
        if (!file) {
            ::close(fd);
            why = Refusal::CannotOpen;
        }
    }
#endif
    if (refusal)
        *refusal = why;
    return file;
}
