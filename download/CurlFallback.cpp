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
#include "PartialFile.h"
#include "ResumeDecision.h"
#include "UpdateFileName.h"

CurlFallback::CurlFallback(QObject* parent) : QObject(parent) {}

QStringList CurlFallback::argumentsFor(const QString& url, const QString& outputPath,
                                       const DownloadTimings& timings, qint64 mostBytes,
                                       qint64 resumeFrom, const QString& validator,
                                       const QString& headerPath, const ProxyChoice& proxy)
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
    if (resumeFrom > 0 && !validator.isEmpty()) {
        // The rest from this byte, appended to the output, and only of the same version of the
        // file: another version comes whole, which curl refuses to append (exit code 33).
        arguments << QStringLiteral("--continue-at") << QString::number(resumeFrom)
                  << QStringLiteral("--header") << QStringLiteral("If-Range: ") + validator;
    }
    if (!headerPath.isEmpty())
        arguments << QStringLiteral("--dump-header") << QDir::toNativeSeparators(headerPath);
    // The proxy: the system's setting handed in, never curl's own reading of the environment.
    arguments << CurlProxyArguments::arguments(proxy);
    // Last, as cancel() finds the output file before the address.
    arguments << QStringLiteral("-o") << QDir::toNativeSeparators(outputPath)
              << QUrl(url, QUrl::TolerantMode).toString(QUrl::FullyEncoded);
    return arguments;
}

QStringList CurlFallback::argumentsFor(const QString& url, const QString& outputPath,
                                       const DownloadTimings& timings, qint64 mostBytes,
                                       const ProxyChoice& proxy)
{
    return argumentsFor(url, outputPath, timings, mostBytes, 0, QString(), QString(), proxy);
}

int CurlFallback::statusIn(const QByteArray& dumpedHeaders, QString* validator)
{
    int status = 0;
    QString etag;
    QString lastModified;
    for (const QByteArray& raw : dumpedHeaders.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith("HTTP/")) {
            // A new response (after a redirect): only the last one counts.
            status = line.split(' ').value(1).toInt();
            etag.clear();
            lastModified.clear();
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = line.left(colon).trimmed().toLower();
        if (name == "etag")
            etag = QString::fromLatin1(line.mid(colon + 1).trimmed());
        else if (name == "last-modified")
            lastModified = QString::fromLatin1(line.mid(colon + 1).trimmed());
    }
    if (validator)
        *validator = ResumeDecision::validatorOf(etag, lastModified);
    return status;
}

bool CurlFallback::brokeOff(int exitCode)
{
    // 18: partial file, 28: too slow or stalled, 52: nothing came back, 55/56: sending or
    // receiving failed, 92: the HTTP/2 stream broke off.
    return exitCode == 18 || exitCode == 28 || exitCode == 52 || exitCode == 55
           || exitCode == 56 || exitCode == 92;
}

QString CurlFallback::partialPathFor(const QString& localPath)
{
    return PartialFile::pathFor(localPath);
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
    program = CurlLocator::find();
    if (program.isEmpty()) {
        fail(localPath, name,
             tr("the program \"curl\" was not found on the search path"),
             QCoreApplication::translate("DownloadFailureText", "The second download route (the program curl) is not installed."));
        return;
    }

    this->localPath = localPath;
    address = QUrl(url, QUrl::TolerantMode).toString(QUrl::FullyEncoded);
    ResumeDecision::Partial kept = PartialFile::readFor(localPath);
    if (kept.size >= expectation.mostBytes())
        kept.size = 0;
    startedAt = ResumeDecision::resumeFrom(kept, address);
    sentValidator = startedAt > 0 ? kept.validator : QString();
    if (startedAt == 0)
        PartialFile::remove(localPath);
    else
        qCInfo(lcDownload) << "DW: curl continues the update file from byte" << startedAt;
    run();
}

void CurlFallback::run()
{
    auto* process = new QProcess(this);
    running = process;
    const QString path = localPath;
    connect(process, &QProcess::finished, this,
            [this, process, path](int exitCode, QProcess::ExitStatus exitStatus) {
                onFinished(process, path, exitCode, exitStatus);
            });
    connect(process, &QProcess::errorOccurred, this,
            [this, process, path](QProcess::ProcessError error) {
                // A process that never started sends no finished notification.
                if (error != QProcess::FailedToStart)
                    return;
                running = nullptr;
                QFile::remove(PartialFile::headersPathFor(path));
                // The partial is as it was: kept when it can be continued.
                const bool kept = keepPartial(path, startedAt > 0, 0, QString());
                const QString reason = QCoreApplication::translate("DownloadFailureText", "The second download route (the program curl) could not be "
                                    "started.");
                fail(path, QFileInfo(path).fileName(),
                     tr("curl could not be started: %1").arg(process->errorString()),
                     kept ? DownloadFailureText::continuesLater(reason) : reason);
                process->deleteLater();
            });
    const QString partial = partialPathFor(path);
    // Made here first: some curl versions crash on a header file they cannot open; without
    // one (no folder to write in) curl meets the same problem with its output and says so.
    QFile headers(PartialFile::headersPathFor(path));
    const bool headersKept = headers.open(QIODevice::WriteOnly | QIODevice::Truncate);
    headers.close();
    qCInfo(lcDownload) << "DW: curl's proxy:" << proxy.description();
    process->start(program,
                   argumentsFor(address, partial, timings, expectation.mostBytes(), startedAt,
                                sentValidator, headersKept ? headers.fileName() : QString(), proxy),
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
    QFile::remove(PartialFile::headersPathFor(localPath));
    PartialFile::remove(localPath);
    process->deleteLater();
}

bool CurlFallback::keepPartial(const QString& path, bool brokeOff, int status, const QString& validator)
{
    // A continued run that met an error page or a refusal appended nothing: the partial is as
    // it was.
    const bool untouched = startedAt > 0 && QFileInfo(partialPathFor(path)).size() == startedAt;
    if (brokeOff || untouched) {
        if (startedAt == 0) {
            // What this run's answer said is the version its bytes belong to.
            if (status == 200 && !validator.isEmpty())
                PartialFile::record(path, validator, address);
            else
                PartialFile::forget(path);
        } else if (!validator.isEmpty() && validator != sentValidator) {
            // Bytes of another version were appended: nothing of it can be continued.
            PartialFile::forget(path);
        }
        if (ResumeDecision::resumeFrom(PartialFile::readFor(path), address) > 0)
            return true;
    }
    PartialFile::remove(path);
    return false;
}

void CurlFallback::onFinished(QProcess* process, const QString& path, int exitCode,
                              QProcess::ExitStatus exitStatus)
{
    running = nullptr;
    process->deleteLater();
    const QString partial = partialPathFor(path);
    QFile headers(PartialFile::headersPathFor(path));
    QString validator;
    const int answer = statusIn(headers.open(QIODevice::ReadOnly) ? headers.read(64 * 1024) : QByteArray(),
                                &validator);
    headers.close();
    headers.remove();
    const bool normal = exitStatus == QProcess::NormalExit;
    if (exitCode == 0 && normal) {
        // The whole file is checked, continued or not.
        const QString mismatch = expectation.problemWithFile(partial);
        if (!mismatch.isEmpty() && startedAt > 0) {
            // The continued file is not the update file: never used, asked for whole once more.
            qCWarning(lcDownload) << "DW: The continued update file fails its check; curl starts again from byte 0";
            PartialFile::remove(path);
            startedAt = 0;
            run();
            return;
        }
        if (!mismatch.isEmpty()) {
            PartialFile::remove(path);
            fail(path, QFileInfo(path).fileName(), mismatch, mismatch);
            return;
        }
        PartialFile::forget(path);
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
    // 33: the server sent the whole file (or another version) instead of the rest; 36: the
    // partial does not fit the file; 416: the rest does not exist. Each: once more from 0.
    if (startedAt > 0 && normal && (exitCode == 33 || exitCode == 36 || answer == 416)) {
        qCInfo(lcDownload) << "DW: The server does not continue the update file (curl code" << exitCode
                           << "); curl starts again from byte 0";
        PartialFile::remove(path);
        startedAt = 0;
        run();
        return;
    }
    // What curl received stays only when it can be continued, under the partial's name.
    const bool kept = keepPartial(path, normal && brokeOff(exitCode), answer, validator);
    const QString errorText = QString::fromUtf8(process->readAllStandardError());
    QString message = errorText;
    if (message.trimmed().isEmpty()) {
        message = !normal ? tr("curl stopped unexpectedly")
                          : tr("curl exited with code %1").arg(exitCode);
    }
    const int code = normal ? exitCode : -1;
    const QString reason = DownloadFailureText::forCurlExit(
        code, errorText, proxy.hostAndPort(),
        CurlProxyArguments::connectAnswer(process->readAllStandardOutput()));
    fail(path, QFileInfo(path).fileName(), message,
         kept ? DownloadFailureText::continuesLater(reason) : reason);
}

void CurlFallback::fail(const QString& path, const QString& name, const QString& message,
                        const QString& reason)
{
    emit failureReason(reason);
    emit status(false, tr("Fallback failed: %1").arg(message));
    emit ended(false, path, name);
}
