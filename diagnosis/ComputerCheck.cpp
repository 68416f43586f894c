#include "ComputerCheck.h"

#include "CheckLines.h"
#include "DiagnosisReport.h"
#include "InstrumentPorts.h"
#include "LocalChecks.h"
#include "MidiBackend.h"
#include "MidiInput.h"
#include "MidiOutput.h"
#include "Platform.h"
#include "PlainFolderSpace.h"
#include "Presence.h"
#include "ServerProbe.h"
#include "UsbIdentityLookup.h"

#include <QMutexLocker>

namespace {

// The problem of a create that came back empty: the backend's words, or, where it gave none,
// a library error without detail (an empty object is never taken as working).
MidiProblem problemOf(bool made, MidiBackend& midi)
{
    if (made)
        return {};
    MidiProblem problem = midi.lastProblem();
    if (!problem.isProblem())
        problem.kind = MidiProblem::Kind::LibraryError;
    return problem;
}

template <class Port>
int countPorts(Port* port, UsbIdentityLookup* usb, QStringList& instrument)
{
    if (!port)
        return 0;
    const std::optional<unsigned int> count = port->getPortCount();
    for (unsigned int i = 0; count && i < *count; ++i) {
        const std::optional<std::string> name = port->getPortName(i);
        if (!name)
            continue;
        const QString text = QString::fromStdString(*name);
        if (usb && InstrumentPorts::isInstrumentIdentity(usb->lookUp(text)))
            instrument << text;
    }
    return count ? int(*count) : 0;
}

} // namespace

ComputerCheck::Sources ComputerCheck::fromPlatform(const Platform& platform, QObject* storage,
                                                   Presence* presence, const QUrl& server)
{
    Sources sources;
    sources.midi = platform.midi;
    sources.usb = platform.usb;
    sources.volumes = platform.volumes;
    sources.storage = storage;
    sources.presence = presence;
    sources.server = server;
    sources.downloadFolder = platform.appFolders.downloads.isEmpty()
                                 ? AppFolders::forThisSystem().downloads
                                 : platform.appFolders.downloads;
    return sources;
}

ComputerCheck::ComputerCheck(const Sources& sources, const DiagnosisTimings& timings, QObject* parent)
    : QObject(parent), sources(sources), timings(timings), probe(new ServerProbe(this))
{
    if (!this->sources.space)
        this->sources.space = std::make_shared<PlainFolderSpace>();
    for (QTimer* timer : {&instrumentWait, &folderWait, &volumesWait})
        timer->setSingleShot(true);
    connect(&instrumentWait, &QTimer::timeout, this, [this] {
        CheckLines::Answer answer;
        answer.state = CheckLines::Answer::State::Silent;
        answer.limitMs = this->timings.instrumentMs;
        set(CheckLines::instrument(answer));
    });
    connect(&folderWait, &QTimer::timeout, this, [this] {
        CheckLines::Folder late;
        late.limitMs = this->timings.localMs;
        set(CheckLines::downloadFolder(late));
    });
    connect(&volumesWait, &QTimer::timeout, this, [this] {
        set(CheckLines::volumes({}, false, this->timings.localMs));
    });
    connect(probe, &ServerProbe::finished, this,
            [this](const CheckLines::Server& facts, qint64 updateBytes) {
                set(CheckLines::releaseServer(facts));
                startLocal(1, updateBytes);
            });
    if (this->sources.presence)
        connect(this->sources.presence, &Presence::versionReported, this,
                &ComputerCheck::instrumentAnswered);
}

ComputerCheck::~ComputerCheck()
{
    // A check still running on the storage thread hands nothing back from now on.
    QMutexLocker locker(handBackLock.get());
    *alive = false;
}

void ComputerCheck::start()
{
    if (isRunning)
        return;
    ++run;
    current.clear();
    isRunning = true;
    qInfo("Computer check started");
    Q_EMIT changed();
    checkMidi();
    checkInstrument();
    startLocal(0, -1);
    probe->start(sources.server, timings.serverMs);
}

void ComputerCheck::checkMidi()
{
    MidiProblem inputProblem;
    MidiProblem outputProblem;
    CheckLines::Ports ports;
    if (!sources.midi) {
        inputProblem.kind = MidiProblem::Kind::ServiceMissing;
        outputProblem = inputProblem;
    } else {
        const std::unique_ptr<MidiInput> input = sources.midi->createInput();
        inputProblem = problemOf(input != nullptr, *sources.midi);
        const std::unique_ptr<MidiOutput> output = sources.midi->createOutput();
        outputProblem = problemOf(output != nullptr, *sources.midi);
        ports.listed = input || output;
        ports.inputs = countPorts(input.get(), sources.usb.get(), ports.instrumentInputs);
        ports.outputs = countPorts(output.get(), sources.usb.get(), ports.instrumentOutputs);
    }
    const CheckResult system = CheckLines::midiSystem(inputProblem, outputProblem);
    instrumentPortsSeen = !ports.instrumentInputs.isEmpty();
    set(system);
    set(CheckLines::midiPorts(ports));
}

void ComputerCheck::checkInstrument()
{
    using State = CheckLines::Answer::State;
    CheckLines::Answer answer;
    answer.limitMs = timings.instrumentMs;
    answer.heldBy = sources.heldBy;
    if (current.value(CheckResult::Check::MidiPorts).outcome == CheckResult::Outcome::NotRun)
        answer.state = State::MidiUnusable;
    else if (!sources.heldBy.isEmpty())
        answer.state = State::Held;
    else if (!instrumentPortsSeen)
        answer.state = State::NoPorts;
    else if (sources.presence && !sources.presence->firmware().isEmpty())
        answer = {State::Answered, sources.presence->firmware(), QString(), timings.instrumentMs};
    else if (sources.presence) {
        // Its ports are there: the link asks it for its version, or is about to.
        instrumentWait.start(timings.instrumentMs);
        return;
    } else
        answer.state = State::Silent;
    set(CheckLines::instrument(answer));
}

void ComputerCheck::instrumentAnswered()
{
    if (!isRunning || !instrumentWait.isActive() || sources.presence->firmware().isEmpty())
        return;
    instrumentWait.stop();
    CheckLines::Answer answer;
    answer.state = CheckLines::Answer::State::Answered;
    answer.firmware = sources.presence->firmware();
    set(CheckLines::instrument(answer));
}

void ComputerCheck::startLocal(int which, qint64 updateBytes)
{
    QTimer& wait = which == 0 ? volumesWait : folderWait;
    wait.start(timings.localMs);
    const int id = run;
    const std::shared_ptr<QMutex> lock = handBackLock;
    const std::shared_ptr<bool> isAlive = alive;
    const std::shared_ptr<VolumeList> volumes = sources.volumes;
    const std::shared_ptr<FolderSpace> space = sources.space;
    const QString folder = sources.downloadFolder;
    const int limitMs = timings.localMs;
    auto work = [this, which, updateBytes, id, lock, isAlive, volumes, space, folder, limitMs] {
        CheckResult result;
        if (which == 0)
            result = CheckLines::volumes(LocalChecks::volumes(volumes.get()), true, limitMs);
        else
            result = CheckLines::downloadFolder(LocalChecks::folder(folder, *space, updateBytes));
        QMutexLocker locker(lock.get());
        if (!*isAlive)
            return;
        QMetaObject::invokeMethod(this, [this, id, result] {
            if (id != run || current.contains(result.check))
                return; // late: the time limit has spoken, or a newer check runs
            (result.check == CheckResult::Check::Volumes ? volumesWait : folderWait).stop();
            set(result);
        }, Qt::QueuedConnection);
    };
    if (sources.storage)
        QMetaObject::invokeMethod(sources.storage, work, Qt::QueuedConnection);
    else
        work();
}

void ComputerCheck::set(const CheckResult& result)
{
    if (!isRunning || current.contains(result.check))
        return;
    current.insert(result.check, result);
    finishIfDone();
}

void ComputerCheck::finishIfDone()
{
    const QList<CheckResult::Check> order = allChecks();
    if (current.size() < order.size())
        return;
    last.clear();
    for (CheckResult::Check check : order)
        last << current.value(check);
    lastMadeAt = QDateTime::currentDateTime();
    isRunning = false;
    for (const CheckResult& result : std::as_const(last))
        qInfo("Computer check: %s", qPrintable(DiagnosisReport::line(result)));
    Q_EMIT changed();
    Q_EMIT finished();
}

QString ComputerCheck::report() const
{
    return last.isEmpty() ? QString() : DiagnosisReport::text(last, lastMadeAt);
}

QVariantList ComputerCheck::lines() const
{
    QVariantList list;
    for (const CheckResult& result : last)
        list << QVariantMap{{QStringLiteral("name"), DiagnosisReport::name(result.check)},
                            {QStringLiteral("status"), DiagnosisReport::status(result.outcome)},
                            {QStringLiteral("outcome"), DiagnosisReport::key(result.outcome)},
                            {QStringLiteral("text"), result.text}};
    return list;
}
