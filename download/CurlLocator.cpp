#include "CurlLocator.h"

#include <QDir>
#include <QFileInfo>

CurlLocator::System CurlLocator::thisSystem()
{
#ifdef Q_OS_WIN
    return System::Windows;
#else
    return System::Posix;
#endif
}

QString CurlLocator::programName(System system)
{
    return system == System::Windows ? QStringLiteral("curl.exe") : QStringLiteral("curl");
}

bool CurlLocator::isAbsoluteEntry(const QString& entry, System system)
{
    if (system == System::Posix)
        return entry.startsWith(QLatin1Char('/'));
    const auto isSeparator = [](QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); };
    if (entry.size() >= 3 && entry.at(0).isLetter() && entry.at(0).unicode() < 0x80
        && entry.at(1) == QLatin1Char(':') && isSeparator(entry.at(2)))
        return true;
    // "\\server\share": a network share; "\x" alone (the root of the current drive) and
    // "C:x" (relative to the drive's current folder) are not absolute.
    return entry.size() >= 3 && isSeparator(entry.at(0)) && isSeparator(entry.at(1))
           && !isSeparator(entry.at(2));
}

QString CurlLocator::firstIn(const QString& searchPath, System system,
                             const std::function<bool(const QString& path)>& isProgram)
{
    const QChar separator = system == System::Windows ? QLatin1Char(';') : QLatin1Char(':');
    const QString name = programName(system);
    for (QString entry : searchPath.split(separator)) {
        // Windows allows an entry in quotes (a folder with a ';' in its name is not).
        if (system == System::Windows && entry.size() >= 2 && entry.startsWith(QLatin1Char('"'))
            && entry.endsWith(QLatin1Char('"')))
            entry = entry.mid(1, entry.size() - 2);
        if (!isAbsoluteEntry(entry, system))
            continue;
        QString folder = entry;
        while (folder.endsWith(QLatin1Char('/'))
               || (system == System::Windows && folder.endsWith(QLatin1Char('\\'))))
            folder.chop(1);
        const QString candidate = folder + QLatin1Char(system == System::Windows ? '\\' : '/') + name;
        if (isProgram(candidate))
            return candidate;
    }
    return QString();
}

QString CurlLocator::find()
{
    return firstIn(qEnvironmentVariable("PATH"), thisSystem(), [](const QString& path) {
        const QFileInfo info(path);
        return info.isFile() && info.isExecutable();
    });
}
