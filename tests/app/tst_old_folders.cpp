// The earlier releases' folders tidied up at start, on a temporary home: their session logs
// moved into today's log folder without overwriting one, their downloads and caches removed,
// the emptied folders removed, nothing outside touched, no link followed, and a second start
// that finds nothing to do.
#include "AppFolders.h"
#include "OldFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

const QString kOldData = QStringLiteral("share/Tavlo-Instruments/");
const QString kOldCache = QStringLiteral("cache/Tavlo-Instruments/");
const QString kLogs = QStringLiteral("state/tavlo/logs/");

// "path=content" a file, "path->target" a symbolic link to home/target, "path/" a folder.
void make(const QString& home, const QString& entry)
{
    const int arrow = entry.indexOf(QLatin1String("->"));
    const int equals = entry.indexOf(QLatin1Char('='));
    const QString path = home + QLatin1Char('/')
                         + (arrow >= 0 ? entry.left(arrow) : equals >= 0 ? entry.left(equals) : entry);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    if (arrow >= 0) {
        QVERIFY(QFile::link(home + QLatin1Char('/') + entry.mid(arrow + 2), path));
    } else if (equals >= 0) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(entry.mid(equals + 1).toUtf8());
    } else {
        QVERIFY(QDir().mkpath(path));
    }
}

// Whether the entry is there as described.
QString mismatch(const QString& home, const QString& entry)
{
    const int arrow = entry.indexOf(QLatin1String("->"));
    const int equals = entry.indexOf(QLatin1Char('='));
    const QString path = home + QLatin1Char('/')
                         + (arrow >= 0 ? entry.left(arrow) : equals >= 0 ? entry.left(equals) : entry);
    const QFileInfo info(path);
    if (arrow >= 0) {
        if (info.symLinkTarget() != home + QLatin1Char('/') + entry.mid(arrow + 2))
            return QStringLiteral("not the link: ") + entry;
        return QString();
    }
    if (info.isSymLink() || !info.exists())
        return QStringLiteral("missing: ") + entry;
    if (equals < 0)
        return info.isDir() ? QString() : QStringLiteral("not a folder: ") + entry;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.readAll() != entry.mid(equals + 1).toUtf8())
        return QStringLiteral("not the content: ") + entry;
    return QString();
}

bool runningAsRoot()
{
#ifdef Q_OS_UNIX
    return ::geteuid() == 0;
#else
    return false;
#endif
}

} // namespace

class OldFoldersTest : public QObject
{
    Q_OBJECT

private slots:
    void tidy_data();
    void tidy();
    void names_data();
    void names();
};

void OldFoldersTest::tidy_data()
{
    QTest::addColumn<QStringList>("before");   // entries made first (see make())
    QTest::addColumn<QString>("readOnly");     // a folder made read-only, or empty
    QTest::addColumn<QStringList>("after");    // entries there afterwards, as described
    QTest::addColumn<QStringList>("gone");     // paths no longer there (not even as links)
    QTest::addColumn<int>("moved");
    QTest::addColumn<bool>("problem");

    const QString v131 = kOldData + QStringLiteral("Tavlo Updater v1.3.1/");
    const QString c131 = kOldCache + QStringLiteral("Tavlo Updater v1.3.1/");
    const QString secret = QStringLiteral("outside/secret.txt=keep");

    QTest::newRow("nothing there") << QStringList{} << QString() << QStringList{}
                                   << QStringList{"state/tavlo", "share", "cache"} << 0 << false;
    QTest::newRow("logs of two releases and the update-only edition, downloads, Qt's cache")
        << QStringList{v131 + "logs/session-20261209-1.log=one",
                       kOldData + "Tavlo Updater v1.3.0/logs/session-20261101-0.log=zero",
                       kOldData + "Tavlo Updater/logs/session-20261208-u.log=updater",
                       c131 + "updates/tavlo-1.6.0.tvq=firmware",
                       c131 + "updates/.hidden-part=partial",
                       c131 + "qmlcache/abc.qmlc=compiled",
                       kOldCache + "Tavlo Updater/updates/"}
        << QString()
        << QStringList{kLogs + "session-20261209-1.log=one", kLogs + "session-20261101-0.log=zero",
                       kLogs + "session-20261208-u.log=updater"}
        << QStringList{"share/Tavlo-Instruments", "cache/Tavlo-Instruments"} << 3 << false;
    QTest::newRow("a name taken in the log folder is not overwritten")
        << QStringList{v131 + "logs/session-a.log=old", kLogs + "session-a.log=new",
                       kLogs + "session-a-moved-1.log=earlier"}
        << QString()
        << QStringList{kLogs + "session-a.log=new", kLogs + "session-a-moved-1.log=earlier",
                       kLogs + "session-a-moved-2.log=old"}
        << QStringList{"share/Tavlo-Instruments"} << 1 << false;
    QTest::newRow("links pointing outside are removed as links")
        << QStringList{secret, "outside/folder/inner.txt=keep too",
                       v131 + "logs/session-x.log->outside/secret.txt",
                       c131 + "updates/tavlo-1.6.0.tvq->outside/secret.txt",
                       c131 + "updates/folder->outside/folder",
                       c131 + "qmlcache->outside/folder"}
        << QString()
        << QStringList{secret, "outside/folder/inner.txt=keep too"}
        << QStringList{kLogs + "session-x.log", "share/Tavlo-Instruments", "cache/Tavlo-Instruments"}
        << 0 << false;
    QTest::newRow("an old program folder that is a link to outside")
        << QStringList{secret, "outside/logs/session-o.log=outside",
                       kOldData + "Tavlo Updater v1.2.0->outside"}
        << QString()
        << QStringList{secret, "outside/logs/session-o.log=outside"}
        << QStringList{"share/Tavlo-Instruments", kLogs + "session-o.log"} << 0 << false;
    QTest::newRow("an old root that is a link is left alone")
        << QStringList{"outside/org/Tavlo Updater v1.3.1/logs/session-o.log=outside",
                       "share/Tavlo-Instruments->outside/org"}
        << QString()
        << QStringList{"share/Tavlo-Instruments->outside/org",
                       "outside/org/Tavlo Updater v1.3.1/logs/session-o.log=outside"}
        << QStringList{kLogs + "session-o.log"} << 0 << false;
    QTest::newRow("the maker's other folders and files not ours stay")
        << QStringList{kOldData + "Tavlo Librarian/notes.txt=mine",
                       kOldData + "Tavlo Updater vintage/notes.txt=mine too",
                       v131 + "logs/session-1.log=one", v131 + "logs/readme.txt=not a session",
                       v131 + "settings.ini=kept"}
        << QString()
        << QStringList{kOldData + "Tavlo Librarian/notes.txt=mine",
                       kOldData + "Tavlo Updater vintage/notes.txt=mine too",
                       v131 + "logs/readme.txt=not a session", v131 + "settings.ini=kept",
                       kLogs + "session-1.log=one"}
        << QStringList{v131 + "logs/session-1.log"} << 1 << false;
    QTest::newRow("a log folder that cannot be made keeps the old logs")
        << QStringList{"state/tavlo=a file in the way", v131 + "logs/session-1.log=one",
                       c131 + "updates/tavlo-1.6.0.tvq=firmware"}
        << QString()
        << QStringList{"state/tavlo=a file in the way", v131 + "logs/session-1.log=one"}
        << QStringList{"cache/Tavlo-Instruments"} << 0 << true;
    QTest::newRow("a read-only old log folder keeps its logs")
        << QStringList{v131 + "logs/session-1.log=one", c131 + "updates/tavlo-1.6.0.tvq=firmware"}
        << QString(v131 + "logs")
        << QStringList{v131 + "logs/session-1.log=one"}
        << QStringList{kLogs + "session-1.log", "cache/Tavlo-Instruments"} << 0 << true;
    QTest::newRow("a second start finds nothing to do")
        << QStringList{kLogs + "session-1.log=one", "cache/tavlo/updates/tavlo-1.6.0.tvq=firmware"}
        << QString()
        << QStringList{kLogs + "session-1.log=one", "cache/tavlo/updates/tavlo-1.6.0.tvq=firmware"}
        << QStringList{"share", "cache/Tavlo-Instruments"} << 0 << false;
}

void OldFoldersTest::tidy()
{
    QFETCH(QStringList, before);
    QFETCH(QString, readOnly);
    QFETCH(QStringList, after);
    QFETCH(QStringList, gone);
    QFETCH(int, moved);
    QFETCH(bool, problem);

    if (!readOnly.isEmpty() && runningAsRoot())
        QSKIP("root writes into a read-only folder");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString home = dir.path();
    for (const QString& entry : before)
        make(home, entry);
    const QString locked = home + QLatin1Char('/') + readOnly;
    if (!readOnly.isEmpty())
        QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));

    const AppFolders folders = AppFolders::compute(
        AppFolders::System::Linux, home,
        {{QStringLiteral("XDG_STATE_HOME"), home + QStringLiteral("/state")},
         {QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache")},
         {QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/share")}});
    const OldFolders::Result first = OldFolders::tidy(folders);
    const OldFolders::Result second = OldFolders::tidy(folders);
    if (!readOnly.isEmpty())
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(first.logsMoved, moved);
    QCOMPARE(!first.problems.isEmpty(), problem);
    for (const QString& entry : after)
        QVERIFY2(mismatch(home, entry).isEmpty(), qPrintable(mismatch(home, entry)));
    for (const QString& path : gone) {
        const QFileInfo info(home + QLatin1Char('/') + path);
        QVERIFY2(!info.exists() && !info.isSymLink(), qPrintable(path));
    }
    // What the first start could do, it did: the second moves and removes nothing more.
    QCOMPARE(second.logsMoved, 0);
    QCOMPARE(second.entriesRemoved, 0);
    if (!problem)
        QVERIFY(second.didNothing());
}

void OldFoldersTest::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ours");

    QTest::newRow("update-only edition") << "Tavlo Updater" << true;
    QTest::newRow("a release") << "Tavlo Updater v1.3.1" << true;
    QTest::newRow("an old release") << "Tavlo Updater v0.9" << true;
    QTest::newRow("a word after v") << "Tavlo Updater vintage" << false;
    QTest::newRow("bare v") << "Tavlo Updater v" << false;
    QTest::newRow("another program") << "Tavlo Librarian" << false;
    QTest::newRow("today's name") << "tavlo" << false;
    QTest::newRow("other case") << "tavlo updater" << false;
}

void OldFoldersTest::names()
{
    QFETCH(QString, name);
    QFETCH(bool, ours);
    QCOMPARE(OldFolders::isOldProgramFolder(name), ours);
}

QTEST_GUILESS_MAIN(OldFoldersTest)
#include "tst_old_folders.moc"
