// The Windows eject's decisions against a fake volume handle: the lock is retried, a volume
// that never locks is never dismounted, the medium is ejected after a dismount, the handle
// is closed on every path.
#include "VolumeHandleApi.h"
#include "VolumeLockSequence.h"

#include <QStringList>
#include <QtTest>

namespace {

// Records every call; lock() succeeds from the lockSucceedsAt-th call on (0: never).
class FakeVolumeHandle : public VolumeHandleApi
{
public:
    bool opens = true;
    int lockSucceedsAt = 1;
    bool dismounts = true;
    bool ejects = true;
    QStringList calls;
    int locks = 0;

    bool open(const std::wstring&) override { calls << "open"; return opens; }
    bool lock() override
    {
        calls << "lock";
        ++locks;
        return lockSucceedsAt > 0 && locks >= lockSucceedsAt;
    }
    bool dismount() override { calls << "dismount"; return dismounts; }
    bool ejectMedia() override { calls << "eject"; return ejects; }
    void close() override { calls << "close"; }
    void pause(int ms) override { calls << QStringLiteral("pause %1").arg(ms); }
};

QStringList repeated(const QStringList& part, int times)
{
    QStringList all;
    for (int i = 0; i < times; ++i)
        all << part;
    return all;
}

} // namespace

class TestVolumeLockSequence : public QObject
{
    Q_OBJECT

private slots:
    void decisions_data();
    void decisions();
    void noDevicePathOpensNothing();
};

using Outcome = VolumeLockSequence::Outcome;

void TestVolumeLockSequence::decisions_data()
{
    QTest::addColumn<bool>("opens");
    QTest::addColumn<int>("lockSucceedsAt");
    QTest::addColumn<bool>("dismounts");
    QTest::addColumn<bool>("ejects");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("calls");

    const QStringList retry{"pause 7", "lock"};
    QTest::newRow("locks at once") << true << 1 << true << true << int(Outcome::Dismounted)
                                   << QStringList{"open", "lock", "dismount", "eject", "close"};
    QTest::newRow("locks at the third try")
        << true << 3 << true << true << int(Outcome::Dismounted)
        << (QStringList{"open", "lock"} + repeated(retry, 2)
            + QStringList{"dismount", "eject", "close"});
    QTest::newRow("locks at the last try")
        << true << 5 << true << true << int(Outcome::Dismounted)
        << (QStringList{"open", "lock"} + repeated(retry, 4)
            + QStringList{"dismount", "eject", "close"});
    QTest::newRow("never locks: in use, never dismounted")
        << true << 0 << true << true << int(Outcome::InUse)
        << (QStringList{"open", "lock"} + repeated(retry, 4) + QStringList{"close"});
    QTest::newRow("locks too late: in use")
        << true << 6 << true << true << int(Outcome::InUse)
        << (QStringList{"open", "lock"} + repeated(retry, 4) + QStringList{"close"});
    QTest::newRow("dismount refused") << true << 1 << false << true << int(Outcome::Failed)
                                      << QStringList{"open", "lock", "dismount", "close"};
    QTest::newRow("medium not ejectable: still dismounted")
        << true << 1 << true << false << int(Outcome::Dismounted)
        << QStringList{"open", "lock", "dismount", "eject", "close"};
    QTest::newRow("volume does not open") << false << 1 << true << true << int(Outcome::Failed)
                                          << QStringList{"open"};
}

void TestVolumeLockSequence::decisions()
{
    QFETCH(bool, opens);
    QFETCH(int, lockSucceedsAt);
    QFETCH(bool, dismounts);
    QFETCH(bool, ejects);
    QFETCH(int, outcome);
    QFETCH(QStringList, calls);

    FakeVolumeHandle handle;
    handle.opens = opens;
    handle.lockSucceedsAt = lockSucceedsAt;
    handle.dismounts = dismounts;
    handle.ejects = ejects;
    QCOMPARE(int(VolumeLockSequence::run(handle, L"\\\\.\\E:", 5, 7)), outcome);
    QCOMPARE(handle.calls, calls);
}

void TestVolumeLockSequence::noDevicePathOpensNothing()
{
    FakeVolumeHandle handle;
    QCOMPARE(VolumeLockSequence::run(handle, std::wstring(), 5, 7), Outcome::Failed);
    QVERIFY(handle.calls.isEmpty());
    // No attempts asked for: one try all the same.
    QCOMPARE(VolumeLockSequence::run(handle, L"\\\\.\\E:", 0, 7), Outcome::Dismounted);
    QCOMPARE(handle.locks, 1);
}

QTEST_GUILESS_MAIN(TestVolumeLockSequence)
#include "tst_volume_lock_sequence.moc"
