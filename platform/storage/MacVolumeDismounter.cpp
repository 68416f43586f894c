#include "MacVolumeDismounter.h"

#include <QProcess>

bool MacVolumeDismounter::dismount(const QString& rootPath)
{
    if (rootPath.isEmpty())
        return false;
    QProcess diskutil;
    diskutil.start(QStringLiteral("diskutil"), {QStringLiteral("unmount"), rootPath});
    if (!diskutil.waitForFinished(60000)) {
        diskutil.kill();
        diskutil.waitForFinished();
        return false;
    }
    return diskutil.exitStatus() == QProcess::NormalExit && diskutil.exitCode() == 0;
}
