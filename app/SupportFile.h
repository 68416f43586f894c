#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

// The support file: one plain text file for the maker's support with what they ask first —
// the program and Qt versions, the operating system, the proxy the downloads take, why the MIDI
// system could not be used (when it could not), the MIDI ports and volumes the program saw, the
// release catalogue it last read, and the last session logs as they are. It holds
// nothing of the user's own files (the session logs never do) and no user name or password
// of an address (UrlCredentials), and is saved for the user alone (0600).
//
// The window's "Save support file…" calls save(); compose() and the extraction are pure.
class SupportFile : public QObject
{
    Q_OBJECT
    // What the last save() did, in a sentence for the window.
    Q_PROPERTY(QString lastResult READ lastResult NOTIFY lastResultChanged)
    // The last report of "Check this computer" in this session (with the time it was made in
    // its heading); empty when none was run. The window binds it to the published check.
    Q_PROPERTY(QString computerReport READ computerReport WRITE setComputerReport NOTIFY computerReportChanged)

public:
    struct Facts
    {
        QString program;        // "Tavlo_App 1.3.1"
        QString qtVersion;      // "6.4.2 (built with 6.4.2)"
        QString system;         // "Debian GNU/Linux 12 (bookworm), linux 6.1.0, x86_64"
        // The proxy the downloads from the release server take (ProxyChoice): "host:port",
        // never a user name or password; empty: none (a direct connection).
        QString proxy;
        QStringList sessionLogs; // newest first: "name\ntext"
        QString computerReport;  // the last computer check of this session; empty: none
    };

    explicit SupportFile(QObject* parent = nullptr);

    // The facts of this program and machine, with the session logs of the folder.
    static Facts gather(const QString& logFolder, int sessions = 10);
    // The whole file. Pure.
    static QString compose(const Facts& facts);
    // From the session logs' text: the MIDI ports, the volumes seen, the last catalogue. Pure.
    static QStringList portsSeen(const QString& logs);
    // Why the MIDI system or the instrument's ports could not be used, as the link logged it
    // ("service missing (/dev/snd/seq: no such file or directory)"), each once.
    static QStringList midiProblemsSeen(const QString& logs);
    static QStringList volumesSeen(const QString& logs);
    static QString lastCatalogue(const QString& logs);

    // A file name for the save dialog: "tavlo-support-20261208-0430.txt".
    Q_INVOKABLE QString suggestedName() const;
    // Where the save dialog starts: the user's documents folder, or where there is none (it
    // was never made, or is gone) the home folder; as a file: URL.
    Q_INVOKABLE QUrl suggestedFolder() const;
    // The first of the folders that exists, else the last. Pure but for asking the file system.
    static QString existingFolder(const QStringList& candidates);
    // The suggested name in the suggested folder, as a file: URL for the dialog.
    Q_INVOKABLE QUrl suggestedFile() const;
    // Whether a file is at the path or file: URL (the window asks before replacing it).
    Q_INVOKABLE bool exists(const QString& urlOrPath) const;
    // Writes the file to the path or file: URL; false (lastResult says why) when it cannot.
    Q_INVOKABLE bool save(const QString& urlOrPath);

    QString lastResult() const { return result; }
    QString computerReport() const { return report; }
    void setComputerReport(const QString& text);

Q_SIGNALS:
    void lastResultChanged();
    void computerReportChanged();

private:
    QString result;
    QString report;
};
