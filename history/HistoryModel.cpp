#include "HistoryModel.h"

#include "HistoryLog.h"
#include "HistoryText.h"

HistoryModel::HistoryModel(const HistoryLog& log, QObject* parent)
    : QAbstractListModel(parent), history(log)
{
    reload();
}

int HistoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(records.size());
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= records.size())
        return QVariant();
    const HistoryRecord& record = records.at(index.row());
    switch (role) {
    case DateRole:
        return HistoryText::date(record);
    case Qt::DisplayRole:
    case SummaryRole:
        return HistoryText::summary(record);
    case DetailRole:
        return HistoryText::detail(record);
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> HistoryModel::roleNames() const
{
    return {{DateRole, "dateText"}, {SummaryRole, "summary"}, {DetailRole, "detail"}};
}

QString HistoryModel::emptyText() const
{
    return HistoryText::empty();
}

void HistoryModel::reload()
{
    const int before = int(records.size());
    beginResetModel();
    records = history.read();
    endResetModel();
    if (records.size() != before)
        emit countChanged();
}
