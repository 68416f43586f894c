#include "WriteRefusal.h"

#include <QDir>
#include <QFile>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Error numbers spelled out, so that both tables are plain numbers on every system.
constexpr int kEperm = 1, kEacces = 13, kEnospc = 28, kErofs = 30, kEdquot = 122;
constexpr unsigned long kAccessDenied = 5, kWriteProtect = 19, kHandleDiskFull = 39,
                        kDiskFull = 112, kVirusInfected = 225, kVirusDeleted = 226;

QString probeName()
{
#ifdef _WIN32
    const unsigned long pid = GetCurrentProcessId();
#else
    const unsigned long pid = static_cast<unsigned long>(getpid());
#endif
    return QStringLiteral(".tavlo-write-check-%1").arg(pid);
}

} // namespace

WriteRefusal::Kind WriteRefusal::kindOfErrno(int code)
{
    switch (code) {
    case 0: return Kind::None;
    case kEperm:
    case kEacces: return Kind::AccessDenied;
    case kErofs: return Kind::ReadOnly;
    case kEnospc:
    case kEdquot: return Kind::Full;
    default: return Kind::Other;
    }
}

WriteRefusal::Kind WriteRefusal::kindOfWindowsError(unsigned long code)
{
    switch (code) {
    case 0: return Kind::None;
    case kAccessDenied:
    case kVirusInfected:
    case kVirusDeleted: return Kind::AccessDenied;
    case kWriteProtect: return Kind::ReadOnly;
    case kDiskFull:
    case kHandleDiskFull: return Kind::Full;
    default: return Kind::Other;
    }
}

WriteRefusal WriteRefusal::probe(const QString& folder)
{
    WriteRefusal result;
    const QString path = QDir(folder).filePath(probeName());
    QFile::remove(path); // left by an earlier run of the same number, if at all
#ifdef _WIN32
    const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file); // removes it
        return result;
    }
    const DWORD code = GetLastError();
    result.kind = kindOfWindowsError(code);
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                            | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    result.systemText = length > 0 && text ? QString::fromWCharArray(text, int(length)).trimmed()
                                           : QStringLiteral("error %1").arg(code);
    if (text)
        LocalFree(text);
#else
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(name.constData());
        return result;
    }
    const int code = errno;
    result.kind = kindOfErrno(code);
    result.systemText = QString::fromLocal8Bit(std::strerror(code));
#endif
    if (result.kind == Kind::None)
        result.kind = Kind::Other; // the file could not be made, whatever the code said
    return result;
}
