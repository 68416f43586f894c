// Which volume with a label is the instrument's: its USB identity decides, a stranger with
// the label is left alone (and named), several of the instrument's are refused, and a list
// that cannot tell the device keeps the label rule.
#include <FakeVolumes.h>
#include <HandOverFinish.h>
#include <StorageFailureText.h>
#include <StorageTestFiles.h>
#include <StorageTestTimings.h>
#include <UpdateHandOver.h>
#include <VolumeChoice.h>
#include <VolumeLookup.h>

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(VolumeInfo)
Q_DECLARE_METATYPE(VolumeChoice::Kind)

namespace {
using Kind = VolumeChoice::Kind;

VolumeInfo own(const QString& label, const QString& root)
{
    return FakeVolumes::instruments(label, root);
}

VolumeInfo readOnly(VolumeInfo info)
{
    info.readOnly = true;
    return info;
}

VolumeInfo notReady(VolumeInfo info)
{
    info.ready = false;
    return info;
}

class CountingFinish : public HandOverFinish
{
public:
    int calls = 0;
    bool finishHandOver(const QString&) override { return ++calls > 0; }
};

QStringList entriesOf(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}
} // namespace

class TestVolumeChoice : public QObject
{
    Q_OBJECT

private slots:
    void choice_data();
    void choice();
    void refusalSentences();
    void lookupGoesByTheChoice();
    void handOverLeavesStrangersAlone_data();
    void handOverLeavesStrangersAlone();
};

void TestVolumeChoice::choice_data()
{
    QTest::addColumn<QList<VolumeInfo>>("volumes");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("root");
    QTest::addColumn<int>("strangers");

    const QString upd = "tavloupd";
    QTest::newRow("none") << QList<VolumeInfo>{} << Kind::None << "" << 0;
    QTest::newRow("own") << QList<VolumeInfo>{own(upd, "/own")} << Kind::Own << "/own" << 0;
    QTest::newRow("stranger without a USB device")
        << QList<VolumeInfo>{FakeVolumes::stranger(upd, "/stick")} << Kind::Stranger << "" << 1;
    QTest::newRow("stranger of another maker")
        << QList<VolumeInfo>{FakeVolumes::stranger(upd, "/stick", true, "0781", "5567")}
        << Kind::Stranger << "" << 1;
    QTest::newRow("instrument's vendor, other product")
        << QList<VolumeInfo>{FakeVolumes::stranger(upd, "/s", true, "1D6B", "0002")} << Kind::Stranger << "" << 1;
    QTest::newRow("identity in lower case is not the lookups' spelling")
        << QList<VolumeInfo>{FakeVolumes::stranger(upd, "/s", true, "1d6b", "0104")} << Kind::Stranger << "" << 1;
    QTest::newRow("identity with found cleared")
        << QList<VolumeInfo>{FakeVolumes::stranger(upd, "/s", false, "1D6B", "0104")} << Kind::Stranger << "" << 1;
    QTest::newRow("stranger listed first, own second")
        << QList<VolumeInfo>{FakeVolumes::stranger(upd, "/stick"), own(upd, "/own")} << Kind::Own << "/own" << 1;
    QTest::newRow("own first, stranger second")
        << QList<VolumeInfo>{own(upd, "/own"), FakeVolumes::stranger(upd, "/stick")} << Kind::Own << "/own" << 1;
    QTest::newRow("two of the instrument's")
        << QList<VolumeInfo>{own(upd, "/a"), own(upd, "/b")} << Kind::Several << "" << 0;
    QTest::newRow("two of the instrument's, one read-only")
        << QList<VolumeInfo>{readOnly(own(upd, "/a")), own(upd, "/b")} << Kind::Several << "" << 0;
    QTest::newRow("own not ready beside own: one counts")
        << QList<VolumeInfo>{notReady(own(upd, "/a")), own(upd, "/b")} << Kind::Own << "/b" << 0;
    QTest::newRow("own read-only") << QList<VolumeInfo>{readOnly(own(upd, "/a"))} << Kind::ReadOnly << "" << 0;
    QTest::newRow("read-only stranger")
        << QList<VolumeInfo>{readOnly(FakeVolumes::stranger(upd, "/s"))} << Kind::Stranger << "" << 1;
    QTest::newRow("other label on the instrument")
        << QList<VolumeInfo>{own("TAVLO", "/t")} << Kind::None << "" << 0;
    QTest::newRow("label differs in case")
        << QList<VolumeInfo>{own("TAVLOUPD", "/t"), FakeVolumes::stranger("TavloUpd", "/s")} << Kind::None << "" << 0;
    QTest::newRow("own with an empty root")
        << QList<VolumeInfo>{own(upd, "")} << Kind::None << "" << 0;
    QTest::newRow("unknown device: the label alone")
        << QList<VolumeInfo>{FakeVolumes::writable(upd, "/w")} << Kind::Own << "/w" << 0;
    QTest::newRow("unknown device twice")
        << QList<VolumeInfo>{FakeVolumes::writable(upd, "/w"), FakeVolumes::writable(upd, "/x")}
        << Kind::Several << "" << 0;
}

void TestVolumeChoice::choice()
{
    QFETCH(QList<VolumeInfo>, volumes);
    QFETCH(Kind, kind);
    QFETCH(QString, root);
    QFETCH(int, strangers);
    const VolumeChoice choice = VolumeChoice::among(volumes, "tavloupd");
    QCOMPARE(choice.kind(), kind);
    QCOMPARE(choice.rootPath(), root);
    QCOMPARE(choice.strangers(), strangers);
    QCOMPARE(choice.label(), QString("tavloupd"));
    const bool refused = kind == Kind::Stranger || kind == Kind::Several;
    QCOMPARE(!choice.refusal().isEmpty(), refused);
}

void TestVolumeChoice::refusalSentences()
{
    // The label in the sentence is the one looked for, in either mode.
    QCOMPARE(VolumeChoice::among({FakeVolumes::stranger("tavloupd", "/s")}, "tavloupd").refusal(),
             QString("A drive named tavloupd that is not Tavlo is connected; it was left alone."));
    QCOMPARE(VolumeChoice::among({FakeVolumes::stranger("TAVLO", "/s")}, "TAVLO").refusal(),
             StorageFailureText::strangerVolume("TAVLO"));
    QVERIFY(StorageFailureText::strangerVolume("TAVLO").startsWith("A drive named TAVLO that is not"));
    const QString several =
        VolumeChoice::among({own("TAVLO", "/a"), own("TAVLO", "/b")}, "TAVLO").refusal();
    QCOMPARE(several, StorageFailureText::severalOwnVolumes("TAVLO"));
    QVERIFY(several.contains("TAVLO"));
    QVERIFY(several != StorageFailureText::strangerVolume("TAVLO"));
}

void TestVolumeChoice::lookupGoesByTheChoice()
{
    auto list = std::make_shared<FakeVolumes>();
    const VolumeLookup lookup(list);
    list->volumes = {FakeVolumes::stranger("TAVLO", "/stick")};
    QVERIFY(lookup.mountPath("TAVLO").isEmpty());
    QVERIFY(!lookup.isMounted("TAVLO"));
    QCOMPARE(lookup.choose("TAVLO").kind(), Kind::Stranger);
    list->volumes.append(own("TAVLO", "/own"));
    QCOMPARE(lookup.mountPath("TAVLO"), QString("/own"));
    list->volumes.append(own("TAVLO", "/own2"));
    QVERIFY(!lookup.isMounted("TAVLO"));
    QCOMPARE(VolumeLookup(nullptr).choose("TAVLO").kind(), Kind::None);
}

void TestVolumeChoice::handOverLeavesStrangersAlone_data()
{
    QTest::addColumn<bool>("secondIsOwn");
    QTest::addColumn<int>("retriesLeft");
    // A stranger alone is waited past (the instrument's volume may still come), then named.
    QTest::newRow("stranger") << false << 0;
    // Two of the instrument's: refused at once, neither written to.
    QTest::newRow("two of the instrument's") << true << 3;
}

void TestVolumeChoice::handOverLeavesStrangersAlone()
{
    QFETCH(bool, secondIsOwn);
    QFETCH(int, retriesLeft);
    QTemporaryDir first, second, downloads;
    // What a user keeps on a stick, and files the hand-over would otherwise replace or clean.
    for (const QTemporaryDir* dir : {&first, &second}) {
        StorageTestFiles::write(*dir, "holiday.jpg", "photo");
        StorageTestFiles::write(*dir, "tvxxfer.tvq", "the user's own");
        StorageTestFiles::write(*dir, "fw.tvq", "the user's own too");
    }
    auto list = std::make_shared<FakeVolumes>();
    list->volumes = {secondIsOwn ? own("tavloupd", first.path()) : FakeVolumes::stranger("tavloupd", first.path()),
                     secondIsOwn ? own("tavloupd", second.path())
                                 : FakeVolumes::stranger("tavloupd", second.path(), true, "0781", "5567")};
    StorageTimings timings = StorageTestTimings::shortOnes();
    timings.volumeRetryIntervalMs = 5;
    timings.maxVolumeRetries = 3;
    timings.volumePollIntervalMs = 1;
    CountingFinish finish;
    QList<bool> results;
    UpdateHandOver handOver(list, finish, timings, {}, [&](bool ok) { results.append(ok); });
    const QString download = StorageTestFiles::write(downloads, "fw.tvq", StorageTestFiles::pattern(5000));
    handOver.downloadFinished(true, download, "fw.tvq");
    handOver.begin();
    QTRY_COMPARE_WITH_TIMEOUT(results, QList<bool>{false}, 5000);
    QCOMPARE(handOver.failureReason(), secondIsOwn ? StorageFailureText::severalOwnVolumes("tavloupd")
                                                   : StorageFailureText::strangerVolume("tavloupd"));
    QCOMPARE(timings.maxVolumeRetries - handOver.retryCount(), retriesLeft);
    QCOMPARE(finish.calls, 0);
    for (const QTemporaryDir* dir : {&first, &second}) {
        QCOMPARE(entriesOf(*dir), (QStringList{"fw.tvq", "holiday.jpg", "tvxxfer.tvq"}));
        QCOMPARE(StorageTestFiles::read(dir->filePath("tvxxfer.tvq")), QByteArray("the user's own"));
        QCOMPARE(StorageTestFiles::read(dir->filePath("fw.tvq")), QByteArray("the user's own too"));
    }
}

QTEST_GUILESS_MAIN(TestVolumeChoice)
#include "tst_volume_choice.moc"
