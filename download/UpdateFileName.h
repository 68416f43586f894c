#pragma once

#include <QString>

// The update file's name as the catalogue gives it: whether it can be used as a local file
// name, and how it is written as the last segment of the download URL.
class UpdateFileName
{
public:
    // True when the name can be used as a local file name in the download folder as it
    // stands: not empty, not "." or "..", no separator, colon or control character, and no
    // Windows device name (with or without extension, blanks after it included), and short
    // enough that the longest name the download gives it on the way (kLongestSuffix after it)
    // fits every file system's limit of 255 bytes or UTF-16 units.
    static bool isSafe(const QString& name);

    // Room for the longest ending a download adds to the name while it runs (".headers" of
    // curl's answer, 8 bytes; ".resume", ".source", ".part"), with two bytes to spare.
    static constexpr int kLongestSuffix = 10;
    static constexpr int kMaxNameBytes = 255 - kLongestSuffix; // in UTF-8, which is never shorter

    // The name as one URL path segment: '%', '?' and '#' are escaped, everything else is
    // kept as the catalogue gives it.
    static QString encodeForUrl(const QString& name);
};
