#pragma once

#include "BackupManifest.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

class ReadableFiles;

// One backup of the instrument's volume into a new folder under the backups folder, from
// start to end on the calling thread (see BackupWorker for the whole contract): the listing,
// the copies (or hard links to the newest earlier backup), the manifest, the check that reads
// every copy back, and the rename from "<name>.partial" to the final name. Whatever fails or
// is cancelled, the folder is removed.
class BackupWriter
{
public:
    enum class Stop { None, Cancelled, VolumeGone };

    struct Request
    {
        QString volumeRoot;
        QString backupsRoot;
        QString firmware;
        QDateTime time; // local time the folder is named after
    };

    struct Result
    {
        bool ok = false;
        bool cancelled = false;
        QString folder; // the final folder (ok only)
        int files = 0;
        qint64 bytes = 0;
        qint64 linkedBytes = 0;
        QString why;         // one translated sentence (empty when ok or cancelled)
        QString detail;      // for the log, untranslated
        QStringList leftOut; // what the volume holds that is not backed up, for the log
    };

    // Asked between files and every few blocks: whether to go on. mustLook: the answer must
    // come from a fresh look at the volume (at the end of the copies, and after a failed
    // read or write), else a recent one may do.
    using Check = std::function<Stop(bool mustLook)>;
    using Sized = std::function<void(int files, qint64 bytes)>;
    using Progress = std::function<void(qint64 doneBytes, qint64 totalBytes)>;

    BackupWriter(const ReadableFiles& files, Check check, Sized sized = {}, Progress progress = {});

    Result run(const Request& request);

private:
    struct Run;
    bool prepareFolder(Run& run);
    bool copyFiles(Run& run);
    bool linkFromEarlier(Run& run, const QString& path, qint64 size, qint64 modifiedMs);
    bool syncCopies(Run& run);
    bool writeManifest(Run& run);
    bool verify(Run& run);
    bool finish(Run& run);
    bool stopped(Run& run, Stop stop);
    bool targetFailed(Run& run, const QString& systemText, bool full);

    const ReadableFiles& files;
    Check check;
    Sized sized;
    Progress progress;
};
