#include "DemoReleases.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

namespace DemoReleases {

const char* const kExampleFileName = "tavlo-firmware-1.6.0.tvq";
const char* const kExampleVersion = "1.6.0";

namespace {

QByteArray image(const QByteArray& title, qint64 size, quint32 seed)
{
    QByteArray firmware;
    firmware.reserve(size);
    firmware.append(title);
    QRandomGenerator generator(seed);
    while (firmware.size() < size) {
        const quint32 word = generator.generate();
        firmware.append(reinterpret_cast<const char*>(&word), sizeof word);
    }
    firmware.truncate(size);
    return firmware;
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        *error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    return true;
}

} // namespace

const char* const kOlderVersion = "1.4.0";
const char* const kLocalFileName = "tavlo-firmware-1.6.1-beta.tvq";

bool writeExample(const QDir& folder, QString* error)
{
    struct Release
    {
        QString version;
        qint64 size;
        QString date;
        QString codeName;
        QString notes;
    };
    const QList<Release> releases{
        {QString::fromLatin1(kOlderVersion), kOlderFileSize, "2026-06-15", "Alder",
         "Steadier MIDI clock at high tempos. The tuner remembers its reference pitch."},
        {"1.5.0", kOlderFileSize, "2026-09-01", "Birch",
         "## 1.5.0\n\n- **Transfer mode**: Tavlo shows its storage as a drive\n"
         "- Projects open faster\n- Fixes a rare hang after a long session"},
        {QString::fromLatin1(kExampleVersion), kExampleFileSize, "2026-11-30", "Demo",
         "## 1.6.0\n\n- New groove library\n- Quieter start-up\n"
         "- See the *manual* for the new **swing** setting"},
    };
    QJsonArray entries;
    quint32 seed = 1400;
    for (const Release& release : releases) {
        const QString name = release.version == QLatin1String(kExampleVersion)
                                 ? QString::fromLatin1(kExampleFileName)
                                 : QStringLiteral("tavlo-firmware-%1.tvq").arg(release.version);
        const QByteArray title = "TAVLO FIRMWARE " + release.version.toLatin1() + " (demo image)\n";
        if (!writeFile(folder.filePath(name), image(title, release.size, seed += 100), error))
            return false;
        entries.append(QJsonObject{{"file_name", name},
                                   {"version", release.version},
                                   {"total_file_size", QString::number(release.size)},
                                   {"release_date", release.date},
                                   {"code_name", release.codeName},
                                   {"uuid", QStringLiteral("00000000-0000-4000-8000-00000000%1").arg(seed)},
                                   {"release_notes", release.notes}});
    }
    return writeFile(folder.filePath(QStringLiteral("releases.json")),
                     QJsonDocument(entries).toJson(), error);
}

QString writeLocalFile(const QDir& folder, QString* error)
{
    const QString path = folder.filePath(QString::fromLatin1(kLocalFileName));
    if (!writeFile(path, image("TAVLO FIRMWARE 1.6.1 beta (demo image)\n", kOlderFileSize, 1610), error))
        return QString();
    return path;
}

} // namespace DemoReleases
