#pragma once

#include <QString>

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

    bool operator==(const ReleaseEntry& other) const
    {
        return fileName == other.fileName && version == other.version
               && totalFileSize == other.totalFileSize && releaseDate == other.releaseDate
               && codeName == other.codeName && uuid == other.uuid;
    }
};
