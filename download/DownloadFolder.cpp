#include "DownloadFolder.h"
#include "DownloadLog.h"

#include "AppFolders.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString DownloadFolder::prepare()
{
    return prepareAt(AppFolders::forThisSystem().downloads);
}

QString DownloadFolder::prepareAt(const QString& path)
{
    if (path.isEmpty())
        return QString();
    const QFileInfo existing(path);
    if (existing.isSymLink() || (existing.exists() && !existing.isDir())) {
        qCWarning(lcDownload) << "DW: The download folder" << path << "is not a plain folder";
        return QString();
    }
    if (!QDir().mkpath(path)) {
        qCWarning(lcDownload) << "DW: Could not create the download folder" << path;
        return QString();
    }
    const QFile::Permissions ownerOnly =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser
        | QFile::WriteUser | QFile::ExeUser;
    if (!QFile::setPermissions(path, ownerOnly)) {
        qCWarning(lcDownload) << "DW: Could not restrict the download folder" << path << "to its owner";
        return QString();
    }
    return QDir(path).absolutePath();
}
