#include "SimWriteBarrier.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

bool SimWriteBarrier::set(const QString& folder, bool on, QString* why)
{
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    const int code = errno;
    if (fd >= 0)
        ::close(fd);
    if (!done && why)
        *why = QStringLiteral("%1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(code)));
    return done;
#else
    Q_UNUSED(on);
    if (why)
        *why = QStringLiteral("%1: the immutable flag needs Linux").arg(folder);
    return false;
#endif
}

bool SimWriteBarrier::supportedUnder(const QString& parent)
{
    QTemporaryDir probe(QDir(parent).filePath(QStringLiteral("barrier-XXXXXX")));
    if (!probe.isValid() || !set(probe.path(), true))
        return false;
    const bool refuses = !QFile(QDir(probe.path()).filePath(QStringLiteral("x"))).open(QIODevice::WriteOnly);
    set(probe.path(), false);
    return refuses;
}
