#pragma once

#include <QString>

// A second name for an existing file (a hard link): link() on POSIX systems,
// CreateHardLinkW on Windows. Plain standard C++ and Win32, so that it builds with the MinGW
// cross-compiler.
class HardLink
{
public:
    // Gives the file at existing the further name link (which must not exist yet). False
    // where the file system cannot (another file system, no links on it, too many links, not
    // allowed): the caller copies instead; why then says so in the system's words. False with
    // why set as well on any other failure.
    static bool make(const QString& existing, const QString& link, QString* why);
};
