// The copy onto the volume when something goes wrong on the way: the flush refused, the
// volume gone in the middle of the copy or just before the rename, the instrument unplugged
// (a cancel). Each ends with its reason, and nothing of the run is left on the volume.
#include "StorageFailureText.h"
#include "StorageTestFiles.h"
#include "VolumeUpdateWriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using Verdict = VolumeUpdateWriter::Verdict;

class TestVolumeUpdateWriter : public QObject
{
    Q_OBJECT

private slots:
    void faults_data();
    void faults();
};

namespace {
const QString kHandOver = QStringLiteral("tvxxfer.tvq");
constexpr qint64 kChunk = 4096;
// Copied before the first check: only the check before the rename sees a fault.
constexpr qint64 kSmall = kChunk * 3;
} // namespace

void TestVolumeUpdateWriter::faults_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("syncFails");
    QTest::addColumn<int>("faultAtCheck"); // 0: none; the check at which the fault shows
    QTest::addColumn<int>("fault");        // a Verdict
    QTest::addColumn<QString>("reason");   // empty: the file is in place
    QTest::addColumn<bool>("staleBefore"); // an old hand-over file lies on the volume

    const qint64 big = VolumeUpdateWriter::kCheckEveryBytes * 3 + 100;
    QTest::newRow("no fault") << big << false << 0 << int(Verdict::Continue) << QString() << true;
    QTest::newRow("flush refused") << big << true << 0 << int(Verdict::Continue)
                                   << StorageFailureText::flushFailed() << true;
    QTest::newRow("volume vanishes mid-copy")
        << big << false << 2 << int(Verdict::Vanished)
        << StorageFailureText::volumeGoneDuringCopy() << true;
    QTest::newRow("volume vanishes before the rename")
        << kSmall << false << 1 << int(Verdict::Vanished)
        << StorageFailureText::volumeGoneDuringCopy() << false;
    QTest::newRow("unplugged mid-copy") << big << false << 1 << int(Verdict::Cancelled)
                                        << VolumeUpdateWriter::cancelledReason() << true;
    QTest::newRow("unplugged before the rename")
        << kSmall << false << 1 << int(Verdict::Cancelled)
        << VolumeUpdateWriter::cancelledReason() << false;
}

void TestVolumeUpdateWriter::faults()
{
    QFETCH(qint64, size);
    QFETCH(bool, syncFails);
    QFETCH(int, faultAtCheck);
    QFETCH(int, fault);
    QFETCH(QString, reason);
    QFETCH(bool, staleBefore);

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
    if (syncFails)
        hooks.syncFile = [](int) { return false; };

    const QString result = VolumeUpdateWriter::place(
        volume.path(), source, kHandOver, [&](qint64 copied, qint64) { lastCopied = copied; },
        hooks);
    QCOMPARE(result, reason);

    const QStringList left = QDir(volume.path()).entryList(QDir::Files | QDir::Hidden);
    if (reason.isEmpty()) {
        QCOMPARE(left, QStringList{kHandOver});
        QCOMPARE(StorageTestFiles::read(QDir(volume.path()).filePath(kHandOver)), content);
        return;
    }
    // Neither the copy under its temporary name nor a hand-over file, old or new, is left.
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
    if (faultAtCheck > 0 && size > kSmall) // stopped at the check, not at the end
        QVERIFY2(lastCopied < size, qPrintable(QString::number(lastCopied)));
}

QTEST_GUILESS_MAIN(TestVolumeUpdateWriter)
#include "tst_volume_update_writer.moc"
