#pragma once

#include <QString>

#include <functional>

class QObject;

// The questions the command line asks on the terminal.
namespace CliPrompt {

// Reads one answer from standard input (the question was asked through CliOutput::ask):
// true for "y" or "yes" (or the same words in the user's language); false for anything else
// or no input at all.
bool confirm();

// Whether standard input is a terminal (someone there to answer a question).
bool inputIsTerminal();

// The answer to a question asked while the instrument waits: read on a thread of its own (so
// that Ctrl-C is seen meanwhile) and handed to then(yes) on the main thread, unless context
// is gone by then. yes as confirm() reads it; false when the input ended.
void confirmLater(QObject* context, std::function<void(bool yes)> then);

// Reads one line from standard input on a thread of its own and calls then(entered) on the
// main thread, unless context is gone by then: entered is false when the input ended.
void waitForLine(QObject* context, std::function<void(bool entered)> then);

} // namespace CliPrompt
