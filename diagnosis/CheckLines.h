#pragma once

#include "CheckResult.h"
#include "MidiProblem.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

struct VolumeInfo;

// The result of each check from what it found. Pure: the facts in, the line out; the
// checks that gather the facts are LocalChecks, ServerProbe and ComputerCheck.
class CheckLines
{
    Q_DECLARE_TR_FUNCTIONS(CheckLines)

public:
    // The MIDI objects: the problem of making the input and of making the output.
    static CheckResult midiSystem(const MidiProblem& input, const MidiProblem& output);

    struct Ports
    {
        bool listed = false; // false: the MIDI objects could not be made
        int inputs = 0;
        int outputs = 0;
        QStringList instrumentInputs; // the names of the instrument's ports
        QStringList instrumentOutputs;
    };
    static CheckResult midiPorts(const Ports& ports);

    struct Answer
    {
        enum class State {
            MidiUnusable, // no MIDI objects: nobody to ask
            NoPorts,      // the instrument is not on MIDI
            Held,         // another program holds the instrument (heldBy says who)
            Answered,     // it reported its firmware version
            Silent,       // its ports are there, but no version came within the limit
        };
        State state = State::NoPorts;
        QString firmware;
        QString heldBy; // the sentence naming the program that holds the instrument
        int limitMs = 0;
    };
    static CheckResult instrument(const Answer& answer);

    struct Server
    {
        enum class Result { Read, NotACatalogue, Tls, Http, Unreachable, TimedOut };
        Result result = Result::Unreachable;
        QString url;
        QString proxy; // "host:port" of the proxy the request goes through; empty: none
        int versions = 0;
        QString latest;
        int httpStatus = 0;
        QString detail; // the TLS sentence, the network's error text or the catalogue's problem
        int limitMs = 0;
    };
    static CheckResult releaseServer(const Server& server);

    struct Folder
    {
        QString path;           // empty: it could not be made (or is no folder of this user's)
        bool checked = false;   // false: the check did not finish within limitMs
        bool writable = false;
        QString writeError;
        qint64 freeBytes = -1;  // -1: unknown
        qint64 updateBytes = -1; // the size of the update on offer; -1: unknown
        int limitMs = 0;
    };
    static CheckResult downloadFolder(const Folder& folder);
    // The free space asked for when the update's size is not known: 256 MB.
    static qint64 floorBytes();

    // The instrument's volumes among those mounted; listed false: the list did not come
    // within limitMs.
    static CheckResult volumes(const QList<VolumeInfo>& mounted, bool listed, int limitMs);

    // "12.3 MB"
    static QString size(qint64 bytes);
    // "8 s"
    static QString seconds(int ms);
};
