#include "CliOptions.h"

#include <QUrl>

namespace {

struct Word
{
    QString name;  // "--file", "-v", or empty for a plain word
    QString value; // after "=", when given so
    bool hasValue = false;
};

Word split(const QString& word)
{
    if (!word.startsWith(QLatin1Char('-')) || word == QLatin1String("-"))
        return {QString(), word, true};
    const int equals = word.indexOf(QLatin1Char('='));
    if (word.startsWith(QLatin1String("--")) && equals > 2)
        return {word.left(equals), word.mid(equals + 1), true};
    return {word, QString(), false};
}

CliOptions::Command commandNamed(const QString& word)
{
    if (word == QLatin1String("list"))
        return CliOptions::Command::List;
    if (word == QLatin1String("check"))
        return CliOptions::Command::Check;
    if (word == QLatin1String("update"))
        return CliOptions::Command::Update;
    if (word == QLatin1String("transfer"))
        return CliOptions::Command::Transfer;
    if (word == QLatin1String("backup"))
        return CliOptions::Command::Backup;
    if (word == QLatin1String("restore"))
        return CliOptions::Command::Restore;
    if (word == QLatin1String("history"))
        return CliOptions::Command::History;
    if (word == QLatin1String("doctor"))
        return CliOptions::Command::Doctor;
    return CliOptions::Command::None;
}

} // namespace

QString CliOptions::commandName(Command command)
{
    switch (command) {
    case Command::List:
        return QStringLiteral("list");
    case Command::Check:
        return QStringLiteral("check");
    case Command::Update:
        return QStringLiteral("update");
    case Command::Transfer:
        return QStringLiteral("transfer");
    case Command::Backup:
        return QStringLiteral("backup");
    case Command::Restore:
        return QStringLiteral("restore");
    case Command::History:
        return QStringLiteral("history");
    case Command::Doctor:
        return QStringLiteral("doctor");
    case Command::None:
        break;
    }
    return QString();
}

CliOptions CliOptions::parse(const QStringList& arguments)
{
    CliOptions o;
    bool versionAsked = false; // a bare --version, for the program's version
    auto fail = [&o](const QString& why) {
        if (o.error.isEmpty())
            o.error = why;
    };
    for (int i = 0; i < arguments.size() && o.error.isEmpty(); ++i) {
        const Word w = split(arguments.at(i));
        // The value of an option that takes one: after "=", else the next word.
        auto value = [&](QString* into) {
            if (w.hasValue) {
                *into = w.value;
            } else if (i + 1 < arguments.size() && !arguments.at(i + 1).startsWith(QLatin1String("--"))) {
                *into = arguments.at(++i);
            } else {
                fail(tr("The option %1 needs a value.").arg(w.name));
                return;
            }
            if (into->isEmpty())
                fail(tr("The option %1 needs a value.").arg(w.name));
        };
        auto flag = [&](bool* into) {
            if (w.hasValue)
                fail(tr("The option %1 takes no value.").arg(w.name));
            *into = true;
        };
        if (w.name.isEmpty()) {
            if (o.command == Command::Restore && o.backup.isEmpty()) {
                o.backup = w.value;
            } else if (o.command != Command::None) {
                fail(tr("Unexpected word \"%1\" after the command %2.")
                         .arg(w.value, commandName(o.command)));
            } else if ((o.command = commandNamed(w.value)) == Command::None) {
                fail(tr("Unknown command \"%1\". The commands are list, check, update, transfer, "
                        "backup, restore, history and doctor.")
                         .arg(w.value));
            }
        } else if (w.name == QLatin1String("-h") || w.name == QLatin1String("--help")) {
            flag(&o.help);
        } else if (w.name == QLatin1String("--version")) {
            if (o.command == Command::Update && !w.hasValue && i + 1 < arguments.size()
                && !arguments.at(i + 1).startsWith(QLatin1Char('-')))
                value(&o.version);
            else if (o.command == Command::Update && w.hasValue)
                value(&o.version);
            else if (o.command == Command::Update)
                fail(tr("The option --version of update needs the version to install."));
            else
                flag(&versionAsked);
        } else if (w.name == QLatin1String("--json")) {
            flag(&o.json);
        } else if (w.name == QLatin1String("-v") || w.name == QLatin1String("--verbose")) {
            flag(&o.verbose);
        } else if (w.name == QLatin1String("--yes") || w.name == QLatin1String("-y")) {
            flag(&o.yes);
        } else if (w.name == QLatin1String("--allow-downgrade")) {
            flag(&o.allowDowngrade);
        } else if (w.name == QLatin1String("--done")) {
            flag(&o.done);
        } else if (w.name == QLatin1String("--backup") || w.name == QLatin1String("--no-backup")) {
            bool on = false;
            flag(&on);
            const BackupChoice choice = w.name == QLatin1String("--backup") ? BackupChoice::On
                                                                            : BackupChoice::Off;
            if (o.backupFirst != BackupChoice::Default && o.backupFirst != choice)
                fail(tr("Give either --backup or --no-backup, not both."));
            o.backupFirst = choice;
        } else if (w.name == QLatin1String("--to")) {
            value(&o.backupsTo);
        } else if (w.name == QLatin1String("--from")) {
            value(&o.backupsFrom);
        } else if (w.name == QLatin1String("--file")) {
            value(&o.file);
        } else if (w.name == QLatin1String("--release-server")) {
            value(&o.releaseServer);
        } else if (w.name == QLatin1String("--log-file")) {
            value(&o.logFile);
        } else if (w.name == QLatin1String("--port")) {
            value(&o.port);
        } else {
            fail(tr("Unknown option \"%1\".").arg(w.name));
        }
    }
    if (!o.error.isEmpty())
        return o;
    o.showVersion = versionAsked;
    if (o.help || o.showVersion)
        return o;
    if (o.command == Command::None)
        fail(tr("No command given. The commands are list, check, update, transfer, backup, "
                "restore, history and doctor."));
    if (o.command != Command::Update) {
        if (!o.file.isEmpty())
            fail(tr("The option --file belongs to the command update."));
        if (o.yes && o.command != Command::Restore)
            fail(tr("The option --yes belongs to the commands update and restore."));
        if (o.backupFirst == BackupChoice::On)
            fail(tr("The option --backup belongs to the command update."));
        if (o.backupFirst == BackupChoice::Off)
            fail(tr("The option --no-backup belongs to the command update."));
        if (o.allowDowngrade)
            fail(tr("The option --allow-downgrade belongs to the command update."));
    }
    if (o.command != Command::Backup && !o.backupsTo.isEmpty())
        fail(tr("The option --to belongs to the command backup."));
    if (o.command != Command::Restore && !o.backupsFrom.isEmpty())
        fail(tr("The option --from belongs to the command restore."));
    if (o.command != Command::Transfer && o.done)
        fail(tr("The option --done belongs to the command transfer."));
    if (!o.version.isEmpty() && !o.file.isEmpty())
        fail(tr("Give either --version or --file, not both."));
    if (!o.releaseServer.isEmpty()) {
        const QUrl url(o.releaseServer, QUrl::StrictMode);
        // Over plain http anyone on the way could hand the instrument a file of their own.
        if (!url.isValid() || url.host().isEmpty() || url.scheme() != QLatin1String("https"))
            fail(tr("The release server \"%1\" is not an https address; updates are read over https only.")
                     .arg(o.releaseServer));
    }
    return o;
}
