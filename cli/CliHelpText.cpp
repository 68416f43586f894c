#include "CliHelpText.h"

#include "CliHelpTable.h"

namespace {

constexpr int kColumn = 26; // where the explanations begin

QString translated(const char* text)
{
    return QCoreApplication::translate("CliHelpTable", text);
}

// One row: the name in the left column and its explanation, on the next line when the name
// reaches into the explanations' column.
QString row(const QString& name, const QString& summary)
{
    const QString left = QStringLiteral("  ") + name;
    if (left.size() < kColumn)
        return left.leftJustified(kColumn) + summary + QLatin1Char('\n');
    return left + QLatin1Char('\n') + QString(kColumn, QLatin1Char(' ')) + summary + QLatin1Char('\n');
}

QString optionRows(const char* command)
{
    QString rows;
    for (const CliHelpTable::Option& option : CliHelpTable::options()) {
        if (qstrcmp(option.command, command) == 0)
            rows += row(CliHelpText::optionName(option.shortName, option.longName, option.valueName),
                        translated(option.summary));
    }
    return rows;
}

} // namespace

QString CliHelpText::optionName(const char* shortName, const char* longName, const char* valueName)
{
    QString name = QLatin1String(longName);
    if (*shortName)
        name = QLatin1String(shortName) + QStringLiteral(", ") + name;
    if (*valueName)
        name += QLatin1Char(' ') + QLatin1String(valueName);
    return name;
}

QString CliHelpText::text()
{
    QString text = tr("Usage: tavlo [options] <command>") + QStringLiteral("\n\n") + tr("Commands:")
        + QLatin1Char('\n');
    for (const CliHelpTable::Command& command : CliHelpTable::commands()) {
        QString name = QLatin1String(command.name);
        if (*command.arguments)
            name += QLatin1Char(' ') + QLatin1String(command.arguments);
        text += row(name, translated(command.summary));
    }
    for (const CliHelpTable::Command& command : CliHelpTable::commands()) {
        const QString rows = optionRows(command.name);
        if (!rows.isEmpty())
            text += QLatin1Char('\n') + tr("Options of %1:").arg(QLatin1String(command.name))
                + QLatin1Char('\n') + rows;
    }
    text += QLatin1Char('\n') + tr("Options:") + QLatin1Char('\n') + optionRows("");
    text += QLatin1Char('\n') + tr("Exit codes:") + QLatin1Char('\n');
    for (const CliHelpTable::ExitCode& exit : CliHelpTable::exitCodes())
        text += QStringLiteral("  ") + QString::number(exit.code).leftJustified(5) + translated(exit.summary)
            + QLatin1Char('\n');
    return text;
}
