#include "MessageRecorder.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <cstdio>

namespace {
MessageRecorder* g_current = nullptr;
// The handler that was installed before the recorder (Qt Test's, in a test). Written only
// before the recorder's handler is installed, so every thread may read it.
QtMessageHandler g_previous = nullptr;
} // namespace

MessageRecorder::MessageRecorder()
{
    Q_ASSERT(!g_current);
    g_current = this;
    g_previous = qInstallMessageHandler(nullptr);
    m_previous = g_previous;
    qInstallMessageHandler(&MessageRecorder::handle);
}

MessageRecorder::~MessageRecorder()
{
    qInstallMessageHandler(m_previous);
    g_current = nullptr;
}

QStringList MessageRecorder::warnings() const
{
    return m_warnings;
}

QStringList MessageRecorder::infos() const
{
    return m_infos;
}

void MessageRecorder::clear()
{
    m_warnings.clear();
    m_infos.clear();
}

void MessageRecorder::handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const bool warning = type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg;
    // The recorder's lists belong to the main thread; a message from another thread is
    // handed over to it, queued, and recorded if a recorder still exists by then.
    auto record = [warning, message] {
        if (!g_current)
            return;
        (warning ? g_current->m_warnings : g_current->m_infos).append(message);
    };
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread())
        record();
    else
        QMetaObject::invokeMethod(app, record, Qt::QueuedConnection);

    if (g_previous) {
        g_previous(type, context, message);
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}
