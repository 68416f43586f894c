// Before a restore touches the instrument: the backup is checked against its manifest (a file
// changed, cut short, removed or replaced by a link is named; a manifest that is missing,
// broken or reaches outside the backup refuses the whole backup), and the volume is compared
// with it (what differs, what is missing, what only the instrument has), links never followed.
#include "BackupCheck.h"
#include "RestoreFailureText.h"
#include "RestorePlan.h"
#include "TestBackup.h"

#include <ReadableFiles.h>

#include <QTemporaryDir>
#include <QtTest>

using Outcome = BackupCheck::Outcome;

namespace {

const QString kPattern = QStringLiteral("projects/Live set 3/pattern 01.tvp");
const QString kGroove = QStringLiteral("grooves/Grüße ø.tvg");
const QString kDeep = QStringLiteral("a/b/c/deep.bin");
const QString kTop = QStringLiteral("settings.cfg");

QMap<QString, QByteArray> backupFiles()
{
    return {{kPattern, "pattern one, bar 1-16"},
            {kGroove, QByteArray("swing 54%")},
            {kDeep, QByteArray(70000, 'd')},
            {kTop, "tempo=120"}};
}

// Alters a folder as a step says: "flip:<path>" (one byte), "cut:<path>" (one byte shorter),
// "grow:<path>", "remove:<path>", "link:<path>" (a link to a copy elsewhere with the same
// bytes), "linkdir:<folder>" (the folder replaced by a link to a copy of it elsewhere),
// "put:<path>" (a new file), "unreadable:<path>" (no read permission), "manifest:<text>".
bool apply(const QString& folder, const QString& outside, const QString& step)
{
    const QString how = step.section(QLatin1Char(':'), 0, 0);
    const QString what = step.section(QLatin1Char(':'), 1);
    const QString path = QDir(folder).filePath(what);
    const QByteArray content = TestBackup::read(path);
    if (how == QLatin1String("flip")) {
        QByteArray changed = content;
        changed[changed.size() / 2] = char(~changed.at(changed.size() / 2));
        return TestBackup::writeFile(folder, what, changed);
    }
    if (how == QLatin1String("cut"))
        return TestBackup::writeFile(folder, what, content.chopped(1));
    if (how == QLatin1String("grow"))
        return TestBackup::writeFile(folder, what, content + "!");
    if (how == QLatin1String("remove"))
        return QFile::remove(path);
    if (how == QLatin1String("put"))
        return TestBackup::writeFile(folder, what, "new on the instrument");
    if (how == QLatin1String("unreadable"))
        return QFile::setPermissions(path, {});
    if (how == QLatin1String("link")) {
        const QString target = QDir(outside).filePath(QStringLiteral("target"));
        return TestBackup::writeFile(outside, QStringLiteral("target"), content) &&
               QFile::remove(path) && QFile::link(target, path);
    }
    if (how == QLatin1String("linkdir")) {
        const QString moved = QDir(outside).filePath(QStringLiteral("moved"));
        return QDir().rename(path, moved) && QFile::link(moved, path);
    }
    if (how == QLatin1String("manifest")) {
        QFile file(QDir(folder).filePath(QStringLiteral("manifest.json")));
        return what == QLatin1String("none")
                   ? file.remove()
                   : file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.write(what.toUtf8()) == what.toUtf8().size();
    }
    return false;
}

// A worn file of the instrument: one with no read permission for anyone cannot be read, also
// when the test runs as root (whom the system lets read it, and to whom Qt reports it
// readable by its user).
class WornFiles : public ReadableFiles
{
  public:
    bool openForReading(QFile& file, QString* reason) const override
    {
        const QFileDevice::Permissions anyone =
            QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        if (!(QFileInfo(file.fileName()).permissions() & anyone)) {
            if (reason)
                *reason = QStringLiteral("Permission denied");
            return false;
        }
        return file.open(QIODevice::ReadOnly);
    }
};

} // namespace

class TestRestorePlan : public QObject
{
    Q_OBJECT

  private slots:
    void check_data();
    void check();
    void outsidePath();
    void plan_data();
    void plan();
    void fileList_data();
    void fileList();
};

void TestRestorePlan::check_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("bad");

    QTest::newRow("untouched") << QStringList() << int(Outcome::Ok) << QStringList();
    QTest::newRow("a file the manifest does not name is ignored")
        << QStringList{"put:notes.txt"} << int(Outcome::Ok) << QStringList();
    QTest::newRow("one byte changed")
        << QStringList{"flip:" + kDeep} << int(Outcome::FilesDiffer) << QStringList{kDeep};
    QTest::newRow("cut short and grown")
        << QStringList{"cut:" + kPattern, "grow:" + kTop} << int(Outcome::FilesDiffer)
        << QStringList{kPattern, kTop};
    QTest::newRow("removed") << QStringList{"remove:" + kGroove} << int(Outcome::FilesDiffer)
                             << QStringList{kGroove};
    QTest::newRow("replaced by a link to the same bytes")
        << QStringList{"link:" + kTop} << int(Outcome::FilesDiffer) << QStringList{kTop};
    QTest::newRow("no manifest") << QStringList{"manifest:none"} << int(Outcome::ManifestMissing)
                                 << QStringList();
    QTest::newRow("manifest not json")
        << QStringList{"manifest:{files"} << int(Outcome::ManifestBroken) << QStringList();
    QTest::newRow("manifest reaching outside")
        << QStringList{QStringLiteral(
                           R"(manifest:{"format": 1, "firmware": "1.5.2", "created": "2026-12-09T14:03:00.000Z", )"
                           R"("files": [{"path": "../outside.txt", "size": 1, "modified_ms": 0, "sha256": ")") +
                       QString(64, 'a') + QStringLiteral(R"("}]})")}
        << int(Outcome::ManifestBroken) << QStringList();
}

void TestRestorePlan::check()
{
    QFETCH(QStringList, steps);
    QFETCH(int, outcome);
    QFETCH(QStringList, bad);

    QTemporaryDir backup;
    QTemporaryDir outside;
    QVERIFY(TestBackup::make(backup.path(), backupFiles()));
    for (const QString& step : steps)
        QVERIFY2(apply(backup.path(), outside.path(), step), qPrintable(step));

    const BackupCheck::Result result = BackupCheck::run(backup.path());
    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(result.badFiles, bad);
    if (outcome == int(Outcome::Ok)) {
        QVERIFY(result.sentence().isEmpty());
        QCOMPARE(result.manifest->entries.size(), backupFiles().size());
        return;
    }
    QVERIFY(!result.sentence().isEmpty());
    for (const QString& file : bad)
        QVERIFY2(result.sentence().contains(file), qPrintable(result.sentence()));
    if (outcome == int(Outcome::ManifestBroken))
        QVERIFY(!result.detail.isEmpty());
}

// A manifest that reaches outside is refused before anything is read there.
void TestRestorePlan::outsidePath()
{
    QTemporaryDir top;
    const QString folder = QDir(top.path()).filePath(QStringLiteral("backup"));
    QVERIFY(TestBackup::writeFile(top.path(), QStringLiteral("secret.txt"), "x"));
    QVERIFY(QDir().mkpath(folder));
    BackupManifest manifest = TestBackup::manifestOf({{QStringLiteral("../secret.txt"), "x"}});
    QVERIFY(TestBackup::writeManifest(folder, manifest));
    const BackupCheck::Result result = BackupCheck::run(folder);
    QCOMPARE(result.outcome, Outcome::ManifestBroken);
    QVERIFY(!result.manifest);
}

void TestRestorePlan::plan_data()
{
    QTest::addColumn<QStringList>("steps"); // on the volume, a copy of the backup to begin with
    QTest::addColumn<QStringList>("changed");
    QTest::addColumn<QStringList>("missing");
    QTest::addColumn<int>("onlyOnInstrument");

    const QStringList none;
    QTest::newRow("as backed up") << none << none << none << 0;
    QTest::newRow("one byte changed, same size")
        << QStringList{"flip:" + kDeep} << QStringList{kDeep} << none << 0;
    QTest::newRow("other sizes") << QStringList{"cut:" + kGroove, "grow:" + kPattern}
                                 << QStringList{kGroove, kPattern} << none << 0;
    QTest::newRow("missing, nested and with blanks")
        << QStringList{"remove:" + kPattern, "remove:" + kDeep} << none
        << QStringList{kDeep, kPattern} << 0;
    QTest::newRow("only on the instrument, nested, beyond ASCII")
        << QStringList{"put:projects/Live set 3/Ä new.tvp", "put:x/y/z.bin", "put:.hidden"} << none
        << none << 3;
    QTest::newRow("the systems' folders are not counted")
        << QStringList{"put:.Trashes/501/old.tvp",
                       "put:System Volume Information/IndexerVolumeGuid",
                       "put:.Spotlight-V100/Store-V2/x",
                       "put:.fseventsd/0001",
                       "put:$RECYCLE.BIN/S-1-5/x",
                       "put:projects/.Trashes/x"}
        << none << none << 0;
    QTest::newRow("unreadable on the instrument")
        << QStringList{"unreadable:" + kTop} << QStringList{kTop} << none << 0;
    QTest::newRow("a link with the same bytes is not the file")
        << QStringList{"link:" + kTop} << QStringList{kTop} << none << 0;
    QTest::newRow("a linked folder is not looked into")
        << QStringList{"linkdir:a/b"} << none << QStringList{kDeep} << 1;
}

void TestRestorePlan::plan()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, changed);
    QFETCH(QStringList, missing);
    QFETCH(int, onlyOnInstrument);

    QTemporaryDir volume;
    QTemporaryDir outside;
    const QMap<QString, QByteArray> files = backupFiles();
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        QVERIFY(TestBackup::writeFile(volume.path(), it.key(), it.value()));
    for (const QString& step : steps)
        QVERIFY2(apply(volume.path(), outside.path(), step), qPrintable(step));

    const RestorePlan plan =
        RestorePlan::make(volume.path(), TestBackup::manifestOf(files), WornFiles());
    QCOMPARE(plan.changed, changed);
    QCOMPARE(plan.missing, missing);
    QCOMPARE(plan.onlyOnInstrument, onlyOnInstrument);
    QVERIFY(!plan.cancelled);
    qint64 bytes = 0;
    QStringList toWrite;
    for (const BackupManifest::Entry& entry : plan.toWrite) {
        bytes += entry.size;
        toWrite.append(entry.path);
        QCOMPARE(entry.size, qint64(files.value(entry.path).size()));
    }
    QCOMPARE(plan.bytes, bytes);
    QStringList expected = changed + missing;
    expected.sort();
    toWrite.sort();
    QCOMPARE(toWrite, expected);
}

void TestRestorePlan::fileList_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one") << 1 << "f1";
    QTest::newRow("five, all named") << 5 << "f1, f2, f3, f4, f5";
    QTest::newRow("six: five and one more") << 6 << "f1, f2, f3, f4, f5 and 1 more";
    QTest::newRow("twelve") << 12 << "f1, f2, f3, f4, f5 and 7 more";
}

void TestRestorePlan::fileList()
{
    QFETCH(int, count);
    QFETCH(QString, expected);
    QStringList files;
    for (int i = 1; i <= count; ++i)
        files.append(QStringLiteral("f%1").arg(i));
    QCOMPARE(RestoreFailureText::fileList(files), expected);
    QVERIFY(RestoreFailureText::filesDoNotMatch(files).contains(expected));
}

QTEST_GUILESS_MAIN(TestRestorePlan)
#include "tst_restore_plan.moc"
