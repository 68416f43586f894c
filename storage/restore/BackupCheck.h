#pragma once

#include <BackupManifest.h>

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Whether a backup folder still holds what its manifest says, before anything is restored
// from it. Reads the manifest (BackupManifest::parse, which refuses a path that could reach
// outside the folder), then every file it names: one that is missing, is not a plain file (a
// link, a folder), has another size or another SHA-256 is listed, in the manifest's order.
// Files the manifest does not name are ignored. Works on the folder alone.
class BackupCheck
{
  public:
    enum class Outcome
    {
        Ok,
        ManifestMissing,
        ManifestBroken,
        FilesDiffer,
        Cancelled
    };

    struct Result
    {
        Outcome outcome = Outcome::ManifestMissing;
        std::optional<BackupManifest> manifest; // when it could be read
        QStringList badFiles;                   // FilesDiffer: the relative paths
        QString detail;                         // ManifestBroken: why, untranslated

        bool ok() const { return outcome == Outcome::Ok; }
        // The translated sentence of a failure; empty when ok or cancelled.
        QString sentence() const;
    };

    // The manifest as Result: Ok with it, ManifestMissing or ManifestBroken.
    static Result readManifest(const QString& folder);
    // The manifest and every file it names. cancelled is asked between two files.
    static Result run(const QString& folder, const std::function<bool()>& cancelled = {});
    // Whether the file at path is a plain file (not through a link) with size and SHA-256
    // (lower-case hex).
    static bool fileMatches(const QString& path, qint64 size, const QByteArray& sha256);

    // The largest manifest read (a larger one counts as broken).
    static constexpr qint64 kLargestManifest = 64 * 1024 * 1024;
};
