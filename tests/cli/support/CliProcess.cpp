#include "CliProcess.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <csignal>

const char* const CliProcess::kFileName = "tavlo-1.6.0.tvq";
const char* const CliProcess::kVersion = "1.6.0";

CliProcess::CliProcess()
{
    firmware.resize(512 * 1024 + 77);
    quint32 s = 0x1600u;
    for (char& c : firmware) {
        s = s * 1664525u + 1013904223u;
        c = char(s >> 24);
    }
    QDir(dir.path()).mkpath(QStringLiteral("releases"));
    QFile file(updateFilePath());
    file.open(QIODevice::WriteOnly);
    file.write(firmware);
    const QJsonObject entry{{"file_name", QString::fromLatin1(kFileName)},
                            {"version", QString::fromLatin1(kVersion)},
                            {"total_file_size", QString::number(firmware.size())},
                            {"sha256", sha256(firmware)},
                            {"release_date", "2026-11-30"},
                            {"code_name", "Cli"},
                            {"uuid", "00000000-0000-4000-8000-0000000c1100"}};
    // An earlier release listed before it, for picking a version.
    QFile earlierFile(earlierFilePath());
    earlierFile.open(QIODevice::WriteOnly);
    earlierFile.write(earlierUpdateFile());
    const QJsonObject earlier{{"file_name", QStringLiteral("tavlo-1.5.5.tvq")},
                              {"version", QStringLiteral("1.5.5")},
                              {"total_file_size", QString::number(earlierUpdateFile().size())},
                              {"sha256", sha256(earlierUpdateFile())}};
    QFile catalogue(dir.filePath(QStringLiteral("releases/releases.json")));
    catalogue.open(QIODevice::WriteOnly);
    catalogue.write(QJsonDocument(QJsonArray{earlier, entry}).toJson());
}

QString CliProcess::updateFilePath() const
{
    return dir.filePath(QStringLiteral("releases/") + QString::fromLatin1(kFileName));
}

QByteArray CliProcess::earlierUpdateFile() const
{
    return firmware.left(100 * 1024 + 55);
}

QString CliProcess::earlierFilePath() const
{
    return dir.filePath(QStringLiteral("releases/tavlo-1.5.5.tvq"));
}

QString CliProcess::sha256(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

CliProcess::Result CliProcess::run(const QStringList& arguments, const Setup& setup,
                                   const std::function<bool(const QString&)>& interrupt)
{
    static int runs = 0;
    const QString tag = QString::number(++runs);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TAVLO_SIM_INSTRUMENTS"), QString::number(setup.instruments));
    env.insert(QStringLiteral("TAVLO_SIM_FIRMWARE"), setup.firmware);
    if (setup.server)
        env.insert(QStringLiteral("TAVLO_SIM_RELEASES"), dir.filePath(QStringLiteral("releases")));
    env.insert(QStringLiteral("TAVLO_SIM_SLOW"), setup.slowDownload ? QStringLiteral("1") : QString());
    const QString stateFile = dir.filePath(QStringLiteral("state-") + tag);
    env.insert(QStringLiteral("TAVLO_SIM_STATE"), stateFile);
    env.insert(QStringLiteral("XDG_STATE_HOME"), dir.filePath(QStringLiteral("state")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), dir.filePath(QStringLiteral("cache-") + tag));
    env.insert(QStringLiteral("TMPDIR"), dir.path());
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("LANGUAGE"));
    for (auto it = setup.environment.begin(); it != setup.environment.end(); ++it)
        env.insert(it.key(), it.value());

    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TAVLO_CLI_HARNESS), arguments);
    Result result;
    if (!process.waitForStarted(10000))
        return result;
    process.write(setup.input);
    process.closeWriteChannel();
    QByteArray out;
    bool sent = false;
    while (!process.waitForFinished(50)) {
        out += process.readAllStandardOutput();
        if (interrupt && !sent && interrupt(QString::fromUtf8(out))) {
            ::kill(pid_t(process.processId()), SIGINT);
            sent = true;
        }
        if (process.state() == QProcess::NotRunning)
            break;
    }
    out += process.readAllStandardOutput();
    result.crashed = process.exitStatus() != QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    result.err = QString::fromUtf8(process.readAllStandardError());
    QFile state(stateFile);
    if (state.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : state.readAll().split('\n')) {
            const int equals = line.indexOf('=');
            if (equals > 0)
                result.state.insert(QString::fromUtf8(line.left(equals)), QString::fromUtf8(line.mid(equals + 1)));
        }
    }
    return result;
}
