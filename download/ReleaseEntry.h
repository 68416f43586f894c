#pragma once

#include <QString>
#include <QtGlobal>

// One release as the catalogue describes it. A field the entry lacks, or holds as anything
// but a JSON string, is empty.
struct ReleaseEntry
{
    QString fileName;       // "file_name"
    QString version;        // "version"
    QString totalFileSize;  // "total_file_size", a decimal number written as text
    QString releaseDate;    // "release_date"
    QString codeName;       // "code_name"
    QString uuid;           // "uuid"
    QString sha256;         // "sha256", the update file's SHA-256 in hex (lower case here)
    QString releaseNotes;   // "release_notes", optional: plain text or Markdown
    // "sha256" is there but is no digest (not a text of 64 hex digits, blanks around it and
    // case aside): the entry's file cannot be checked, so it is not downloaded. An absent,
    // null or empty "sha256" is no checksum at all.
    bool checksumUnreadable = false;

    // The update file's size when "total_file_size" is a positive whole number, else -1.
    qint64 expectedSize() const;
    // The digest as an entry keeps it: the given text without blanks around it, in lower
    // case, when that is 64 hex digits; else empty (no checksum).
    static QString digestFrom(const QString& given);
    // True when sha256 holds a well-formed digest (64 hex digits).
    bool hasChecksum() const { return sha256.size() == 64; }

    bool operator==(const ReleaseEntry& other) const
    {
        return fileName == other.fileName && version == other.version
               && totalFileSize == other.totalFileSize && releaseDate == other.releaseDate
               && codeName == other.codeName && uuid == other.uuid && sha256 == other.sha256
               && releaseNotes == other.releaseNotes && checksumUnreadable == other.checksumUnreadable;
    }
};

// Texts and a flag: a list moves its entries in memory as they stand when it grows.
Q_DECLARE_TYPEINFO(ReleaseEntry, Q_RELOCATABLE_TYPE);
