// Who holds a volume on Linux: the pure reading of what /proc tells (canned rows), and the
// live look through the Linux dismounter at a child process working in a folder.
#include <ProcHolders.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_LINUX
#include <LinuxVolumeDismounter.h>
#endif

using Process = ProcHolders::Process;
Q_DECLARE_METATYPE(QList<Process>)

class TestProcHolders : public QObject
{
    Q_OBJECT

private slots:
    void onVolume_data();
    void onVolume();
    void holders_data();
    void holders();
    void liveChildInTheFolder();
};

void TestProcHolders::onVolume_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QString>("root");
    QTest::addColumn<bool>("expected");

    QTest::newRow("file below") << QByteArray("/media/u/TAVLO/Projects/a.tvp") << "/media/u/TAVLO" << true;
    QTest::newRow("the root itself") << QByteArray("/media/u/TAVLO") << "/media/u/TAVLO" << true;
    QTest::newRow("root with a slash") << QByteArray("/media/u/TAVLO/x") << "/media/u/TAVLO/" << true;
    QTest::newRow("a neighbour with the same start") << QByteArray("/media/u/TAVLO2/x") << "/media/u/TAVLO" << false;
    QTest::newRow("deleted while open") << QByteArray("/media/u/TAVLO/tmp (deleted)") << "/media/u/TAVLO" << true;
    QTest::newRow("deleted neighbour") << QByteArray("/media/u/TAVLOx (deleted)") << "/media/u/TAVLO" << false;
    QTest::newRow("socket") << QByteArray("socket:[1234]") << "/media/u/TAVLO" << false;
    QTest::newRow("anonymous inode") << QByteArray("anon_inode:[eventfd]") << "/media/u/TAVLO" << false;
    QTest::newRow("unreadable link") << QByteArray() << "/media/u/TAVLO" << false;
    QTest::newRow("root of the system") << QByteArray("/etc/passwd") << "/" << false;
    QTest::newRow("empty root") << QByteArray("/x") << "" << false;
    QTest::newRow("name with UTF-8") << QByteArray("/media/u/TAVLO/S\xc3\xa4tze") << "/media/u/TAVLO" << true;
}

void TestProcHolders::onVolume()
{
    QFETCH(QByteArray, target);
    QFETCH(QString, root);
    QFETCH(bool, expected);
    QCOMPARE(ProcHolders::isOnVolume(target, root), expected);
}

void TestProcHolders::holders_data()
{
    QTest::addColumn<QList<Process>>("processes");
    QTest::addColumn<QStringList>("expected");

    const QByteArray root("/v");
    QTest::newRow("none holds it") << QList<Process>{{"bash\n", {"/home/u", "socket:[1]"}}} << QStringList();
    QTest::newRow("working folder and open file")
        << QList<Process>{{"bash\n", {"/v/Projects"}}, {"cat\n", {"/usr/bin/cat"}}, {"vlc\n", {"/", "/v/a.wav"}}}
        << QStringList{"bash", "vlc"};
    QTest::newRow("each name once") << QList<Process>{{"bash\n", {"/v"}}, {"bash\n", {"/v/x"}}} << QStringList{"bash"};
    QTest::newRow("control characters and blanks go")
        << QList<Process>{{" evil\x1b[2J\tname \n", {"/v/x"}}} << QStringList{"evil[2Jname"};
    QTest::newRow("only the first line") << QList<Process>{{"one\ntwo\n", {"/v/x"}}} << QStringList{"one"};
    QTest::newRow("no name") << QList<Process>{{"\n", {"/v/x"}}, {"", {"/v/y"}}} << QStringList{"?"};
    QTest::newRow("invalid UTF-8") << QList<Process>{{"a\xff" "b\n", {"/v/x"}}} << QStringList{"ab"};
    QList<Process> many;
    for (int i = 0; i < 8; ++i)
        many << Process{QByteArray("p") + QByteArray::number(i), {root + "/f"}};
    QTest::newRow("at most five") << many << QStringList{"p0", "p1", "p2", "p3", "p4"};
}

void TestProcHolders::holders()
{
    QFETCH(QList<Process>, processes);
    QFETCH(QStringList, expected);
    QCOMPARE(ProcHolders::holders(processes, "/v"), expected);
    QCOMPARE(ProcHolders::holders(processes, "/"), QStringList());
}

void TestProcHolders::liveChildInTheFolder()
{
#ifdef Q_OS_LINUX
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    LinuxVolumeDismounter dismounter;
    QVERIFY(!dismounter.holders(folder.path()).contains("sleep"));

    QProcess child;
    child.setWorkingDirectory(folder.path());
    child.start("sleep", {"30"});
    QVERIFY(child.waitForStarted());
    QTRY_VERIFY(dismounter.holders(folder.path()).contains("sleep"));
    // An open file of this process counts as well.
    QDir(folder.path()).mkdir("sub");
    QFile open(folder.filePath("sub/open"));
    QVERIFY(open.open(QIODevice::WriteOnly));
    const QString self = QString::fromUtf8(QFileInfo(QCoreApplication::applicationFilePath()).fileName().left(15).toUtf8());
    QVERIFY(dismounter.holders(folder.filePath("sub")).contains(self));
    child.kill();
    child.waitForFinished();
    open.close();
    QTRY_VERIFY(dismounter.holders(folder.path()).isEmpty());
#else
    QSKIP("Linux only");
#endif
}

QTEST_GUILESS_MAIN(TestProcHolders)
#include "tst_proc_holders.moc"
