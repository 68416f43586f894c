#include "ReleaseListModel.h"

ReleaseListModel::ReleaseListModel(QObject* parent) : QAbstractListModel(parent) {}

void ReleaseListModel::setChoices(const ReleaseChoices& choices)
{
    beginResetModel();
    list = choices;
    endResetModel();
}

void ReleaseListModel::setInstalledVersion(const QString& version)
{
    installed = FirmwareVersion::parse(version);
    if (list.count() > 0)
        emit dataChanged(index(0), index(list.count() - 1), {InstalledRole});
}

int ReleaseListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : list.count();
}

QVariant ReleaseListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= list.count())
        return QVariant();
    const ReleaseChoice& row = list.rows().at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case VersionRole:
        return row.entry.version;
    case ReleaseDateRole:
        return row.entry.releaseDate;
    case CodeNameRole:
        return row.entry.codeName;
    case PickableRole:
        return row.pickable;
    case InstalledRole:
        return installed.isValid() && row.version.isValid() && row.version == installed;
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> ReleaseListModel::roleNames() const
{
    return {{VersionRole, "version"},
            {ReleaseDateRole, "releaseDate"},
            {CodeNameRole, "codeName"},
            {PickableRole, "pickable"},
            {InstalledRole, "installed"}};
}
