#pragma once

#include <QString>

#include <functional>

// Where the curl fallback finds its program: the first "curl" ("curl.exe" on Windows) in an
// absolute entry of the search path. Relative and empty entries are skipped, so that nothing
// is ever started from the working folder or a folder named relative to it.
class CurlLocator
{
public:
    enum class System { Posix, Windows };

    // The system this program runs on.
    static System thisSystem();
    // "curl" or "curl.exe".
    static QString programName(System system);
    // Whether a search path entry is absolute by the system's rules: "/..." on POSIX; a drive
    // with its root ("C:\...", "C:/...") or a network share ("\\server\...") on Windows.
    // Pure.
    static bool isAbsoluteEntry(const QString& entry, System system);
    // The full path of the first program in an absolute entry of searchPath (entries split at
    // ':' on POSIX, ';' on Windows) for which isProgram holds; empty when there is none. Pure
    // but for what isProgram looks at.
    static QString firstIn(const QString& searchPath, System system,
                           const std::function<bool(const QString& path)>& isProgram);
    // The program on this process's search path: a file that may be run.
    static QString find();
};
