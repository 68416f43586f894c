#pragma once

#include "ProcessRunner.h"

// Runs programs with QProcess: found on the PATH, started with their arguments as a list,
// waited for up to timeoutMs and killed after that. The program's standard error goes where
// this program's goes.
class QProcessRunner : public ProcessRunner
{
public:
    explicit QProcessRunner(int timeoutMs);

    std::optional<Result> run(const std::string& program,
                              const std::vector<std::string>& arguments) override;

private:
    int timeoutMs;
};
