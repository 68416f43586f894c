#include "TestEnvironment.h"

#include "AppFolders.h"

#include <QDir>
#include <QFile>

void TestEnvironment::setTempDir(const QString& dir)
{
    qputenv("TMPDIR", QFile::encodeName(dir));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir));
}

QString TestEnvironment::downloadFolder()
{
    return AppFolders::forThisSystem().downloads;
}

QStringList TestEnvironment::downloadedFiles()
{
    QStringList files = filesIn(downloadFolder());
    files.removeIf([](const QString& name) { return name.endsWith(QLatin1String(".source")); });
    return files;
}

void TestEnvironment::writeStandInCurl(const QString& dir, const QByteArray& script)
{
    const QString path = dir + QStringLiteral("/curl");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the stand-in curl");
    file.write(script);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                        | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

QByteArray TestEnvironment::originalSearchPath()
{
    static const QByteArray original = qgetenv("PATH");
    return original;
}

void TestEnvironment::setSearchPath(const QString& dir, bool keepSystemPath)
{
    QByteArray value = QFile::encodeName(dir);
    if (keepSystemPath)
        value += ':' + originalSearchPath();
    qputenv("PATH", value);
}

QStringList TestEnvironment::filesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QByteArray TestEnvironment::readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TestEnvironment::writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

QByteArray TestEnvironment::pattern(qint64 size, char seed)
{
    QByteArray data(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        data[i] = char(seed + (i * 7 + i / 251) % 26);
    return data;
}

QByteArray TestEnvironment::catalogueFor(const QString& name, const QString& version,
                                         const QByteArray& extraFields)
{
    QByteArray escaped = name.toUtf8();
    escaped.replace('\\', "\\\\").replace('"', "\\\"").replace('\n', "\\n").replace('\t', "\\t");
    escaped.replace('\x7f', "\\u007f");
    return "[{\"file_name\":\"" + escaped + "\",\"version\":\"" + version.toUtf8()
           + "\"" + extraFields + "}]";
}

QString TestEnvironment::numberedVersion(int major, int index)
{
    return QStringLiteral("%1.%2.%3").arg(major).arg(index / 100).arg(index % 100);
}

QByteArray TestEnvironment::numberedCatalogue(int count, int entryBytes, int major)
{
    QByteArray json = "[";
    for (int i = 0; i < count; ++i) {
        const QByteArray v = numberedVersion(major, i).toLatin1();
        QByteArray entry = R"({"file_name":"f-)" + v + R"(.tvq","version":")" + v
                           + R"(","total_file_size":"1000","code_name":")";
        entry += QByteArray(qMax(0, entryBytes - int(entry.size()) - 3), 'x') + "\"}";
        json += (i > 0 ? "," : "") + entry;
    }
    return json + "]";
}
