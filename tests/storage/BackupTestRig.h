#pragma once

#include <BackupWorker.h>
#include <SimReadableFiles.h>
#include <SimulatedStorage.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

#include <sys/stat.h>

// The backup tests' rig: the simulated instrument with its transfer volume mounted, a
// temporary home with "Tavlo Backups" in it, a backup run on the test's thread, and small disks
// mounted over the backups folder (as root).
class BackupTestRig
{
public:
    using Tree = QMap<QString, QByteArray>; // path -> bytes; a path ending in "/" is an empty folder
    struct Outcome
    {
        bool ok = false;
        bool cancelled = false;
        QString folder;
        qint64 linkedBytes = 0;
        QString why;
    };

    inline static const QString kLabel = QStringLiteral("TAVLO");

    BackupTestRig()
    {
        backupsRoot = home.path() + QStringLiteral("/Tavlo Backups");
        if (storage.mount(kLabel, 0, SimulatedStorage::transferVolumeOptions()))
            volume = storage.rootPath(kLabel);
    }
    ~BackupTestRig()
    {
        if (!mountedDisk.isEmpty())
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), mountedDisk});
    }

    static QByteArray bytesOf(qsizetype size, char seed)
    {
        QByteArray data(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            data[i] = char(seed + i * 7 + i / 4096);
        return data;
    }

    static bool writeTree(const QString& root, const Tree& tree)
    {
        for (auto it = tree.begin(); it != tree.end(); ++it) {
            const QString path = root + QLatin1Char('/') + it.key();
            const bool folder = it.key().endsWith(QLatin1Char('/'));
            QDir().mkpath(folder ? path : QFileInfo(path).path());
            QFile file(path);
            if (!folder && (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(it.value()) != it.value().size()))
                return false;
        }
        return true;
    }

    static ino_t inodeOf(const QString& path)
    {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
    }

    static QStringList entriesOf(const QString& root)
    {
        return QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    // A tmpfs with these mount options over the backups folder.
    bool mountSmallDisk(const QString& options)
    {
        QDir().mkpath(backupsRoot);
        QProcess mount;
        mount.start(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), options,
                                              QStringLiteral("tavlo-test"), backupsRoot});
        if (!mount.waitForFinished(10000) || mount.exitStatus() != QProcess::NormalExit || mount.exitCode() != 0)
            return false;
        mountedDisk = backupsRoot;
        return true;
    }

    Outcome backUp(const std::function<void(BackupWorker&)>& duringProgress = {}, int waitMs = 2000)
    {
        BackupWorker worker(storage.volumeList(), std::make_shared<SimReadableFiles>(), waitMs);
        Outcome outcome;
        finished = 0;
        QObject::connect(&worker, &BackupWorker::backupFinished,
                         [&](bool ok, bool cancelled, const QString& folder, int, qint64, qint64 linked, const QString& why) {
                             ++finished;
                             outcome = {ok, cancelled, folder, linked, why};
                         });
        if (duringProgress)
            QObject::connect(&worker, &BackupWorker::backupProgress, [&] { duringProgress(worker); });
        worker.backUp(kLabel, backupsRoot, QStringLiteral("1.5.2"));
        return outcome;
    }

    SimulatedStorage storage;
    QTemporaryDir home;
    QString backupsRoot;
    QString volume;
    QString mountedDisk;
    int finished = 0; // reports of the last backUp()
};
