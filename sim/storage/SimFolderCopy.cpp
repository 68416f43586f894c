#include "SimFolderCopy.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {
bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

bool copyFile(const QFileInfo& from, const QString& to, QString* error)
{
    QFile in(from.filePath());
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("Could not read %1: %2").arg(from.filePath(), in.errorString()));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(error, QStringLiteral("Could not create %1: %2").arg(to, out.errorString()));
    QByteArray buffer(1024 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(buffer.data(), buffer.size());
        if (n < 0)
            return fail(error, QStringLiteral("Could not read %1: %2").arg(from.filePath(), in.errorString()));
        if (n == 0)
            break;
        if (out.write(buffer.constData(), n) != n)
            return fail(error, QStringLiteral("Could not write %1: %2").arg(to, out.errorString()));
    }
    if (!out.flush())
        return fail(error, QStringLiteral("Could not write %1: %2").arg(to, out.errorString()));
    out.close();
    if (out.error() != QFileDevice::NoError)
        return fail(error, QStringLiteral("Could not write %1: %2").arg(to, out.errorString()));
    // The mode bits only: the "User" ones tell what this process may do (root: everything)
    // and would give a file with no permissions some.
    const QFileDevice::Permissions mode = from.permissions()
        & (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
           | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
           | QFileDevice::ExeOther);
    if (!QFile::setPermissions(to, mode))
        return fail(error, QStringLiteral("Could not set the permissions of %1.").arg(to));
    return true;
}
} // namespace

bool SimFolderCopy::copyTree(const QString& from, const QString& to, QString* error)
{
    const QDir source(from);
    const QDir target(to);
    if (!source.exists())
        return fail(error, QStringLiteral("The folder %1 is missing.").arg(from));
    if (!target.mkpath(QStringLiteral(".")))
        return fail(error, QStringLiteral("Could not create the folder %1.").arg(to));
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isSymLink())
            continue;
        const QString relative = source.relativeFilePath(info.filePath());
        const QString made = target.filePath(relative);
        if (info.isDir()) {
            if (!target.mkpath(relative))
                return fail(error, QStringLiteral("Could not create the folder %1.").arg(made));
        } else if (!copyFile(info, made, error)) {
            return false;
        }
    }
    return true;
}

bool SimFolderCopy::replaceContent(const QString& folder, const QString& source, QString* error)
{
    const QString incoming = folder + QStringLiteral(".incoming");
    const QString outgoing = folder + QStringLiteral(".outgoing");
    QDir(incoming).removeRecursively();
    QDir(outgoing).removeRecursively();
    if (!copyTree(source, incoming, error)) {
        QDir(incoming).removeRecursively();
        return false;
    }
    QDir parent;
    if (!parent.rename(folder, outgoing)) {
        QDir(incoming).removeRecursively();
        return fail(error, QStringLiteral("Could not move %1 aside.").arg(folder));
    }
    if (!parent.rename(incoming, folder)) {
        parent.rename(outgoing, folder);
        QDir(incoming).removeRecursively();
        return fail(error, QStringLiteral("Could not put the new content in %1.").arg(folder));
    }
    QDir(outgoing).removeRecursively();
    return true;
}
