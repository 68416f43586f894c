#include "UpdateChoices.h"

#include <QFileInfo>

#include "LocalUpdateFile.h"
#include "ReleaseNotesText.h"
#include "UpdateDownload.h"

namespace {

QString relationName(ReleaseChoices::Relation relation)
{
    switch (relation) {
    case ReleaseChoices::Relation::Newer:
        return QStringLiteral("newer");
    case ReleaseChoices::Relation::Same:
        return QStringLiteral("same");
    case ReleaseChoices::Relation::Older:
        return QStringLiteral("older");
    default:
        return QStringLiteral("unknown");
    }
}

} // namespace

UpdateChoices::UpdateChoices(UpdateDownload& download, QObject* parent)
    : QObject(parent), download(download), model(this)
{
    connect(&download, &UpdateDownload::catalogueRead, this,
            [this] { setChoices(this->download.catalogueChoices()); });
}

QAbstractItemModel* UpdateChoices::versions()
{
    return &model;
}

QString UpdateChoices::latestVersion() const
{
    const int row = defaultRow();
    return row < 0 ? QString() : model.choices().rows().at(row).entry.version;
}

QString UpdateChoices::upToDateText() const
{
    if (!upToDate())
        return QString();
    return tr("Tavlo is up to date: it has %1, the latest on offer is %2.")
        .arg(installed.trimmed(), latestVersion());
}

QStringList UpdateChoices::fileFilters() const
{
    return LocalUpdateFile::nameFilters();
}

void UpdateChoices::setEntries(const QList<ReleaseEntry>& entries)
{
    setChoices(ReleaseChoices::from(entries));
}

void UpdateChoices::setChoices(const ReleaseChoices& choices)
{
    const bool wasUpToDate = upToDate();
    model.setChoices(choices);
    emit listChanged();
    if (wasUpToDate != upToDate() || upToDate())
        emit upToDateChanged();
}

void UpdateChoices::setInstalledVersion(QString version)
{
    if (version == installed)
        return;
    installed = version;
    model.setInstalledVersion(version);
    emit installedVersionChanged();
    emit upToDateChanged();
}

QVariantMap UpdateChoices::describe(int row) const
{
    QVariantMap map;
    if (row < 0 || row >= count())
        return map;
    const ReleaseChoice& choice = model.choices().rows().at(row);
    const QString version = choice.entry.version;
    const ReleaseChoices::Relation relation = ReleaseChoices::relation(installed, version);
    const QString have = installed.trimmed();
    map[QStringLiteral("version")] = version;
    map[QStringLiteral("releaseDate")] = choice.entry.releaseDate;
    map[QStringLiteral("codeName")] = choice.entry.codeName;
    map[QStringLiteral("notes")] = ReleaseNotesText::shown(choice.entry.releaseNotes);
    map[QStringLiteral("notesMarkdown")] =
        ReleaseNotesText::looksLikeMarkdown(choice.entry.releaseNotes);
    map[QStringLiteral("pickable")] = choice.pickable;
    map[QStringLiteral("relation")] = relationName(relation);
    // Without the installed version, a pick older than the latest on offer may go back.
    const bool mayGoBack = relation == ReleaseChoices::Relation::Unknown && choice.version.isValid()
                           && choice.version < FirmwareVersion::parse(latestVersion());
    map[QStringLiteral("needsConfirmation")] =
        choice.pickable && (relation == ReleaseChoices::Relation::Older || mayGoBack);

    QString sentence;
    QString action = tr("Install %1").arg(version);
    if (!choice.pickable) {
        sentence = choice.whyNot;
    } else if (relation == ReleaseChoices::Relation::Same) {
        sentence = tr("%1 is already installed on Tavlo.").arg(version);
        action = tr("Reinstall");
    } else if (relation == ReleaseChoices::Relation::Older) {
        sentence = tr("%1 is older than %2, the version Tavlo has now. Installing it goes back "
                      "to the older firmware.")
                       .arg(version, have);
        action = tr("Install older version");
    } else if (relation == ReleaseChoices::Relation::Newer) {
        sentence = tr("Updates Tavlo from %1 to %2.").arg(have, version);
    } else if (mayGoBack) {
        sentence = tr("%1 is older than the latest on offer, and Tavlo has not told its version "
                      "yet: installing it may go back to an older firmware.")
                       .arg(version);
    } else {
        sentence = tr("Installs %1 on Tavlo.").arg(version);
    }
    map[QStringLiteral("sentence")] = sentence;
    map[QStringLiteral("actionText")] = action;
    return map;
}

bool UpdateChoices::choose(int row)
{
    if (row < 0 || row >= count() || !model.choices().rows().at(row).pickable)
        return false;
    download.choose(model.choices().rows().at(row).entry);
    return true;
}

void UpdateChoices::chooseDefault()
{
    // After a failed check the download reads the catalogue anew, which offers its latest:
    // the rows of the old catalogue are not handed back to it. Nor while a catalogue is being
    // handed on: its last entry is the one on offer when it ends.
    if (download.awaitsCatalogue() || download.handingOnCatalogue())
        return;
    const int row = defaultRow();
    if (row >= 0)
        download.choose(model.choices().rows().at(row).entry);
}

QVariantMap UpdateChoices::checkLocalFile(const QString& urlOrPath) const
{
    const QString path = LocalUpdateFile::pathFrom(urlOrPath);
    const LocalUpdateFile::Facts facts = LocalUpdateFile::inspect(path);
    const QString problem = LocalUpdateFile::problemWith(facts, -1);
    const QString name = QFileInfo(path).fileName();
    QVariantMap map;
    map[QStringLiteral("ok")] = problem.isEmpty();
    map[QStringLiteral("problem")] = problem;
    map[QStringLiteral("path")] = path;
    map[QStringLiteral("name")] = name;
    map[QStringLiteral("size")] = facts.size;
    map[QStringLiteral("sizeText")] = LocalUpdateFile::sizeText(facts.size);
    map[QStringLiteral("summary")] = problem.isEmpty()
                                         ? tr("Installs %1 (%2) from this computer.")
                                               .arg(name, LocalUpdateFile::sizeText(facts.size))
                                         : problem;
    return map;
}

QString UpdateChoices::installLocalFile(const QString& urlOrPath)
{
    // Checked again: the file may have gone or changed since it was chosen.
    const QVariantMap check = checkLocalFile(urlOrPath);
    if (!check.value(QStringLiteral("ok")).toBool()) {
        const QString reason = check.value(QStringLiteral("problem")).toString();
        emit localFileRefused(reason);
        return reason;
    }
    emit localFileStarted(check.value(QStringLiteral("name")).toString(),
                          check.value(QStringLiteral("size")).toLongLong());
    download.useLocalFile(check.value(QStringLiteral("path")).toString());
    return QString();
}
