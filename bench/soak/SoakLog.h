#pragma once

#include <QElapsedTimer>
#include <QString>

#include <string>
#include <utility>
#include <vector>

// What happened during the present soak cycle, each event with its time since the soak
// started (ms): printed when something in the cycle went wrong and SOAK_TRACE is set.
class SoakLog
{
public:
    SoakLog() { clock.start(); }

    void clear() { events.clear(); }
    void note(const QString& what);
    void print(int cycle, const char* what) const;

private:
    QElapsedTimer clock;
    std::vector<std::pair<qint64, std::string>> events;
};
