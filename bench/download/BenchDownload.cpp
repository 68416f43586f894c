// Downloads an update file over HTTPS with the Downloader and with `curl -o F URL && sync`,
// in alternating rounds, and prints wall times and the peak resident memory growth of the
// Downloader. The server is either one given with --base (nginx, started by
// scripts/bench.sh) or the project's own release server in a child process, so that its
// buffers never count towards the Downloader's memory.
//
// Usage: bench_download [--base URL --ca FILE] [--size MIB] [--rounds N]
//        bench_download --prepare FOLDER MIB   (writes the served files for a server)
// The last line is one row for scripts/bench.sh: "ROW|download <size>|ours|theirs|ratio|note".

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSslConfiguration>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "AppFolders.h"
#include "BenchFigures.h"
#include "BenchMemory.h"
#include "download/full/Downloader.h"
#include "ReleaseServer.h"

namespace {

constexpr qint64 kMiB = 1024 * 1024;

QString fileNameFor(qint64 mib)
{
    return QStringLiteral("tavlo_bench_%1.tvq").arg(mib);
}

// FOLDER/releases/releases.json and the update file it names, with its size and SHA-256.
bool prepare(const QString& folder, qint64 mib)
{
    const QString releases = folder + QStringLiteral("/releases");
    QDir().mkpath(releases);
    const QString name = fileNameFor(mib);
    QFile file(releases + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray block(kMiB, Qt::Uninitialized);
    for (qint64 written = 0; written < mib * kMiB; written += block.size()) {
        for (qsizetype i = 0; i < block.size(); ++i)
            block[i] = char(((written + i) * 131) >> 7);
        hash.addData(block);
        if (file.write(block) != block.size())
            return false;
    }
    QFile catalogue(releases + QStringLiteral("/releases.json"));
    if (!catalogue.open(QIODevice::WriteOnly))
        return false;
    catalogue.write(QStringLiteral("[{\"file_name\":\"%1\",\"version\":\"9.0.0\","
                                   "\"total_file_size\":\"%2\",\"sha256\":\"%3\"}]")
                        .arg(name)
                        .arg(mib * kMiB)
                        .arg(QString::fromLatin1(hash.result().toHex()))
                        .toUtf8());
    return true;
}

int serve(const QString& folder)
{
    ReleaseServer server;
    server.serveFolder(folder + QStringLiteral("/releases"));
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
    double cpuSeconds = -1;  // user and system time, all threads (curl: it and sh and sync)
    bool ok = false;
};


Run runDownloader(const QUrl& base, const QString& target, qint64 size, long* progressReports)
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
    QObject::connect(&downloader, &Downloader::failureReasonChanged, [&](const QString& why) {
        if (!why.isEmpty())
            std::fprintf(stderr, "Downloader: %s\n", qPrintable(why));
    });
    QElapsedTimer sinceStart;
    qint64 firstMs = -1, lastMs = -1;
    QObject::connect(&downloader, &Downloader::downloadingProgressBar, [&](qlonglong percent) {
        ++*progressReports;
        if (firstMs < 0)
            firstMs = sinceStart.elapsed();
        if (percent >= 100 && lastMs < 0)
            lastMs = sinceStart.elapsed();
    });
    downloader.fetchReleasesJson();
    if (!waitUntil([&] { return haveCatalogue; }, 10000))
        return run;

    const bool peakReset = BenchMemory::resetPeak();
    const qint64 baseline = BenchMemory::statusKib("VmRSS");
    QElapsedTimer timer;
    const double cpuBefore = BenchMemory::cpuSeconds();
    timer.start();
    sinceStart.start();
    downloader.downloadFile();
    if (!waitUntil([&] { return finished; }, 600000))
        return run;
    run.seconds = timer.nsecsElapsed() / 1e9;
    run.cpuSeconds = BenchMemory::cpuSeconds() - cpuBefore;
    if (qEnvironmentVariableIsSet("BENCH_DETAIL"))
        std::printf("  first body bytes after %lld ms, last after %lld ms, file in place after %.0f ms\n",
                    firstMs, lastMs, run.seconds * 1000);
    if (peakReset)
        run.peakMib = (BenchMemory::statusKib("VmHWM") - baseline) / 1024.0;
    run.ok = run.ok && QFileInfo(target).size() == size;
    return run;
}

// curl -o F URL, followed by sync when withSync (the comparison the table uses).
Run runCurl(const QString& url, const QString& target, qint64 size, bool withSync)
{
    Run run;
    const QString script = withSync ? QStringLiteral("curl -sS --fail -o \"$1\" \"$2\" && sync")
                                    : QStringLiteral("curl -sS --fail -o \"$1\" \"$2\"");
    QProcess curl;
    QElapsedTimer timer;
    const double cpuBefore = BenchMemory::cpuSeconds(true);
    timer.start();
    curl.start(QStringLiteral("sh"), {QStringLiteral("-c"), script, QStringLiteral("sh"), target, url});
    if (!curl.waitForFinished(600000))
        return run;
    run.seconds = timer.nsecsElapsed() / 1e9;
    run.cpuSeconds = BenchMemory::cpuSeconds(true) - cpuBefore;
    run.ok = curl.exitStatus() == QProcess::NormalExit && curl.exitCode() == 0
             && QFileInfo(target).size() == size;
    if (!run.ok)
        std::fprintf(stderr, "curl: %s\n", curl.readAllStandardError().constData());
    return run;
}



}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() >= 4 && arguments.at(1) == QLatin1String("--prepare"))
        return prepare(arguments.at(2), arguments.at(3).toLongLong()) ? 0 : 1;
    if (arguments.size() >= 3 && arguments.at(1) == QLatin1String("--serve"))
        return serve(arguments.at(2));
    const qint64 mib = std::max(1LL, BenchFigures::valueAfter(arguments, "--size", "64").toLongLong());
    const int rounds = std::max(1, BenchFigures::valueAfter(arguments, "--rounds", "3").toInt());
    QUrl base(BenchFigures::valueAfter(arguments, "--base", QString()));
    QString caPath = BenchFigures::valueAfter(arguments, "--ca", QString());
    const qint64 size = mib * kMiB;

    QTemporaryDir work;
    const QString downloads = work.filePath(QStringLiteral("downloads"));
    QDir().mkpath(downloads);
    QProcess server;
    QString serverName = QStringLiteral("nginx");
    if (base.isEmpty()) {
        serverName = QStringLiteral("the project's release server");
        const QString served = work.filePath(QStringLiteral("served"));
        if (!prepare(served, mib))
            return 1;
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--serve"), served});
        if (!server.waitForReadyRead(30000)) {
            std::fprintf(stderr, "the release server did not start\n");
            return 1;
        }
        const QStringList line = QString::fromUtf8(server.readLine()).trimmed().split(' ');
        base = QUrl(line.value(0));
        caPath = line.value(1);
    }
    QFile caFile(caPath);
    if (!base.isValid() || !caFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "no server address or CA certificate\n");
        return 1;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificates(QSslCertificate::fromData(caFile.readAll(), QSsl::Pem));
    QSslConfiguration::setDefaultConfiguration(configuration);
    qputenv("CURL_CA_BUNDLE", QFile::encodeName(caPath));
    qputenv("TMPDIR", QFile::encodeName(downloads));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(downloads));

    // The Downloader's own download folder, under the per-user cache folder.
    const QString target = AppFolders::forThisSystem().downloads + QLatin1Char('/') + fileNameFor(mib);
    QDir().mkpath(QFileInfo(target).path());
    const QString url = base.toString() + QStringLiteral("/releases/") + fileNameFor(mib);

    std::printf("bench_download: %lld MiB over HTTPS from %s (%s), %d rounds\n", mib,
                qPrintable(base.host()), qPrintable(serverName), rounds);
    std::printf("%-6s %-18s %9s %8s %16s\n", "round", "client", "time [s]", "CPU [s]",
                "mem growth [MiB]");
    QList<double> ourTimes, curlSyncTimes, curlTimes, ourPeaks, ourCpu, curlCpu;
    long reports = 0;
    for (int round = 1; round <= rounds; ++round) {
        QFile::remove(target);
        long roundReports = 0;
        const Run ours = runDownloader(base, target, size, &roundReports);
        QFile::remove(target);
        const Run withSync = runCurl(url, target, size, true);
        QFile::remove(target);
        const Run bare = runCurl(url, target, size, false);
        QFile::remove(target);
        if (!ours.ok || !withSync.ok || !bare.ok) {
            std::fprintf(stderr, "round %d failed (Downloader %s, curl %s)\n", round,
                         ours.ok ? "ok" : "failed", withSync.ok && bare.ok ? "ok" : "failed");
            return 1;
        }
        reports = roundReports;
        std::printf("%-6d %-18s %9.3f %8.3f %16.1f\n", round, "Downloader", ours.seconds,
                    ours.cpuSeconds, ours.peakMib);
        std::printf("%-6d %-18s %9.3f %8.3f %16s\n", round, "curl -o F && sync", withSync.seconds,
                    withSync.cpuSeconds, "-");
        std::printf("%-6d %-18s %9.3f %8.3f %16s\n", round, "curl -o F", bare.seconds,
                    bare.cpuSeconds, "-");
        ourCpu << ours.cpuSeconds;
        curlCpu << withSync.cpuSeconds;
        ourTimes << ours.seconds;
        curlSyncTimes << withSync.seconds;
        curlTimes << bare.seconds;
        ourPeaks << ours.peakMib;
    }
    if (server.state() != QProcess::NotRunning) {
        server.kill();
        server.waitForFinished();
    }
    const double ours = BenchFigures::median(ourTimes);
    const double theirs = BenchFigures::median(curlSyncTimes);
    const double peak = *std::max_element(ourPeaks.begin(), ourPeaks.end());
    std::printf("median: Downloader %.3f s, curl && sync %.3f s (ratio %.2f), bare curl %.3f s "
                "(ratio %.2f); %ld progress reports; peak memory growth %.1f MiB\n",
                ours, theirs, ours / theirs, BenchFigures::median(curlTimes), ours / BenchFigures::median(curlTimes), reports,
                peak);
    std::printf("ROW|download %lld MiB, wall / curl -o F URL && sync|%.3f s|%.3f s|%.2f|"
                "<= 1.05; / bare curl %.2f; CPU %.3f s / %.3f s; %s\n",
                mib, ours, theirs, ours / theirs, ours / BenchFigures::median(curlTimes), BenchFigures::median(ourCpu),
                BenchFigures::median(curlCpu), qPrintable(serverName));
    std::printf("ROW|download %lld MiB, peak resident growth|%.1f MiB|-|%.2f x file|<= 16 MiB\n",
                mib, peak, peak / double(mib));
    return 0;
}
