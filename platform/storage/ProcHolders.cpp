#include "ProcHolders.h"

#include <QFile>

namespace {
// The root as a path without a trailing slash ("/media/u/TAVLO/" is "/media/u/TAVLO").
QByteArray normalisedRoot(const QString& root)
{
    QByteArray path = QFile::encodeName(root);
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}
} // namespace

bool ProcHolders::isOnVolume(const QByteArray& target, const QString& root)
{
    const QByteArray volume = normalisedRoot(root);
    if (volume.isEmpty() || volume == "/" || !target.startsWith('/'))
        return false;
    QByteArray path = target;
    static const QByteArray deleted(" (deleted)");
    if (path.endsWith(deleted))
        path.chop(deleted.size());
    if (!path.startsWith(volume))
        return false;
    return path.size() == volume.size() || path.at(volume.size()) == '/';
}

QString ProcHolders::programName(const QByteArray& comm)
{
    const int end = comm.indexOf('\n');
    const QByteArray line = end < 0 ? comm : comm.left(end);
    QString name;
    for (const QChar ch : QString::fromUtf8(line)) {
        if (ch.category() != QChar::Other_Control && ch != QChar::ReplacementCharacter)
            name.append(ch);
    }
    return name.trimmed();
}

QStringList ProcHolders::holders(const QList<Process>& processes, const QString& root)
{
    QStringList names;
    for (const Process& process : processes) {
        bool holds = false;
        for (const QByteArray& path : process.paths) {
            if (isOnVolume(path, root)) {
                holds = true;
                break;
            }
        }
        if (!holds)
            continue;
        QString name = programName(process.comm);
        if (name.isEmpty())
            name = QStringLiteral("?");
        if (!names.contains(name))
            names << name;
        if (names.size() == kMostNames)
            break;
    }
    return names;
}
