#pragma once

#include <optional>
#include <string>

// Runs a shell command and hands back its standard output, for the macOS volume discovery.
// No exception leaves it: a command that cannot be started gives no output at all.
class ShellCommandRunner
{
public:
    virtual ~ShellCommandRunner() = default;

    // The command's whole standard output; nullopt when it could not be started.
    virtual std::optional<std::string> run(const std::string& command) = 0;
};
