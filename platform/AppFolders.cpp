#include "AppFolders.h"

#include <QDir>
#include <QStandardPaths>
#include <QStringList>

namespace {

const char* const kOldOrganisation = "/Tavlo-Instruments";

QString clean(const QString& path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

// An XDG base folder: the variable when it names an absolute folder, else home + fallback.
QString xdg(const QHash<QString, QString>& environment, const char* variable, const QString& home,
            const char* fallback)
{
    const QString value = environment.value(QString::fromLatin1(variable));
    if (value.startsWith(QLatin1Char('/')))
        return clean(value);
    return clean(home + QLatin1String(fallback));
}

// A Windows folder variable when it holds an absolute path, else home + fallback.
QString windowsFolder(const QHash<QString, QString>& environment, const char* variable,
                      const QString& home, const char* fallback)
{
    // Either separator, whichever system computes it (the tests run it on Linux).
    QString value = environment.value(QString::fromLatin1(variable));
    value = clean(value.replace(QLatin1Char('\\'), QLatin1Char('/')));
    const bool absolute = (value.size() >= 3 && value.at(1) == QLatin1Char(':')
                           && value.at(2) == QLatin1Char('/'))
                          || value.startsWith(QLatin1String("//"));
    if (absolute)
        return value;
    return clean(home + QLatin1String(fallback));
}

} // namespace

AppFolders AppFolders::compute(System system, const QString& home,
                               const QHash<QString, QString>& environment)
{
    AppFolders folders;
    if (home.isEmpty())
        return folders;
    const QString old = QLatin1String(kOldOrganisation);
    switch (system) {
    case System::Linux: {
        const QString name = QStringLiteral("/tavlo");
        folders.state = xdg(environment, "XDG_STATE_HOME", home, "/.local/state") + name;
        folders.logs = folders.state + QStringLiteral("/logs");
        folders.cache = xdg(environment, "XDG_CACHE_HOME", home, "/.cache") + name;
        folders.config = xdg(environment, "XDG_CONFIG_HOME", home, "/.config") + name;
        folders.oldDataRoot = xdg(environment, "XDG_DATA_HOME", home, "/.local/share") + old;
        folders.oldCacheRoot = xdg(environment, "XDG_CACHE_HOME", home, "/.cache") + old;
        break;
    }
    case System::Windows: {
        const QString name = QStringLiteral("/Tavlo");
        const QString local =
            windowsFolder(environment, "LOCALAPPDATA", home, "/AppData/Local");
        folders.state = local + name;
        folders.logs = folders.state + QStringLiteral("/logs");
        folders.cache = local + name + QStringLiteral("/cache");
        folders.config =
            windowsFolder(environment, "APPDATA", home, "/AppData/Roaming") + name;
        // Qt's cache location there was the app-data folder's "cache" subfolder.
        folders.oldDataRoot = local + old;
        folders.oldCacheRoot = local + old;
        break;
    }
    case System::MacOs: {
        const QString library = clean(home) + QStringLiteral("/Library");
        const QString name = QStringLiteral("/Tavlo");
        folders.logs = library + QStringLiteral("/Logs") + name;
        folders.cache = library + QStringLiteral("/Caches") + name;
        folders.config = library + QStringLiteral("/Application Support") + name;
        folders.state = folders.config;
        folders.oldDataRoot = library + QStringLiteral("/Application Support") + old;
        folders.oldCacheRoot = library + QStringLiteral("/Caches") + old;
        break;
    }
    }
    folders.downloads = folders.cache + QStringLiteral("/updates");
    const QString documents = system == System::Windows
        ? windowsFolder(environment, "XDG_DOCUMENTS_DIR", home, "/Documents")
        : xdg(environment, "XDG_DOCUMENTS_DIR", home, "/Documents");
    folders.backups = documents + QStringLiteral("/Tavlo Backups");
    return folders;
}

AppFolders AppFolders::forThisSystem()
{
    QHash<QString, QString> environment;
    for (const char* name : {"XDG_STATE_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                             "LOCALAPPDATA", "APPDATA"})
        environment.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
    // The system's documents folder (on Linux its user-dirs setting, which is no variable).
    environment.insert(QStringLiteral("XDG_DOCUMENTS_DIR"),
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
#if defined(Q_OS_WIN)
    const System system = System::Windows;
#elif defined(Q_OS_MACOS)
    const System system = System::MacOs;
#else
    const System system = System::Linux;
#endif
    return compute(system, QDir::homePath(), environment);
}
