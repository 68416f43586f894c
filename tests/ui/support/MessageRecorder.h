#pragma once

#include <QStringList>
#include <QtGlobal>

// Records every warning, critical and fatal message that Qt's logger receives while it
// exists (QML errors, binding and connection warnings included), and passes every message
// on to the handler installed before it. One recorder at a time, made on the main thread.
class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    QStringList warnings() const;
    QStringList infos() const;
    void clear();

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);

    QtMessageHandler m_previous = nullptr;
    QStringList m_warnings;
    QStringList m_infos;
};
