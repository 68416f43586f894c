#pragma once

#include "HistoryRecord.h"
#include "UpdateConfirmation.h"
#include "UpdateFlow.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class HistoryLog;
class Presence;

// Writes what the program did to the instrument into the history (HistoryLog).
//
// An update is followed through the UpdateFlow: from its start (the firmware the instrument
// reported then) to its end, once the update file was at hand and its hand-over to the
// instrument began (an update whose download failed did nothing to the instrument and is not
// recorded).
// The file's name and SHA-256 come from the storage's read-back check (onReadBackChecked).
// The result:
//   confirmed      the instrument came back with the installed firmware
//   not-applied    it came back with another firmware
//   not-confirmed  it did not come back, or the program ended before it did
//   failed         the update mode, the copy or the finish message failed
//   cancelled      the instrument went away during the copy, or the program ended then
//
// The backup and restore flows record theirs through the two slots. A record that cannot be
// written is logged and never stops a flow.
class HistoryRecorder : public QObject
{
    Q_OBJECT

public:
    HistoryRecorder(const HistoryLog& log, UpdateFlow& flow, Presence& presence,
                    QObject* parent = nullptr);
    // An update still open (the program ends during it) is recorded as it stands.
    ~HistoryRecorder() override;

    // The clock the records' times are read from (UTC); the system's by default.
    void setClock(std::function<QDateTime()> clock) { now = std::move(clock); }
    const HistoryLog& log() const { return history; }

    // The newest backup that was done, if any: the next backup's size and time are estimated
    // from it.
    std::optional<HistoryRecord> lastBackup() const;

public Q_SLOTS:
    // The storage's report: the update file on the volume was read back and matched.
    void onReadBackChecked(const QString& fileName, const QString& sha256);
    void recordBackup(const QString& firmware, const QString& folder, int files, qint64 bytes,
                      qint64 linkedBytes, qint64 durationMs, const QString& result,
                      const QString& reason);
    void recordRestore(const QString& firmware, const QString& backupFolder, int filesWritten,
                       const QString& result, const QString& reason);

Q_SIGNALS:
    // A record was added (or would have been, when the history is not kept).
    void recorded();

private:
    void onStarting();
    void onFlowState(UpdateFlow::State state);
    void onConfirmation(UpdateConfirmation::State state);
    void endUpdate(const QString& result);
    void write(HistoryRecord record);

    const HistoryLog& history;
    UpdateFlow& flow;
    Presence& presence;
    std::function<QDateTime()> now;

    // The update under way.
    bool open = false;       // started, not yet recorded
    bool touched = false;    // the instrument was to take the file
    bool handedOver = false; // the file is on it and it was told to apply it
    HistoryRecord update;
};
