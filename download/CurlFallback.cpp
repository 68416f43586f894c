#include "CurlFallback.h"
#include "DownloadLog.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "CurlLocator.h"
#include "CurlProxyArguments.h"
#include "DownloadFailureText.h"
#include "LocalCopyRecord.h"
#include "UpdateFileName.h"

CurlFallback::CurlFallback(QObject* parent) : QObject(parent) {}

QStringList CurlFallback::argumentsFor(const QString& url, const QString& outputPath,
                                       const DownloadTimings& timings, qint64 mostBytes,
                                       const ProxyChoice& proxy)
{
    QStringList arguments{
        // First, or it is not heeded: no configuration file of the user's (~/.curlrc) is read,
        // so that none of its options (insecure, a proxy, another output) apply.
        QStringLiteral("-q"),
        QStringLiteral("-L"),
        QStringLiteral("--fail"),
        QStringLiteral("--proto"),
        QStringLiteral("=https"),
        QStringLiteral("--proto-redir"),
        QStringLiteral("=https"),
        QStringLiteral("--silent"),
        QStringLiteral("--show-error"),
        QStringLiteral("--connect-timeout"),
        QString::number(timings.curlConnectTimeoutS),
        QStringLiteral("--speed-limit"),
        QString::number(timings.curlSpeedLimitBytes),
        QStringLiteral("--speed-time"),
        QString::number(timings.curlSpeedTimeS),
        // A server announcing more is refused at once, one sending more is cut off.
        QStringLiteral("--max-filesize"),
        QString::number(mostBytes),
    };
    // The proxy: the system's setting handed in, never curl's own reading of the environment.
    arguments << CurlProxyArguments::arguments(proxy);
    // Last, as cancel() finds the output file before the address.
    arguments << QStringLiteral("-o") << QDir::toNativeSeparators(outputPath)
              << QUrl(url, QUrl::TolerantMode).toString(QUrl::FullyEncoded);
    return arguments;
}

QString CurlFallback::partialPathFor(const QString& localPath)
{
    return localPath + QStringLiteral(".curl.part");
}

void CurlFallback::start(const QString& url, const QString& name, const QString& localPath,
                         const UpdateFileCheck& expected)
{
    cancel();
    expectation = expected;
    emit status(true, tr("Hmm, the download didn\u2019t go through"));

    if (!UpdateFileName::isSafe(name)) {
        qCWarning(lcDownload) << "DW: The catalogue's file name cannot be used as a local file name";
        emit unusableFileName(name);
        return;
    }
    if (localPath.isEmpty()) {
        fail(localPath, name,
             tr("there is no temporary folder to download the update into"),
             DownloadFailureText::folderNotWritable());
        return;
    }

    // Only the absolute entries of the search path are consulted, never the working folder.
    const QString program = CurlLocator::find();
    if (program.isEmpty()) {
        fail(localPath, name,
             tr("the program \"curl\" was not found on the search path"),
             QCoreApplication::translate("DownloadFailureText", "The second download route (the program curl) is not installed."));
        return;
    }

    const QString partial = partialPathFor(localPath);
    QFile::remove(partial);
    auto* process = new QProcess(this);
    running = process;
    connect(process, &QProcess::finished, this,
            [this, process, localPath](int exitCode, QProcess::ExitStatus exitStatus) {
                onFinished(process, localPath, exitCode, exitStatus);
            });
    connect(process, &QProcess::errorOccurred, this,
            [this, process, localPath](QProcess::ProcessError error) {
                // A process that never started sends no finished notification.
                if (error != QProcess::FailedToStart)
                    return;
                running = nullptr;
                QFile::remove(partialPathFor(localPath));
                fail(localPath, QFileInfo(localPath).fileName(),
                     tr("curl could not be started: %1").arg(process->errorString()),
                     QCoreApplication::translate("DownloadFailureText", "The second download route (the program curl) could not be "
                                    "started."));
                process->deleteLater();
            });
    qCInfo(lcDownload) << "DW: curl's proxy:" << proxy.description();
    process->start(program, argumentsFor(url, partial, timings, expectation.mostBytes(), proxy),
                   QIODevice::ReadWrite);
    // The proxy's user name and password, if any, as curl's configuration on its standard
    // input; nothing else is read from there.
    process->write(CurlProxyArguments::config(proxy));
    process->closeWriteChannel();
}

void CurlFallback::cancel()
{
    if (!running)
        return;
    QProcess* process = running;
    running = nullptr;
    process->disconnect(this);
    process->kill();
    process->waitForFinished(1000);
    const QStringList arguments = process->arguments();
    if (arguments.size() >= 2)
        QFile::remove(QDir::fromNativeSeparators(arguments.at(arguments.size() - 2)));
    process->deleteLater();
}

void CurlFallback::onFinished(QProcess* process, const QString& path, int exitCode,
                              QProcess::ExitStatus exitStatus)
{
    running = nullptr;
    process->deleteLater();
    const QString partial = partialPathFor(path);
    if (exitCode == 0 && exitStatus == QProcess::NormalExit) {
        const QString mismatch = expectation.problemWithFile(partial);
        if (!mismatch.isEmpty()) {
            QFile::remove(partial);
            fail(path, QFileInfo(path).fileName(), mismatch, mismatch);
            return;
        }
        QFile::remove(LocalCopyRecord::pathFor(path));
        QFile::remove(path);
        if (!QFile::rename(partial, path)) {
            QFile::remove(partial);
            fail(path, QFileInfo(path).fileName(),
                 QStringLiteral("the downloaded file could not be put in place"),
                 DownloadFailureText::folderNotWritable());
            return;
        }
        emit status(true, tr("Download completed"));
        emit ended(true, path, QFileInfo(path).fileName());
        return;
    }
    // Whatever curl received stays under its temporary name only, and goes now.
    QFile::remove(partial);
    const QString errorText = QString::fromUtf8(process->readAllStandardError());
    QString message = errorText;
    if (message.trimmed().isEmpty()) {
        message = exitStatus != QProcess::NormalExit
                      ? tr("curl stopped unexpectedly")
                      : tr("curl exited with code %1").arg(exitCode);
    }
    const int code = exitStatus == QProcess::NormalExit ? exitCode : -1;
    fail(path, QFileInfo(path).fileName(), message,
         DownloadFailureText::forCurlExit(
             code, errorText, proxy.hostAndPort(),
             CurlProxyArguments::connectAnswer(process->readAllStandardOutput())));
}

void CurlFallback::fail(const QString& path, const QString& name, const QString& message,
                        const QString& reason)
{
    emit failureReason(reason);
    emit status(false, tr("Fallback failed: %1").arg(message));
    emit ended(false, path, name);
}
