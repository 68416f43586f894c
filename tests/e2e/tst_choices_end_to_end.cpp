// The update screen's choices through the real program and window, against the simulated
// instrument: another version from the list (a downgrade needs its confirmation), the
// installed version again, an update file from the computer with no network, and files
// that must never reach the instrument. The bytes the instrument applies are compared with
// the chosen file's.

#include "EndToEndRig.h"

#include "SysExMessages.h"

#include <QQuickItem>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray bytesOf(const SysEx::Message& message)
{
    return QByteArray(reinterpret_cast<const char*>(message.data()), int(message.size()));
}

QByteArray image(char seed, int size)
{
    QByteArray data(size, seed);
    for (int i = 0; i < size; i += 97)
        data[i] = char(i / 97);
    return data;
}

QString write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return file.fileName();
}

} // namespace

class ChoicesEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void downgradeNeedsConfirmation();
    void upToDateOffersReinstall();
    void localFileWithoutNetwork();
    void badLocalFilesNeverReachTheInstrument();

private:
    // "Update", then "Other versions...": the list with the update on offer picked.
    bool openList(EndToEndRig& rig);
    QQuickItem* page(EndToEndRig& rig) { return rig.window().item(QStringLiteral("choicesPage")); }
    void chooseFile(EndToEndRig& rig, const QString& path)
    {
        QMetaObject::invokeMethod(page(rig), "fileChosen",
                                  Q_ARG(QVariant, QVariant(QUrl::fromLocalFile(path))));
    }
};

bool ChoicesEndToEnd::openList(EndToEndRig& rig)
{
    WindowDriver& w = rig.window();
    if (!QTest::qWaitFor([&] { return w.isShown(QStringLiteral("updateButton")); }, 5000))
        return false;
    if (!w.clickButton(QStringLiteral("Update")))
        return false;
    if (!QTest::qWaitFor([&] { return w.isShown(QStringLiteral("versionsButton")); }, 5000))
        return false;
    return w.click(w.item(QStringLiteral("versionsButton")))
           && w.isShown(QStringLiteral("versionList"));
}

void ChoicesEndToEnd::downgradeNeedsConfirmation()
{
    EndToEndRig rig;
    const QByteArray older = image('o', 300000);
    rig.addRelease(QStringLiteral("1.4.0"), older, QStringLiteral("# 1.4.0\n- the old tuner"));
    QVERIFY2(rig.serve(), qPrintable(rig.error()));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    rig.instrument().plugIn();
    WindowDriver& w = rig.window();
    QSignalSpy applied(&rig.instrument(), &SimInstrument::updateApplied);
    QTRY_COMPARE_WITH_TIMEOUT(rig.program().updateChoices().installedVersion(),
                              QStringLiteral("1.5.2"), 5000);

    QVERIFY(openList(rig));
    QQuickItem* list = w.item(QStringLiteral("versionList"));
    QCOMPARE(list->property("count").toInt(), 2);
    QCOMPARE(list->property("currentIndex").toInt(), 0);  // 1.6.0, the update on offer
    QVERIFY(w.text(QStringLiteral("choiceSentence")).contains(QStringLiteral("from 1.5.2 to 1.6.0")));
    QVERIFY(!w.isShown(QStringLiteral("releaseNotes")));  // the offer has no notes

    list->setProperty("currentIndex", 1);
    QVERIFY(w.text(QStringLiteral("choiceSentence")).contains(QStringLiteral("older")));
    QVERIFY(w.isShown(QStringLiteral("releaseNotes")));
    // Plain text, the marks taken out.
    QCOMPARE(w.item(QStringLiteral("releaseNotesText"))->property("textFormat").toInt(),
             int(Qt::PlainText));
    QCOMPARE(w.text(QStringLiteral("releaseNotesText")), QStringLiteral("1.4.0\n\u2022 the old tuner"));
    QCOMPARE(w.text(QStringLiteral("choiceActionButton")), QStringLiteral("Install older version"));

    // The first press only warns.
    QVERIFY(w.click(w.item(QStringLiteral("choiceActionButton"))));
    QVERIFY(w.isShown(QStringLiteral("downgradeWarning")));
    QTest::qWait(300);
    QCOMPARE(rig.sentCount(bytesOf(SysEx::MIDI_SYSEX_UPDATE_MODE)), 0);
    QCOMPARE(rig.server().countRequests("GET", QStringLiteral("/releases/tavlo-1.4.0.tvq")), 0);

    QVERIFY(w.click(w.item(QStringLiteral("choiceActionButton"))));
    QVERIFY(!w.isShown(QStringLiteral("choicesPage")));
    QTRY_COMPARE_WITH_TIMEOUT(w.text(QStringLiteral("versionText")),
                              QStringLiteral("File transfer complete!"), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(applied.size(), 1, 30000);
    QVERIFY(rig.instrument().appliedUpdates().first().bytes == older);
    QCOMPARE(rig.server().countRequests("GET", rig.filePath()), 0);
}

void ChoicesEndToEnd::upToDateOffersReinstall()
{
    EndToEndRig rig;
    rig.addRelease(QStringLiteral("1.5.0"), image('p', 1000));
    QVERIFY2(rig.serve(), qPrintable(rig.error()));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    rig.instrument().setFirmwareVersion(QStringLiteral("1.6.0"));
    rig.instrument().plugIn();
    WindowDriver& w = rig.window();
    QSignalSpy applied(&rig.instrument(), &SimInstrument::updateApplied);
    QTRY_COMPARE_WITH_TIMEOUT(rig.program().updateChoices().installedVersion(),
                              QStringLiteral("1.6.0"), 5000);

    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("updateButton")), 5000);
    QVERIFY(w.clickButton(QStringLiteral("Update")));
    QCOMPARE(w.text(QStringLiteral("versionText")),
             QStringLiteral("Tavlo is up to date: it has 1.6.0, the latest on offer is 1.6.0."));
    QVERIFY(!w.isShown(QStringLiteral("startUpdateButton")));
    QVERIFY(w.isShown(QStringLiteral("closeApplicationButton")));

    QVERIFY(w.click(w.item(QStringLiteral("versionsButton"))));
    QCOMPARE(w.text(QStringLiteral("choiceSentence")),
             QStringLiteral("1.6.0 is already installed on Tavlo."));
    QCOMPARE(w.text(QStringLiteral("choiceActionButton")), QStringLiteral("Reinstall"));
    QVERIFY(w.click(w.item(QStringLiteral("choiceActionButton"))));
    QTRY_COMPARE_WITH_TIMEOUT(applied.size(), 1, 30000);
    QVERIFY(rig.instrument().appliedUpdates().first().bytes == rig.updateFile());
}

void ChoicesEndToEnd::localFileWithoutNetwork()
{
    // No release server at all: the catalogue request fails, the local file does not care.
    EndToEndRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    rig.instrument().plugIn();
    WindowDriver& w = rig.window();
    QSignalSpy applied(&rig.instrument(), &SimInstrument::updateApplied);
    QTemporaryDir dir;
    const QByteArray beta = image('b', 2 * 1024 * 1024 + 7);
    const QString path = write(dir, QStringLiteral("tavlo-beta.tvq"), beta);
    QVERIFY(!path.isEmpty());

    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("updateButton")), 5000);
    QVERIFY(w.clickButton(QStringLiteral("Update")));
    QTRY_COMPARE_WITH_TIMEOUT(w.text(QStringLiteral("versionText")),
                              QStringLiteral("The latest version could not be found."), 10000);
    // "Install from file..." opens the file dialog, filtered to update files.
    QVERIFY(w.click(w.item(QStringLiteral("fileButton"))));
    QObject* dialog = w.root()->findChild<QObject*>(QStringLiteral("updateFileDialog"));
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->property("visible").toBool());
    QVERIFY(dialog->property("nameFilters").toStringList().first().contains(QStringLiteral("*.tvq")));
    QMetaObject::invokeMethod(dialog, "reject");

    chooseFile(rig, path);
    QCOMPARE(w.text(QStringLiteral("choiceSentence")),
             QStringLiteral("Installs tavlo-beta.tvq (2.0 MB) from this computer."));
    QCOMPARE(w.text(QStringLiteral("choiceActionButton")), QStringLiteral("Install this file"));
    QVERIFY(w.click(w.item(QStringLiteral("choiceActionButton"))));
    QCOMPARE(w.text(QStringLiteral("versionText")),
             QStringLiteral("Installs tavlo-beta.tvq (2.0 MB) from this computer."));
    QTRY_COMPARE_WITH_TIMEOUT(w.text(QStringLiteral("versionText")),
                              QStringLiteral("File transfer complete!"), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(applied.size(), 1, 30000);
    QVERIFY(rig.instrument().appliedUpdates().first().bytes == beta);
    QCOMPARE(rig.sentCount(bytesOf(SysEx::MIDI_SYSEX_UPDATE_MODE)), 1);
}

void ChoicesEndToEnd::badLocalFilesNeverReachTheInstrument()
{
    EndToEndRig rig;
    QVERIFY2(rig.serve(), qPrintable(rig.error()));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    rig.instrument().plugIn();
    WindowDriver& w = rig.window();
    QTemporaryDir dir;
    const QString good = write(dir, QStringLiteral("good.tvq"), image('g', 5000));
    const QString vanishing = write(dir, QStringLiteral("gone.tvq"), image('v', 5000));
    const QString empty = write(dir, QStringLiteral("empty.tvq"), QByteArray());
    const QString zip = write(dir, QStringLiteral("update.zip"), image('z', 5000));
    QVERIFY(openList(rig));

    // name | the file chosen | removed after choosing | what the window says
    const struct
    {
        const char* name;
        QString path;
        bool removeAfterChoosing;
        QString sentence;
    } cases[] = {
        {"missing", dir.filePath(QStringLiteral("none.tvq")), false,
         QStringLiteral("The file none.tvq is not there any more.")},
        {"empty", empty, false, QStringLiteral("The file empty.tvq is empty.")},
        {"wrong extension", zip, false,
         QStringLiteral("update.zip is not an update file: update files end in .tvq.")},
        {"a folder", dir.path(), false,
         QFileInfo(dir.path()).fileName() + QStringLiteral(" is not a file.")},
        {"vanishes between choosing and installing", vanishing, true,
         QStringLiteral("The file gone.tvq is not there any more.")},
    };
    for (const auto& c : cases) {
        chooseFile(rig, c.path);
        if (c.removeAfterChoosing) {
            QVERIFY2(w.item(QStringLiteral("choiceActionButton"))->isEnabled(), c.name);
            QVERIFY(QFile::remove(c.path));
            QVERIFY(w.click(w.item(QStringLiteral("choiceActionButton"))));
        }
        QVERIFY2(w.isShown(QStringLiteral("choicesPage")), c.name);
        QCOMPARE(w.text(QStringLiteral("choiceSentence")), c.sentence);
        QVERIFY2(!w.item(QStringLiteral("choiceActionButton"))->isEnabled(), c.name);
    }
    QTest::qWait(300);
    QCOMPARE(rig.sentCount(bytesOf(SysEx::MIDI_SYSEX_UPDATE_MODE)), 0);
    QCOMPARE(rig.instrument().midi().mode(), SimMidiInstrument::Mode::Normal);

    // "Back" returns to the update screen as it was; a good file still goes through.
    QVERIFY(w.click(w.item(QStringLiteral("choicesBackButton"))));
    QVERIFY(w.isShown(QStringLiteral("startUpdateButton")));
    QVERIFY(w.click(w.item(QStringLiteral("versionsButton"))));
    chooseFile(rig, good);
    QSignalSpy applied(&rig.instrument(), &SimInstrument::updateApplied);
    QVERIFY(w.click(w.item(QStringLiteral("choiceActionButton"))));
    QTRY_COMPARE_WITH_TIMEOUT(applied.size(), 1, 30000);
    QVERIFY(rig.instrument().appliedUpdates().first().bytes == image('g', 5000));
}

QTEST_MAIN(ChoicesEndToEnd)
#include "tst_choices_end_to_end.moc"
