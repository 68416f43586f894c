#include "MessageRecorder.h"

#include <cstdio>

namespace {
MessageRecorder* g_current = nullptr;
} // namespace

MessageRecorder::MessageRecorder()
{
    Q_ASSERT(!g_current);
    g_current = this;
    m_previous = qInstallMessageHandler(&MessageRecorder::handle);
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
    if (g_current) {
        if (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg)
            g_current->m_warnings.append(message);
        else
            g_current->m_infos.append(message);
        if (g_current->m_previous) {
            g_current->m_previous(type, context, message);
            return;
        }
    }
    // No earlier handler: print like Qt's default handler would.
    fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}
