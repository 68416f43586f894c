#include "LinuxVolumeDismounter.h"

#include "ProcHolders.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QVariantMap>

#include <cerrno>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {
const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kFilesystem = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
constexpr int kQueryTimeoutMs = 10000;
// An unmount may wait for the user to authorise it.
constexpr int kUnmountTimeoutMs = 120000;

// The target of a /proc link; empty when it cannot be read (a process of another user, or one
// that ended meanwhile).
QByteArray linkTarget(const QByteArray& link)
{
    QByteArray target(4096, Qt::Uninitialized);
    const ssize_t length = ::readlink(link.constData(), target.data(), static_cast<size_t>(target.size()));
    if (length <= 0)
        return QByteArray();
    target.truncate(static_cast<int>(length));
    return target;
}

// What /proc tells of each process that can be looked at: its name and its links.
QList<ProcHolders::Process> readProcesses()
{
    QList<ProcHolders::Process> processes;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : pids) {
        bool number = false;
        pid.toLongLong(&number);
        if (!number)
            continue;
        const QByteArray base = QByteArrayLiteral("/proc/") + pid.toLatin1();
        ProcHolders::Process process;
        QFile comm(QString::fromLatin1(base + "/comm"));
        if (comm.open(QIODevice::ReadOnly))
            process.comm = comm.read(256);
        for (const char* link : {"/cwd", "/exe", "/root"})
            process.paths << linkTarget(base + link);
        QDirIterator fds(QString::fromLatin1(base + "/fd"), QDir::Files | QDir::System | QDir::NoDotAndDotDot);
        while (fds.hasNext())
            process.paths << linkTarget(QFile::encodeName(fds.next()));
        processes << process;
    }
    return processes;
}

QString cleanRoot(const QString& path)
{
    return QDir::cleanPath(path);
}

QList<QDBusObjectPath> blockDevices(QDBusConnection& bus)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, QStringLiteral("/org/freedesktop/UDisks2/Manager"),
        QStringLiteral("org.freedesktop.UDisks2.Manager"), QStringLiteral("GetBlockDevices"));
    call << QVariantMap{};
    const QDBusMessage reply = bus.call(call, QDBus::Block, kQueryTimeoutMs);
    QList<QDBusObjectPath> paths;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return paths;
    const QDBusArgument arg = reply.arguments().constFirst().value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
        QDBusObjectPath path;
        arg >> path;
        paths.append(path);
    }
    arg.endArray();
    return paths;
}

// The MountPoints of the Filesystem interface on this object; false when it has none.
bool mountPointsOf(QDBusConnection& bus, const QDBusObjectPath& object, QList<QByteArray>& points)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, object.path(),
                                                       QStringLiteral("org.freedesktop.DBus.Properties"),
                                                       QStringLiteral("Get"));
    call << kFilesystem << QStringLiteral("MountPoints");
    const QDBusMessage reply = bus.call(call, QDBus::Block, kQueryTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    const QVariant value = reply.arguments().constFirst().value<QDBusVariant>().variant();
    if (!value.canConvert<QDBusArgument>())
        return false;
    const QDBusArgument arg = value.value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
        QByteArray point;
        arg >> point;
        points.append(point);
    }
    arg.endArray();
    return true;
}
} // namespace

bool LinuxVolumeDismounter::mountPointsContain(const QList<QByteArray>& mountPoints,
                                               const QString& rootPath)
{
    if (rootPath.isEmpty())
        return false;
    const QString wanted = cleanRoot(rootPath);
    for (QByteArray point : mountPoints) {
        while (point.endsWith('\0'))
            point.chop(1);
        if (!point.isEmpty() && cleanRoot(QFile::decodeName(point)) == wanted)
            return true;
    }
    return false;
}

bool LinuxVolumeDismounter::flushFileSystem(const QString& rootPath)
{
    const int fd = ::open(QFile::encodeName(rootPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool flushed = ::syncfs(fd) == 0;
    ::close(fd);
    return flushed;
}

LinuxVolumeDismounter::Outcome LinuxVolumeDismounter::unmountWithUDisks(const QString& rootPath)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected() || !bus.interface()
        || !bus.interface()->isServiceRegistered(kService).value()) {
        return Outcome::NotManaged;
    }
    const QList<QDBusObjectPath> devices = blockDevices(bus);
    for (const QDBusObjectPath& device : devices) {
        QList<QByteArray> points;
        if (!mountPointsOf(bus, device, points) || !mountPointsContain(points, rootPath))
            continue;
        QDBusMessage call = QDBusMessage::createMethodCall(kService, device.path(), kFilesystem,
                                                           QStringLiteral("Unmount"));
        call << QVariantMap{{QStringLiteral("auth.no_user_interaction"), false}};
        call.setInteractiveAuthorizationAllowed(true);
        const QDBusMessage reply = bus.call(call, QDBus::Block, kUnmountTimeoutMs);
        return reply.type() == QDBusMessage::ReplyMessage ? Outcome::Unmounted : Outcome::Refused;
    }
    return Outcome::NotManaged;
}

bool LinuxVolumeDismounter::dismount(const QString& rootPath)
{
    if (rootPath.isEmpty() || !flushFileSystem(rootPath))
        return false;

    switch (unmountWithUDisks(rootPath)) {
    case Outcome::Unmounted:
        return true;
    case Outcome::Refused:
        return false;
    case Outcome::NotManaged:
        break;
    }

    if (::geteuid() != 0)
        return false;
    int result = 0;
    do {
        result = ::umount2(QFile::encodeName(cleanRoot(rootPath)).constData(), 0);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

QStringList LinuxVolumeDismounter::holders(const QString& rootPath)
{
    if (rootPath.isEmpty())
        return {};
    return ProcHolders::holders(readProcesses(), cleanRoot(rootPath));
}
