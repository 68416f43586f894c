#pragma once

#include <QObject>
#include <QString>

// Relays the storage worker's copy progress and result to the window, on the main thread.
// Its signals are fed by signal-to-signal connections that the wiring makes; nothing else
// emits them.
class MainController : public QObject
{
    Q_OBJECT
public:
    explicit MainController(QObject* parent = nullptr);

Q_SIGNALS:
    void fileTransferComplete(bool success);
#ifdef TAVLO_UPDATE_ONLY
    // The update-only edition passes the FileManager's text ("40%") on unchanged.
    void copyingFileProgress(QString percentage);
#else
    void copyingFileProgress(int percentage);
#endif
};
