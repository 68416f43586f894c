#include "CliPrompt.h"

#include <QCoreApplication>
#include <QPointer>

#include <cstdio>
#include <thread>

namespace CliPrompt {

bool confirm()
{
    char answer[64];
    if (!std::fgets(answer, sizeof answer, stdin))
        return false;
    const QString text = QString::fromLocal8Bit(answer).trimmed().toLower();
    return text == QLatin1String("y") || text == QLatin1String("yes")
           || text == QCoreApplication::translate("CliPrompt", "y")
           || text == QCoreApplication::translate("CliPrompt", "yes");
}

void waitForLine(QObject* context, std::function<void(bool entered)> then)
{
    QPointer<QObject> guard(context);
    // The thread may outlive the command (no line ever comes): it is left to the process's end.
    std::thread([guard, then] {
        char line[256];
        const bool entered = std::fgets(line, sizeof line, stdin) != nullptr;
        QMetaObject::invokeMethod(QCoreApplication::instance(), [guard, then, entered] {
            if (guard)
                then(entered);
        }, Qt::QueuedConnection);
    }).detach();
}

} // namespace CliPrompt
