// Downloads a 64 MiB update file from the local HTTPS release server, once with the
// Downloader and once with curl, in alternating rounds, and prints wall times and peak
// memory. The server runs in a child process (this program started with --serve) so that
// its buffers do not count towards the Downloader's memory. A bare access manager GET is
// timed as well, as the floor that Qt's HTTP stack sets. Usage: bench_download [rounds];
// BENCH_DETAIL=1 also prints when the first and last body bytes arrived.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSslConfiguration>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

#include "Downloader.h"
#include "ReleaseServer.h"

namespace {

constexpr qint64 kFileSize = qint64(64) * 1024 * 1024;
const QString kFileName = QStringLiteral("tavlo_bench.tvq");

// A field of /proc/self/status in KiB, or -1.
qint64 statusKib(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

bool resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

int serve(const QString& folder)
{
    ReleaseServer server;
    server.serveFolder(folder);
    if (!server.start()) {
        std::fprintf(stderr, "server: %s\n", qPrintable(server.errorText()));
        return 1;
    }
    std::printf("%s %s\n", qPrintable(server.baseUrl().toString()),
                qPrintable(ReleaseServer::caCertificatePath()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

struct Run
{
    double seconds = -1;
    double peakMib = -1;
    bool ok = false;
};

Run runDownloader(const QUrl& base, const QString& target)
{
    Run run;
    Downloader downloader(base);
    bool haveCatalogue = false;
    bool finished = false;
    QObject::connect(&downloader, &Downloader::latestVersionFetched,
                     [&](const QString&) { haveCatalogue = true; });
    QObject::connect(&downloader, &Downloader::setDeviceToTransferMode, [&](bool success) {
        finished = true;
        run.ok = success;
    });
    downloader.fetchReleasesJson();
    if (!waitUntil([&] { return haveCatalogue; }, 10000))
        return run;

    const bool peakReset = resetPeak();
    const qint64 baseline = statusKib("VmRSS");
    QElapsedTimer timer;
    timer.start();
    qint64 firstByteNs = -1, lastByteNs = -1;
    QObject::connect(&downloader, &Downloader::downloadingProgressBar, [&](qlonglong p) {
        if (firstByteNs < 0)
            firstByteNs = timer.nsecsElapsed();
        if (p >= 100)
            lastByteNs = timer.nsecsElapsed();
    });
    downloader.downloadFile();
    if (!waitUntil([&] { return finished; }, 300000))
        return run;
    run.seconds = timer.nsecsElapsed() / 1e9;
    if (qEnvironmentVariableIsSet("BENCH_DETAIL"))
        std::printf("  first byte %.3f s, last byte %.3f s, written %.3f s\n", firstByteNs / 1e9,
                    lastByteNs / 1e9, run.seconds);
    if (peakReset)
        run.peakMib = (statusKib("VmHWM") - baseline) / 1024.0;
    run.ok = run.ok && QFileInfo(target).size() == kFileSize;
    return run;
}

// The same GET with a bare access manager that reads and drops the body: the floor that
// Qt's HTTP stack sets for the Downloader.
Run runBareAccessManager(const QUrl& url)
{
    Run run;
    QNetworkAccessManager manager;
    QElapsedTimer timer;
    timer.start();
    QNetworkReply* reply = manager.get(QNetworkRequest(url));
    qint64 received = 0;
    bool finished = false;
    QObject::connect(reply, &QNetworkReply::readyRead, [&] { received += reply->readAll().size(); });
    QObject::connect(reply, &QNetworkReply::finished, [&] { finished = true; });
    if (!waitUntil([&] { return finished; }, 300000))
        return run;
    run.seconds = timer.nsecsElapsed() / 1e9;
    run.ok = reply->error() == QNetworkReply::NoError && received == kFileSize;
    reply->deleteLater();
    return run;
}

Run runCurl(const QString& url, const QString& target)
{
    Run run;
    // GNU time reports curl's own peak; without it the figure comes from getrusage, which
    // also counts the forked copy of this process before curl replaces it.
    const bool gnuTime = QFileInfo(QStringLiteral("/usr/bin/time")).isExecutable();
    QStringList arguments{QStringLiteral("-L"), QStringLiteral("--fail"),
                          QStringLiteral("--silent"), QStringLiteral("--show-error"),
                          QStringLiteral("-o"), target, url};
    QString program = QStringLiteral("curl");
    if (gnuTime) {
        arguments = QStringList{QStringLiteral("-f"), QStringLiteral("%M"), program} + arguments;
        program = QStringLiteral("/usr/bin/time");
    }
    QProcess curl;
    QElapsedTimer timer;
    timer.start();
    curl.start(program, arguments);
    if (!curl.waitForFinished(300000))
        return run;
    run.seconds = timer.nsecsElapsed() / 1e9;
    const QByteArray errors = curl.readAllStandardError();
    if (gnuTime) {
        run.peakMib = errors.trimmed().split('\n').last().toDouble() / 1024.0;
    } else {
        struct rusage usage {};
        if (getrusage(RUSAGE_CHILDREN, &usage) == 0)
            run.peakMib = usage.ru_maxrss / 1024.0;
    }
    run.ok = curl.exitStatus() == QProcess::NormalExit && curl.exitCode() == 0
             && QFileInfo(target).size() == kFileSize;
    if (!run.ok)
        std::fprintf(stderr, "curl: %s\n", errors.constData());
    return run;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values.at(values.size() / 2);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() >= 3 && arguments.at(1) == QLatin1String("--serve"))
        return serve(arguments.at(2));
    const int rounds = arguments.size() >= 2 ? std::max(1, arguments.at(1).toInt()) : 3;

    QTemporaryDir work;
    const QString served = work.filePath(QStringLiteral("served"));
    const QString downloads = work.filePath(QStringLiteral("downloads"));
    QDir().mkpath(served);
    QDir().mkpath(downloads);
    {
        QFile file(served + QLatin1Char('/') + kFileName);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        QByteArray block(1024 * 1024, Qt::Uninitialized);
        for (qint64 written = 0; written < kFileSize; written += block.size()) {
            for (qsizetype i = 0; i < block.size(); ++i)
                block[i] = char((written + i) * 131 >> 7);
            file.write(block);
        }
        QFile catalogue(served + QStringLiteral("/releases.json"));
        if (!catalogue.open(QIODevice::WriteOnly))
            return 1;
        catalogue.write("[{\"file_name\":\"" + kFileName.toUtf8() + "\",\"version\":\"9.0.0\"}]");
    }

    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--serve"), served});
    if (!server.waitForReadyRead(30000)) {
        std::fprintf(stderr, "the release server did not start\n");
        return 1;
    }
    const QStringList line = QString::fromUtf8(server.readLine()).trimmed().split(' ');
    const QUrl base(line.value(0));
    const QString caPath = line.value(1);
    QFile caFile(caPath);
    if (!base.isValid() || !caFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "unexpected server answer\n");
        return 1;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificates(QSslCertificate::fromData(caFile.readAll(), QSsl::Pem));
    QSslConfiguration::setDefaultConfiguration(configuration);
    qputenv("CURL_CA_BUNDLE", QFile::encodeName(caPath));
    qputenv("TMPDIR", QFile::encodeName(downloads));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(downloads));

    // The Downloader's own download folder, under the per-user cache location.
    const QString target = QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
                           + QStringLiteral("/updates/") + kFileName;
    QDir().mkpath(QFileInfo(target).path());
    const QString url = base.toString() + QStringLiteral("/releases/") + kFileName;
    const double fileMib = kFileSize / (1024.0 * 1024.0);

    std::printf("bench_download: %.0f MiB over HTTPS from 127.0.0.1, %d rounds\n", fileMib, rounds);
    std::printf("%-6s %-11s %9s %14s\n", "round", "client", "time [s]", "peak mem [MiB]");
    QList<double> ourTimes, curlTimes, ourPeaks, curlPeaks, bareTimes;
    for (int round = 1; round <= rounds; ++round) {
        QFile::remove(target);
        const Run ours = runDownloader(base, target);
        QFile::remove(target);
        const Run theirs = runCurl(url, target);
        QFile::remove(target);
        const Run bare = runBareAccessManager(QUrl(url));
        if (!ours.ok || !theirs.ok) {
            std::fprintf(stderr, "round %d failed (Downloader %s, curl %s)\n", round,
                         ours.ok ? "ok" : "failed", theirs.ok ? "ok" : "failed");
            server.kill();
            server.waitForFinished();
            return 1;
        }
        std::printf("%-6d %-11s %9.3f %14.1f\n", round, "Downloader", ours.seconds, ours.peakMib);
        std::printf("%-6d %-11s %9.3f %14.1f\n", round, "curl", theirs.seconds, theirs.peakMib);
        std::printf("%-6d %-11s %9.3f %14s\n", round, "bare QNAM", bare.seconds, "-");
        bareTimes << bare.seconds;
        ourTimes << ours.seconds;
        curlTimes << theirs.seconds;
        ourPeaks << ours.peakMib;
        curlPeaks << theirs.peakMib;
    }
    server.kill();
    server.waitForFinished();

    const double ourTime = median(ourTimes);
    const double curlTime = median(curlTimes);
    const double ourPeak = median(ourPeaks);
    std::printf("median time: Downloader %.3f s, curl %.3f s, ratio %.2f (target <= 1.10)\n",
                ourTime, curlTime, ourTime / curlTime);
    std::printf("median time of a bare access manager GET (no write): %.3f s, ratio to curl %.2f\n",
                median(bareTimes), median(bareTimes) / curlTime);
    std::printf("median peak memory growth of the Downloader: %.1f MiB for a %.0f MiB file, "
                "ratio %.2f (target <= 1.20)\n",
                ourPeak, fileMib, ourPeak / fileMib);
    std::printf("curl's peak resident size: %.1f MiB, Downloader growth / curl peak %.2f\n",
                median(curlPeaks), ourPeak / median(curlPeaks));
    return 0;
}
