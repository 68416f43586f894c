#pragma once

#include "RestoreFileCopy.h"
#include "RestorePlan.h"

#include <QString>
#include <QStringList>

#include <functional>

// Writes the files of a restore plan onto the instrument's volume, one after the other, each
// by RestoreFileCopy. Before each file it asks whether to go on (a vanished volume, a cancel)
// and whether the volume has room for it. The first failure ends the restore: the file under
// way stays as it was (its temporary copy removed), the files before it are restored, the
// ones after it untouched; the result says which and why.
class RestoreWriter
{
  public:
    using Verdict = RestoreFileCopy::Verdict;

    struct Hooks
    {
        // Asked between two files and during each copy (RestoreFileCopy); none: Continue.
        std::function<Verdict()> check;
        std::function<bool(int fd)> syncFile; // none: FileSync::syncDescriptor
        std::function<void(qint64 done, qint64 total)> progress;
    };

    struct Result
    {
        bool ok = false;
        bool cancelled = false;
        QStringList written; // relative paths, in the order they were restored
        QString why;         // the translated sentence; empty when ok or cancelled
    };

    static Result write(const QString& volumeRoot, const QString& backupFolder,
                        const RestorePlan& plan, const Hooks& hooks = {});
};
