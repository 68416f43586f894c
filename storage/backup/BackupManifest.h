#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// What a backup holds, as written beside its files ("manifest.json"): for each file of the
// instrument's volume its path relative to the volume's root (always with "/"), its size,
// its modification time and the SHA-256 of its bytes; and of the backup, the firmware the
// instrument ran and when it was made.
//
// A manifest is read back from the user's disk, where anything may have changed it, so
// parse() takes nothing on trust: a path that could reach outside the backup or the volume
// (absolute, "..", a drive letter, a backslash, an empty part, a control character), a
// repeated path, a negative size or a hash that is not 64 hex digits makes the whole
// manifest unusable, with why. Pure.
struct BackupManifest
{
    struct Entry
    {
        QString path;       // relative, "/"-separated, e.g. "projects/Live set 3/pattern 01.tvp"
        qint64 size = 0;
        qint64 modifiedMs = 0; // milliseconds since the epoch, UTC
        QByteArray sha256;  // 64 lower-case hex digits

        bool operator==(const Entry& other) const;
    };

    static constexpr const char* kFileName = "manifest.json";
    static constexpr int kFormat = 1;

    QString firmware;  // as the instrument reported it, e.g. "1.5.2"
    QDateTime created; // UTC
    QList<Entry> entries;

    qint64 totalBytes() const;
    // The entry with this path, or nullptr.
    const Entry* find(const QString& path) const;

    QByteArray toJson() const;
    // The manifest in json, or nothing with why (in plain words, untranslated: for the log and
    // as the detail of a translated sentence).
    static std::optional<BackupManifest> parse(const QByteArray& json, QString* why = nullptr);
    // Whether a relative path read from outside may be used below a root folder (see above).
    static bool isSafeRelativePath(const QString& path);
};
