#pragma once

// Puts a file in place of another in one step: the name either still names the old file or
// already the new one, never nothing. Where a symbolic link holds the name, the link itself is
// replaced; its target is never touched. Plain standard C++ (and Win32), so that it builds
// with the MinGW cross-compiler.
class FileReplace
{
  public:
    // Renames from over to (both UTF-8 paths on one volume); to need not exist. True when
    // done; the old file under to is gone then.
    static bool replace(const char* from, const char* to);
};
