#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "ReleaseListModel.h"

class QAbstractItemModel;
class UpdateDownload;

// The choices the update screen offers beside "Start Update", the same in both editions: the
// version list (latest preselected), what picking a row means against the installed
// version (update, already installed, downgrade), its release notes, "up to date", and an
// update file from the computer. Works on the edition's UpdateDownload: a picked row
// becomes the entry it fetches, a checked local file is handed on as if just downloaded, so
// the mode switch, copy, eject and finish are the usual ones.
class UpdateChoices : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QAbstractItemModel* versions READ versions CONSTANT)
    Q_PROPERTY(int count READ count NOTIFY listChanged)
    // The row of the update on offer without a choice (the catalogue's last entry); -1.
    Q_PROPERTY(int defaultRow READ defaultRow NOTIFY listChanged)
    Q_PROPERTY(QString latestVersion READ latestVersion NOTIFY listChanged)
    Q_PROPERTY(QString installedVersion READ installedVersion NOTIFY installedVersionChanged)
    // The instrument has the latest on offer or a newer one.
    Q_PROPERTY(bool upToDate READ upToDate NOTIFY upToDateChanged)
    Q_PROPERTY(QString upToDateText READ upToDateText NOTIFY upToDateChanged)
    Q_PROPERTY(QStringList fileFilters READ fileFilters CONSTANT)

public:
    explicit UpdateChoices(UpdateDownload& download, QObject* parent = nullptr);

    QAbstractItemModel* versions();
    int count() const { return model.choices().count(); }
    int defaultRow() const { return model.choices().defaultRow(); }
    QString latestVersion() const;
    QString installedVersion() const { return installed; }
    bool upToDate() const { return model.choices().isUpToDate(installed); }
    QString upToDateText() const;
    QStringList fileFilters() const;

    // What the row means: version, releaseDate, codeName, notes, notesMarkdown, pickable,
    // relation ("newer", "same", "older", "unknown"), sentence (what installing it does, or
    // why it cannot be picked), actionText (the button's caption) and needsConfirmation.
    Q_INVOKABLE QVariantMap describe(int row) const;
    // Makes a pickable row the update that "Start" fetches; false for any other row.
    Q_INVOKABLE bool choose(int row);
    // Back to the update on offer without a choice.
    Q_INVOKABLE void chooseDefault();
    // The check of a file from the file dialog: ok, problem, name, size, sizeText, and
    // summary (which file and which size would be installed). Nothing is started.
    Q_INVOKABLE QVariantMap checkLocalFile(const QString& urlOrPath) const;
    // Checks the file again and hands it on; empty when it went on, else why not (and
    // nothing reached the instrument).
    Q_INVOKABLE QString installLocalFile(const QString& urlOrPath);

    // Builds the list from catalogue entries (what arrives with catalogueRead()).
    void setEntries(const QList<ReleaseEntry>& entries);
    void setChoices(const ReleaseChoices& choices);

public slots:
    void setInstalledVersion(QString version);

signals:
    void listChanged();
    void installedVersionChanged();
    void upToDateChanged();
    void localFileRefused(QString reason);
    void localFileStarted(QString name, qlonglong size);

private:
    UpdateDownload& download;
    ReleaseListModel model;
    QString installed;
};
