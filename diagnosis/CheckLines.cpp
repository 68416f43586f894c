#include "CheckLines.h"

#include "MidiProblemText.h"
#include "UpdateHandOver.h"
#include "VolumeChoice.h"
#include "VolumeList.h"

#include <QLocale>

namespace {

using Outcome = CheckResult::Outcome;
using Check = CheckResult::Check;

CheckResult result(Check check, Outcome outcome, const QString& text)
{
    CheckResult line;
    line.check = check;
    line.outcome = outcome;
    line.text = text;
    return line;
}

QString quoted(const QStringList& names)
{
    QStringList each;
    for (const QString& name : names)
        each << QStringLiteral("\u201c%1\u201d").arg(name);
    return each.join(QStringLiteral(", "));
}

// The label of the instrument's storage in transfer mode.
const char* const kTransferLabel = "TAVLO";

} // namespace

QString CheckLines::size(qint64 bytes)
{
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

QString CheckLines::seconds(int ms)
{
    return tr("%1 s").arg(QLocale().toString(ms / 1000.0, 'g', 3));
}

qint64 CheckLines::floorBytes()
{
    return 256LL * 1000 * 1000;
}

CheckResult CheckLines::midiSystem(const MidiProblem& input, const MidiProblem& output)
{
    const MidiProblem& problem = input.isProblem() ? input : output;
    if (problem.isProblem())
        return result(Check::MidiSystem, Outcome::Problem, MidiProblemText::sentence(problem));
    return result(Check::MidiSystem, Outcome::Ok,
                  tr("The MIDI system opens: its input and output objects can be made."));
}

CheckResult CheckLines::midiPorts(const Ports& ports)
{
    if (!ports.listed)
        return result(Check::MidiPorts, Outcome::NotRun,
                      tr("Without the MIDI system no ports can be listed."));
    const QString seen = tr("Ports seen: %1 in, %2 out").arg(ports.inputs).arg(ports.outputs);
    if (ports.instrumentInputs.isEmpty() && ports.instrumentOutputs.isEmpty())
        return result(Check::MidiPorts, Outcome::Note,
                      tr("%1; none of them is Tavlo's. Connect Tavlo over USB and switch it on.")
                          .arg(seen));
    if (ports.instrumentInputs.isEmpty() || ports.instrumentOutputs.isEmpty())
        return result(Check::MidiPorts, Outcome::Problem,
                      tr("%1; Tavlo shows only %2 (%3), not both an input and an output. Reconnect "
                         "Tavlo; if that does not help, restart the computer.")
                          .arg(seen,
                               ports.instrumentInputs.isEmpty() ? tr("an output") : tr("an input"),
                               quoted(ports.instrumentInputs + ports.instrumentOutputs)));
    return result(Check::MidiPorts, Outcome::Ok,
                  tr("%1; Tavlo's: input %2, output %3.")
                      .arg(seen, quoted(ports.instrumentInputs), quoted(ports.instrumentOutputs)));
}

CheckResult CheckLines::instrument(const Answer& answer)
{
    switch (answer.state) {
    case Answer::State::MidiUnusable:
        return result(Check::Instrument, Outcome::NotRun,
                      tr("Without the MIDI system Tavlo cannot be reached."));
    case Answer::State::NoPorts:
        return result(Check::Instrument, Outcome::Note, tr("Tavlo is not connected."));
    case Answer::State::Held:
        return result(Check::Instrument, Outcome::NotRun,
                      tr("Tavlo is not asked while another program holds it. %1").arg(answer.heldBy));
    case Answer::State::Answered:
        return result(Check::Instrument, Outcome::Ok,
                      tr("Tavlo answered: firmware %1.").arg(answer.firmware));
    case Answer::State::Silent:
        break;
    }
    return result(Check::Instrument, Outcome::Problem,
                  tr("Tavlo's ports are there, but it did not report its firmware version within "
                     "%1. Switch Tavlo off and on again, then check again.")
                      .arg(seconds(answer.limitMs)));
}

CheckResult CheckLines::releaseServer(const Server& server)
{
    const QString way = server.proxy.isEmpty() ? tr("without a proxy")
                                               : tr("through the proxy %1").arg(server.proxy);
    switch (server.result) {
    case Server::Result::Read:
        return result(Check::ReleaseServer, Outcome::Ok,
                      tr("The release catalogue was read from %1 (%2); the latest of its versions "
                         "is %3 (%4 in all).")
                          .arg(server.url, way, server.latest)
                          .arg(server.versions));
    case Server::Result::NotACatalogue:
        return result(Check::ReleaseServer, Outcome::Problem,
                      tr("%1 answered (%2), but not with a release catalogue (%3). Something on "
                         "this network may be answering in the server's place; try again later.")
                          .arg(server.url, way, server.detail));
    case Server::Result::Tls:
        return result(Check::ReleaseServer, Outcome::Problem,
                      tr("%1 (%2): %3").arg(server.url, way, server.detail));
    case Server::Result::Http:
        return result(Check::ReleaseServer, Outcome::Problem,
                      tr("%1 (%2) answered with the status %3 instead of the catalogue. Try again "
                         "later.")
                          .arg(server.url, way)
                          .arg(server.httpStatus));
    case Server::Result::TimedOut:
        return result(Check::ReleaseServer, Outcome::Problem,
                      tr("%1 (%2) did not answer within %3. Check the internet connection, then "
                         "check again.")
                          .arg(server.url, way, seconds(server.limitMs)));
    case Server::Result::Unreachable:
        break;
    }
    return result(Check::ReleaseServer, Outcome::Problem,
                  tr("%1 could not be reached (%2): %3. Check the internet connection%4, then "
                     "check again.")
                      .arg(server.url, way, server.detail,
                           server.proxy.isEmpty() ? QString() : tr(" and the proxy")));
}

CheckResult CheckLines::downloadFolder(const Folder& folder)
{
    if (!folder.checked)
        return result(Check::DownloadFolder, Outcome::NotRun,
                      tr("The storage was busy for longer than %1. Check again later.")
                          .arg(seconds(folder.limitMs)));
    if (folder.path.isEmpty())
        return result(Check::DownloadFolder, Outcome::Problem,
                      tr("The download folder could not be made, or is not a plain folder of this "
                         "user's. Check the cache folder's permissions."));
    if (!folder.writable)
        return result(Check::DownloadFolder, Outcome::Problem,
                      tr("No file can be written in %1 (%2). Make the folder writable for your "
                         "user, then check again.")
                          .arg(folder.path, folder.writeError));
    const bool known = folder.updateBytes > 0;
    const qint64 needed = known ? folder.updateBytes : floorBytes();
    const QString need = known ? tr("the update on offer needs %1").arg(size(needed))
                               : tr("%1 is asked for when the update's size is not known")
                                     .arg(size(needed));
    if (folder.freeBytes < 0)
        return result(Check::DownloadFolder, Outcome::Ok,
                      tr("%1 is writable; its free space is not known (%2).")
                          .arg(folder.path, need));
    if (folder.freeBytes < needed)
        return result(Check::DownloadFolder, Outcome::Problem,
                      tr("%1 is writable, but only %2 are free (%3). Free some space, then check "
                         "again.")
                          .arg(folder.path, size(folder.freeBytes), need));
    return result(Check::DownloadFolder, Outcome::Ok,
                  tr("%1 is writable, with %2 free (%3).")
                      .arg(folder.path, size(folder.freeBytes), need));
}

CheckResult CheckLines::volumes(const QList<VolumeInfo>& mounted, bool listed, int limitMs)
{
    if (!listed)
        return result(Check::Volumes, Outcome::NotRun,
                      tr("The list of volumes did not come within %1. Check again later.")
                          .arg(seconds(limitMs)));
    QStringList found;
    QStringList problems;
    QStringList strangers;
    const QString labels[] = {QString::fromLatin1(kTransferLabel),
                              QString::fromLatin1(UpdateHandOver::kUpdateVolumeLabel)};
    for (const QString& label : labels) {
        const VolumeChoice choice = VolumeChoice::among(mounted, label);
        const bool transfer = label == QLatin1String(kTransferLabel);
        switch (choice.kind()) {
        case VolumeChoice::Kind::Own:
            found << (transfer ? tr("Tavlo's storage is mounted at %1 (transfer mode).")
                               : tr("Tavlo's update volume is mounted at %1 (update mode)."))
                         .arg(choice.rootPath());
            break;
        case VolumeChoice::Kind::ReadOnly:
            problems << tr("Tavlo's volume %1 is mounted read-only, so nothing can be written to "
                           "it. Eject it, switch Tavlo off and on again, then check again.")
                            .arg(label);
            break;
        case VolumeChoice::Kind::Several:
            problems << choice.refusal();
            break;
        case VolumeChoice::Kind::Stranger:
        case VolumeChoice::Kind::None:
            break;
        }
        if (choice.strangers() > 0)
            strangers << tr("A drive that is not Tavlo's is named %1; it is left alone.").arg(label);
    }
    if (!problems.isEmpty())
        return result(Check::Volumes, Outcome::Problem, (problems + found + strangers).join(QLatin1Char(' ')));
    if (found.isEmpty())
        found << tr("None of Tavlo's volumes is mounted, as in normal mode.");
    return result(Check::Volumes, Outcome::Ok, (found + strangers).join(QLatin1Char(' ')));
}
