#pragma once

#include <QObject>

// Relays the storage worker's copy progress (a whole percentage) and result to the window,
// on the main thread. Its signals are fed by signal-to-signal connections that the wiring
// makes; nothing else emits them.
class MainController : public QObject
{
    Q_OBJECT
public:
    explicit MainController(QObject* parent = nullptr);

Q_SIGNALS:
    void fileTransferComplete(bool success);
    void copyingFileProgress(int percentage);
    // Why the hand-over failed, just before fileTransferComplete(false).
    void transferFailureReason(QString reason);
};
