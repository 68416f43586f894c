#include "StorageWorker.h"
#include "WiringLog.h"

#include <QObject>
#include <QThread>

StorageWorker::StorageWorker(QObject* fileManager) : m_thread(new QThread)
{
    fileManager->moveToThread(m_thread);
    m_thread->start();
    QObject::connect(m_thread, &QThread::finished, fileManager, &QObject::deleteLater);
    QObject::connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
}

StorageWorker::~StorageWorker()
{
    if (!m_thread)
        return; // it stopped earlier and the event loop has already deleted it
    m_thread->quit();
    if (m_thread->wait(kStopTimeoutMs)) {
        // The FileManager went with the thread's end. The thread's own deleteLater was queued
        // to this thread and would wait for an event loop that has ended: delete it now (its
        // destructor discards what is still posted for it).
        delete m_thread.data();
    } else {
        qCWarning(lcWiring, "The storage worker did not stop within %lu ms", kStopTimeoutMs);
    }
}
