#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// What a used instrument's storage holds, made up: the four folders of the transfer volume
// ("projects", "instrument_definitions", "MIDI_Clips", "grooves") filled with projects,
// patterns, MIDI clips, definitions, grooves and samples, in nested folders, with blanks and
// letters beyond ASCII in the names ("Grüße an Zoë.tvp", "Ørsted – live.mid"), empty files
// and an empty folder. Nothing lies in the root itself but the four folders.
//
// The content comes from a seed alone (its own generator, no library's): the same seed gives
// the same names, sizes and bytes on every run and every system. Files are written from one
// reused buffer, so ~80 MiB take a fraction of a second.
class SimTransferContent
{
public:
    enum class Scale {
        Tiny,      // a few dozen files of 1-16 KiB, below 1 MiB in all: variety for tests
        Realistic, // hundreds of files of 1-64 KiB and three samples of tens of MiB, ~80 MiB
    };

    static constexpr quint64 kSeed = 0x54a71c0ffee5eedULL;
    // A worn file that cannot be read (permissions 0; SimReadableFiles refuses it also to root).
    static const char* const kUnreadableFile;

    // Fills folder (made when missing) with the content of this scale. With unreadableFile,
    // kUnreadableFile is among it. False, with *error, at the first thing that cannot be
    // written; what was written stays.
    static bool fill(const QString& folder, Scale scale, bool unreadableFile, QString* error = nullptr);

    // A tree of mixed files (mostly small, some of a few MiB, a few large) in nested folders,
    // of exactly totalBytes in all, for measurements.
    static bool makeTree(const QString& folder, qint64 totalBytes, quint64 seed, QString* error = nullptr);

    // One line per entry below folder, sorted: "path/" for a folder, "path<TAB>size<TAB>sha256"
    // for a file ("unreadable" instead of the hash when it cannot be opened). Two folders
    // with the same lines hold the same names and bytes.
    static QStringList manifest(const QString& folder);
};
