#pragma once

#include <optional>
#include <string>
#include <vector>

// Runs a program with an argument list, with no shell in between, and hands back its exit
// code and standard output, for the macOS volume discovery. Each argument reaches the
// program as it is: nothing in it is read as a command. No exception leaves it.
class ProcessRunner
{
public:
    struct Result
    {
        int exitCode = 0;
        std::string output;
    };

    virtual ~ProcessRunner() = default;

    // nullopt when the program could not be started, crashed or ran past its time limit.
    virtual std::optional<Result> run(const std::string& program,
                                      const std::vector<std::string>& arguments) = 0;
};
