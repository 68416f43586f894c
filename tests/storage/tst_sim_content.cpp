// The simulated instrument's storage content and its lasting from one transfer session to the
// next: the same bytes on every run, the sizes of the scales, the names a real card holds, the
// worn file, and what the computer changed kept for the next session (also through a tmpfs).
#include <SimInstrument.h>
#include <SimLastingStorage.h>
#include <SimReadableFiles.h>
#include <SimTransferContent.h>
#include <SimulatedStorage.h>

#include <VolumeDismounter.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {
using Scale = SimTransferContent::Scale;
constexpr qint64 kMiB = 1024 * 1024;
const QString kUnreadable = QString::fromLatin1(SimTransferContent::kUnreadableFile);

// "tiny", "realistic", "tree:BYTES:SEED" into folder.
bool make(const QString& what, const QString& folder, bool unreadable = false)
{
    QString error;
    bool ok = false;
    if (what.startsWith(QLatin1String("tree:")))
        ok = SimTransferContent::makeTree(folder, what.section(':', 1, 1).toLongLong(),
                                          what.section(':', 2, 2).toULongLong(), &error);
    else
        ok = SimTransferContent::fill(folder, what == "tiny" ? Scale::Tiny : Scale::Realistic, unreadable, &error);
    if (!ok)
        qWarning() << error;
    return ok;
}

struct Census
{
    int files = 0, emptyFiles = 0, emptyFolders = 0, bigFiles = 0, depth = 0;
    qint64 bytes = 0, largestSmall = 0;
    bool blank = false, nonAscii = false;
};

Census census(const QString& folder)
{
    Census c;
    const QDir root(folder);
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        const QString relative = root.relativeFilePath(info.filePath());
        c.depth = qMax(c.depth, int(relative.count('/')));
        c.blank = c.blank || info.fileName().contains(' ');
        for (QChar ch : info.fileName())
            c.nonAscii = c.nonAscii || ch.unicode() > 0x7f;
        if (info.isDir()) {
            c.emptyFolders += QDir(info.filePath()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            continue;
        }
        ++c.files;
        c.bytes += info.size();
        c.emptyFiles += info.size() == 0;
        if (info.size() >= 10 * kMiB)
            ++c.bigFiles;
        else
            c.largestSmall = qMax(c.largestSmall, info.size());
    }
    return c;
}

QByteArray sha256Of(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
} // namespace

class TestSimContent : public QObject
{
    Q_OBJECT

private slots:
    void sameContentEveryRun_data();
    void sameContentEveryRun();
    void scalesHaveTheirSizes_data();
    void scalesHaveTheirSizes();
    void wornFileIsTheOnlyUnreadable_data();
    void wornFileIsTheOnlyUnreadable();
    void contentLastsAcrossSessions_data();
    void contentLastsAcrossSessions();
    void contentLargerThanCapacityDoesNotMount();
    void missingContentIsReported();
    void instrumentKeepsItsStorage();
};

void TestSimContent::sameContentEveryRun_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("other"); // made with another seed: must differ ("": none)
    QTest::newRow("tiny") << "tiny" << "";
    QTest::newRow("realistic") << "realistic" << "";
    QTest::newRow("tree") << "tree:3000000:1" << "tree:3000000:2";
}

void TestSimContent::sameContentEveryRun()
{
    QFETCH(QString, what);
    QFETCH(QString, other);
    QTemporaryDir a, b;
    QVERIFY(make(what, a.path()) && make(what, b.path()));
    const QStringList first = SimTransferContent::manifest(a.path());
    const QStringList fileLines = first.filter(QStringLiteral("\t"));
    QVERIFY(fileLines.size() >= 3);
    QCOMPARE(SimTransferContent::manifest(b.path()), first);
    // The manifest carries the real size and hash of a file (checked here by other means).
    const QString line = fileLines.at(fileLines.size() / 2);
    const QStringList fields = line.split('\t');
    QCOMPARE(fields.size(), 3);
    const QString path = a.filePath(fields.at(0));
    QCOMPARE(fields.at(1).toLongLong(), QFileInfo(path).size());
    QCOMPARE(fields.at(2).toLatin1(), sha256Of(path));
    // One byte changed is told apart.
    QFile changed(path);
    QVERIFY(changed.open(QIODevice::ReadWrite));
    const QByteArray head = changed.read(1);
    QVERIFY(head.size() == 1);
    const char byte = head.at(0);
    QVERIFY(changed.seek(0) && changed.write(QByteArray(1, char(byte ^ 1))) == 1);
    changed.close();
    QVERIFY(SimTransferContent::manifest(a.path()) != first);
    if (!other.isEmpty()) {
        QTemporaryDir c;
        QVERIFY(make(other, c.path()));
        QVERIFY(SimTransferContent::manifest(c.path()) != first);
    }
}

void TestSimContent::scalesHaveTheirSizes_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("minFiles");
    QTest::addColumn<int>("maxFiles");
    QTest::addColumn<qint64>("minBytes");
    QTest::addColumn<qint64>("maxBytes");
    QTest::addColumn<int>("bigFiles"); // of 10 MiB or more; -1: any
    QTest::addColumn<bool>("card");    // names, empty file and folder, depth of a used card
    QTest::newRow("tiny") << "tiny" << 24 << 60 << qint64(64 * 1024) << kMiB - 1 << 0 << true;
    QTest::newRow("realistic") << "realistic" << 300 << 600 << 60 * kMiB << 100 * kMiB << 3 << true;
    QTest::newRow("tree of 40 MiB") << "tree:41943040:7" << 2 << 2000 << 40 * kMiB << 40 * kMiB << -1 << false;
    QTest::newRow("tree of an odd size") << "tree:100003:7" << 1 << 50 << qint64(100003) << qint64(100003) << 0 << false;
    QTest::newRow("tree of nothing") << "tree:0:7" << 0 << 0 << qint64(0) << qint64(0) << 0 << false;
}

void TestSimContent::scalesHaveTheirSizes()
{
    QFETCH(QString, what);
    QFETCH(int, minFiles);
    QFETCH(int, maxFiles);
    QFETCH(qint64, minBytes);
    QFETCH(qint64, maxBytes);
    QFETCH(int, bigFiles);
    QFETCH(bool, card);
    QTemporaryDir dir;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(make(what, dir.path()));
    const qint64 ms = clock.elapsed();
    qInfo("%s: made in %lld ms", qPrintable(what), ms);
    QVERIFY2(ms < 10000, qPrintable(QString::number(ms))); // far beyond this is a fault, not a slow machine

    const Census c = census(dir.path());
    QVERIFY2(c.files >= minFiles && c.files <= maxFiles, qPrintable(QString::number(c.files)));
    QVERIFY2(c.bytes >= minBytes && c.bytes <= maxBytes, qPrintable(QString::number(c.bytes)));
    if (bigFiles >= 0)
        QCOMPARE(c.bigFiles, bigFiles);
    // Only the four folders in the root, as the instrument has them.
    QStringList top = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    top.sort();
    QCOMPARE(top, (QStringList{"MIDI_Clips", "grooves", "instrument_definitions", "projects"}));
    if (!card)
        return;
    QVERIFY(c.largestSmall <= 64 * 1024);
    QVERIFY(c.blank && c.nonAscii);
    QVERIFY(QFileInfo::exists(dir.filePath("projects/Grüße an Zoë.tvp")));
    QVERIFY(QFileInfo(dir.filePath("MIDI_Clips/Ørsted – live.mid")).size() > 0);
    QVERIFY(c.emptyFiles >= 1 && c.emptyFolders >= 1);
    QVERIFY(c.depth >= 3); // "projects/Live set 3/patterns/Variations/..."
    QCOMPARE(readFile(dir.filePath("MIDI_Clips/Ørsted – live.mid")).left(4), QByteArray("MThd"));
}

void TestSimContent::wornFileIsTheOnlyUnreadable_data()
{
    QTest::addColumn<bool>("worn");
    QTest::newRow("with the worn file") << true;
    QTest::newRow("without") << false;
}

void TestSimContent::wornFileIsTheOnlyUnreadable()
{
    QFETCH(bool, worn);
    QTemporaryDir dir;
    QVERIFY(make("tiny", dir.path(), worn));
    QCOMPARE(QFileInfo::exists(dir.filePath(kUnreadable)), worn);
    const SimReadableFiles files;
    int refused = 0;
    QDirIterator it(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        QString reason;
        if (!files.openForReading(file, &reason)) {
            ++refused;
            QCOMPARE(file.fileName(), dir.filePath(kUnreadable));
            QCOMPARE(reason, QString("Permission denied"));
            continue;
        }
        QCOMPARE(file.readAll().size(), it.fileInfo().size());
    }
    QCOMPARE(refused, worn ? 1 : 0);
}

void TestSimContent::contentLastsAcrossSessions_data()
{
    QTest::addColumn<bool>("capacity");
    QTest::addColumn<bool>("ejected"); // false: the instrument went away (unplugged)
    QTest::newRow("the folder itself, ejected") << false << true;
    QTest::newRow("the folder itself, unplugged") << false << false;
    QTest::newRow("tmpfs, ejected") << true << true;
    QTest::newRow("tmpfs, unplugged") << true << false;
}

void TestSimContent::contentLastsAcrossSessions()
{
    QFETCH(bool, capacity);
    QFETCH(bool, ejected);
    if (capacity && ::geteuid() != 0)
        QSKIP("a volume with a capacity is a tmpfs, which needs root");
    SimulatedStorage sim;
    SimLastingStorage card;
    QVERIFY(card.setContent(Scale::Tiny, true));
    if (capacity)
        card.setCapacity(card.bytesOnVolume() + 256 * 1024);
    const QString folder = card.folder();
    const QStringList initial = SimTransferContent::manifest(folder);

    // Session 1: the computer changes, deletes and adds.
    QVERIFY2(sim.mount("TAVLO", 0, card.volumeOptions()), qPrintable(sim.lastError()));
    const QString root = sim.rootPath("TAVLO");
    QCOMPARE(SimTransferContent::manifest(root), initial);
    if (capacity) {
        QVERIFY(root != folder);
        QCOMPARE(QStorageInfo(root).fileSystemType(), QByteArray("tmpfs"));
        const QFileDevice::Permissions mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                              | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
        QCOMPARE(QFileInfo(QDir(root).filePath(kUnreadable)).permissions() & mode, QFileDevice::Permissions());
    }
    QVERIFY(writeFile(QDir(root).filePath("projects/Grüße an Zoë.tvp"), "changed in session 1"));
    QVERIFY(QFile::remove(QDir(root).filePath("MIDI_Clips/Ørsted – live.mid")));
    QVERIFY(writeFile(QDir(root).filePath("grooves/New folder/made on the computer.tvgrv"), "new"));
    QVERIFY(QDir(root).rmdir("projects/New set"));
    const QStringList afterSession1 = SimTransferContent::manifest(root);
    if (ejected) {
        QVERIFY(sim.dismounter()->dismount(root));
        QTRY_VERIFY(!sim.isMounted("TAVLO"));
    } else {
        sim.unmount("TAVLO");
    }
    QCOMPARE(sim.lastError(), QString());
    QCOMPARE(SimTransferContent::manifest(folder), afterSession1);

    // Between the sessions the instrument itself changes a file; session 2 sees both.
    QVERIFY(writeFile(QDir(folder).filePath("grooves/untitled.tvgrv"), "recorded on the instrument"));
    QVERIFY(sim.mount("TAVLO", 0, card.volumeOptions()));
    const QString root2 = sim.rootPath("TAVLO");
    QCOMPARE(readFile(QDir(root2).filePath("projects/Grüße an Zoë.tvp")), QByteArray("changed in session 1"));
    QVERIFY(!QFileInfo::exists(QDir(root2).filePath("MIDI_Clips/Ørsted – live.mid")));
    QVERIFY(!QFileInfo::exists(QDir(root2).filePath("projects/New set")));
    QCOMPARE(readFile(QDir(root2).filePath("grooves/New folder/made on the computer.tvgrv")), QByteArray("new"));
    QCOMPARE(readFile(QDir(root2).filePath("grooves/untitled.tvgrv")), QByteArray("recorded on the instrument"));
    // The worn file is still worn.
    QFile worn(QDir(root2).filePath(kUnreadable));
    QVERIFY(!SimReadableFiles().openForReading(worn, nullptr));

    // A reset brings the card back to its first content.
    sim.unmount("TAVLO");
    QVERIFY(card.reset());
    QCOMPARE(SimTransferContent::manifest(card.folder()), initial);
}

void TestSimContent::contentLargerThanCapacityDoesNotMount()
{
    if (::geteuid() != 0)
        QSKIP("a volume with a capacity is a tmpfs, which needs root");
    SimulatedStorage sim;
    SimLastingStorage card;
    card.setCapacity(64 * 1024);
    const QStringList initial = SimTransferContent::manifest(card.folder());
    QVERIFY(!sim.mount("TAVLO", 0, card.volumeOptions()));
    QVERIFY2(sim.lastError().startsWith("The instrument's storage does not fit on its volume"), qPrintable(sim.lastError()));
    QVERIFY(!sim.isMounted("TAVLO"));
    QCOMPARE(SimTransferContent::manifest(card.folder()), initial);

    // Room for the content and a little more: a restore that brings more fills it up, and
    // what did fit is kept.
    card.setCapacity(card.bytesOnVolume() + 16 * 1024);
    QVERIFY2(sim.mount("TAVLO", 0, card.volumeOptions()), qPrintable(sim.lastError()));
    QFile big(QDir(sim.rootPath("TAVLO")).filePath("projects/restored.wav"));
    QVERIFY(big.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    QVERIFY(big.write(QByteArray(256 * 1024, 'x')) != 256 * 1024);
    big.close();
    QVERIFY(sim.dismounter()->dismount(sim.rootPath("TAVLO")));
    QTRY_VERIFY(!sim.isMounted("TAVLO"));
    const qint64 kept = QFileInfo(QDir(card.folder()).filePath("projects/restored.wav")).size();
    QVERIFY2(kept > 0 && kept < 256 * 1024, qPrintable(QString::number(kept)));
}

void TestSimContent::missingContentIsReported()
{
    // Content that cannot be written says so; a volume whose storage folder is missing does
    // not mount (as an empty volume would, and be taken for a wiped card).
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("a file"), "x"));
    QString error;
    QVERIFY(!SimTransferContent::fill(dir.filePath("a file/card"), Scale::Tiny, false, &error));
    QVERIFY2(error.startsWith("Could not create the folder"), qPrintable(error));
    SimulatedStorage sim;
    SimVolumeOptions options;
    options.contentFolder = dir.filePath("no such card");
    QVERIFY(!sim.mount("TAVLO", 0, options));
    QVERIFY2(sim.lastError().startsWith("The instrument's storage folder"), qPrintable(sim.lastError()));
    QVERIFY(!sim.isMounted("TAVLO"));
    QVERIFY(!QFileInfo::exists(options.contentFolder));
}

void TestSimContent::instrumentKeepsItsStorage()
{
    // Two transfer sessions of one instrument, entered and left as the instrument does; a
    // second instrument starts from the first content.
    SimInstrument::Timings fast;
    fast.transferRoundTripMs = 20;
    SimInstrument instrument;
    instrument.setTimings(fast);
    instrument.plugIn();
    const QString label = QString::fromLatin1(SimInstrument::kTransferVolumeLabel);
    const auto session = [&] {
        instrument.midi().setMode(SimMidiInstrument::Mode::Transfer);
        instrument.midi().leaveBus();
        instrument.midi().joinBus();
        return instrument.storage().isMounted(label) ? instrument.storage().rootPath(label) : QString();
    };
    const auto eject = [&](const QString& root) {
        return instrument.storage().dismounter()->dismount(root);
    };
    const QString root = session();
    QVERIFY(!root.isEmpty());
    const QStringList initial = SimTransferContent::manifest(root);
    QVERIFY(initial.size() > 20);
    QVERIFY(writeFile(QDir(root).filePath("projects/Live set 1/Live set 1.tvp"), "saved by the computer"));
    QVERIFY(eject(root));
    QTRY_VERIFY(instrument.midi().mode() == SimMidiInstrument::Mode::Normal && instrument.midi().isOnBus());

    const QString root2 = session();
    QVERIFY(!root2.isEmpty());
    QCOMPARE(readFile(QDir(root2).filePath("projects/Live set 1/Live set 1.tvp")), QByteArray("saved by the computer"));
    QCOMPARE(SimTransferContent::manifest(instrument.storageFolder()), SimTransferContent::manifest(root2));
    QVERIFY(eject(root2));
    QTRY_VERIFY(!instrument.storage().isMounted(label));

    SimInstrument fresh;
    QCOMPARE(SimTransferContent::manifest(fresh.storageFolder()), initial);
    // Choosing the content again makes the card afresh.
    QVERIFY(instrument.setStorageContent(Scale::Tiny, true));
    QCOMPARE(SimTransferContent::manifest(instrument.storageFolder()).filter("broken.tvp").size(), 1);
    QVERIFY(SimTransferContent::manifest(instrument.storageFolder()).contains(
        initial.filter("Live set 1/Live set 1.tvp").value(0)));
}

QTEST_GUILESS_MAIN(TestSimContent)
#include "tst_sim_content.moc"
