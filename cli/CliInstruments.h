#pragma once

#include "InstrumentScan.h"
#include "Platform.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

class CliOutput;
class FileManager;

// The instruments a command sees: those on the MIDI service when it starts (all of them, or
// the one on the port named with --port), the platform the link is given (which shows it
// only the chosen instrument's ports), and the instrument's mode as its volumes tell it.
class CliInstruments
{
    Q_DECLARE_TR_FUNCTIONS(CliInstruments)

public:
    static const QString kTransferVolume; // "TAVLO"
    static const QString kUpdateVolume;   // "tavloupd"

    CliInstruments(const Platform& platform, const QString& port);

    const QList<InstrumentScan::Instrument>& all() const { return found; }
    // Why the MIDI service could not be used for the look (Kind None when it could).
    MidiProblem midiProblem() const { return problem; }
    // The instruments the command may act on: the chosen one(s), or all without --port.
    const QList<InstrumentScan::Instrument>& chosen() const { return picked; }
    // The platform for the link: with --port, its MIDI service shows the chosen ports only.
    Platform linkPlatform() const { return forLink; }

    // The FileManager on the worker thread, through which the volumes are looked at.
    void setFiles(FileManager* files) { this->files = files; }
    QString volumePath(const QString& label) const;
    // Why a volume with the label is left alone (not the instrument's, or several of its
    // own), in plain words; empty when there is none such.
    QString volumeRefusal(const QString& label) const;
    // "update" or "transfer" when the instrument shows that mode's volume; empty otherwise.
    QString volumeMode() const;

    // One result per instrument of the list; the firmware is shown where it is known (one
    // instrument and the link heard it).
    void print(CliOutput& out, const QList<InstrumentScan::Instrument>& list,
               const QString& firmware) const;

private:
    QList<InstrumentScan::Instrument> found;
    QList<InstrumentScan::Instrument> picked;
    MidiProblem problem;
    Platform forLink;
    FileManager* files = nullptr;
};
