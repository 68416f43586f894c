#pragma once

#include <QPointer>
#include <QThread>

class QObject;

// The storage worker thread: takes the FileManager (made without a parent), moves it onto a
// thread of its own and starts that thread. When the thread finishes, both are deleted later
// (the FileManager by the thread's end, the thread by its own deleteLater).
//
// At the end of the run (the destructor, after the event loop has returned) the thread is
// asked to quit and given up to stopTimeoutMs to finish the request in hand, so that a copy
// onto the instrument is not cut mid-write without reason, but the exit does not hang on it.
class StorageWorker
{
public:
    static constexpr unsigned long kStopTimeoutMs = 10000;

    explicit StorageWorker(QObject* fileManager);
    ~StorageWorker();

    StorageWorker(const StorageWorker&) = delete;
    StorageWorker& operator=(const StorageWorker&) = delete;

    QThread* thread() const { return m_thread; }

private:
    QPointer<QThread> m_thread;
};
