#include "LocalUpdateFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

QString LocalUpdateFile::extension()
{
    return QStringLiteral("tvq");
}

QStringList LocalUpdateFile::nameFilters()
{
    return {QCoreApplication::translate("LocalUpdateFile", "Update files (*.%1)").arg(extension()),
            QCoreApplication::translate("LocalUpdateFile", "All files (*)")};
}

LocalUpdateFile::Facts LocalUpdateFile::inspect(const QString& path)
{
    Facts facts;
    facts.path = path;
    if (path.isEmpty())
        return facts;
    const QFileInfo info(path);
    facts.exists = info.exists();
    facts.isFile = info.isFile();
    if (!facts.isFile)
        return facts;
    QFile file(path);
    facts.readable = file.open(QIODevice::ReadOnly);
    facts.size = facts.readable ? file.size() : info.size();
    return facts;
}

QString LocalUpdateFile::problemWith(const Facts& facts, qint64 volumeCapacity)
{
    const QString name = QFileInfo(facts.path).fileName();
    if (facts.path.isEmpty())
        return QCoreApplication::translate("LocalUpdateFile", "No update file was chosen.");
    if (!facts.exists)
        return QCoreApplication::translate("LocalUpdateFile", "The file %1 is not there any more.")
            .arg(name);
    if (!facts.isFile)
        return QCoreApplication::translate("LocalUpdateFile", "%1 is not a file.").arg(name);
    if (QFileInfo(facts.path).suffix().compare(extension(), Qt::CaseInsensitive) != 0)
        return QCoreApplication::translate("LocalUpdateFile",
                                           "%1 is not an update file: update files end in .%2.")
            .arg(name, extension());
    if (!facts.readable)
        return QCoreApplication::translate("LocalUpdateFile", "The file %1 could not be read.")
            .arg(name);
    if (facts.size <= 0)
        return QCoreApplication::translate("LocalUpdateFile", "The file %1 is empty.").arg(name);
    if (volumeCapacity > 0 && facts.size > volumeCapacity)
        return QCoreApplication::translate("LocalUpdateFile",
                                           "The file %1 (%2) is larger than Tavlo's volume (%3).")
            .arg(name, sizeText(facts.size), sizeText(volumeCapacity));
    return QString();
}

QString LocalUpdateFile::pathFrom(const QString& urlOrPath)
{
    if (urlOrPath.startsWith(QLatin1String("file:"))) {
        const QUrl url(urlOrPath);
        return url.isLocalFile() ? url.toLocalFile() : QString();
    }
    return urlOrPath;
}

QString LocalUpdateFile::sizeText(qint64 bytes)
{
    if (bytes < 1024 * 1024)
        return QCoreApplication::translate("LocalUpdateFile", "%1 bytes").arg(qMax<qint64>(bytes, 0));
    return QCoreApplication::translate("LocalUpdateFile", "%1 MB")
        .arg(QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1));
}
