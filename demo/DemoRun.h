#pragma once

struct DemoEdition;

// The demo's program: the options, the simulated instrument, the local release server, the
// event log, and one run of the edition's real wiring and window per flow. Each edition's
// demo entry point calls it with its own DemoEdition. Returns the process's exit code.
namespace DemoRun {

int main(int argc, char* argv[], const DemoEdition& edition);

} // namespace DemoRun
