// The pure parts behind the version list and the local update file: the version comparison,
// the list's order and pickable rows, the relation to the installed version, the check of a
// file the user chose, and how release notes are recognised as Markdown.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include "FirmwareVersion.h"
#include "LocalUpdateFile.h"
#include "ReleaseCatalogue.h"
#include "ReleaseChoices.h"
#include "ReleaseNotesText.h"

namespace {

// "version|file" pairs in catalogue order; a missing "|file" gives an entry with no file.
QList<ReleaseEntry> entries(const QStringList& entryTexts)
{
    QList<ReleaseEntry> list;
    for (const QString& entryText : entryTexts) {
        ReleaseEntry e;
        e.version = entryText.section(QLatin1Char('|'), 0, 0);
        e.fileName = entryText.section(QLatin1Char('|'), 1, 1);
        list.append(e);
    }
    return list;
}

// The rows as "catalogueIndex:version" with a trailing "!" for a row that cannot be picked.
QStringList shown(const ReleaseChoices& choices)
{
    QStringList rows;
    for (const ReleaseChoice& row : choices.rows()) {
        rows << QString::number(row.catalogueIndex) + QLatin1Char(':') + row.entry.version
                    + (row.pickable ? QString() : QStringLiteral("!"));
        if (row.pickable != row.whyNot.isEmpty())
            rows << QStringLiteral("(reason does not match)");
    }
    return rows;
}

}  // namespace

Q_DECLARE_METATYPE(ReleaseChoices::Relation)
Q_DECLARE_METATYPE(LocalUpdateFile::Facts)

class TestReleaseChoices : public QObject
{
    Q_OBJECT

private slots:
    void compare_data();
    void compare();
    void unparsable_data();
    void unparsable();
    void list_data();
    void list();
    void relation_data();
    void relation();
    void upToDate_data();
    void upToDate();
    void localFile_data();
    void localFile();
    void localFileOnDisk();
    void pathFromDialog_data();
    void pathFromDialog();
    void markdown_data();
    void transferThreshold_data();
    void transferThreshold();
    void markdown();
    void notesFromTheCatalogue();
};

void TestReleaseChoices::compare_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("order");  // sign of compare(a, b)

    QTest::newRow("numeric, not textual") << "1.10.0" << "1.9.2" << 1;
    QTest::newRow("equal") << "1.6.0" << "1.6.0" << 0;
    QTest::newRow("missing part counts as zero") << "1.10" << "1.10.0" << 0;
    QTest::newRow("extra non-zero part is newer") << "1.10.0.1" << "1.10" << 1;
    QTest::newRow("leading zeros") << "01.002.3" << "1.2.3" << 0;
    QTest::newRow("major decides") << "2.0.0" << "1.99.99" << 1;
    QTest::newRow("blanks around") << "  1.6.0 " << "1.6.0" << 0;
    QTest::newRow("unparsable older than any") << "beta" << "0.0.1" << -1;
    QTest::newRow("two unparsable equal") << "x" << "" << 0;
    QTest::newRow("largest part") << "999999999" << "999999998" << 1;
}

void TestReleaseChoices::compare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, order);
    const FirmwareVersion va = FirmwareVersion::parse(a);
    const FirmwareVersion vb = FirmwareVersion::parse(b);
    const int got = FirmwareVersion::compare(va, vb);
    QCOMPARE((got > 0) - (got < 0), order);
    const int back = FirmwareVersion::compare(vb, va);
    QCOMPARE((back > 0) - (back < 0), -order);
}

void TestReleaseChoices::unparsable_data()
{
    QTest::addColumn<QString>("text");
    for (const char* text : {"", " ", "1..0", ".1", "1.", "v1.6.0", "1.6.0-beta", "-1.0",
                             "+1", "1 .6", "1,6", "1234567890.0", "１.２"})
        QTest::newRow(text[0] ? text : "empty") << QString::fromUtf8(text);
}

void TestReleaseChoices::unparsable()
{
    QFETCH(QString, text);
    const FirmwareVersion version = FirmwareVersion::parse(text);
    QVERIFY(!version.isValid());
    QVERIFY(version.parts().isEmpty());
}

void TestReleaseChoices::list_data()
{
    QTest::addColumn<QStringList>("catalogue");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("defaultCatalogueIndex");  // -1: no default row

    QTest::newRow("newest first, default the last entry")
        << QStringList{"1.9.2|a.tvq", "1.10.0|b.tvq", "1.2.0|c.tvq"}
        << QStringList{"1:1.10.0", "0:1.9.2", "2:1.2.0"} << 2;
    QTest::newRow("unparsable listed last in catalogue order, not pickable")
        << QStringList{"beta|x.tvq", "1.0.0|a.tvq", "|y.tvq", "0.9|b.tvq"}
        << QStringList{"1:1.0.0", "3:0.9", "0:beta!", "2:!"} << 3;
    QTest::newRow("entries without a file listed, not pickable")
        << QStringList{"1.7.0", "1.6.0|a.tvq"} << QStringList{"0:1.7.0!", "1:1.6.0"} << 1;
    QTest::newRow("unusable file name not pickable")
        << QStringList{"1.7.0|../x.tvq", "1.6.0|a.tvq"} << QStringList{"0:1.7.0!", "1:1.6.0"}
        << 1;
    QTest::newRow("duplicate: the one listed last is kept")
        << QStringList{"1.6.0|old.tvq", "1.5.0|a.tvq", "1.6.0|new.tvq"}
        << QStringList{"2:1.6.0", "0:1.6.0!", "1:1.5.0"} << 2;
    QTest::newRow("duplicate written differently")
        << QStringList{"1.6|a.tvq", "1.6.0|b.tvq"} << QStringList{"1:1.6.0", "0:1.6!"} << 1;
    QTest::newRow("duplicate without a file leaves the other pickable")
        << QStringList{"1.6.0|a.tvq", "1.6.0"} << QStringList{"1:1.6.0!", "0:1.6.0"} << 1;
    QTest::newRow("default kept when it cannot be picked")
        << QStringList{"2.0.0|a.tvq", "nightly"} << QStringList{"0:2.0.0", "1:nightly!"} << 1;
    QTest::newRow("no entries") << QStringList{} << QStringList{} << -1;
    QTest::newRow("oldest first, repeats side by side")
        << QStringList{"1.0.0|a.tvq", "1.1.0|b.tvq", "1.1|c.tvq", "2.0.0|d.tvq"}
        << QStringList{"3:2.0.0", "2:1.1", "1:1.1.0!", "0:1.0.0"} << 3;
    QTest::newRow("oldest first but for one pair")
        << QStringList{"1.0.0|a.tvq", "1.2.0|b.tvq", "1.1.0|c.tvq", "2.0.0|d.tvq"}
        << QStringList{"3:2.0.0", "1:1.2.0", "2:1.1.0", "0:1.0.0"} << 3;
    QTest::newRow("oldest first, an unparsable one among them")
        << QStringList{"1.0.0|a.tvq", "beta|b.tvq", "2.0.0|c.tvq"}
        << QStringList{"2:2.0.0", "0:1.0.0", "1:beta!"} << 2;
    QTest::newRow("only unparsable ones, in catalogue order")
        << QStringList{"x|a.tvq", "y|b.tvq", "z|c.tvq"} << QStringList{"0:x!", "1:y!", "2:z!"} << 2;
    QTest::newRow("one entry") << QStringList{"1.0.0|a.tvq"} << QStringList{"0:1.0.0"} << 0;
}

void TestReleaseChoices::list()
{
    QFETCH(QStringList, catalogue);
    QFETCH(QStringList, rows);
    QFETCH(int, defaultCatalogueIndex);

    const ReleaseChoices choices = ReleaseChoices::from(entries(catalogue));
    QCOMPARE(shown(choices), rows);
    QCOMPARE(choices.count(), int(catalogue.size()));
    const int row = choices.defaultRow();
    QCOMPARE(row < 0 ? -1 : choices.rows().at(row).catalogueIndex, defaultCatalogueIndex);
    for (int r = 0; r < choices.count(); ++r)
        QCOMPARE(choices.rowOf(choices.rows().at(r).catalogueIndex), r);
    QCOMPARE(choices.rowOf(int(catalogue.size())), -1);
    QCOMPARE(choices.rowOf(-1), -1);
}

void TestReleaseChoices::relation_data()
{
    QTest::addColumn<QString>("installed");
    QTest::addColumn<QString>("offered");
    QTest::addColumn<ReleaseChoices::Relation>("relation");

    using R = ReleaseChoices::Relation;
    QTest::newRow("update") << "1.9.2" << "1.10.0" << R::Newer;
    QTest::newRow("same") << "1.6.0" << "1.6" << R::Same;
    QTest::newRow("downgrade") << "1.10.0" << "1.9.2" << R::Older;
    QTest::newRow("installed unknown") << "" << "1.6.0" << R::Unknown;
    QTest::newRow("offered unparsable") << "1.6.0" << "beta" << R::Unknown;
    QTest::newRow("installed unparsable") << "1.6.x" << "1.6.0" << R::Unknown;
}

void TestReleaseChoices::relation()
{
    QFETCH(QString, installed);
    QFETCH(QString, offered);
    QFETCH(ReleaseChoices::Relation, relation);
    QCOMPARE(ReleaseChoices::relation(installed, offered), relation);
}

void TestReleaseChoices::upToDate_data()
{
    QTest::addColumn<QStringList>("catalogue");
    QTest::addColumn<QString>("installed");
    QTest::addColumn<bool>("upToDate");

    const QStringList two{"1.7.0|b.tvq", "1.6.0|a.tvq"};  // the last entry is the offer
    QTest::newRow("older installed") << two << "1.5.0" << false;
    QTest::newRow("same as the offer") << two << "1.6.0" << true;
    QTest::newRow("newer than the offer") << two << "1.6.1" << true;
    QTest::newRow("installed unknown") << two << "" << false;
    QTest::newRow("offer unparsable") << QStringList{"beta|a.tvq"} << "1.6.0" << false;
    QTest::newRow("no entries") << QStringList{} << "1.6.0" << false;
}

void TestReleaseChoices::upToDate()
{
    QFETCH(QStringList, catalogue);
    QFETCH(QString, installed);
    QFETCH(bool, upToDate);
    QCOMPARE(ReleaseChoices::from(entries(catalogue)).isUpToDate(installed), upToDate);
}

void TestReleaseChoices::localFile_data()
{
    QTest::addColumn<LocalUpdateFile::Facts>("facts");
    QTest::addColumn<qint64>("capacity");
    QTest::addColumn<QString>("problem");  // a part of the sentence; empty: accepted

    const auto facts = [](const char* path, bool exists, bool isFile, bool readable, qint64 size) {
        LocalUpdateFile::Facts f;
        f.path = QString::fromUtf8(path);
        f.exists = exists;
        f.isFile = isFile;
        f.readable = readable;
        f.size = size;
        return f;
    };
    QTest::newRow("good") << facts("/a/u.tvq", true, true, true, 100) << qint64(-1) << QString();
    QTest::newRow("extension in capitals") << facts("/a/U.TVQ", true, true, true, 1) << qint64(-1)
                                           << QString();
    QTest::newRow("fits exactly") << facts("/a/u.tvq", true, true, true, 100) << qint64(100)
                                  << QString();
    QTest::newRow("none chosen") << facts("", false, false, false, -1) << qint64(-1)
                                 << "No update file";
    QTest::newRow("gone") << facts("/a/u.tvq", false, false, false, -1) << qint64(-1)
                          << "u.tvq is not there";
    QTest::newRow("a folder") << facts("/a/d.tvq", true, false, false, 0) << qint64(-1)
                              << "d.tvq is not a file";
    QTest::newRow("wrong extension") << facts("/a/u.zip", true, true, true, 10) << qint64(-1)
                                     << "end in .tvq";
    QTest::newRow("no extension") << facts("/a/tvq", true, true, true, 10) << qint64(-1)
                                  << "end in .tvq";
    QTest::newRow("unreadable") << facts("/a/u.tvq", true, true, false, 10) << qint64(-1)
                                << "could not be read";
    QTest::newRow("empty") << facts("/a/u.tvq", true, true, true, 0) << qint64(-1) << "is empty";
    QTest::newRow("larger than the volume") << facts("/a/u.tvq", true, true, true, 3 << 20)
                                            << qint64(2 << 20) << "larger than Tavlo's volume";
}

void TestReleaseChoices::localFile()
{
    QFETCH(LocalUpdateFile::Facts, facts);
    QFETCH(qint64, capacity);
    QFETCH(QString, problem);
    const QString got = LocalUpdateFile::problemWith(facts, capacity);
    if (problem.isEmpty())
        QVERIFY2(got.isEmpty(), qPrintable(got));
    else
        QVERIFY2(got.contains(problem) && got.endsWith(QLatin1Char('.')), qPrintable(got));
}

void TestReleaseChoices::localFileOnDisk()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString good = dir.filePath(QStringLiteral("update.tvq"));
    const QString empty = dir.filePath(QStringLiteral("empty.tvq"));
    QFile file(good);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("FIRMWARE");
    file.close();
    QFile none(empty);
    QVERIFY(none.open(QIODevice::WriteOnly));
    none.close();

    const LocalUpdateFile::Facts facts = LocalUpdateFile::inspect(good);
    QVERIFY(facts.exists && facts.isFile && facts.readable);
    QCOMPARE(facts.size, qint64(8));
    QVERIFY(LocalUpdateFile::problem(good, -1).isEmpty());
    QVERIFY(LocalUpdateFile::problem(good, 4).contains(QStringLiteral("larger")));
    QVERIFY(LocalUpdateFile::problem(empty, -1).contains(QStringLiteral("empty")));
    QVERIFY(LocalUpdateFile::problem(dir.path(), -1).contains(QStringLiteral("not a file")));
    QVERIFY(QFile::remove(good));
    QVERIFY(LocalUpdateFile::problem(good, -1).contains(QStringLiteral("not there")));
#ifdef Q_OS_UNIX
    // A pipe named like an update file is refused without being opened (which would block).
    const QString pipe = dir.filePath(QStringLiteral("pipe.tvq"));
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QVERIFY(LocalUpdateFile::problem(pipe, -1).contains(QStringLiteral("not a file")));
#endif
}

void TestReleaseChoices::pathFromDialog_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("path");
    QTest::newRow("file URL") << "file:///home/a/u.tvq" << "/home/a/u.tvq";
    QTest::newRow("escaped blank") << "file:///home/a/my%20u.tvq" << "/home/a/my u.tvq";
    QTest::newRow("plain path") << "/home/a/u.tvq" << "/home/a/u.tvq";
    QTest::newRow("not a local URL") << "file://host/u.tvq" << "//host/u.tvq";
}

void TestReleaseChoices::pathFromDialog()
{
    QFETCH(QString, given);
    QFETCH(QString, path);
    QCOMPARE(LocalUpdateFile::pathFrom(given), path);
}

// Notes are shown as plain text: Markdown's marks go, the words and line breaks stay, and
// no address of a link or an image is kept (nothing is fetched).
void TestReleaseChoices::markdown_data()
{
    QTest::addColumn<QString>("notes");
    QTest::addColumn<bool>("markdown");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain sentence") << "Fixes the tuner. Faster start." << false << "Fixes the tuner. Faster start.";
    QTest::newRow("plain with a dash in the text") << "Tuner - faster; 2 * 3 presets" << false
                                                   << "Tuner - faster; 2 * 3 presets";
    QTest::newRow("plain with underscores") << "Set my_preset_name **once**" << true << "Set my_preset_name once";
    QTest::newRow("heading") << "# 1.7.0\nFaster." << true << "1.7.0\nFaster.";
    QTest::newRow("closed heading") << "## 1.7.0 ##" << true << "1.7.0";
    QTest::newRow("list") << "Changes:\n- tuner\n* presets" << true << "Changes:\n\u2022 tuner\n\u2022 presets";
    QTest::newRow("numbered list") << "1. tuner\n2. presets" << true << "1. tuner\n2. presets";
    QTest::newRow("bold and italic") << "The **tuner** is _much_ *faster*." << true << "The tuner is much faster.";
    QTest::newRow("link") << "See [the manual](https://example.org)." << true << "See the manual.";
    QTest::newRow("image") << "![logo](http://127.0.0.1:8765/x.png) New" << true << "logo New";
    QTest::newRow("code and fence") << "Use `reset` once.\n```\nreset\n```" << true << "Use reset once.\nreset";
    QTest::newRow("quote") << "> Careful\nDone" << true << "Careful\nDone";
    QTest::newRow("the example's notes")
        << "## 1.6.0\n\n- New groove library\n- Quieter start-up\n\nSee the *manual* for the new **swing** setting."
        << true << "1.6.0\n\n\u2022 New groove library\n\u2022 Quieter start-up\n\nSee the manual for the new swing setting.";
    QTest::newRow("empty") << "" << false << "";
    // Long notes are cut, at a line's end near the limit or else at the limit itself.
    const QString more = QStringLiteral("\n\nThe rest of these notes is left out: they are longer than 64 KiB.");
    const int limit = ReleaseNotesText::kMaxShownLength;
    QTest::newRow("at the limit") << QString(limit, 'a') << false << QString(limit, 'a');
    QTest::newRow("one past the limit") << QString(limit + 1, 'a') << false << QString(limit, 'a') + more;
    QTest::newRow("cut at a line's end")
        << QString(limit - 10, 'a') + "\n" + QString(100, 'b') << false << QString(limit - 10, 'a') + more;
    QTest::newRow("no half character") << QString(limit - 1, 'a') + QString::fromUtf8("\xF0\x9F\x8E\xB9") << false
                                       << QString(limit - 1, 'a') + more;
    QTest::newRow("marks taken out of what is kept") << "# Notes\n" + QString(limit, 'a') << true
                                                     << "Notes\n" + QString(limit - 8, 'a') + more;
}

void TestReleaseChoices::markdown()
{
    QFETCH(QString, notes);
    QFETCH(bool, markdown);
    QFETCH(QString, shown);
    QCOMPARE(ReleaseNotesText::looksLikeMarkdown(notes), markdown);
    QCOMPARE(ReleaseNotesText::shown(notes), shown);
}

// Transfer mode from firmware 1.5.0 on, read from the numbers the version begins with.
void TestReleaseChoices::transferThreshold_data()
{
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<bool>("offered");
    QTest::newRow("unknown") << "" << false;
    QTest::newRow("equal") << "1.5.0" << true;
    QTest::newRow("shorter but equal") << "1.5" << true;
    QTest::newRow("older") << "1.4.99" << false;
    QTest::newRow("newer minor, numerically") << "1.10" << true;
    QTest::newRow("newer major") << "2" << true;
    QTest::newRow("release candidate") << "1.5.0-rc" << true;
    QTest::newRow("older candidate") << "1.4.9-rc2" << false;
    QTest::newRow("blanks around") << " 1.6.0 " << true;
    QTest::newRow("no number") << "beta" << false;
    QTest::newRow("dot first") << ".1.5" << false;
}

void TestReleaseChoices::transferThreshold()
{
    QFETCH(QString, firmware);
    QFETCH(bool, offered);
    QCOMPARE(FirmwareVersion::offersTransfer(firmware), offered);
}

void TestReleaseChoices::notesFromTheCatalogue()
{
    const ReleaseCatalogue catalogue = ReleaseCatalogue::parse(
        R"([{"file_name":"a.tvq","version":"1.6.0","release_notes":"Faster.\n- tuner"},)"
        R"({"file_name":"b.tvq","version":"1.7.0","release_notes":12},)"
        R"({"file_name":"c.tvq","version":"1.8.0"}])");
    QCOMPARE(catalogue.entries().size(), 3);
    QCOMPARE(catalogue.entries().at(0).releaseNotes, QStringLiteral("Faster.\n- tuner"));
    QVERIFY(catalogue.entries().at(1).releaseNotes.isEmpty());
    QVERIFY(catalogue.entries().at(2).releaseNotes.isEmpty());
}

QTEST_APPLESS_MAIN(TestReleaseChoices)
#include "tst_release_choices.moc"
