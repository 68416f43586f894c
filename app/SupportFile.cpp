#include "SupportFile.h"

#include "OwnerOnlyFiles.h"
#include "ProxyChoice.h"
#include "ReleaseLocation.h"
#include "SessionLog.h"
#include "UrlCredentials.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <QUrl>

namespace {

// The text of each log line after the "category: " part, for lines of that category.
QStringList messagesOf(const QString& logs, const QString& category, const QString& startsWith)
{
    QStringList found;
    const QString marker = QLatin1Char(' ') + category + QStringLiteral(": ") + startsWith;
    for (const QString& line : logs.split(QLatin1Char('\n'))) {
        const int at = line.indexOf(marker);
        if (at >= 0)
            found << line.mid(at + category.size() + 3);
    }
    return found;
}

QStringList unique(const QStringList& list)
{
    QStringList out;
    for (const QString& item : list)
        if (!out.contains(item))
            out << item;
    return out;
}

QString section(const QString& title, const QString& body)
{
    return QStringLiteral("== %1 ==\n%2\n\n").arg(title, body.isEmpty() ? SupportFile::tr("(none)") : body);
}

} // namespace

SupportFile::SupportFile(QObject* parent) : QObject(parent) {}

SupportFile::Facts SupportFile::gather(const QString& logFolder, int sessions)
{
    Facts facts;
    facts.program = QCoreApplication::applicationName() + QLatin1Char(' ')
                    + QCoreApplication::applicationVersion();
    facts.qtVersion = QStringLiteral("%1 (built with %2)").arg(QLatin1String(qVersion()),
                                                              QLatin1String(QT_VERSION_STR));
    facts.system = QStringLiteral("%1, %2 %3, %4")
                       .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(),
                            QSysInfo::kernelVersion(), QSysInfo::currentCpuArchitecture());
    facts.proxy = ProxyChoice::forReleaseServer(ReleaseLocation::defaultServer()).hostAndPort();
    const QStringList files = SessionLog::sessionFiles(logFolder);
    for (int i = 0; i < files.size() && i < sessions; ++i) {
        QFile file(files.at(i));
        if (file.open(QIODevice::ReadOnly))
            facts.sessionLogs << QFileInfo(file).fileName() + QLatin1Char('\n')
                                     + QString::fromUtf8(file.readAll());
    }
    return facts;
}

QStringList SupportFile::portsSeen(const QString& logs)
{
    return unique(messagesOf(logs, QStringLiteral("tavlo.device"), QStringLiteral("Instrument ports")));
}

QStringList SupportFile::midiProblemsSeen(const QString& logs)
{
    return unique(messagesOf(logs, QStringLiteral("tavlo.device"), QStringLiteral("MIDI problem: ")))
        .replaceInStrings(QRegularExpression(QStringLiteral("^MIDI problem: ")), QString());
}

QStringList SupportFile::volumesSeen(const QString& logs)
{
    return unique(messagesOf(logs, QStringLiteral("tavlo.storage"), QStringLiteral("Volume ")));
}

QString SupportFile::lastCatalogue(const QString& logs)
{
    // The catalogue line and its continuation lines (indented by the log).
    const QString marker = QStringLiteral(" tavlo.download: Catalogue read");
    const int at = logs.lastIndexOf(marker);
    if (at < 0)
        return QString();
    QStringList lines;
    const QStringList rest = logs.mid(at + 17).split(QLatin1Char('\n'));
    for (int i = 0; i < rest.size(); ++i) {
        if (i > 0 && !rest.at(i).startsWith(QLatin1String("    ")))
            break;
        lines << (i == 0 ? rest.at(i) : rest.at(i).mid(4));
    }
    return lines.join(QLatin1Char('\n'));
}

QString SupportFile::compose(const Facts& facts)
{
    // Oldest first, so the ports and volumes come in the order they were seen.
    QString all;
    for (auto it = facts.sessionLogs.crbegin(); it != facts.sessionLogs.crend(); ++it)
        all += *it + QLatin1Char('\n');
    QString text = tr("Tavlo support file") + QLatin1Char('\n')
                   + tr("Written %1").arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODate))
                   + QStringLiteral("\n\n");
    text += section(tr("Program"), facts.program);
    text += section(tr("Qt"), facts.qtVersion);
    text += section(tr("Operating system"), facts.system);
    text += section(tr("Proxy for the release server"), facts.proxy);
    text += section(tr("MIDI system problems"), midiProblemsSeen(all).join(QLatin1Char('\n')));
    text += section(tr("MIDI ports seen"), portsSeen(all).join(QLatin1Char('\n')));
    text += section(tr("Volumes seen"), volumesSeen(all).join(QLatin1Char('\n')));
    text += section(tr("Catalogue last read"), lastCatalogue(all));
    // The last check of this session as it was shown, with its time; the checks are not run
    // anew for the file (they would wait for the server and the instrument).
    text += section(tr("Check of this computer"),
                    facts.computerReport.isEmpty()
                        ? tr("Not run in this session (\"Check this computer…\" in the window's menu).")
                        : facts.computerReport.trimmed());
    for (const QString& log : facts.sessionLogs) {
        const int end = log.indexOf(QLatin1Char('\n'));
        text += section(tr("Session log %1").arg(log.left(end)), log.mid(end + 1).trimmed());
    }
    // A log written before addresses lost their user part in the log has it removed here.
    return UrlCredentials::removedFrom(text);
}

void SupportFile::setComputerReport(const QString& text)
{
    if (text == report)
        return;
    report = text;
    Q_EMIT computerReportChanged();
}

QString SupportFile::suggestedName() const
{
    return QStringLiteral("tavlo-support-%1.txt")
        .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm")));
}

QString SupportFile::existingFolder(const QStringList& candidates)
{
    for (const QString& folder : candidates) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    }
    return candidates.isEmpty() ? QString() : candidates.constLast();
}

QUrl SupportFile::suggestedFolder() const
{
    return QUrl::fromLocalFile(existingFolder({QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                                               QDir::homePath()}));
}

QUrl SupportFile::suggestedFile() const
{
    return QUrl::fromLocalFile(suggestedFolder().toLocalFile() + QLatin1Char('/') + suggestedName());
}

bool SupportFile::exists(const QString& urlOrPath) const
{
    const QUrl url(urlOrPath);
    return QFileInfo::exists(url.isLocalFile() ? url.toLocalFile() : urlOrPath);
}

bool SupportFile::save(const QString& urlOrPath)
{
    const QUrl url(urlOrPath);
    const QString path = url.isLocalFile() ? url.toLocalFile() : urlOrPath;
    QSaveFile file(path);
    Facts facts = gather(SessionLog::defaultFolder());
    facts.computerReport = report;
    const QByteArray bytes = compose(facts).toUtf8();
    // The user's alone, like the logs it is made of, whatever the umask or an older file's
    // rights.
    const bool ok = !path.isEmpty() && file.open(QIODevice::WriteOnly)
                    && file.setPermissions(OwnerOnlyFiles::kFileRights)
                    && file.write(bytes) == bytes.size() && file.commit();
    result = ok ? tr("The support file was saved as %1.").arg(QDir::toNativeSeparators(path))
                : tr("The support file could not be saved as %1.").arg(QDir::toNativeSeparators(path));
    Q_EMIT lastResultChanged();
    return ok;
}
