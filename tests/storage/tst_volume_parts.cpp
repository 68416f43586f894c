// The small storage parts on their own, against a volume list the test sets directly: the
// look-up's rules for fields the simulated storage cannot produce, the eject and folder
// opening of the full edition and the update-only edition's check after the rename.
#include <DeviceFolderOpener.h>
#include <FakeVolumes.h>
#include <FolderOpener.h>
#include <ProgressText.h>
#include <VolumeDismounter.h>
#include <StorageFailureText.h>

#include <functional>
#include <VolumeEjector.h>
#include <VolumeLookup.h>
#include <VolumeStillPresent.h>

#include <QUrl>
#include <QtTest>

Q_DECLARE_METATYPE(VolumeInfo)

namespace {
class RecordingDismounter : public VolumeDismounter
{
public:
    bool answer = true;
    QStringList roots;
    QStringList holding;
    std::function<void()> onDismount;
    bool dismount(const QString& rootPath) override
    {
        roots.append(rootPath);
        if (onDismount)
            onDismount();
        return answer;
    }
    QStringList holders(const QString& rootPath) override
    {
        roots.append("holders " + rootPath);
        return holding;
    }
};

class RecordingOpener : public FolderOpener
{
public:
    QList<QUrl> urls;
    bool openFolder(const QUrl& url) override
    {
        urls.append(url);
        return false; // the result is not looked at
    }
};

VolumeInfo with(const QString& label, const QString& root, const QString& flags)
{
    VolumeInfo info = FakeVolumes::writable(label, root);
    info.valid = !flags.contains('i');
    info.ready = !flags.contains('n');
    info.readOnly = flags.contains('r');
    return info;
}
} // namespace

class TestVolumeParts : public QObject
{
    Q_OBJECT

private slots:
    void lookupRules_data();
    void lookupRules();
    void lookupWithoutList();
    void ejectDismountsFirstQualifyingRoot();
    void ejectFailures_data();
    void ejectFailures();
    void folderOpening();
    void stillPresentLooksAgain();
    void progressTextWithoutTotal();
};

void TestVolumeParts::lookupRules_data()
{
    QTest::addColumn<QList<VolumeInfo>>("volumes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("invalid skipped") << QList<VolumeInfo>{with("TAVLO", "/a", "i"), with("TAVLO", "/b", "")} << "/b";
    QTest::newRow("only invalid") << QList<VolumeInfo>{with("TAVLO", "/a", "i")} << "";
    QTest::newRow("empty root skipped") << QList<VolumeInfo>{with("TAVLO", "", ""), with("TAVLO", "/b", "")} << "/b";
    QTest::newRow("only an empty root") << QList<VolumeInfo>{with("TAVLO", "", "")} << "";
    QTest::newRow("all flags against") << QList<VolumeInfo>{with("TAVLO", "/a", "inr")} << "";
    QTest::newRow("other labels only") << QList<VolumeInfo>{with("TAVLOUPD", "/a", ""), with("", "/b", "")} << "";
}

void TestVolumeParts::lookupRules()
{
    QFETCH(QList<VolumeInfo>, volumes);
    QFETCH(QString, expected);
    auto list = std::make_shared<FakeVolumes>();
    list->volumes = volumes;
    const VolumeLookup lookup(list);
    QCOMPARE(lookup.mountPath("TAVLO"), expected);
    QCOMPARE(lookup.isMounted("TAVLO"), !expected.isEmpty());
}

void TestVolumeParts::lookupWithoutList()
{
    const VolumeLookup lookup(nullptr);
    QVERIFY(lookup.mountPath("TAVLO").isEmpty());
    QVERIFY(!lookup.isMounted("TAVLO"));
}

void TestVolumeParts::ejectDismountsFirstQualifyingRoot()
{
    auto list = std::make_shared<FakeVolumes>();
    // A stranger with the label listed first is never dismounted, nor asked about.
    list->volumes = {FakeVolumes::stranger("TAVLO", "/stick"), FakeVolumes::instruments("TAVLO", "/first")};
    auto dismounter = std::make_shared<RecordingDismounter>();
    VolumeEjector ejector(list, dismounter);
    QVERIFY(ejector.eject("TAVLO"));
    dismounter->answer = false;
    QVERIFY(!ejector.finishHandOver("TAVLO")); // the hand-over's last step is the same eject
    QCOMPARE(dismounter->roots, (QStringList{"/first", "/first", "holders /first"}));
    QCOMPARE(ejector.failureReason(), StorageFailureText::volumeInUse());
    // Where the system names what holds the volume, the reason names it too.
    dismounter->holding = QStringList{"vlc", "Files"};
    QVERIFY(!ejector.finishHandOver("TAVLO"));
    QVERIFY2(ejector.failureReason().contains("in use by vlc, Files,"), qPrintable(ejector.failureReason()));
    // Gone while it was being ejected (unplugged): not "in use".
    dismounter->onDismount = [&] { list->volumes.clear(); };
    QVERIFY(!ejector.finishHandOver("TAVLO"));
    QCOMPARE(ejector.failureReason(), StorageFailureText::volumeGoneBeforeEject());
    dismounter->onDismount = nullptr;
    list->volumes = {FakeVolumes::instruments("TAVLO", "/first")};
    dismounter->answer = true;
    QVERIFY(ejector.finishHandOver("TAVLO"));
    QVERIFY(ejector.failureReason().isEmpty());
}

void TestVolumeParts::ejectFailures_data()
{
    QTest::addColumn<bool>("withDismounter");
    QTest::addColumn<bool>("mounted");
    QTest::newRow("volume missing") << true << false;
    QTest::newRow("no dismounter") << false << true;
    QTest::newRow("only a stranger") << true << true;
    QTest::newRow("two of the instrument's") << true << true;
}

void TestVolumeParts::ejectFailures()
{
    QFETCH(bool, withDismounter);
    QFETCH(bool, mounted);
    auto list = std::make_shared<FakeVolumes>();
    if (mounted)
        list->volumes = {with("TAVLO", "/v", "")};
    if (QByteArray(QTest::currentDataTag()) == "only a stranger")
        list->volumes = {FakeVolumes::stranger("TAVLO", "/v", true, "0781", "5567")};
    if (QByteArray(QTest::currentDataTag()) == "two of the instrument's")
        list->volumes = {FakeVolumes::instruments("TAVLO", "/v"), FakeVolumes::instruments("TAVLO", "/w")};
    auto dismounter = std::make_shared<RecordingDismounter>();
    VolumeEjector ejector(list, withDismounter ? dismounter : nullptr);
    QVERIFY(!ejector.eject("TAVLO"));
    QVERIFY(dismounter->roots.isEmpty());
}

void TestVolumeParts::folderOpening()
{
    auto list = std::make_shared<FakeVolumes>();
    auto opener = std::make_shared<RecordingOpener>();
    DeviceFolderOpener folders(list, opener);
    folders.open("TAVLO", "projects"); // volume missing: nothing asked
    QVERIFY(opener->urls.isEmpty());
    list->volumes = {with("TAVLO", "/media/u/TAVLO", "")};
    folders.open("TAVLO", "grooves");
    folders.open("TAVLO", "/abs/elsewhere");
    QCOMPARE(opener->urls, (QList<QUrl>{QUrl::fromLocalFile("/media/u/TAVLO/grooves"),
                                        QUrl::fromLocalFile("/abs/elsewhere")}));
    // A stranger with the label is never opened, also beside an instrument that is not there.
    opener->urls.clear();
    list->volumes = {FakeVolumes::stranger("TAVLO", "/media/u/stick")};
    folders.open("TAVLO", "grooves");
    QVERIFY(opener->urls.isEmpty());
    DeviceFolderOpener withoutOpener(list, nullptr);
    withoutOpener.open("TAVLO", "grooves"); // no opener: nothing happens, nothing breaks
}

void TestVolumeParts::stillPresentLooksAgain()
{
    auto list = std::make_shared<FakeVolumes>();
    VolumeStillPresent check(list);
    QVERIFY(!check.finishHandOver("tavloupd"));
    list->volumes = {with("tavloupd", "/v", "")};
    QVERIFY(check.finishHandOver("tavloupd"));
    list->volumes = {with("tavloupd", "/v", "r")};
    QVERIFY(!check.finishHandOver("tavloupd"));
    QCOMPARE(list->calls, 3); // a fresh look-up each time
}

void TestVolumeParts::progressTextWithoutTotal()
{
    QCOMPARE(ProgressText::of(4096, 0), QString("0%"));
    QCOMPARE(ProgressText::of(4096, -5), QString("0%"));
    QCOMPARE(ProgressText::of(0, 10), QString("0%"));
}

QTEST_GUILESS_MAIN(TestVolumeParts)
#include "tst_volume_parts.moc"
