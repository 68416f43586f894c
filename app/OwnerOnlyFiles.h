#pragma once

#include <QFile>
#include <QString>

#include <cstdio>

// The session logs and the support file are for the user alone: files 0600, their folder
// 0700, whatever the umask. A log file is opened for appending without following a symbolic
// link at its last step and without being inherited by the programs this one starts (curl).
class OwnerOnlyFiles
{
public:
    static constexpr QFile::Permissions kFileRights = QFile::ReadOwner | QFile::WriteOwner
                                                      | QFile::ReadUser | QFile::WriteUser;
    static constexpr QFile::Permissions kFolderRights = kFileRights | QFile::ExeOwner | QFile::ExeUser;

    enum class Refusal { None, SymbolicLink, CannotOpen };

    // Makes folder (with its missing parents) for the owner alone; an existing one with
    // wider rights is narrowed. False when it cannot be made or is no folder.
    static bool makeFolder(const QString& folder);
    // Opens the file at path for appending; a new one is made 0600 and an existing plain file
    // narrowed to that. Null when it cannot be opened; refusal (when given) says why.
    static std::FILE* openForAppend(const QString& path, Refusal* refusal = nullptr);
};
