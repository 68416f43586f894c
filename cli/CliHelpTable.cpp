#include "CliHelpTable.h"

#include "CliExitCode.h"

#include <QtGlobal>

const std::vector<CliHelpTable::Command>& CliHelpTable::commands()
{
    static const std::vector<Command> table = {
        {"list", "",
         QT_TRANSLATE_NOOP("CliHelpTable", "the instruments found: ports, USB identity, firmware, mode"),
         "Lists the instruments found: their MIDI ports, the USB identity behind them, the firmware "
         "version each reports and its mode (normal, transfer or update). With several instruments "
         "each is asked on its own ports."},
        {"check", "",
         QT_TRANSLATE_NOOP("CliHelpTable", "the installed firmware and the latest on offer"),
         "Reads the installed firmware from the instrument and the latest firmware from the release "
         "catalogue. The exit code says whether an update is available: 0 when the instrument is up "
         "to date, 100 when a newer firmware is on offer."},
        {"update", "[--version V | --file PATH] [--yes] [--allow-downgrade] [--backup | --no-backup]",
         QT_TRANSLATE_NOOP("CliHelpTable", "install the latest firmware, or the update file PATH"),
         "Downloads the latest firmware, checks it and hands it to the instrument over its USB "
         "volume, asking first. The instrument then reboots to apply it, and the command waits "
         "until it reports the new firmware. An update that was cut off earlier, with the "
         "instrument still waiting in update mode, is finished instead. Where the instrument has "
         "the transfer mode (firmware 1.5.0 or later), its storage is backed up first, as backup "
         "does; a backup that fails or is stopped leaves the update unstarted."},
        {"transfer", "[--done]",
         QT_TRANSLATE_NOOP("CliHelpTable", "show the instrument's storage as a drive; --done ends it"),
         "Switches the instrument to transfer mode, prints the mount path of its volume and waits "
         "for Enter; then ejects the volume and returns the instrument to normal mode. When the "
         "input ends without Enter (in a script), the instrument stays in transfer mode until "
         "\"tavlo transfer --done\" ends it."},
        {"backup", "[--to DIR]",
         QT_TRANSLATE_NOOP("CliHelpTable", "copy the instrument's storage into a new backup folder"),
         "Switches the instrument to transfer mode, copies its storage into a new dated folder "
         "below the backups folder (\"Tavlo Backups\" among the user's documents, or DIR), checks "
         "every file against the copy, writes the folder's manifest and returns the instrument to "
         "normal mode. Needs firmware 1.5.0 or later. Ctrl-C keeps nothing."},
        {"restore", "[BACKUP] [--from DIR] [--yes]",
         QT_TRANSLATE_NOOP("CliHelpTable", "put a backup back onto the instrument; without BACKUP: list them"),
         "Checks the backup BACKUP (a backup folder, or the name of one in the backups folder) "
         "against its manifest, switches the instrument to transfer mode, lists its files that "
         "differ from the backup and asks whether to replace them; only then are they written and "
         "checked. Files only on the instrument are left as they are. Without BACKUP the backups "
         "are listed, newest first."},
        {"history", "",
         QT_TRANSLATE_NOOP("CliHelpTable", "what was done to the instrument: updates, backups, restores"),
         "Prints what this program did to the instrument, newest first, one line each: every firmware "
         "update with its versions and result, every backup and every restore. With --json each is "
         "a JSON object with its fields. Needs no instrument."},
        {"doctor", "",
         QT_TRANSLATE_NOOP("CliHelpTable", "check this computer: MIDI, the instrument, the server, the folders"),
         "Checks what the program needs from this computer, one line per check, each OK with what "
         "was found or the problem with what to do: the MIDI system, the MIDI ports (and which are "
         "the instrument's), the instrument's firmware version, the release server (through the "
         "system's proxy), the download folder and its free space, and the instrument's volumes. "
         "With --json each is a check_result object. No instrument connected is a note, not a "
         "problem; while another program holds the instrument it is not asked."},
    };
    return table;
}

const std::vector<CliHelpTable::Option>& CliHelpTable::options()
{
    static const std::vector<Option> table = {
        {"", "--version", "V", Value::Text, "update",
         QT_TRANSLATE_NOOP("CliHelpTable", "install this version from the catalogue"),
         "Installs version V from the catalogue instead of the latest. An older version than the "
         "installed one needs --allow-downgrade; the installed one named again is reinstalled."},
        {"", "--file", "PATH", Value::Path, "update",
         QT_TRANSLATE_NOOP("CliHelpTable", "install the update file PATH (no network needed)"),
         "Installs the update file PATH from the computer instead of a download. The file is "
         "checked before it goes to the instrument."},
        {"-y", "--yes", "", Value::None, "update",
         QT_TRANSLATE_NOOP("CliHelpTable", "install without asking"),
         "Installs without asking first. Without it, and with nobody at a terminal to answer, "
         "the update is refused (exit code 7)."},
        {"", "--allow-downgrade", "", Value::None, "update",
         QT_TRANSLATE_NOOP("CliHelpTable", "allow installing an older firmware"),
         "Allows --version to name an older firmware than the installed one."},
        {"", "--backup", "", Value::None, "update",
         QT_TRANSLATE_NOOP("CliHelpTable", "back the instrument's storage up first (the default where it can be)"),
         "Backs the instrument's storage up before the update, as backup does (the default where "
         "the instrument has the transfer mode). When no backup can be made the update is not "
         "started (exit code 12)."},
        {"", "--no-backup", "", Value::None, "update",
         QT_TRANSLATE_NOOP("CliHelpTable", "update without the backup before it"),
         "Updates without backing the instrument's storage up first."},
        {"", "--done", "", Value::None, "transfer",
         QT_TRANSLATE_NOOP("CliHelpTable", "return an instrument left in transfer mode to normal"),
         "Ejects the volume of an instrument left in transfer mode and returns it to normal mode."},
        {"", "--to", "DIR", Value::Path, "backup",
         QT_TRANSLATE_NOOP("CliHelpTable", "make the backup in DIR instead of the backups folder"),
         "Makes the backup's folder in DIR (made when missing) instead of the backups folder."},
        {"", "--from", "DIR", Value::Path, "restore",
         QT_TRANSLATE_NOOP("CliHelpTable", "look for the backups in DIR instead of the backups folder"),
         "Looks for the backup named, and lists the backups, in DIR instead of the backups folder."},
        {"-y", "--yes", "", Value::None, "restore",
         QT_TRANSLATE_NOOP("CliHelpTable", "replace the differing files without asking"),
         "Replaces the instrument's files that differ from the backup without asking. Without it, "
         "and with nobody at a terminal to answer, nothing is replaced (exit code 7)."},
        {"", "--json", "", Value::None, "",
         QT_TRANSLATE_NOOP("CliHelpTable", "one JSON object per result or event on standard output"),
         "Writes one JSON object per result or event on standard output, one per line. Problems "
         "are also written as an \"error\" object with the message and the exit code."},
        {"", "--release-server", "URL", Value::Url, "",
         QT_TRANSLATE_NOOP("CliHelpTable", "read the releases from this server (a mirror)"),
         "Reads the release catalogue and the update files from this server (a mirror) instead of "
         "the maker's. Only https addresses are taken."},
        {"", "--log-file", "PATH", Value::Path, "",
         QT_TRANSLATE_NOOP("CliHelpTable", "write the session log to PATH"),
         "Writes this run's session log to PATH instead of the log folder. A symbolic link at PATH "
         "is refused."},
        {"", "--port", "NAME", Value::Text, "",
         QT_TRANSLATE_NOOP("CliHelpTable", "act on the instrument on this MIDI port"),
         "Acts on the instrument on this MIDI port, as list shows it (the numbers at the end may "
         "differ), when several are connected."},
        {"-v", "--verbose", "", Value::None, "",
         QT_TRANSLATE_NOOP("CliHelpTable", "show the session log on standard error as well"),
         "Shows the session log's lines on standard error as well."},
        {"-h", "--help", "", Value::None, "",
         QT_TRANSLATE_NOOP("CliHelpTable", "show this text"),
         "Shows the usage with the options and the exit codes."},
        {"", "--version", "", Value::None, "",
         QT_TRANSLATE_NOOP("CliHelpTable", "show the program's version"),
         "Shows the program's version (after update it names the version to install instead)."},
    };
    return table;
}

const std::vector<CliHelpTable::ExitCode>& CliHelpTable::exitCodes()
{
    using namespace CliExitCode;
    static const std::vector<ExitCode> table = {
        {kDone, QT_TRANSLATE_NOOP("CliHelpTable", "done (check: the instrument is up to date)"),
         "Done; for check: the instrument is up to date."},
        {kFailed, QT_TRANSLATE_NOOP("CliHelpTable", "another failure (the instrument did not answer)"),
         "Another failure: the instrument did not answer, or did not come back to be told to apply "
         "the update."},
        {kUsage, QT_TRANSLATE_NOOP("CliHelpTable", "the command line is wrong"),
         "The command line is wrong: an unknown command or option, a missing value, a version not "
         "on offer."},
        {kNoInstrument, QT_TRANSLATE_NOOP("CliHelpTable", "no instrument, or several without --port"),
         "No instrument, or several without --port (they are listed), or it went away before the "
         "update file reached it."},
        {kNetwork,
         QT_TRANSLATE_NOOP("CliHelpTable", "the release server could not be read, or the download failed"),
         "The release server could not be read, or the download failed."},
        {kVerification, QT_TRANSLATE_NOOP("CliHelpTable", "the update file failed its check"),
         "The update file failed its check: its size or checksum, or a file that is missing, empty "
         "or not an update file."},
        {kStorage, QT_TRANSLATE_NOOP("CliHelpTable", "the instrument's volume could not be found or written"),
         "The instrument's volume could not be found, written or ejected."},
        {kRefused,
         QT_TRANSLATE_NOOP("CliHelpTable", "refused: the answer was no, or a downgrade without --allow-downgrade"),
         "Refused: the answer was no (or there was nobody to ask and no --yes), or a downgrade "
         "without --allow-downgrade."},
        {kLogNotWritten, QT_TRANSLATE_NOOP("CliHelpTable", "done, but the --log-file could not be written"),
         "Done, but the log file named with --log-file could not be written."},
        {kNotApplied,
         QT_TRANSLATE_NOOP("CliHelpTable", "update: the instrument came back with another firmware (not applied)"),
         "update: the instrument came back with another firmware than the one installed; the "
         "update was not applied."},
        {kNotConfirmed,
         QT_TRANSLATE_NOOP("CliHelpTable", "update: the instrument did not come back to confirm the update"),
         "update: the instrument did not come back after the update (within 10 minutes), so it "
         "could not be confirmed."},
        {kInUse,
         QT_TRANSLATE_NOOP("CliHelpTable", "another program is using the instrument (the window, another tavlo)"),
         "Another program is using the instrument: a window of this program or another tavlo "
         "command (it is named, with its process)."},
        {kBackupFailed,
         QT_TRANSLATE_NOOP("CliHelpTable", "the backup could not be made, or the restore could not be done"),
         "backup, restore, update: the backup could not be made (before an update: so the update "
         "was not started), or the restore could not be done; the reason is printed."},
        {kBackupChanged,
         QT_TRANSLATE_NOOP("CliHelpTable", "restore: the backup does not match its manifest"),
         "restore: the backup failed its check against its manifest (files changed, missing or "
         "added, or the manifest missing or unreadable); the files are named and the instrument "
         "was not touched."},
        {kCheckFound, QT_TRANSLATE_NOOP("CliHelpTable", "doctor: a check found a problem"),
         "doctor: a check found a problem (the line of that check says what to do)."},
        {kUpdateAvailable, QT_TRANSLATE_NOOP("CliHelpTable", "check: an update is available"),
         "check: an update is available."},
        {kInterrupted, QT_TRANSLATE_NOOP("CliHelpTable", "stopped by Ctrl-C"),
         "Stopped by Ctrl-C (once the instrument has been switched to update mode, the update is "
         "finished first)."},
    };
    return table;
}
