#pragma once

#include <QAbstractListModel>

#include "ReleaseChoices.h"

// The version list as a model for the window's list view: one row per catalogue entry, in
// ReleaseChoices' order. The view asks only for the rows it shows.
class ReleaseListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        VersionRole = Qt::UserRole + 1,
        ReleaseDateRole,
        CodeNameRole,
        PickableRole,
        InstalledRole,
    };

    explicit ReleaseListModel(QObject* parent = nullptr);

    // Replaces every row at once (a reset, so the view starts again at the top).
    void setChoices(const ReleaseChoices& choices);
    // Marks the rows whose version equals the installed one.
    void setInstalledVersion(const QString& version);
    const ReleaseChoices& choices() const { return list; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    ReleaseChoices list;
    FirmwareVersion installed;
};
