// The SHA-256 that checks the update file on its way in and on the volume: known digests, the
// same digest however the data is cut into pieces, a result that leaves the state usable, and
// a file read through as a device, and the hash worked out beside a copy on a thread of its
// own, with the caller's two buffers in turn. Checked against Qt's own SHA-256.
#include <HashAlongside.h>
#include <Sha256.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QTemporaryFile>
#include <QtTest>

#include <cstring>

class TestSha256 : public QObject
{
    Q_OBJECT

private slots:
    void digests_data();
    void digests();
    void resultKeepsTheState();
    void readsADevice();
    void alongside_data();
    void alongside();
    void alongsideEndsWithABlockPending();
};

namespace {
QByteArray pattern(qsizetype size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char((i * 131) ^ (i >> 11));
    return data;
}
} // namespace

void TestSha256::digests_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("piece");
    QTest::addColumn<QByteArray>("hex");
    QTest::newRow("empty") << QByteArray() << 1
                           << QByteArray("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    QTest::newRow("abc") << QByteArray("abc") << 1
                         << QByteArray("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    const QByteArray large = pattern(3 * 1024 * 1024 + 17);
    const QByteArray expected = QCryptographicHash::hash(large, QCryptographicHash::Sha256).toHex();
    QTest::newRow("3 MiB at once") << large << int(large.size()) << expected;
    QTest::newRow("3 MiB in odd pieces") << large << 4093 << expected;
    QTest::newRow("3 MiB in 1 MiB pieces") << large << 1024 * 1024 << expected;
}

void TestSha256::digests()
{
    QFETCH(QByteArray, data);
    QFETCH(int, piece);
    QFETCH(QByteArray, hex);
    Sha256 hash;
    for (qsizetype at = 0; at < data.size(); at += piece)
        hash.addData(QByteArrayView(data.constData() + at, std::min<qsizetype>(piece, data.size() - at)));
    QCOMPARE(hash.result().toHex(), hex);
    QCOMPARE(Sha256::hash(data).toHex(), hex);
}

void TestSha256::resultKeepsTheState()
{
    Sha256 hash;
    hash.addData(QByteArrayView("ab"));
    const QByteArray early = hash.result();
    QCOMPARE(hash.result(), early);
    hash.addData(QByteArrayView("c"));
    QCOMPARE(hash.result(), Sha256::hash(QByteArrayView("abc")));
    hash.reset();
    QCOMPARE(hash.result(), Sha256::hash(QByteArrayView()));
}

void TestSha256::readsADevice()
{
    const QByteArray data = pattern(2 * 1024 * 1024 + 5);
    QTemporaryFile file;
    QVERIFY(file.open());
    QCOMPARE(file.write(data), qint64(data.size()));
    QVERIFY(file.seek(0));
    Sha256 fromFile;
    QVERIFY(fromFile.addData(file));
    QCOMPARE(fromFile.result(), Sha256::hash(data));

    // From where the device stands: the rest only.
    QBuffer buffer;
    buffer.setData(data);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QVERIFY(buffer.seek(5));
    Sha256 rest;
    QVERIFY(rest.addData(buffer));
    QCOMPARE(rest.result(), Sha256::hash(QByteArrayView(data.constData() + 5, data.size() - 5)));

    // A device that cannot be read is a failure, never the digest of nothing.
    QBuffer closed;
    Sha256 none;
    QVERIFY(!none.addData(closed));
}

void TestSha256::alongside_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("piece");
    QTest::newRow("nothing") << 0 << 4096;
    QTest::newRow("one short block") << 100 << 4096;
    QTest::newRow("odd pieces") << 3 * 1024 * 1024 + 17 << 4093;
    QTest::newRow("copy-sized pieces") << 8 * 1024 * 1024 << 667648;
    QTest::newRow("single bytes") << 5000 << 1;
}

void TestSha256::alongside()
{
    QFETCH(int, size);
    QFETCH(int, piece);
    const QByteArray data = pattern(size);
    // As the copy does it: each block goes into one of two buffers in turn, and the buffer is
    // filled again as soon as the add after the next one has returned.
    QByteArray buffers[2] = {QByteArray(piece, Qt::Uninitialized), QByteArray(piece, Qt::Uninitialized)};
    HashAlongside hash;
    int turn = 0;
    for (qsizetype at = 0; at < data.size(); at += piece) {
        const qsizetype length = std::min<qsizetype>(piece, data.size() - at);
        QByteArray& buffer = buffers[turn];
        turn ^= 1;
        std::memcpy(buffer.data(), data.constData() + at, size_t(length));
        hash.add(QByteArrayView(buffer.constData(), length));
        hash.add(QByteArrayView()); // nothing to add changes nothing
    }
    const QByteArray expected = QCryptographicHash::hash(data, QCryptographicHash::Sha256);
    QCOMPARE(hash.result().toHex(), expected.toHex());
    QCOMPARE(hash.result(), expected);
}

void TestSha256::alongsideEndsWithABlockPending()
{
    // Destroyed right after an add: it waits for that block, so the buffer, declared first,
    // is still there (under the sanitizers a use after free would show).
    const QByteArray data = pattern(4 * 1024 * 1024);
    for (int round = 0; round < 20; ++round) {
        QByteArray buffer = data;
        HashAlongside hash;
        hash.add(buffer);
    }
}

QTEST_GUILESS_MAIN(TestSha256)
#include "tst_sha256.moc"
