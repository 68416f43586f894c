// The copy onto the volume when something goes wrong on the way: the flush refused, the
// volume gone in the middle of the copy or just before the rename, the instrument unplugged
// (a cancel), the copy or its source altered before the read-back. Each ends with its reason,
// and nothing of the run is left on the volume; a copy that passes is told with its SHA-256.
#include "StorageFailureText.h"
#include "StorageTestFiles.h"
#include "VolumeUpdateWriter.h"

#include <Sha256.h>

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using Verdict = VolumeUpdateWriter::Verdict;

class TestVolumeUpdateWriter : public QObject
{
    Q_OBJECT

private slots:
    void faults_data();
    void faults();
    void sourceNames_data();
    void sourceNames();
};

namespace {
const QString kHandOver = QStringLiteral("tvxxfer.tvq");
constexpr qint64 kChunk = 4096;
// Copied before the first check: only the check before the rename sees a fault.
constexpr qint64 kSmall = kChunk * 3;
// What is changed once the copy is written, before it is read back.
enum Altered { Nothing, OneByteOfTheCopy, TheSource };
} // namespace

void TestVolumeUpdateWriter::faults_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("syncFails");
    QTest::addColumn<int>("faultAtCheck"); // 0: none; the check at which the fault shows
    QTest::addColumn<int>("fault");        // a Verdict
    QTest::addColumn<QString>("reason");   // empty: the file is in place
    QTest::addColumn<bool>("staleBefore"); // an old hand-over file lies on the volume
    QTest::addColumn<int>("altered");      // an Altered

    const qint64 big = VolumeUpdateWriter::kCheckEveryBytes * 3 + 100;
    QTest::newRow("no fault") << big << false << 0 << int(Verdict::Continue) << QString() << true << int(Nothing);
    QTest::newRow("flush refused") << big << true << 0 << int(Verdict::Continue)
                                   << StorageFailureText::flushFailed() << true << int(Nothing);
    QTest::newRow("volume vanishes mid-copy")
        << big << false << 2 << int(Verdict::Vanished)
        << StorageFailureText::volumeGoneDuringCopy() << true << int(Nothing);
    QTest::newRow("volume vanishes before the rename")
        << kSmall << false << 1 << int(Verdict::Vanished)
        << StorageFailureText::volumeGoneDuringCopy() << false << int(Nothing);
    QTest::newRow("unplugged mid-copy") << big << false << 1 << int(Verdict::Cancelled)
                                        << VolumeUpdateWriter::cancelledReason() << true << int(Nothing);
    QTest::newRow("unplugged before the rename")
        << kSmall << false << 1 << int(Verdict::Cancelled)
        << VolumeUpdateWriter::cancelledReason() << false << int(Nothing);
    QTest::newRow("the copy altered on the volume")
        << big << false << 0 << int(Verdict::Continue) << StorageFailureText::readBackMismatch()
        << true << int(OneByteOfTheCopy);
    QTest::newRow("a one-chunk copy altered on the volume")
        << kChunk - 1 << false << 0 << int(Verdict::Continue)
        << StorageFailureText::readBackMismatch() << false << int(OneByteOfTheCopy);
    QTest::newRow("the source altered after the copy")
        << big << false << 0 << int(Verdict::Continue) << StorageFailureText::readBackMismatch()
        << false << int(TheSource);
}

void TestVolumeUpdateWriter::faults()
{
    QFETCH(qint64, size);
    QFETCH(bool, syncFails);
    QFETCH(int, faultAtCheck);
    QFETCH(int, fault);
    QFETCH(QString, reason);
    QFETCH(bool, staleBefore);
    QFETCH(int, altered);

    QTemporaryDir downloads;
    QTemporaryDir volume;
    const QByteArray content = StorageTestFiles::pattern(size);
    const QString source = StorageTestFiles::write(downloads, QStringLiteral("fw.tvq"), content);
    if (staleBefore)
        StorageTestFiles::write(volume, kHandOver, "OLD");

    int checks = 0;
    qint64 lastCopied = 0;
    VolumeUpdateWriter::Hooks hooks;
    hooks.check = [&] {
        ++checks;
        return faultAtCheck > 0 && checks >= faultAtCheck ? Verdict(fault) : Verdict::Continue;
    };
    QByteArray toldSha256;
    hooks.readBackPassed = [&](const QByteArray& sha256) { toldSha256 = sha256; };
    hooks.syncFile = [&](int fd) {
        if (altered == OneByteOfTheCopy) {
            const char flipped = char(~content.at(content.size() / 2));
            if (::pwrite(fd, &flipped, 1, content.size() / 2) != 1)
                return false;
        } else if (altered == TheSource) {
            QFile changed(source);
            if (!changed.open(QIODevice::ReadWrite) || !changed.seek(content.size() - 1)
                || !changed.putChar(char(~content.back())))
                return false;
        }
        return !syncFails && ::fsync(fd) == 0;
    };

    const QString result = VolumeUpdateWriter::place(
        volume.path(), source, kHandOver, [&](qint64 copied, qint64) { lastCopied = copied; },
        hooks);
    QCOMPARE(result, reason);

    const QStringList left = QDir(volume.path()).entryList(QDir::Files | QDir::Hidden);
    if (reason.isEmpty()) {
        QCOMPARE(left, QStringList{kHandOver});
        QCOMPARE(StorageTestFiles::read(QDir(volume.path()).filePath(kHandOver)), content);
        QCOMPARE(toldSha256, Sha256::hash(content).toHex());
        return;
    }
    // Neither the copy under its temporary name nor a hand-over file, old or new, is left.
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
    if (reason == StorageFailureText::readBackMismatch())
        QVERIFY(toldSha256.isEmpty());
    if (faultAtCheck > 0 && size > kSmall) // stopped at the check, not at the end
        QVERIFY2(lastCopied < size, qPrintable(QString::number(lastCopied)));
}

void TestVolumeUpdateWriter::sourceNames_data()
{
    QTest::addColumn<QString>("name");     // the source's file name
    QTest::addColumn<bool>("onVolume");    // the source lies in the volume's root
    QTest::addColumn<bool>("staleBefore"); // an old hand-over file lies on the volume too
    QTest::addColumn<QStringList>("left"); // the volume's files at the end

    const QStringList handOver{kHandOver};
    QTest::newRow("ordinary source") << "fw.tvq" << false << true << handOver;
    QTest::newRow("source named like the hand-over file in capitals")
        << "TVXXFER.TVQ" << false << true << handOver;
    QTest::newRow("source named like the temporary") << "TVXXFER.TMP" << false << false << handOver;
    QTest::newRow("source on the volume's root") << "update.tvq" << true << true
                                                  << QStringList{kHandOver, "update.tvq"};
    QTest::newRow("source on the volume under the hand-over name")
        << kHandOver << true << false << handOver;
    QTest::newRow("source on the volume named like the temporary")
        << "tvxxfer.tmp" << true << false << QStringList{"tvxxfer.tmp", kHandOver};
}

void TestVolumeUpdateWriter::sourceNames()
{
    QFETCH(QString, name);
    QFETCH(bool, onVolume);
    QFETCH(bool, staleBefore);
    QFETCH(QStringList, left);

    QTemporaryDir downloads;
    QTemporaryDir volume;
    const QByteArray content = StorageTestFiles::pattern(kSmall);
    const QString source = StorageTestFiles::write(onVolume ? volume : downloads, name, content);
    if (staleBefore)
        StorageTestFiles::write(volume, kHandOver, "OLD");

    // While the copy is pushed to the device: the name it is written under, and whether the
    // source is still there, whole.
    QString writtenAs;
    bool sourceWhole = false;
    VolumeUpdateWriter::Hooks hooks;
    hooks.syncFile = [&](int fd) {
        writtenAs = QFileInfo(QStringLiteral("/proc/self/fd/%1").arg(fd)).symLinkTarget();
        sourceWhole = StorageTestFiles::read(source) == content;
        return ::fsync(fd) == 0;
    };
    QCOMPARE(VolumeUpdateWriter::place(volume.path(), source, kHandOver, {}, hooks), QString());

    QVERIFY(sourceWhole);
    const QString temporary = QFileInfo(writtenAs).fileName();
    QCOMPARE(QFileInfo(writtenAs).absolutePath(), QDir(volume.path()).canonicalPath());
    QVERIFY2(temporary.compare(kHandOver, Qt::CaseInsensitive) != 0, qPrintable(temporary));
    QVERIFY2(temporary.compare(name, Qt::CaseInsensitive) != 0, qPrintable(temporary));
    QCOMPARE(QDir(volume.path()).entryList(QDir::Files | QDir::Hidden), left);
    QCOMPARE(StorageTestFiles::read(QDir(volume.path()).filePath(kHandOver)), content);
    if (left.contains(name))
        QCOMPARE(StorageTestFiles::read(source), content);
}

QTEST_GUILESS_MAIN(TestVolumeUpdateWriter)
#include "tst_volume_update_writer.moc"
