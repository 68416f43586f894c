// The macOS sleep guard against a stand-in for caffeinate: what it is started with, that it
// runs exactly while the guard is held, and that a missing tool is reported.
#include <MacSleepGuard.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

class TestMacSleepGuard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void runsExactlyWhileHeld();
    void aMissingToolIsRefused();
    void aToolThatEndsAtOnceIsRefused();

private:
    // The pid the stand-in wrote, once it is there.
    qint64 standInPid();
    bool running(qint64 pid) { return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0; }

    std::unique_ptr<QTemporaryDir> dir;
    QString tool;
};

void TestMacSleepGuard::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    tool = dir->filePath(QStringLiteral("caffeinate"));
    QFile script(tool);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho \"$@\" > \"$0.args\"\necho $$ > \"$0.pid\"\nexec sleep 30\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

qint64 TestMacSleepGuard::standInPid()
{
    QFile pid(tool + QStringLiteral(".pid"));
    if (!QTest::qWaitFor([&] { return pid.exists() && pid.size() > 0; }, 5000))
        return -1;
    pid.open(QIODevice::ReadOnly);
    return pid.readAll().trimmed().toLongLong();
}

void TestMacSleepGuard::runsExactlyWhileHeld()
{
    auto guard = std::make_unique<MacSleepGuard>(tool);
    QVERIFY(guard->hold(QStringLiteral("update")));
    const qint64 first = standInPid();
    QVERIFY(running(first));
    QFile args(tool + QStringLiteral(".args"));
    QVERIFY(args.open(QIODevice::ReadOnly));
    // Ends with this program even when this program cannot end it (-w).
    QCOMPARE(args.readAll().trimmed(),
             "-i -s -w " + QByteArray::number(QCoreApplication::applicationPid()));

    guard->release();
    QVERIFY(!running(first));
    guard->release(); // twice is harmless

    QFile::remove(tool + QStringLiteral(".pid"));
    QVERIFY(guard->hold(QStringLiteral("update")));
    const qint64 second = standInPid();
    QVERIFY(running(second));
    guard.reset(); // the guard's end lets go as well
    QVERIFY(!running(second));
}

void TestMacSleepGuard::aMissingToolIsRefused()
{
    MacSleepGuard guard(dir->filePath(QStringLiteral("missing")));
    QVERIFY(!guard.hold(QStringLiteral("update")));
    guard.release();
}

// As the tool does when it does not know an argument: it says so and ends.
void TestMacSleepGuard::aToolThatEndsAtOnceIsRefused()
{
    QFile script(tool);
    QVERIFY(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
    script.write("#!/bin/sh\nexit 1\n");
    script.close();
    MacSleepGuard guard(tool);
    QVERIFY(!guard.hold(QStringLiteral("update")));
}

QTEST_GUILESS_MAIN(TestMacSleepGuard)
#include "tst_mac_sleep_guard.moc"
