#include "DiagnosisReport.h"

#include <QLocale>

QString DiagnosisReport::name(CheckResult::Check check)
{
    using C = CheckResult::Check;
    switch (check) {
    case C::MidiSystem:
        return tr("MIDI system");
    case C::MidiPorts:
        return tr("MIDI ports");
    case C::Instrument:
        return tr("Tavlo");
    case C::ReleaseServer:
        return tr("Release server");
    case C::DownloadFolder:
        return tr("Download folder");
    case C::Volumes:
        break;
    }
    return tr("Tavlo's volumes");
}

QString DiagnosisReport::status(CheckResult::Outcome outcome)
{
    using O = CheckResult::Outcome;
    switch (outcome) {
    case O::Ok:
        return tr("OK");
    case O::Note:
        return tr("Note");
    case O::Problem:
        return tr("Problem");
    case O::NotRun:
        break;
    }
    return tr("Not checked");
}

QString DiagnosisReport::key(CheckResult::Check check)
{
    using C = CheckResult::Check;
    switch (check) {
    case C::MidiSystem:
        return QStringLiteral("midi_system");
    case C::MidiPorts:
        return QStringLiteral("midi_ports");
    case C::Instrument:
        return QStringLiteral("instrument");
    case C::ReleaseServer:
        return QStringLiteral("release_server");
    case C::DownloadFolder:
        return QStringLiteral("download_folder");
    case C::Volumes:
        break;
    }
    return QStringLiteral("volumes");
}

QString DiagnosisReport::key(CheckResult::Outcome outcome)
{
    using O = CheckResult::Outcome;
    switch (outcome) {
    case O::Ok:
        return QStringLiteral("ok");
    case O::Note:
        return QStringLiteral("note");
    case O::Problem:
        return QStringLiteral("problem");
    case O::NotRun:
        break;
    }
    return QStringLiteral("not_run");
}

QString DiagnosisReport::line(const CheckResult& result)
{
    return tr("%1: %2. %3").arg(name(result.check), status(result.outcome), result.text);
}

QString DiagnosisReport::text(const QList<CheckResult>& results, const QDateTime& madeAt)
{
    QStringList lines;
    lines << tr("Check of this computer, %1")
                 .arg(QLocale().toString(madeAt.toLocalTime(), QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    for (const CheckResult& result : results)
        lines << line(result);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QJsonObject DiagnosisReport::json(const CheckResult& result)
{
    return {{QStringLiteral("event"), QStringLiteral("check_result")},
            {QStringLiteral("check"), key(result.check)},
            {QStringLiteral("outcome"), key(result.outcome)},
            {QStringLiteral("text"), result.text}};
}

bool DiagnosisReport::foundProblem(const QList<CheckResult>& results)
{
    for (const CheckResult& result : results)
        if (result.outcome == CheckResult::Outcome::Problem)
            return true;
    return false;
}
