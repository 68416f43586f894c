#pragma once

// The waits of the "tavlo" program's commands.
struct CliTimings
{
    // For the instrument to be found and to report its firmware version.
    int instrumentWaitMs = 0;
    // Between two looks at the interrupt flag (Ctrl-C) and at a volume the command waits for.
    int pollMs = 0;

    static CliTimings production() { return {8000, 100}; }
};
