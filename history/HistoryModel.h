#pragma once

#include "HistoryRecord.h"

#include <QAbstractListModel>
#include <QList>

class HistoryLog;

// The history for the window's "History" page, newest first: per row the date, a one-line
// summary and the details (HistoryText). Read from the history file by reload(): when the page
// opens and after each record.
class HistoryModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    Q_PROPERTY(QString emptyText READ emptyText CONSTANT)

public:
    enum Role { DateRole = Qt::UserRole + 1, SummaryRole, DetailRole };

    explicit HistoryModel(const HistoryLog& log, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;
    int count() const { return int(records.size()); }
    QString emptyText() const;

    Q_INVOKABLE void reload();

Q_SIGNALS:
    void countChanged();

private:
    const HistoryLog& history;
    QList<HistoryRecord> records;
};
