#include "CliUpdateChecks.h"

#include <QFile>
#include <QFileInfo>

namespace {
QList<int> partsOf(const QString& version, bool* ok)
{
    QList<int> parts;
    *ok = !version.trimmed().isEmpty();
    for (const QString& part : version.trimmed().split(QLatin1Char('.'))) {
        bool number = false;
        parts << part.toInt(&number);
        *ok = *ok && number;
    }
    return parts;
}
} // namespace

CliUpdateChecks::Relation CliUpdateChecks::relation(const QString& installed, const QString& offered)
{
    bool okA = false;
    bool okB = false;
    const QList<int> a = partsOf(installed, &okA);
    const QList<int> b = partsOf(offered, &okB);
    if (!okA || !okB)
        return Relation::Unknown;
    for (int i = 0; i < qMax(a.size(), b.size()); ++i) {
        const int x = i < a.size() ? a.at(i) : 0;
        const int y = i < b.size() ? b.at(i) : 0;
        if (x != y)
            return y > x ? Relation::Newer : Relation::Older;
    }
    return Relation::Same;
}

bool CliUpdateChecks::offersTransfer(const QString& installed)
{
    const Relation r = relation(QStringLiteral("1.5.0"), installed);
    return r == Relation::Same || r == Relation::Newer;
}

QString CliUpdateChecks::fileProblem(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return tr("The update file %1 does not exist.").arg(path);
    if (!info.isFile())
        return tr("%1 is not a file.").arg(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return tr("The update file %1 cannot be read.").arg(path);
    if (info.size() == 0)
        return tr("The update file %1 is empty.").arg(path);
    if (info.suffix().compare(QLatin1String("tvq"), Qt::CaseInsensitive) != 0)
        return tr("%1 is not an update file (they end in .tvq).").arg(path);
    return QString();
}

QString CliUpdateChecks::versionChoiceProblem()
{
    return tr("Picking a version is not available in this build; \"tavlo-cli update\" installs the "
              "latest on offer.");
}
