// Where the programs keep the user's files, computed from canned homes and environments: the
// fixed names without version or blank, the XDG variables taken only when absolute, the
// usual places on Windows and macOS, and where the earlier releases kept theirs.
#include "AppFolders.h"

#include <QTest>

Q_DECLARE_METATYPE(AppFolders::System)

class AppFoldersTest : public QObject
{
    Q_OBJECT

private slots:
    void compute_data();
    void compute();
    void stateAndBackups_data();
    void stateAndBackups();
};

void AppFoldersTest::compute_data()
{
    QTest::addColumn<AppFolders::System>("system");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QStringList>("environment"); // NAME=value
    // logs, downloads, config, old data root, old cache root
    QTest::addColumn<QStringList>("expected");

    const auto linux = AppFolders::System::Linux;
    QTest::newRow("Linux, nothing set") << linux << "/home/u" << QStringList{}
        << QStringList{"/home/u/.local/state/tavlo/logs", "/home/u/.cache/tavlo/updates",
                       "/home/u/.config/tavlo", "/home/u/.local/share/Tavlo-Instruments",
                       "/home/u/.cache/Tavlo-Instruments"};
    QTest::newRow("Linux, every XDG folder set")
        << linux << "/home/u"
        << QStringList{"XDG_STATE_HOME=/var/s", "XDG_CACHE_HOME=/var/c", "XDG_CONFIG_HOME=/var/cf",
                       "XDG_DATA_HOME=/var/d"}
        << QStringList{"/var/s/tavlo/logs", "/var/c/tavlo/updates", "/var/cf/tavlo",
                       "/var/d/Tavlo-Instruments", "/var/c/Tavlo-Instruments"};
    QTest::newRow("Linux, relative XDG folders are ignored")
        << linux << "/home/u"
        << QStringList{"XDG_STATE_HOME=state", "XDG_CACHE_HOME=./cache", "XDG_DATA_HOME=~/d"}
        << QStringList{"/home/u/.local/state/tavlo/logs", "/home/u/.cache/tavlo/updates",
                       "/home/u/.config/tavlo", "/home/u/.local/share/Tavlo-Instruments",
                       "/home/u/.cache/Tavlo-Instruments"};
    QTest::newRow("Linux, empty XDG folders are ignored")
        << linux << "/home/u" << QStringList{"XDG_STATE_HOME=", "XDG_CACHE_HOME="}
        << QStringList{"/home/u/.local/state/tavlo/logs", "/home/u/.cache/tavlo/updates",
                       "/home/u/.config/tavlo", "/home/u/.local/share/Tavlo-Instruments",
                       "/home/u/.cache/Tavlo-Instruments"};
    QTest::newRow("Linux, trailing slashes and a blank in the home")
        << linux << "/home/a b/" << QStringList{"XDG_STATE_HOME=/st//"}
        << QStringList{"/st/tavlo/logs", "/home/a b/.cache/tavlo/updates", "/home/a b/.config/tavlo",
                       "/home/a b/.local/share/Tavlo-Instruments", "/home/a b/.cache/Tavlo-Instruments"};
    QTest::newRow("Linux, Windows variables mean nothing")
        << linux << "/home/u" << QStringList{"LOCALAPPDATA=C:\\x"}
        << QStringList{"/home/u/.local/state/tavlo/logs", "/home/u/.cache/tavlo/updates",
                       "/home/u/.config/tavlo", "/home/u/.local/share/Tavlo-Instruments",
                       "/home/u/.cache/Tavlo-Instruments"};
    QTest::newRow("Windows")
        << AppFolders::System::Windows << "C:/Users/u"
        << QStringList{"LOCALAPPDATA=C:\\Users\\u\\AppData\\Local",
                       "APPDATA=C:\\Users\\u\\AppData\\Roaming", "XDG_STATE_HOME=/s"}
        << QStringList{"C:/Users/u/AppData/Local/Tavlo/logs",
                       "C:/Users/u/AppData/Local/Tavlo/cache/updates",
                       "C:/Users/u/AppData/Roaming/Tavlo",
                       "C:/Users/u/AppData/Local/Tavlo-Instruments",
                       "C:/Users/u/AppData/Local/Tavlo-Instruments"};
    QTest::newRow("Windows, without the variables or with relative ones")
        << AppFolders::System::Windows << "C:/Users/u" << QStringList{"APPDATA=Roaming"}
        << QStringList{"C:/Users/u/AppData/Local/Tavlo/logs",
                       "C:/Users/u/AppData/Local/Tavlo/cache/updates",
                       "C:/Users/u/AppData/Roaming/Tavlo",
                       "C:/Users/u/AppData/Local/Tavlo-Instruments",
                       "C:/Users/u/AppData/Local/Tavlo-Instruments"};
    QTest::newRow("macOS")
        << AppFolders::System::MacOs << "/Users/u" << QStringList{"XDG_CACHE_HOME=/c"}
        << QStringList{"/Users/u/Library/Logs/Tavlo", "/Users/u/Library/Caches/Tavlo/updates",
                       "/Users/u/Library/Application Support/Tavlo",
                       "/Users/u/Library/Application Support/Tavlo-Instruments",
                       "/Users/u/Library/Caches/Tavlo-Instruments"};
    QTest::newRow("no home folder: no folders")
        << linux << "" << QStringList{"XDG_STATE_HOME=/s"}
        << QStringList{"", "", "", "", ""};
}

void AppFoldersTest::compute()
{
    QFETCH(AppFolders::System, system);
    QFETCH(QString, home);
    QFETCH(QStringList, environment);
    QFETCH(QStringList, expected);

    QHash<QString, QString> variables;
    for (const QString& entry : environment) {
        const int equals = entry.indexOf(QLatin1Char('='));
        variables.insert(entry.left(equals), entry.mid(equals + 1));
    }
    const AppFolders folders = AppFolders::compute(system, home, variables);
    QCOMPARE(QStringList({folders.logs, folders.downloads, folders.config, folders.oldDataRoot,
                          folders.oldCacheRoot}),
             expected);
    QCOMPARE(folders.isEmpty(), home.isEmpty());
    if (!home.isEmpty())
        QCOMPARE(folders.downloads, folders.cache + QStringLiteral("/updates"));
}

void AppFoldersTest::stateAndBackups_data()
{
    QTest::addColumn<AppFolders::System>("system");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QStringList>("environment"); // NAME=value
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("backups");

    const auto linux = AppFolders::System::Linux;
    const auto windows = AppFolders::System::Windows;
    QTest::newRow("Linux, nothing set") << linux << "/home/u" << QStringList{}
        << "/home/u/.local/state/tavlo" << "/home/u/Documents/Tavlo Backups";
    QTest::newRow("Linux, documents elsewhere") << linux << "/home/u"
        << QStringList{"XDG_STATE_HOME=/s", "XDG_DOCUMENTS_DIR=/home/u/Dokumente/"}
        << "/s/tavlo" << "/home/u/Dokumente/Tavlo Backups";
    QTest::newRow("Linux, relative documents ignored") << linux << "/home/u"
        << QStringList{"XDG_DOCUMENTS_DIR=Docs"} << "/home/u/.local/state/tavlo"
        << "/home/u/Documents/Tavlo Backups";
    QTest::newRow("Windows") << windows << "C:/Users/u"
        << QStringList{"LOCALAPPDATA=C:\\Users\\u\\AppData\\Local",
                       "XDG_DOCUMENTS_DIR=D:\\Eigene Dateien"}
        << "C:/Users/u/AppData/Local/Tavlo" << "D:/Eigene Dateien/Tavlo Backups";
    QTest::newRow("Windows, no documents setting") << windows << "C:/Users/u" << QStringList{}
        << "C:/Users/u/AppData/Local/Tavlo" << "C:/Users/u/Documents/Tavlo Backups";
    QTest::newRow("macOS") << AppFolders::System::MacOs << "/Users/u" << QStringList{}
        << "/Users/u/Library/Application Support/Tavlo" << "/Users/u/Documents/Tavlo Backups";
}

void AppFoldersTest::stateAndBackups()
{
    QFETCH(AppFolders::System, system);
    QFETCH(QString, home);
    QFETCH(QStringList, environment);
    QFETCH(QString, state);
    QFETCH(QString, backups);
    QHash<QString, QString> variables;
    for (const QString& pair : environment)
        variables.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    const AppFolders folders = AppFolders::compute(system, home, variables);
    QCOMPARE(folders.state, state);
    QCOMPARE(folders.backups, backups);
    QVERIFY(folders.logs.startsWith(folders.state) || system == AppFolders::System::MacOs);
}

QTEST_GUILESS_MAIN(AppFoldersTest)
#include "tst_app_folders.moc"
