#pragma once

#include "ShellCommandRunner.h"

// Runs commands through popen, reading the output in pieces of at most 128 bytes until its
// end. POSIX systems only.
class PopenShellRunner : public ShellCommandRunner
{
public:
    std::optional<std::string> run(const std::string& command) override;
};
