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

bool writeExample(const QDir& folder, QString* error)
{
    QByteArray firmware;
    firmware.reserve(kExampleFileSize);
    firmware.append("TAVLO FIRMWARE 1.6.0 (demo image)\n");
    QRandomGenerator generator(1600);
    while (firmware.size() < kExampleFileSize) {
        const quint32 word = generator.generate();
        firmware.append(reinterpret_cast<const char*>(&word), sizeof word);
    }
    firmware.truncate(kExampleFileSize);

    QFile file(folder.filePath(QString::fromLatin1(kExampleFileName)));
    if (!file.open(QIODevice::WriteOnly) || file.write(firmware) != firmware.size()) {
        *error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    file.close();

    QJsonObject entry{{"file_name", QString::fromLatin1(kExampleFileName)},
                      {"version", QString::fromLatin1(kExampleVersion)},
                      {"total_file_size", QString::number(kExampleFileSize)},
                      {"release_date", "2026-11-30"},
                      {"code_name", "Demo"},
                      {"uuid", "00000000-0000-4000-8000-000000001600"}};
    QFile catalogue(folder.filePath(QStringLiteral("releases.json")));
    const QByteArray json = QJsonDocument(QJsonArray{entry}).toJson();
    if (!catalogue.open(QIODevice::WriteOnly) || catalogue.write(json) != json.size()) {
        *error = QStringLiteral("cannot write %1").arg(catalogue.fileName());
        return false;
    }
    return true;
}

} // namespace DemoReleases
