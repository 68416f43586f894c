#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

// The update hand-over's reports as both editions' FileManager publish them: the result with
// the reason of a failure just before it, the read-back check, and the copy progress in the
// edition's form (ProgressForm): a whole percentage (full edition) or its text ("40%",
// update-only edition). Lives on the storage worker thread with its FileManager.
class HandOverReports : public QObject
{
    Q_OBJECT

public:
    enum class ProgressForm {
        Percentage, // copyPercentage: ChunkCopier::percentage, clamped to 0..100
        Text,       // copyProgressText: ProgressText::of, not clamped
    };

    explicit HandOverReports(ProgressForm form, QObject* parent = nullptr);

    void progress(qint64 copied, qint64 total);
    // A failure's reason is reported just before the failure itself.
    void result(bool success, const QString& reason);

    // Relays the signals both editions' FileManager publish to the same-named signals of the
    // facade. The progress, whose form differs, is the facade's own connection.
    template <class Facade>
    void relaySignalsTo(Facade* facade)
    {
        connect(this, &HandOverReports::fileTransferComplete, facade,
                &Facade::fileTransferComplete);
        connect(this, &HandOverReports::transferFailureReason, facade,
                &Facade::transferFailureReason);
        connect(this, &HandOverReports::readBackChecked, facade, &Facade::readBackChecked);
    }

Q_SIGNALS:
    void fileTransferComplete(bool success);
    void transferFailureReason(QString reason);
    // The copy on the volume was read back and matched the update file, before its rename.
    void readBackChecked(QString fileName, QString sha256);
    void copyPercentage(int percentage);
    void copyProgressText(QString percentage);

private:
    const ProgressForm form;
};
