#include "CurlFallback.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include "UpdateFileName.h"

CurlFallback::CurlFallback(QObject* parent) : QObject(parent) {}

QStringList CurlFallback::argumentsFor(const QString& url, const QString& localPath)
{
    return {
        QStringLiteral("-L"),
        QStringLiteral("--fail"),
        QStringLiteral("--proto-redir"),
        QStringLiteral("=https"),
        QStringLiteral("--silent"),
        QStringLiteral("--show-error"),
        QStringLiteral("-o"),
        QDir::toNativeSeparators(localPath),
        QUrl(url, QUrl::TolerantMode).toString(QUrl::FullyEncoded),
    };
}

void CurlFallback::start(const QString& url, const QString& name, const QString& localPath)
{
    emit status(true, tr("Hmm, the download didn\u2019t go through"));

    if (!UpdateFileName::isSafe(name)) {
        qWarning() << "DW: The catalogue's file name cannot be used as a local file name";
        emit unusableFileName(name);
        return;
    }
    if (localPath.isEmpty()) {
        fail(localPath, name,
             tr("there is no temporary folder to download the update into"));
        return;
    }

    // Only the search path is consulted, never the working directory.
    const QString program = QStandardPaths::findExecutable(QStringLiteral("curl"));
    if (program.isEmpty()) {
        fail(localPath, name,
             tr("the program \"curl\" was not found on the search path"));
        return;
    }

    const FileStamp before = stampOf(localPath);
    auto* process = new QProcess(this);
    connect(process, &QProcess::finished, this,
            [this, process, localPath, before](int exitCode, QProcess::ExitStatus exitStatus) {
                onFinished(process, localPath, before, exitCode, exitStatus);
            });
    connect(process, &QProcess::errorOccurred, this,
            [this, process, localPath](QProcess::ProcessError error) {
                // A process that never started sends no finished notification.
                if (error != QProcess::FailedToStart)
                    return;
                fail(localPath, QFileInfo(localPath).fileName(),
                     tr("curl could not be started: %1").arg(process->errorString()));
                process->deleteLater();
            });
    process->start(program, argumentsFor(url, localPath), QIODevice::ReadWrite);
}

CurlFallback::FileStamp CurlFallback::stampOf(const QString& path)
{
    const QFileInfo info(path);
    FileStamp stamp;
    stamp.exists = info.exists();
    if (stamp.exists) {
        stamp.size = info.size();
        stamp.modified = info.lastModified();
    }
    return stamp;
}

void CurlFallback::onFinished(QProcess* process, const QString& path, const FileStamp& before,
                              int exitCode, QProcess::ExitStatus exitStatus)
{
    process->deleteLater();
    if (exitCode == 0 && exitStatus == QProcess::NormalExit) {
        emit status(true, tr("Download completed"));
        emit ended(true, path, QFileInfo(path).fileName());
        return;
    }
    // A curl that fails part-way leaves what it received under the final name; such a file
    // is no update and must not be taken for one later.
    const FileStamp after = stampOf(path);
    if (after.exists
        && (!before.exists || after.size != before.size || after.modified != before.modified)) {
        QFile::remove(path);
    }
    QString reason = QString::fromUtf8(process->readAllStandardError());
    if (reason.trimmed().isEmpty()) {
        reason = exitStatus != QProcess::NormalExit
                     ? tr("curl stopped unexpectedly")
                     : tr("curl exited with code %1").arg(exitCode);
    }
    fail(path, QFileInfo(path).fileName(), reason);
}

void CurlFallback::fail(const QString& path, const QString& name, const QString& reason)
{
    emit status(false, tr("Fallback failed: %1").arg(reason));
    emit ended(false, path, name);
}
