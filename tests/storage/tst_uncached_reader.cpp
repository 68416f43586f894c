// The read-back's reader: every byte of the file comes back, in whatever sizes the caller asks
// for, whatever the file's length against the block the reader works in. The block Windows
// reads in is a whole number of sectors of at least 1 MiB.
#include "UncachedReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestUncachedReader : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryByte_data();
    void readsEveryByte();
    void blockSize_data();
    void blockSize();
};

void TestUncachedReader::readsEveryByte_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("ask"); // bytes asked for at each read
    const qint64 block = qint64(UncachedReader::blockSizeFor(4096));
    QTest::newRow("empty") << qint64(0) << qint64(4096);
    QTest::newRow("one byte") << qint64(1) << qint64(4096);
    QTest::newRow("a sector, asked byte by byte") << qint64(4096) << qint64(1);
    QTest::newRow("a sector and one, in odd pieces") << qint64(4097) << qint64(1000);
    QTest::newRow("one block exactly") << block << block;
    QTest::newRow("past a block, asked in more than a block") << block + 3 << block + 4096;
    QTest::newRow("two blocks and a bit, in sectors") << 2 * block + 511 << qint64(4096);
}

void TestUncachedReader::readsEveryByte()
{
    QFETCH(qint64, size);
    QFETCH(qint64, ask);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("copy.bin"));
    QByteArray content(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        content[i] = char((i * 7 + i / 251) & 0xFF);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), size);
    file.close();

    UncachedReader reader;
    QVERIFY(reader.open(QFile::encodeName(path).constData()));
    QByteArray back;
    QByteArray piece(ask, Qt::Uninitialized);
    for (;;) {
        const std::int64_t got = reader.read(piece.data(), ask);
        QVERIFY(got >= 0 && got <= ask);
        if (got == 0)
            break;
        back.append(piece.constData(), got);
    }
    QCOMPARE(back.size(), content.size());
    QVERIFY(back == content);
    QCOMPARE(reader.read(piece.data(), ask), std::int64_t(0)); // the end stays the end
}

void TestUncachedReader::blockSize_data()
{
    QTest::addColumn<qint64>("sector");
    QTest::addColumn<qint64>("block");
    const qint64 mib = 1024 * 1024;
    QTest::newRow("unknown sector") << qint64(0) << mib;
    QTest::newRow("512-byte sectors") << qint64(512) << mib;
    QTest::newRow("4 KiB sectors") << qint64(4096) << mib;
    QTest::newRow("sectors that do not divide 1 MiB") << qint64(3000) << qint64(350 * 3000);
    QTest::newRow("sectors larger than 1 MiB") << 2 * mib << 2 * mib;
}

void TestUncachedReader::blockSize()
{
    QFETCH(qint64, sector);
    QFETCH(qint64, block);
    QCOMPARE(qint64(UncachedReader::blockSizeFor(std::size_t(sector))), block);
}

QTEST_GUILESS_MAIN(TestUncachedReader)
#include "tst_uncached_reader.moc"
