#include "CliUpdateChecks.h"

#include "FirmwareVersion.h"
#include "LocalUpdateFile.h"
#include "ReleaseChoices.h"

CliUpdateChecks::Relation CliUpdateChecks::relation(const QString& installed, const QString& offered)
{
    switch (ReleaseChoices::relation(installed, offered)) {
    case ReleaseChoices::Relation::Newer:
        return Relation::Newer;
    case ReleaseChoices::Relation::Same:
        return Relation::Same;
    case ReleaseChoices::Relation::Older:
        return Relation::Older;
    case ReleaseChoices::Relation::Unknown:
        break;
    }
    return Relation::Unknown;
}

bool CliUpdateChecks::offersTransfer(const QString& installed)
{
    const FirmwareVersion version = FirmwareVersion::parse(installed);
    return version.isValid() && !(version < FirmwareVersion::parse(QStringLiteral("1.5.0")));
}

QString CliUpdateChecks::fileProblem(const QString& path)
{
    return LocalUpdateFile::problem(LocalUpdateFile::pathFrom(path), -1);
}
