// The chunk loop of the update file copy on its own: short writes are failures, and the
// percentage stays within 0..100 in 64-bit arithmetic.
#include <ChunkCopier.h>
#include <StorageTestFiles.h>

#include <QBuffer>
#include <QtTest>

namespace {
// Takes fewer bytes than offered once its budget is used up, as a device that runs out of
// room in the middle of a write.
class ShortWritingDevice : public QIODevice
{
public:
    explicit ShortWritingDevice(qint64 budget) : budget(budget) {}
    QByteArray written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override
    {
        const qint64 taken = qMin(len, budget);
        written.append(data, taken);
        budget -= taken;
        return taken;
    }

private:
    qint64 budget;
};
} // namespace

class TestChunkCopier : public QObject
{
    Q_OBJECT

private slots:
    void shortWriteIsFailure_data();
    void shortWriteIsFailure();
    void percentage_data();
    void percentage();
};

void TestChunkCopier::shortWriteIsFailure_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("budget");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<int>("reports");

    QTest::newRow("room for all") << qint64(10000) << qint64(10000) << true << 3;
    QTest::newRow("short in the first chunk") << qint64(10000) << qint64(100) << false << 0;
    QTest::newRow("short in the last chunk") << qint64(10000) << qint64(9999) << false << 2;
    QTest::newRow("nothing taken at the chunk boundary") << qint64(10000) << qint64(8192) << false << 2;
}

void TestChunkCopier::shortWriteIsFailure()
{
    QFETCH(qint64, size);
    QFETCH(qint64, budget);
    QFETCH(bool, expected);
    QFETCH(int, reports);

    QByteArray data = StorageTestFiles::pattern(size);
    QBuffer source(&data);
    QVERIFY(source.open(QIODevice::ReadOnly));
    ShortWritingDevice destination(budget);
    QVERIFY(destination.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    QList<int> progress;
    QCOMPARE(ChunkCopier::copy(source, destination, size, [&](int p) { progress.append(p); }), expected);
    QCOMPARE(progress.size(), reports);
    if (expected)
        QCOMPARE(destination.written, data);
}

void TestChunkCopier::percentage_data()
{
    QTest::addColumn<qint64>("copied");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<int>("expected");

    QTest::newRow("rounds down") << qint64(4096) << qint64(10000) << 40;
    QTest::newRow("complete") << qint64(10000) << qint64(10000) << 100;
    QTest::newRow("no total") << qint64(4096) << qint64(0) << 0;
    QTest::newRow("negative total") << qint64(4096) << qint64(-1) << 0;
    QTest::newRow("source grew: clamped") << qint64(20000) << qint64(10000) << 100;
    QTest::newRow("beyond 32 bits") << qint64(3) * 1024 * 1024 * 1024 << qint64(6) * 1024 * 1024 * 1024 << 50;
    QTest::newRow("huge file, no overflow") << qint64(1) << (qint64(1) << 60) << 0;
}

void TestChunkCopier::percentage()
{
    QFETCH(qint64, copied);
    QFETCH(qint64, total);
    QFETCH(int, expected);
    QCOMPARE(ChunkCopier::percentage(copied, total), expected);
}

QTEST_GUILESS_MAIN(TestChunkCopier)
#include "tst_chunk_copier.moc"
