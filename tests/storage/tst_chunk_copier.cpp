// The copy's percentage stays within 0..100 in 64-bit arithmetic. The read-back's comparison
// of a copy with its source: any byte or length that differs is found, whatever the block
// size.
#include <ChunkCopier.h>
#include <CopyComparison.h>
#include <StorageTestFiles.h>

#include <QtTest>

#include <algorithm>
#include <cstring>

// Gives its data in pieces of at most `piece` bytes, then a read error once `failAt` bytes
// were given (never, when failAt is negative).
class PiecewiseDevice : public QIODevice
{
public:
    PiecewiseDevice(QByteArray data, qint64 piece, qint64 failAt)
        : data(std::move(data)), piece(piece), failAt(failAt)
    {
        open(QIODevice::ReadOnly);
    }

protected:
    qint64 readData(char* into, qint64 len) override
    {
        if (failAt >= 0 && given >= failAt)
            return -1;
        const qint64 length = std::min({len, piece, qint64(data.size()) - given});
        std::memcpy(into, data.constData() + given, size_t(length));
        given += length;
        return length;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray data;
    qint64 piece;
    qint64 failAt;
    qint64 given = 0;
};

class TestChunkCopier : public QObject
{
    Q_OBJECT

private slots:
    void percentage_data();
    void percentage();
    void comparison_data();
    void comparison();
};

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

void TestChunkCopier::comparison_data()
{
    using Result = CopyComparison::Result;
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("changeAt"); // -1: the copy is the source
    QTest::addColumn<int>("lengthChange");
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("copyPiece"); // the copy gives at most this much per read
    QTest::addColumn<int>("copyFailsAt");
    QTest::addColumn<int>("sourceFailsAt");
    QTest::addColumn<int>("expected");

    const int size = 3 * 4096 + 7;
    QTest::newRow("the same") << size << -1 << 0 << 4096 << size << -1 << -1 << int(Result::Same);
    QTest::newRow("the same, read in odd pieces")
        << size << -1 << 0 << 4096 << 1000 << -1 << -1 << int(Result::Same);
    QTest::newRow("both empty") << 0 << -1 << 0 << 4096 << 4096 << -1 << -1 << int(Result::Same);
    QTest::newRow("exactly one block") << 4096 << -1 << 0 << 4096 << 4096 << -1 << -1 << int(Result::Same);
    QTest::newRow("first byte differs") << size << 0 << 0 << 4096 << size << -1 << -1 << int(Result::Different);
    QTest::newRow("last byte differs") << size << size - 1 << 0 << 4096 << size << -1 << -1 << int(Result::Different);
    QTest::newRow("a byte at a block edge differs")
        << size << 4096 << 0 << 4096 << 1000 << -1 << -1 << int(Result::Different);
    QTest::newRow("blocks of one byte, a byte differs")
        << 300 << 299 << 0 << 1 << 300 << -1 << -1 << int(Result::Different);
    QTest::newRow("the copy one byte short") << size << -1 << -1 << 4096 << size << -1 << -1 << int(Result::Different);
    QTest::newRow("the copy one block short")
        << size << -1 << -4096 << 4096 << size << -1 << -1 << int(Result::Different);
    QTest::newRow("the copy one byte long") << size << -1 << 1 << 4096 << size << -1 << -1 << int(Result::Different);
    QTest::newRow("a copy of a whole block more")
        << 4096 << -1 << 4096 << 4096 << 4096 << -1 << -1 << int(Result::Different);
    QTest::newRow("the copy empty") << size << -1 << -size << 4096 << size << -1 << -1 << int(Result::Different);
    QTest::newRow("the copy fails at once") << size << -1 << 0 << 4096 << size << 0 << -1 << int(Result::CopyUnreadable);
    QTest::newRow("the copy fails in its last block")
        << size << -1 << 0 << 4096 << 4096 << 3 * 4096 << -1 << int(Result::CopyUnreadable);
    QTest::newRow("the source fails") << size << -1 << 0 << 4096 << size << -1 << 4096 << int(Result::SourceUnreadable);
}

void TestChunkCopier::comparison()
{
    QFETCH(int, size);
    QFETCH(int, changeAt);
    QFETCH(int, lengthChange);
    QFETCH(int, block);
    QFETCH(int, copyPiece);
    QFETCH(int, copyFailsAt);
    QFETCH(int, sourceFailsAt);
    QFETCH(int, expected);

    const QByteArray source = StorageTestFiles::pattern(size);
    QByteArray copy = source;
    if (changeAt >= 0)
        copy[changeAt] = char(~copy.at(changeAt));
    if (lengthChange < 0)
        copy.chop(-lengthChange);
    else
        copy.append(QByteArray(lengthChange, 'x'));
    PiecewiseDevice copyDevice(copy, copyPiece, copyFailsAt);
    PiecewiseDevice sourceDevice(source, size + 1, sourceFailsAt);
    QCOMPARE(int(CopyComparison::compare(copyDevice, sourceDevice, block)), expected);
}

QTEST_GUILESS_MAIN(TestChunkCopier)
#include "tst_chunk_copier.moc"
