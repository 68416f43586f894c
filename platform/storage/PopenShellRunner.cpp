#include "PopenShellRunner.h"

#include <cstdio>

std::optional<std::string> PopenShellRunner::run(const std::string& command)
try {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string result;
    char buffer[128];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        result += buffer;
    ::pclose(pipe);
    return result;
}
catch (...) {
    // No exception crosses the seam: an output that cannot be held counts as none.
    return std::nullopt;
}
