#pragma once

#include <VolumeDismounter.h>

#include <QByteArray>
#include <QList>
#include <QString>

// Dismounts a volume on Linux. The file system is flushed first (syncfs on its root). Then
// UDisks2 over the system D-Bus unmounts it when it knows the file system (a desktop user may
// be asked to authorise); without UDisks2, a process running as root unmounts it itself with
// umount2. A busy volume is a failure: there is no lazy detach that would report success
// while the file system is still in use.
class LinuxVolumeDismounter : public VolumeDismounter
{
public:
    bool dismount(const QString& rootPath) override;
    // The programs that have files open or their working folder on the volume, from /proc
    // (the processes this user may look at).
    QStringList holders(const QString& rootPath) override;

    // True when one of UDisks2's MountPoints entries (NUL-terminated byte strings) names the
    // same directory as rootPath.
    static bool mountPointsContain(const QList<QByteArray>& mountPoints, const QString& rootPath);

private:
    enum class Outcome { Unmounted, Refused, NotManaged };
    static Outcome unmountWithUDisks(const QString& rootPath);
    static bool flushFileSystem(const QString& rootPath);
};
