#pragma once

// The exit codes of the "tavlo" program, as "tavlo --help" and the README list them.
namespace CliExitCode {

constexpr int kDone = 0;               // done; for check: the instrument is up to date
constexpr int kFailed = 1;             // any other failure (the instrument did not answer...)
constexpr int kUsage = 2;              // the command line is wrong
constexpr int kNoInstrument = 3;       // no instrument, or two without --port
constexpr int kNetwork = 4;            // the release server could not be read or the download failed
constexpr int kVerification = 5;       // the update file failed its check (size, checksum, file)
constexpr int kStorage = 6;            // the instrument's volume could not be found or written
constexpr int kRefused = 7;            // the user said no (or a downgrade without --allow-downgrade)
constexpr int kLogNotWritten = 8;      // done, but the --log-file asked for could not be written
constexpr int kNotApplied = 9;         // the instrument came back with another firmware
constexpr int kNotConfirmed = 10;      // the instrument did not come back to confirm the update
constexpr int kInUse = 11;             // another program (the window, another tavlo) holds the instrument
constexpr int kBackupFailed = 12;       // the backup could not be made, or the restore could not be done
constexpr int kBackupChanged = 13;      // restore: the backup does not match its manifest
constexpr int kMidiSystem = 14;        // this computer's MIDI system, or the instrument's port, cannot be used
constexpr int kCheckFound = 15;        // doctor: a check found something standing in the way
constexpr int kUpdateAvailable = 100;  // check: an update is available
constexpr int kInterrupted = 130;      // stopped by Ctrl-C

} // namespace CliExitCode
