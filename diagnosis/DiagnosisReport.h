#pragma once

#include "CheckResult.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>

// The computer check's report made of its results: one line per check, as the window's
// "Check this computer" page, "tavlo doctor" and the support file show it. Pure.
class DiagnosisReport
{
    Q_DECLARE_TR_FUNCTIONS(DiagnosisReport)

public:
    // "MIDI system", "MIDI ports", "Tavlo", "Release server", "Download folder", "Tavlo's volumes"
    static QString name(CheckResult::Check check);
    // "OK", "Note", "Problem", "Not checked"
    static QString status(CheckResult::Outcome outcome);
    // The stable names of --json: "midi_system", ...; "ok", "note", "problem", "not_run".
    static QString key(CheckResult::Check check);
    static QString key(CheckResult::Outcome outcome);

    // "MIDI system: OK. The MIDI system opens: …"
    static QString line(const CheckResult& result);
    // The whole report: a heading with the time it was made, then one line per result.
    static QString text(const QList<CheckResult>& results, const QDateTime& madeAt);
    // A result as the "check" event of "tavlo doctor --json".
    static QJsonObject json(const CheckResult& result);

    // Whether a check found something standing in the way (notes and checks not run do not).
    static bool foundProblem(const QList<CheckResult>& results);
};
