#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// One thing the program did to the instrument: a firmware update, a backup of its storage or
// a restore onto it. Kept as one line of the history file (HistoryLine).
//
// The fields that belong to another kind stay empty (or zero). A restore keeps the backup it
// came from in folder and the files it wrote in files.
struct HistoryRecord
{
    enum class Kind { Update, Backup, Restore };

    Kind kind = Kind::Update;
    QDateTime time; // UTC
    // Which instrument: its USB identity ("1D6B:0104"); the instrument has no serial number
    // the program can read.
    QString instrument;

    // An update.
    QString fromVersion;      // the firmware the instrument reported when the update started
    QString toVersion;        // the firmware being installed (empty when not known)
    QString fileName;         // the update file, as read back from the instrument's volume
    QString sha256;           // its SHA-256 in lower-case hex (empty when not read back)
    QString confirmedVersion; // the firmware the instrument reported after the update

    // A backup or a restore.
    QString firmware; // the instrument's firmware at the time
    QString folder;   // the backup's folder (a restore: the backup it restored from)
    int files = 0;    // files copied (a restore: files written)
    qint64 bytes = 0;
    qint64 linkedBytes = 0; // bytes taken over from the backup before instead of copied
    qint64 durationMs = 0;
    QString reason; // why it failed or was cancelled

    // update: "confirmed", "not-applied", "not-confirmed", "failed", "cancelled";
    // backup and restore: "done", "failed", "cancelled".
    QString result;

    static QString kindName(Kind kind);
    // False when name is none of "update", "backup", "restore".
    static bool kindNamed(const QString& name, Kind* kind);
    // The results a record of this kind can have.
    static const QStringList& results(Kind kind);
    // The instrument's key as the records name it.
    static QString instrumentKey();

    bool operator==(const HistoryRecord& other) const;
    bool operator!=(const HistoryRecord& other) const { return !(*this == other); }
};
