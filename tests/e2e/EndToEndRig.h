#pragma once

#include "RigEdition.h"
#include "ReleaseServer.h"
#include "SimInstrument.h"
#include "WindowDriver.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// The real program (its wiring and its window) against the simulated instrument and a local
// release server, as a user meets it. The edition is RigEdition's (the full one unless the
// test is built with the update-only edition's header). The server offers one release whose file is
// updateFile(); downloads land in a temporary folder of the rig's own.
class EndToEndRig
{
public:
    static const char* const kFileName;
    static const char* const kVersion;

    EndToEndRig();
    ~EndToEndRig();

    // Another release on offer, listed before the rig's own one (which stays the catalogue's
    // last entry, the update on offer); call before serve().
    void addRelease(const QString& version, const QByteArray& bytes, const QString& notes = {});
    // Starts the server (false with a reason in error()); call once, before start().
    bool serve();
    // The program is given the server under a name only a proxy resolves (SimProxy); call
    // before start().
    void reachByName() { byName = true; }
    // The program's first wiring phase, the window and its second phase. False when the
    // window did not come up. Without the window, only the first phase: the flows the
    // window would bind to run alone.
    bool start(bool withWindow = true);
    // The program ends where it stands, as in a crash: the window and the wiring go without
    // any step of the update's own; the instrument and the server stay. start() again is the
    // program started anew.
    void crash();

    QString error() const { return problem; }
    QByteArray updateFile() const { return firmware; }
    QString filePath() const; // the path of the update file on the server
    QString downloadRoot() const { return downloads.path(); } // the user's cache lies here
    QByteArray catalogue() const;

    ReleaseServer& server() { return releaseServer; }
    SimInstrument& instrument() { return simInstrument; }
    RigEdition::Wiring& program() { return *wiring; }
    WindowDriver& window() { return *driver; }

    // How often the program has sent this message to the instrument.
    int sentCount(const QByteArray& message) const;

private:
    QTemporaryDir downloads;
    QByteArray firmware;
    struct Release
    {
        QString version;
        QByteArray bytes;
        QString notes;
    };
    QList<Release> releases;
    ReleaseServer releaseServer;
    SimInstrument simInstrument;
    std::unique_ptr<RigEdition::Wiring> wiring;
    std::unique_ptr<WindowDriver> driver; // destroyed first: the window before the objects
    QList<QByteArray> sent;
    QString problem;
    bool byName = false;
};
