#pragma once

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// The faults of today's windows that LayoutCheck and KeyboardCheck report, each known by
// the report lines that are its signs. A test that reaches a screen showing some of them
// names them: their lines are set aside (everything else on the screen must pass), and each
// named fault is an expected failure (QEXPECT_FAIL) until it is mended; then it passes, the
// test says so, and its name goes from the test (and, once no test names it, from here).
class KnownScreenFaults
{
public:
    struct Fault
    {
        QString id;
        QString what;  // "known: ..." or "found: ...", as the expected failure says it
        QRegularExpression sign;
    };

    static const QList<Fault>& all();
    // The fault with that id; an empty one (that no line matches) for an unknown id.
    static Fault byId(const QString& id);
    // The report's lines that are signs of the fault.
    static QStringList signs(const QString& id, const QStringList& report);
    // The report's lines that are signs of none of the faults named.
    static QStringList rest(const QStringList& ids, const QStringList& report);
    // For a test function: the report holds nothing but signs of the faults named (else it
    // fails, with the other lines), and each of them shows (an expected failure while it
    // does; a test that fails once it no longer does).
    static void verify(const QStringList& report, const QStringList& ids);
};
