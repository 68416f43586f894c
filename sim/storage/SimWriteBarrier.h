#pragma once

#include <QString>

// Makes a folder refuse new files, renames and removals even for root, while the file
// system still shows as writable: the Linux immutable flag (as "chattr +i" sets it). It plays
// a system that refuses this program's writes on a volume that is not write-protected (on
// Windows: Controlled Folder Access, an antivirus program). Linux file systems with the flag
// only (ext4, xfs, btrfs; not tmpfs); false with why elsewhere.
namespace SimWriteBarrier {

bool set(const QString& folder, bool on, QString* why = nullptr);
// Whether a folder made under parent can take the flag here (tried on a folder of its own).
bool supportedUnder(const QString& parent);

} // namespace SimWriteBarrier
