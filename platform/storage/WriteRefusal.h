#pragma once

#include <QString>

// Why a new file cannot be made in a folder, in the system's own terms: asked after a write
// failed for no reason the volume shows (it is there, not read-only, not full), to tell a
// refusal (permissions, Windows' Controlled Folder Access, an antivirus program) from other
// failures. Plain standard C++ and Win32, so that it builds with the MinGW cross-compiler.
class WriteRefusal
{
public:
    enum class Kind {
        None,         // a file could be made: nothing refuses writes here now
        AccessDenied, // the system refused (permissions, Controlled Folder Access, antivirus)
        ReadOnly,     // the file system or the medium is write-protected
        Full,
        Other,
    };

#ifdef _WIN32
    static constexpr bool kWindows = true;
#else
    static constexpr bool kWindows = false;
#endif

    Kind kind = Kind::None;
    QString systemText; // the system's words for the error; empty for None

    // Makes a small hidden file of its own in folder and removes it at once.
    static WriteRefusal probe(const QString& folder);

    // The kind of a C library error number (errno), and of a Windows error code.
    static Kind kindOfErrno(int code);
    static Kind kindOfWindowsError(unsigned long code);
};
