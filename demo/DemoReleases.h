#pragma once

#include <QString>

class QDir;

// The built-in example release folder: a catalogue of three releases with release notes
// (the last, kExampleVersion, is the update on offer) and their update files; and an update
// file outside it, for the "local file" run.
namespace DemoReleases {

extern const char* const kExampleFileName;
extern const char* const kExampleVersion;
constexpr qint64 kExampleFileSize = 6 * 1024 * 1024;
constexpr qint64 kExamplePieceSize = 256 * 1024;

extern const char* const kOlderVersion;  // an earlier release, for the "downgrade" run
extern const char* const kLocalFileName;
constexpr qint64 kOlderFileSize = 1024 * 1024;

// Writes releases.json and the update files into the folder; false with a reason in error.
bool writeExample(const QDir& folder, QString* error);
// Writes the update file of the "local file" run into the folder; its path, or empty with
// a reason in error.
QString writeLocalFile(const QDir& folder, QString* error);

} // namespace DemoReleases
