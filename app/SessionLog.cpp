#include "SessionLog.h"

#include "AppFolders.h"
#include "OwnerOnlyFiles.h"
#include "UrlCredentials.h"

#include <QDir>
#include <QFileInfo>

#include <QLoggingCategory>

#include <QList>

#include <atomic>
#include <cstring>
#include <mutex>

namespace {

std::atomic<SessionLog*> g_active{nullptr};
QtMessageHandler g_previous = nullptr;
SessionLog::Echo g_echo = SessionLog::Echo::Previous;

// The messages held until a log is installed (SessionLog::holdMessages).
struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};
std::mutex g_heldLock;
QList<HeldMessage> g_held;
bool g_holding = false;
QtMessageHandler g_beforeHolding = nullptr;

const char* letterOf(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return "D";
    case QtInfoMsg:
        return "I";
    case QtWarningMsg:
        return "W";
    case QtCriticalMsg:
        return "C";
    case QtFatalMsg:
        return "F";
    }
    return "?";
}

} // namespace

QString SessionLog::defaultFolder()
{
    return AppFolders::forThisSystem().logs;
}

QString SessionLog::sessionFileName(const QDateTime& start, qint64 processId)
{
    return QStringLiteral("session-%1-%2.log")
        .arg(start.toUTC().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")))
        .arg(processId);
}

QString SessionLog::formatLine(const QDateTime& when, QtMsgType type, const char* category,
                               const QString& message)
{
    QString text = message;
    text.replace(QLatin1Char('\n'), QLatin1String("\n    "));
    return QStringLiteral("%1 %2 %3: %4")
        .arg(when.toUTC().toString(Qt::ISODateWithMs), QLatin1String(letterOf(type)),
             QLatin1String(category && *category ? category : "default"), text);
}

QStringList SessionLog::sessionFiles(const QString& folder)
{
    const QStringList names = QDir(folder).entryList({QStringLiteral("session-*.log")},
                                                     QDir::Files, QDir::Name | QDir::Reversed);
    QStringList paths;
    for (const QString& name : names)
        paths << QDir(folder).filePath(name);
    return paths;
}

SessionLog SessionLog::inFolder(const QString& folder, int keep)
{
    SessionLog log;
    if (!OwnerOnlyFiles::makeFolder(folder)) {
        log.why = tr("The session log folder %1 cannot be made; this run keeps no log.")
                      .arg(QDir::toNativeSeparators(folder));
        return log;
    }
    const QStringList existing = sessionFiles(folder);
    for (int i = qMax(0, keep - 1); i < existing.size(); ++i)
        QFile::remove(existing.at(i));
    const QString path = QDir(folder).filePath(
        sessionFileName(QDateTime::currentDateTimeUtc(), QCoreApplication::applicationPid()));
    log.filePath = path;
    log.file = OwnerOnlyFiles::openForAppend(path);
    if (!log.file)
        log.why = tr("The session log folder %1 cannot be written; this run keeps no log.")
                      .arg(QDir::toNativeSeparators(folder));
    return log;
}

SessionLog SessionLog::toFile(const QString& path)
{
    SessionLog log;
    log.filePath = QFileInfo(path).absoluteFilePath();
    QDir().mkpath(QFileInfo(log.filePath).absolutePath());
    OwnerOnlyFiles::Refusal refusal = OwnerOnlyFiles::Refusal::None;
    log.file = OwnerOnlyFiles::openForAppend(log.filePath, &refusal);
    if (refusal == OwnerOnlyFiles::Refusal::SymbolicLink)
        log.why = tr("The log file %1 is a symbolic link, which is not followed; this run keeps "
                     "no log.")
                      .arg(QDir::toNativeSeparators(log.filePath));
    else if (!log.file)
        log.why = tr("The log file %1 cannot be written; this run keeps no log.")
                      .arg(QDir::toNativeSeparators(log.filePath));
    return log;
}

SessionLog::SessionLog(SessionLog&& other) noexcept
    : file(other.file), filePath(std::move(other.filePath)), why(std::move(other.why))
{
    other.file = nullptr;
}

SessionLog::~SessionLog()
{
    if (installed) {
        qInstallMessageHandler(g_previous);
        g_active.store(nullptr);
    }
    if (file)
        std::fclose(file);
}

void SessionLog::install(Echo echo)
{
    g_echo = echo;
    g_active.store(this);
    installed = true;
    QList<HeldMessage> held;
    {
        const std::lock_guard<std::mutex> guard(g_heldLock);
        held.swap(g_held);
        // The handler before the holding one is the one this log passes on to.
        if (g_holding)
            qInstallMessageHandler(g_beforeHolding);
        g_holding = false;
    }
    g_previous = qInstallMessageHandler(&SessionLog::handle);
    // The parts' categories say only warnings by default (quiet in tests); the session log
    // takes every line of them.
    QLoggingCategory::setFilterRules(QStringLiteral("tavlo.*=true"));
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        handle(message.type, context, message.text);
    }
}

void SessionLog::holdMessages()
{
    const std::lock_guard<std::mutex> guard(g_heldLock);
    if (g_holding)
        return;
    g_holding = true;
    g_beforeHolding = qInstallMessageHandler(&SessionLog::hold);
}

void SessionLog::hold(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const std::lock_guard<std::mutex> guard(g_heldLock);
    g_held.append({type, QByteArray(context.category ? context.category : "default"), message});
}

void SessionLog::handle(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    // No user name or password of an address goes anywhere from here, whoever logged it.
    const QString message = UrlCredentials::removedFrom(text);
    if (SessionLog* log = g_active.load())
        log->write(type, context.category, message);
    switch (g_echo) {
    case Echo::Previous:
        // The parts' debug and info lines are for the log; warnings are told as before.
        if (type != QtWarningMsg && type != QtCriticalMsg && type != QtFatalMsg && context.category
            && std::strncmp(context.category, "tavlo.", 6) == 0)
            break;
        if (g_previous)
            g_previous(type, context, message);
        else
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
        break;
    case Echo::None:
        break;
    case Echo::All:
        std::fprintf(stderr, "%s\n",
                     qPrintable(formatLine(QDateTime::currentDateTimeUtc(), type, context.category,
                                           message)));
        break;
    }
}

void SessionLog::write(QtMsgType type, const char* category, const QString& message)
{
    if (!file)
        return;
    const QByteArray line =
        formatLine(QDateTime::currentDateTimeUtc(), type, category, message).toUtf8() + '\n';
    std::fputs(line.constData(), file);
    std::fflush(file);
}
