#pragma once

#include <QList>
#include <QString>

#include "FirmwareVersion.h"
#include "ReleaseEntry.h"

// One row of the version list: a catalogue entry with its parsed version, and whether it can
// be picked (with the reason in plain words when not).
struct ReleaseChoice
{
    ReleaseEntry entry;
    FirmwareVersion version;
    int catalogueIndex = -1;  // the entry's position in the catalogue
    bool pickable = false;
    QString whyNot;           // empty when pickable
};

// Texts, lists and plain values only: a list moves its rows in memory as they stand.
Q_DECLARE_TYPEINFO(ReleaseChoice, Q_RELOCATABLE_TYPE);

// The catalogue's entries as the version list shows them, newest first. Pure: built from
// parsed entries, no network, no files.
//
// Order: parsable versions newest first (numerically, part by part); entries whose version
// does not parse come last, in catalogue order. An entry can be picked when its version
// parses and it names a usable update file. Of entries with the same version, only the one
// listed last in the catalogue among those that could otherwise be picked stays pickable; the
// others are listed as repeats. The default row is the catalogue's last entry: the update on
// offer when the user picks nothing, whether or not it can be picked.
class ReleaseChoices
{
public:
    enum class Relation { Newer, Same, Older, Unknown };

    static ReleaseChoices from(const QList<ReleaseEntry>& entries);

    const QList<ReleaseChoice>& rows() const { return list; }
    int count() const { return int(list.size()); }
    // The row of the catalogue's last entry; -1 without entries.
    int defaultRow() const { return defaultIndex; }
    // The row showing the catalogue entry at this position; -1 when there is none.
    int rowOf(int catalogueIndex) const;

    // How the offered version stands to the installed one: Newer (an update), Same,
    // Older (a downgrade), or Unknown when either does not parse.
    static Relation relation(const QString& installed, const QString& offered);
    // True when the installed version is at or above the default row's version.
    bool isUpToDate(const QString& installed) const;

private:
    QList<ReleaseChoice> list;
    QList<int> rowByCatalogueIndex;
    int defaultIndex = -1;
};
