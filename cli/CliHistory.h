#pragma once

class CliOutput;
class HistoryLog;

// "tavlo history": what the program did to the instrument, newest first, one record a line
// (its date and summary; with --json the record as a "history" event). Needs no instrument.
namespace CliHistory {

// Prints the history and gives the exit code (always done: a history that cannot be read is
// an empty one, and the session log says why). With --json an empty history prints nothing.
int print(const HistoryLog& log, CliOutput& out, bool json);

} // namespace CliHistory
