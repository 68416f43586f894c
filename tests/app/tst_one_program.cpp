// One program drives the instrument at a time: the lock and who holds it, a lock left by a
// program that ended, the second window that brings the first to the front or says who holds
// the instrument, and the update's hold on the computer's sleep.
#include "InstrumentLock.h"
#include "SimSleepGuard.h"
#include "StayAwake.h"
#include "WindowClaim.h"
#include "WindowToFront.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <memory>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

using Kind = InstrumentLock::Kind;

class OneProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void holderLines_data();
    void holderLines();
    void secondHolderIsToldWhoHolds();
    void holderLineOfAnotherProcessIsNotBelieved();
    void unusableFolderLeavesTheProgramUnguarded();
    void lockOfAProgramThatEndedIsTakenOver();
    void askReachesTheWindowHoldingTheLock();
    void claimShowsWhoHoldsAndGoesOnAfterTryAgain();
    void claimEndsWhenClosed();
    void claimBringsTheOpenWindowToTheFront();
    void stayAwakeHoldsOnceAndLetsGo();
};

void OneProgram::holderLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<qint64>("pid");
    QTest::addColumn<bool>("window");
    QTest::addColumn<QString>("command");
    QTest::newRow("window") << "window 1234" << qint64(1234) << true << "";
    QTest::newRow("tavlo update") << "tavlo 77 update\n" << qint64(77) << false << "update";
    QTest::newRow("tavlo without command") << "tavlo 77" << qint64(77) << false << "";
    QTest::newRow("command with controls") << "tavlo 77 up\x1b]0;x" << qint64(77) << false << "";
    QTest::newRow("command too long") << "tavlo 77 aaaaaaaaaaaaaaaaaaaaaaaaa" << qint64(77) << false << "";
    QTest::newRow("window with a command") << "window 5 update" << qint64(5) << true << "";
    QTest::newRow("empty") << "" << qint64(0) << false << "";
    QTest::newRow("no number") << "window abc" << qint64(0) << false << "";
    QTest::newRow("negative") << "tavlo -5 update" << qint64(0) << false << "";
    QTest::newRow("someone else") << "daw 5" << qint64(0) << false << "";
    QTest::newRow("too many words") << "tavlo 5 update now" << qint64(0) << false << "";
}

void OneProgram::holderLines()
{
    QFETCH(QString, line);
    QFETCH(qint64, pid);
    QFETCH(bool, window);
    QFETCH(QString, command);
    const InstrumentLock::Holder holder = InstrumentLock::parse(line);
    QCOMPARE(holder.processId, pid);
    QCOMPARE(holder.window, window);
    QCOMPARE(holder.command, command);
    // What is written is read back.
    if (pid > 0 && (window || !command.isEmpty())) {
        const QString written = InstrumentLock::describe(window ? Kind::Window : Kind::CommandLine,
                                                         pid, command);
        QCOMPARE(InstrumentLock::parse(written).command, command);
    }
}

void OneProgram::secondHolderIsToldWhoHolds()
{
    QTemporaryDir folder;
    const qint64 self = QCoreApplication::applicationPid();
    const QString process = QStringLiteral("(process %1)").arg(self);
    {
        InstrumentLock first(folder.path());
        QVERIFY(first.acquire(Kind::CommandLine, QStringLiteral("update")));
        QVERIFY(first.held());
        InstrumentLock second(folder.path());
        QVERIFY(!second.acquire(Kind::Window));
        QVERIFY(!second.held());
        QCOMPARE(second.holder().processId, self);
        QVERIFY(!second.holder().window);
        const QString sentence = InstrumentLock::inUseSentence(second.holder());
        QVERIFY2(sentence.contains(QStringLiteral("\"tavlo update\"")) && sentence.contains(process),
                 qPrintable(sentence));
    }
    // Let go with its holder: the next one takes it, and says it is a window.
    InstrumentLock window(folder.path());
    QVERIFY(window.acquire(Kind::Window));
    InstrumentLock third(folder.path());
    QVERIFY(!third.acquire(Kind::CommandLine, QStringLiteral("check")));
    QVERIFY(third.holder().window);
    QVERIFY(InstrumentLock::inUseSentence(third.holder()).startsWith(
        QStringLiteral("Tavlo is already open in another window %1").arg(process)));
}

void OneProgram::holderLineOfAnotherProcessIsNotBelieved()
{
    QTemporaryDir folder;
    InstrumentLock first(folder.path());
    QVERIFY(first.acquire(Kind::Window));
    // Something else wrote the line beside the lock: it names another process.
    QFile line(QDir(folder.path()).filePath(QStringLiteral("tavlo-instrument.holder")));
    QVERIFY(line.open(QIODevice::WriteOnly | QIODevice::Truncate));
    line.write("tavlo 999999 transfer");
    line.close();
    InstrumentLock second(folder.path());
    QVERIFY(!second.acquire(Kind::CommandLine, QStringLiteral("check")));
    QCOMPARE(second.holder().processId, QCoreApplication::applicationPid());
    QVERIFY(second.holder().command.isEmpty());
    QVERIFY(InstrumentLock::inUseSentence(second.holder()).startsWith(QStringLiteral("Another program")));
}

void OneProgram::unusableFolderLeavesTheProgramUnguarded()
{
    QTemporaryDir folder;
    const QString notAFolder = QDir(folder.path()).filePath(QStringLiteral("file"));
    QFile file(notAFolder);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    InstrumentLock lock(notAFolder + QStringLiteral("/inside"));
    QVERIFY(lock.acquire(Kind::Window));
    QVERIFY(!lock.held());
    QVERIFY(!lock.problem().isEmpty());
    // Without a folder there is no lock at all, and nothing to say.
    InstrumentLock none{QString()};
    QVERIFY(none.acquire(Kind::Window));
    QVERIFY(none.problem().isEmpty());
}

void OneProgram::lockOfAProgramThatEndedIsTakenOver()
{
    QTemporaryDir folder;
    const pid_t child = fork();
    if (child == 0) {
        auto* lock = new InstrumentLock(folder.path()); // never let go, as in a crash
        _exit(lock->acquire(Kind::CommandLine, QStringLiteral("update")) && lock->held() ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY(QFile::exists(QDir(folder.path()).filePath(QStringLiteral("tavlo-instrument.lock"))));
    InstrumentLock next(folder.path());
    QVERIFY(next.acquire(Kind::Window));
    QVERIFY(next.held());
}

// The window that holds the lock, on a thread of its own (the asking side blocks).
struct OpenWindow
{
    explicit OpenWindow(const QString& folder) : front(new WindowToFront(folder))
    {
        front->moveToThread(&thread);
        thread.start();
        bool listening = false;
        QMetaObject::invokeMethod(front, [&] { listening = front->listen(); },
                                  Qt::BlockingQueuedConnection);
        ok = listening;
    }
    ~OpenWindow()
    {
        QMetaObject::invokeMethod(front, [this] { delete front; }, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
    }
    QThread thread;
    WindowToFront* front;
    bool ok = false;
};

void OneProgram::askReachesTheWindowHoldingTheLock()
{
    QTemporaryDir folder;
    QVERIFY(!WindowToFront::ask(folder.path(), 500)); // nobody listens
    OpenWindow open(folder.path());
    QVERIFY(open.ok);
    QSignalSpy requested(open.front, &WindowToFront::requested);
    QVERIFY(WindowToFront::ask(folder.path(), 3000));
    QTRY_COMPARE(requested.size(), 1);
}

namespace {
QQuickWindow* inUseWindow()
{
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->objectName() == QLatin1String("inUseWindow") && window->isVisible())
            return qobject_cast<QQuickWindow*>(window);
    }
    return nullptr;
}
} // namespace

void OneProgram::claimShowsWhoHoldsAndGoesOnAfterTryAgain()
{
    QTemporaryDir folder;
    auto tavlo = std::make_unique<InstrumentLock>(folder.path());
    QVERIFY(tavlo->acquire(Kind::CommandLine, QStringLiteral("update")));
    InstrumentLock lock(folder.path());
    WindowToFront front(folder.path());
    QString shown;
    QString afterFirstTry;
    QTimer::singleShot(100, [&] {
        QQuickWindow* window = inUseWindow();
        if (!window)
            return QCoreApplication::exit(0);
        shown = window->property("sentence").toString();
        // Still held: the sentence stays, the window too.
        QMetaObject::invokeMethod(window, "retryRequested");
        afterFirstTry = inUseWindow() ? window->property("sentence").toString() : QString();
        tavlo.reset();
        QMetaObject::invokeMethod(window, "retryRequested");
    });
    QCOMPARE(WindowClaim(lock, front, 200).run(), WindowClaim::Outcome::Go);
    QVERIFY2(shown.contains(QStringLiteral("\"tavlo update\"")), qPrintable(shown));
    QCOMPARE(afterFirstTry, shown);
    QVERIFY(lock.held());
    // The window that goes on now answers a third one.
    QVERIFY(!inUseWindow());
}

void OneProgram::claimEndsWhenClosed()
{
    QTemporaryDir folder;
    InstrumentLock tavlo(folder.path());
    QVERIFY(tavlo.acquire(Kind::CommandLine, QStringLiteral("transfer")));
    InstrumentLock lock(folder.path());
    WindowToFront front(folder.path());
    bool shown = false;
    QTimer::singleShot(100, [&] {
        QQuickWindow* window = inUseWindow();
        shown = window != nullptr;
        if (window)
            QMetaObject::invokeMethod(window, "closeRequested");
        else
            QCoreApplication::exit(0);
    });
    QCOMPARE(WindowClaim(lock, front, 200).run(), WindowClaim::Outcome::Closed);
    QVERIFY(shown);
    QVERIFY(!lock.held());
}

void OneProgram::claimBringsTheOpenWindowToTheFront()
{
    QTemporaryDir folder;
    InstrumentLock first(folder.path());
    QVERIFY(first.acquire(Kind::Window));
    OpenWindow open(folder.path());
    QSignalSpy requested(open.front, &WindowToFront::requested);
    InstrumentLock lock(folder.path());
    WindowToFront front(folder.path());
    QCOMPARE(WindowClaim(lock, front, 3000).run(), WindowClaim::Outcome::BroughtToFront);
    QTRY_COMPARE(requested.size(), 1);
    QVERIFY(!inUseWindow());
}

void OneProgram::stayAwakeHoldsOnceAndLetsGo()
{
    auto guard = std::make_shared<SimSleepGuard>();
    {
        StayAwake awake;
        QVERIFY(awake.text().isEmpty());
        awake.follow(true); // no guard: nothing asked, nothing said
        QVERIFY(awake.text().isEmpty());
        awake.setGuard(guard);
        awake.follow(true);
        awake.follow(true);
        QCOMPARE(guard->holds(), 1);
        QVERIFY(guard->held());
        QVERIFY(awake.text().contains(QStringLiteral("stays awake")));
        awake.follow(false);
        awake.follow(false);
        QCOMPARE(guard->releases(), 1);
        QVERIFY(awake.text().isEmpty());
        awake.follow(true);
    }
    // Let go with its end.
    QVERIFY(!guard->held());
    QCOMPARE(guard->releases(), 2);

    // Refused: the user is asked to keep the computer awake, and nothing is released.
    auto refusing = std::make_shared<SimSleepGuard>();
    refusing->setRefuses(true);
    StayAwake awake;
    awake.setGuard(refusing);
    awake.follow(true);
    QCOMPARE(awake.state(), StayAwake::State::Refused);
    QVERIFY(awake.text().startsWith(QStringLiteral("Keep this computer awake")));
    awake.follow(false);
    QCOMPARE(refusing->releases(), 0);
}

QTEST_MAIN(OneProgram)
#include "tst_one_program.moc"
