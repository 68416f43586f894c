#pragma once

#include <QObject>
#include <QString>

// Relays the storage worker's copy progress and result to the window, on the main thread.
// Its signals are fed by signal-to-signal connections that the wiring makes; nothing else
// emits them. This edition's progress is the FileManager's text ("40%"), passed on unchanged.
class MainController : public QObject
{
    Q_OBJECT
public:
    explicit MainController(QObject* parent = nullptr);

Q_SIGNALS:
    void fileTransferComplete(bool success);
    void copyingFileProgress(QString percentage);
    // Why the hand-over failed, just before fileTransferComplete(false).
    void transferFailureReason(QString reason);
};
