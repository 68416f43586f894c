#pragma once

#include <QString>

class QDir;

// The built-in example release folder: a catalogue with one entry and its update file.
namespace DemoReleases {

extern const char* const kExampleFileName;
extern const char* const kExampleVersion;
constexpr qint64 kExampleFileSize = 6 * 1024 * 1024;
constexpr qint64 kExamplePieceSize = 256 * 1024;

// Writes releases.json and the update file into the folder; false with a reason in error.
bool writeExample(const QDir& folder, QString* error);

} // namespace DemoReleases
