#include "CliPrompt.h"

#include <QCoreApplication>
#include <QPointer>

#include <cstdio>
#include <thread>

#ifdef Q_OS_WIN
#include <io.h>
#define TAVLO_ISATTY _isatty
#define TAVLO_FILENO _fileno
#else
#include <unistd.h>
#define TAVLO_ISATTY isatty
#define TAVLO_FILENO fileno
#endif

namespace {

bool isYes(const char* answer)
{
    const QString text = QString::fromLocal8Bit(answer).trimmed().toLower();
    return text == QLatin1String("y") || text == QLatin1String("yes")
           || text == QCoreApplication::translate("CliPrompt", "y")
           || text == QCoreApplication::translate("CliPrompt", "yes");
}

} // namespace

namespace CliPrompt {

bool confirm()
{
    char answer[64];
    if (!std::fgets(answer, sizeof answer, stdin))
        return false;
    return isYes(answer);
}

bool inputIsTerminal()
{
    return TAVLO_ISATTY(TAVLO_FILENO(stdin)) != 0;
}

void confirmLater(QObject* context, std::function<void(bool yes)> then)
{
    QPointer<QObject> guard(context);
    // As in waitForLine: a thread never answered is left to the process's end.
    std::thread([guard, then] {
        char answer[64];
        const bool yes = std::fgets(answer, sizeof answer, stdin) != nullptr && isYes(answer);
        QMetaObject::invokeMethod(QCoreApplication::instance(), [guard, then, yes] {
            if (guard)
                then(yes);
        }, Qt::QueuedConnection);
    }).detach();
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
