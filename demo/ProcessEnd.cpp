#include "ProcessEnd.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

void ProcessEnd::now(int code)
{
    std::fflush(nullptr);
#ifdef _WIN32
    // TerminateProcess, not ExitProcess: the latter still runs every DLL's detach routine,
    // and under Wine crypt32's then wrote a certificate taken out of the user's root store
    // back into it.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    ExitProcess(static_cast<UINT>(code)); // not reached: the process ends in TerminateProcess
#else
    _exit(code);
#endif
}
