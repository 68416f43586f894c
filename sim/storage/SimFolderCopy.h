#pragma once

#include <QString>

// Copies between the instrument's lasting storage folder and a volume of limited capacity
// (a tmpfs), at the volume's mount and when it goes.
class SimFolderCopy
{
public:
    // Copies everything below from into to (made when missing): folders, and files with
    // their bytes and permission bits (a file with none stays so). Symbolic links are left
    // out: the instrument's card cannot hold them. False, with *error, at the first failure
    // (e.g. no space left on to).
    static bool copyTree(const QString& from, const QString& to, QString* error = nullptr);

    // Makes folder hold exactly what source holds. The copy is made beside folder and then
    // swapped in, so a failure leaves folder as it was.
    static bool replaceContent(const QString& folder, const QString& source, QString* error = nullptr);
};
