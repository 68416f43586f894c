// A write refused where the volume shows no reason: the system's code sorted into a kind, the
// sentence for each kind, place and system, and a real refusal on Linux (the immutable flag,
// which refuses even root) met by the update file's copy and by the restore's.
#include <SimWriteBarrier.h>
#include <VolumeUpdateWriter.h>
#include <WriteRefusal.h>
#include <WriteRefusalText.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using Kind = WriteRefusal::Kind;
using Place = WriteRefusalText::Place;
Q_DECLARE_METATYPE(WriteRefusal::Kind)

class WriteRefusalTest : public QObject
{
    Q_OBJECT

private slots:
    void kinds_data();
    void kinds();
    void sentences_data();
    void sentences();
    void refusedOnLinux();
};

void WriteRefusalTest::kinds_data()
{
    QTest::addColumn<bool>("windows");
    QTest::addColumn<int>("code");
    QTest::addColumn<WriteRefusal::Kind>("kind");
    QTest::newRow("errno 0") << false << 0 << Kind::None;
    QTest::newRow("EPERM (immutable, not allowed)") << false << 1 << Kind::AccessDenied;
    QTest::newRow("EACCES") << false << 13 << Kind::AccessDenied;
    QTest::newRow("EROFS") << false << 30 << Kind::ReadOnly;
    QTest::newRow("ENOSPC") << false << 28 << Kind::Full;
    QTest::newRow("EDQUOT") << false << 122 << Kind::Full;
    QTest::newRow("EIO") << false << 5 << Kind::Other;
    QTest::newRow("ERROR_ACCESS_DENIED") << true << 5 << Kind::AccessDenied;
    QTest::newRow("ERROR_VIRUS_INFECTED") << true << 225 << Kind::AccessDenied;
    QTest::newRow("ERROR_VIRUS_DELETED") << true << 226 << Kind::AccessDenied;
    QTest::newRow("ERROR_WRITE_PROTECT") << true << 19 << Kind::ReadOnly;
    QTest::newRow("ERROR_DISK_FULL") << true << 112 << Kind::Full;
    QTest::newRow("ERROR_HANDLE_DISK_FULL") << true << 39 << Kind::Full;
    QTest::newRow("ERROR_SHARING_VIOLATION") << true << 32 << Kind::Other;
}

void WriteRefusalTest::kinds()
{
    QFETCH(bool, windows);
    QFETCH(int, code);
    QFETCH(WriteRefusal::Kind, kind);
    QCOMPARE(windows ? WriteRefusal::kindOfWindowsError(static_cast<unsigned long>(code))
                     : WriteRefusal::kindOfErrno(code),
             kind);
}

void WriteRefusalTest::sentences_data()
{
    QTest::addColumn<WriteRefusal::Kind>("kind");
    QTest::addColumn<int>("place");
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QStringList>("parts"); // none: no sentence of its own
    const QString program = QStringLiteral("C:/Program Files/Tavlo/tavlo-app.exe");
    const QStringList windowsFix{QStringLiteral("Controlled folder access"),
                                 QStringLiteral("antivirus"),
                                 QStringLiteral("C:\\Program Files\\Tavlo\\tavlo-app.exe"),
                                 QStringLiteral("(Access is denied.)")};
    QTest::newRow("Windows, Tavlo's drive") << Kind::AccessDenied << int(Place::TavloDrive) << true
                                            << (windowsFix + QStringList{QStringLiteral("Tavlo's drive")});
    QTest::newRow("Windows, backup folder") << Kind::AccessDenied << int(Place::BackupFolder) << true
                                            << (windowsFix + QStringList{QStringLiteral("D:\\Backups"),
                                                                          QStringLiteral("another folder")});
    QTest::newRow("elsewhere, Tavlo's drive")
        << Kind::AccessDenied << int(Place::TavloDrive) << false
        << QStringList{QStringLiteral("(Access is denied.)"), QStringLiteral("permissions")};
    // The backup's own sentence says it: the folder and what to check.
    QTest::newRow("elsewhere, backup folder") << Kind::AccessDenied << int(Place::BackupFolder) << false
                                              << QStringList{};
    // The callers say these in their own words.
    QTest::newRow("read-only") << Kind::ReadOnly << int(Place::TavloDrive) << true << QStringList{};
    QTest::newRow("full") << Kind::Full << int(Place::TavloDrive) << true << QStringList{};
    QTest::newRow("other") << Kind::Other << int(Place::TavloDrive) << true << QStringList{};
    QTest::newRow("nothing refused") << Kind::None << int(Place::TavloDrive) << true << QStringList{};
}

void WriteRefusalTest::sentences()
{
    QFETCH(WriteRefusal::Kind, kind);
    QFETCH(int, place);
    QFETCH(bool, windows);
    QFETCH(QStringList, parts);
    WriteRefusal refusal;
    refusal.kind = kind;
    refusal.systemText = QStringLiteral("Access is denied.\r\n");
    const QString text = WriteRefusalText::sentence(refusal, Place(place), windows,
                                                    QStringLiteral("C:/Program Files/Tavlo/tavlo-app.exe"),
                                                    QStringLiteral("D:/Backups"));
    if (parts.isEmpty())
        QCOMPARE(text, QString());
    for (const QString& part : parts)
        QVERIFY2(text.contains(part), qPrintable(text));
    QVERIFY(!text.contains(QLatin1Char('\n')));
}

void WriteRefusalTest::refusedOnLinux()
{
    QTemporaryDir work;
    QVERIFY(work.isValid());
    if (!SimWriteBarrier::supportedUnder(work.path()))
        QSKIP("This file system or process cannot set the immutable flag");
    const QString volume = work.filePath(QStringLiteral("volume"));
    QVERIFY(QDir().mkpath(volume));
    QFile source(work.filePath(QStringLiteral("update.tvq")));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write(QByteArray(64 * 1024, 'u'));
    source.close();

    QVERIFY(SimWriteBarrier::set(volume, true));
    const WriteRefusal refusal = WriteRefusal::probe(volume);
    const QString reason = VolumeUpdateWriter::place(volume, source.fileName(),
                                                     QStringLiteral("tvxxfer.tvq"), {});
    const QStringList left = QDir(volume).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QVERIFY(SimWriteBarrier::set(volume, false));

    QCOMPARE(refusal.kind, Kind::AccessDenied);
    QVERIFY(!refusal.systemText.isEmpty());
    QVERIFY2(reason.contains(QStringLiteral("did not let your user write to Tavlo's drive"))
                 && reason.contains(refusal.systemText),
             qPrintable(reason));
    QCOMPARE(left, QStringList()); // the probe left nothing behind either
    // Once the system lets it, the same folder takes the file.
    QCOMPARE(WriteRefusal::probe(volume).kind, Kind::None);
}

QTEST_GUILESS_MAIN(WriteRefusalTest)
#include "tst_write_refusal.moc"
