// The SHA-256 that checks the update file on its way in and on the volume: known digests, the
// same digest however the data is cut into pieces, a result that leaves the state usable, and
// a file read through as a device. Checked against Qt's own SHA-256.
#include <Sha256.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QTemporaryFile>
#include <QtTest>

class TestSha256 : public QObject
{
    Q_OBJECT

private slots:
    void digests_data();
    void digests();
    void resultKeepsTheState();
    void readsADevice();
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

QTEST_GUILESS_MAIN(TestSha256)
#include "tst_sha256.moc"
