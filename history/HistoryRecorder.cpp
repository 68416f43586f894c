#include "HistoryRecorder.h"

#include "HistoryLog.h"
#include "Presence.h"

HistoryRecorder::HistoryRecorder(const HistoryLog& log, UpdateFlow& flow, Presence& presence,
                                 QObject* parent)
    : QObject(parent), history(log), flow(flow), presence(presence),
      now([] { return QDateTime::currentDateTimeUtc(); })
{
    connect(&flow, &UpdateFlow::updateStarting, this, &HistoryRecorder::onStarting);
    connect(&flow, &UpdateFlow::stateChanged, this, &HistoryRecorder::onFlowState);
    connect(&flow.confirmation(), &UpdateConfirmation::stateChanged, this,
            &HistoryRecorder::onConfirmation);
}

HistoryRecorder::~HistoryRecorder()
{
    if (open && touched)
        endUpdate(handedOver ? QStringLiteral("not-confirmed") : QStringLiteral("cancelled"));
}

std::optional<HistoryRecord> HistoryRecorder::lastBackup() const
{
    for (const HistoryRecord& record : history.read()) {
        if (record.kind == HistoryRecord::Kind::Backup && record.result == QLatin1String("done"))
            return record;
    }
    return std::nullopt;
}

void HistoryRecorder::onStarting()
{
    // A start while another is open cannot happen in the flow; should it, the first one's end
    // is not known and it is dropped rather than guessed.
    update = HistoryRecord();
    update.kind = HistoryRecord::Kind::Update;
    update.fromVersion = presence.firmware();
    open = true;
    touched = false;
    handedOver = false;
}

void HistoryRecorder::onReadBackChecked(const QString& fileName, const QString& sha256)
{
    if (!open)
        return;
    update.fileName = fileName;
    update.sha256 = sha256.toLower();
}

void HistoryRecorder::onFlowState(UpdateFlow::State state)
{
    using State = UpdateFlow::State;
    using Confirmation = UpdateConfirmation::State;
    if (!open)
        return;
    switch (state) {
    case State::Copying:
        touched = true;
        update.toVersion = flow.installingVersion();
        return;
    case State::Succeeded:
        handedOver = true;
        return;
    case State::Failed:
        // The update mode may fail as the file comes to hand, before the copy: the hand-over
        // failed all the same.
        if (!touched && flow.versionLine() == UpdateFlow::Line::TransferFailed) {
            touched = true;
            update.toVersion = flow.fileVersionAtHand();
        }
        if (!touched)
            break;
        switch (flow.confirmation().state()) {
        case Confirmation::OtherVersion:
            update.confirmedVersion = flow.confirmation().reported();
            return endUpdate(QStringLiteral("not-applied"));
        case Confirmation::NotBack:
            return endUpdate(QStringLiteral("not-confirmed"));
        default:
            return endUpdate(QStringLiteral("failed"));
        }
    case State::NotFinished:
        if (touched)
            return endUpdate(QStringLiteral("failed"));
        break;
    case State::Idle:
    case State::Choosing:
        if (touched)
            return endUpdate(QStringLiteral("cancelled"));
        break;
    case State::Downloading:
    case State::OtherRoute:
        return;
    }
    // Ended before the instrument was to take anything: nothing was done to it.
    open = false;
}

void HistoryRecorder::onConfirmation(UpdateConfirmation::State state)
{
    if (!open || !handedOver || state != UpdateConfirmation::State::Confirmed)
        return;
    update.confirmedVersion = flow.confirmation().reported();
    endUpdate(QStringLiteral("confirmed"));
}

void HistoryRecorder::endUpdate(const QString& result)
{
    open = false;
    update.result = result;
    write(update);
}

void HistoryRecorder::recordBackup(const QString& firmware, const QString& folder, int files,
                                   qint64 bytes, qint64 linkedBytes, qint64 durationMs,
                                   const QString& result, const QString& reason)
{
    HistoryRecord record;
    record.kind = HistoryRecord::Kind::Backup;
    record.firmware = firmware;
    record.folder = folder;
    record.files = qMax(files, 0);
    record.bytes = qMax<qint64>(bytes, 0);
    record.linkedBytes = qMax<qint64>(linkedBytes, 0);
    record.durationMs = qMax<qint64>(durationMs, 0);
    record.result = result;
    record.reason = reason;
    write(record);
}

void HistoryRecorder::recordRestore(const QString& firmware, const QString& backupFolder,
                                    int filesWritten, const QString& result,
                                    const QString& reason)
{
    HistoryRecord record;
    record.kind = HistoryRecord::Kind::Restore;
    record.firmware = firmware;
    record.folder = backupFolder;
    record.files = qMax(filesWritten, 0);
    record.result = result;
    record.reason = reason;
    write(record);
}

void HistoryRecorder::write(HistoryRecord record)
{
    record.time = now().toUTC();
    record.instrument = HistoryRecord::instrumentKey();
    // A result the history does not know would make the line unreadable: it is kept as a
    // failure, with what was said as the reason.
    if (!HistoryRecord::results(record.kind).contains(record.result)) {
        if (record.reason.isEmpty())
            record.reason = record.result;
        record.result = QStringLiteral("failed");
    }
    history.append(record);
    emit recorded();
}
