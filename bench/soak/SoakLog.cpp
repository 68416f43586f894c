#include "SoakLog.h"

#include <cstdio>

void SoakLog::note(const QString& what)
{
    events.emplace_back(clock.elapsed(), what.toStdString());
}

void SoakLog::print(int cycle, const char* what) const
{
    std::printf("--- cycle %d: %s\n", cycle, what);
    for (const auto& [ms, text] : events)
        std::printf("  %8lld ms  %s\n", static_cast<long long>(ms), text.c_str());
    std::fflush(stdout);
}
