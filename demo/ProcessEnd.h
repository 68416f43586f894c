#pragma once

// Ends this process at once with the given code, after flushing the C streams, without
// running the destructors of what is still alive nor (on Windows) the DLLs' detach
// routines. For a program whose work is done and whose ordinary exit can hang (the demo
// under Wine); the caller has closed or flushed its own files first.
class ProcessEnd
{
public:
    [[noreturn]] static void now(int code);
};
