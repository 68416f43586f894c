#pragma once

#include <QByteArray>
#include <QHash>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// One run of the command-line harness (the program against the simulated instrument and a
// local release server, in a process of its own) with what it printed and the instrument's
// state at its end. The release folder offers the update kVersion and, listed before it, 1.5.5.
class CliProcess
{
public:
    static const char* const kFileName;
    static const char* const kVersion;

    struct Setup
    {
        int instruments = 1;
        QString firmware = QStringLiteral("1.5.2");
        bool server = true;
        bool slowDownload = false;
        QByteArray input;       // written to the program's standard input, which is then closed
        QHash<QString, QString> environment;
    };

    struct Result
    {
        int exitCode = -1;
        bool crashed = false;
        QStringList out;  // standard output, line by line
        QString err;
        QHash<QString, QString> state; // firmware, on_bus, mounted_<label>, files_<label>, applied
    };

    CliProcess();

    // Runs the harness with these words; when interrupt is given, it is asked after every
    // chunk of output whether to send SIGINT now (once).
    Result run(const QStringList& arguments, const Setup& setup,
               const std::function<bool(const QString& out)>& interrupt = {});

    QByteArray updateFile() const { return firmware; }
    QString updateFilePath() const;
    // The earlier release the catalogue lists first, version 1.5.5.
    QByteArray earlierUpdateFile() const;
    QString earlierFilePath() const;
    QString scratch() const { return dir.path(); }
    static QString sha256(const QByteArray& bytes);

private:
    QTemporaryDir dir;
    QByteArray firmware;
};
