// The layout and keyboard check on tiny pages written for it: each kind of fault is caught
// (and names the item at fault), and a clean page passes. The Markdown markers on canned
// texts.

#include "KeyboardCheck.h"
#include "LayoutCheck.h"
#include "MarkdownMarkers.h"
#include "WindowDriver.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

namespace {

// A 300x300 window around the given items. Its texts are plain, as the windows' are; a
// "FormattedText {" is a Text that sets its own format.
QByteArray page(const char* items)
{
    const QByteArray plain = QByteArray(items)
                                 .replace("FormattedText {", "Formatted {")
                                 .replace("Text { ", "Text { textFormat: Text.PlainText; ")
                                 .replace("Formatted {", "Text {");
    return QByteArray("import QtQuick\nimport QtQuick.Controls\n"
                      "Window { width: 300; height: 300; visible: true; color: \"black\"\n")
           + plain + "\n}\n";
}

// A button that Enter and Return press, as the windows' buttons are.
const char* const kButton = "Button { Keys.onReturnPressed: clicked(); Keys.onEnterPressed: clicked(); ";

QByteArray withButtons(const char* items)
{
    return page(QByteArray(items).replace("KeyButton {", kButton).constData());
}

// The kinds ("overlap", "tab", ...) of the report lines, each once, in order.
QStringList kinds(const QStringList& problems)
{
    QStringList found;
    for (const QString& line : problems) {
        const QString kind = line.section(QLatin1Char(':'), 0, 0);
        if (!found.contains(kind))
            found.append(kind);
    }
    return found;
}

bool load(WindowDriver& driver, const QByteArray& qml)
{
    driver.engine().loadData(qml);
    return driver.adopt();
}

} // namespace

class LayoutCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void pages_data()
    {
        QTest::addColumn<QByteArray>("qml");
        QTest::addColumn<QStringList>("expected"); // the kinds reported, in order
        QTest::addColumn<QString>("culprit");      // an objectName the report names

        QTest::newRow("clean page") << withButtons(R"(
            Column { y: 10; width: 300; spacing: 8
                Text { width: 300; text: "A heading"; color: "white"; font.pixelSize: 16 }
                Text { width: 300; wrapMode: Text.WordWrap; color: "white"
                       text: "A sentence long enough to wrap onto a second line within the page." }
                KeyButton { objectName: "first"; width: 200; text: "First" }
                KeyButton { objectName: "second"; width: 200; text: "Second" }
            })") << QStringList{} << QString();
        QTest::newRow("two overlapping texts") << page(R"(
            Text { objectName: "upper"; y: 20; text: "Download failed!"; color: "white" }
            Text { objectName: "lower"; y: 26; text: "The catalogue is not JSON"; color: "red" })")
                                               << QStringList{"overlap"} << "upper";
        QTest::newRow("overlap scrolled out of a clipping list") << page(R"(
            Text { objectName: "above"; y: 0; height: 20; text: "Choose a version"; color: "white" }
            ListView { y: 20; width: 300; height: 100; clip: true; model: 5; contentY: 10
                delegate: Text { height: 20; text: "row " + index; color: "white" } })")
                                                                 << QStringList{} << QString();
        QTest::newRow("the same value in two rows of a list") << page(R"(
            ListView { width: 300; height: 100; model: 3
                delegate: Row { spacing: 10; Text { text: "file " + index; color: "white" }
                                Text { text: "4.00 KiB"; color: "white" } } })")
                                                              << QStringList{} << QString();
        QTest::newRow("overlap under an opaque page") << page(R"(
            Text { objectName: "under"; y: 50; text: "Start Update"; color: "white" }
            Rectangle { y: 40; width: 300; height: 200; color: "black"
                Text { y: 12; text: "Choose a version"; color: "white" } })")
                                                      << QStringList{} << QString();
        QTest::newRow("elided text") << page(R"(
            Text { objectName: "elided"; width: 60; elide: Text.ElideRight; color: "white"
                   text: "1.6.0 - 2026-11-30 - Demo (installed) " })")
                                     << QStringList{"clipped"} << "elided";
        QTest::newRow("text wider than its box") << page(R"(
            Text { objectName: "wide"; width: 60; color: "white"; text: "Transfering file... 81%" })")
                                                 << QStringList{"clipped"} << "wide";
        QTest::newRow("text cut by a clipping box") << page(R"(
            Rectangle { objectName: "box"; width: 100; height: 10; clip: true; color: "black"
                Text { objectName: "cut"; font.pixelSize: 20; text: "Tall"; color: "white" } })")
                                                    << QStringList{"clipped"} << "cut";
        QTest::newRow("caption larger than its button") << page(R"(
            Button { objectName: "small"; width: 120; height: 20
                contentItem: Text { text: "Install from file"; font.pixelSize: 30; color: "white" } })")
                                                        << QStringList{"clipped"} << "small";
        QTest::newRow("text past the window's edge") << page(R"(
            Text { objectName: "past"; x: 260; text: "Reinstall"; color: "white" })")
                                                     << QStringList{"outside"} << "past";
        QTest::newRow("same sentence twice") << page(R"(
            Text { objectName: "white"; y: 10; text: "The server answered 500."; color: "white" }
            Text { objectName: "red"; y: 60; text: "The server answered 500."; color: "red" })")
                                             << QStringList{"repeated"} << "red";
        QTest::newRow("markdown source shown") << page(R"(
            Text { objectName: "notes"; width: 300; wrapMode: Text.WordWrap; color: "white"
                   text: "## 1.6.0 - New groove library - See the *manual*" })")
                                               << QStringList{"markdown"} << "notes";
        QTest::newRow("rich text that renders a marker") << page(R"(
            FormattedText { objectName: "rich"; textFormat: Text.RichText; color: "white"
                   text: "<b>Fixed</b> ![logo](x.png) " })")
                                                         << QStringList{"markdown", "markup"} << "rich";
        // Whatever it shows now: a version or a reason with a tag in it would be read as markup.
        for (const char* format : {"Text.AutoText", "Text.StyledText", "Text.MarkdownText"})
            QTest::addRow("text that reads markup (%s)", format)
                << page(QByteArray("FormattedText { objectName: \"reason\"; color: \"white\"; text: \"1.7.0\"; "
                                   "textFormat: ").append(format).append(" }").constData())
                << QStringList{"markup"} << "reason";
        QTest::newRow("focus on a hidden list") << page(R"(
            Rectangle { visible: false; width: 300; height: 300
                ListView { objectName: "hiddenList"; focus: true; width: 300; height: 100; model: 3
                           delegate: Text { text: "row " + index } } })")
                                                << QStringList{"focus"} << "hiddenList";
        QTest::newRow("focus under an opaque page") << page(R"(
            Button { objectName: "covered"; y: 50; focus: true; text: "Start Update" }
            Rectangle { y: 40; width: 300; height: 200; color: "black" })")
                                                    << QStringList{"focus"} << "covered";
    }

    void pages()
    {
        QFETCH(QByteArray, qml);
        QFETCH(QStringList, expected);
        QFETCH(QString, culprit);
        WindowDriver driver;
        QVERIFY(load(driver, qml));
        const QStringList problems = LayoutCheck::problems(driver.window());
        const QString report = problems.join(QLatin1Char('\n'));
        QVERIFY2(kinds(problems) == expected, qPrintable(report));
        if (!culprit.isEmpty())
            QVERIFY2(report.contains(QLatin1Char('\'') + culprit + QLatin1Char('\'')), qPrintable(report));
    }

    void tabOrder_data()
    {
        QTest::addColumn<QByteArray>("qml");
        QTest::addColumn<QString>("expected"); // a part of the report, or empty for none

        QTest::newRow("reading order") << withButtons(R"(
            Column { Row { KeyButton { text: "Left" } KeyButton { text: "Right" } }
                     KeyButton { text: "Below" } })") << QString();
        QTest::newRow("against reading order") << withButtons(R"(
            KeyButton { objectName: "upper"; y: 10; text: "Upper" }
            KeyButton { objectName: "lower"; y: 200; text: "Lower" }
            KeyButton { objectName: "middle"; y: 100; text: "Middle" })")
                                               << "Tab goes from Button 'lower' \"Lower\" (0,200";
        QTest::newRow("first Tab not to the top") << withButtons(R"(
            KeyButton { objectName: "lower"; y: 200; text: "Lower" }
            KeyButton { objectName: "upper"; y: 10; text: "Upper" })")
                                                  << "the first Tab goes to Button 'lower'";
        QTest::newRow("stop under an opaque page") << withButtons(R"(
            KeyButton { objectName: "start"; y: 100; text: "Start Update" }
            Rectangle { y: 50; width: 300; height: 200; color: "black"
                KeyButton { objectName: "back"; y: 100; text: "Back" } })")
                                                   << "Tab stops at Button 'start' \"Start Update\" (0,100";
        QTest::newRow("list that Tab never reaches") << withButtons(R"(
            ListView { objectName: "versions"; width: 300; height: 100; model: 3
                       delegate: Text { text: "row " + index } }
            KeyButton { y: 150; text: "Install" })") << "Tab never reaches ListView 'versions'";
        QTest::newRow("disabled and hidden buttons are skipped") << withButtons(R"(
            KeyButton { y: 10; text: "One" }
            KeyButton { y: 60; text: "Dimmed"; enabled: false }
            KeyButton { y: 110; text: "Gone"; visible: false }
            KeyButton { y: 160; text: "Two" })") << QString();
    }

    void tabOrder()
    {
        QFETCH(QByteArray, qml);
        QFETCH(QString, expected);
        WindowDriver driver;
        QVERIFY(load(driver, qml));
        const QQuickItem* before = driver.window()->activeFocusItem();
        const QString report = KeyboardCheck::tabOrder(driver.window()).join(QLatin1Char('\n'));
        if (expected.isEmpty())
            QVERIFY2(report.isEmpty(), qPrintable(report));
        else
            QVERIFY2(report.contains(expected), qPrintable(report));
        // The focus is put back where the check found it.
        QCOMPARE(driver.window()->activeFocusItem(), before);
    }

    void keys_data()
    {
        QTest::addColumn<QByteArray>("qml");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("presses");
        const QByteArray handled = withButtons("KeyButton { objectName: \"button\"; text: \"Install\" }");
        const QByteArray plain = page("Button { objectName: \"button\"; text: \"Install\" }");
        QTest::newRow("Enter on a button that takes it") << handled << int(Qt::Key_Enter) << true;
        QTest::newRow("Return on a button that takes it") << handled << int(Qt::Key_Return) << true;
        QTest::newRow("Enter on a plain button") << plain << int(Qt::Key_Enter) << false;
        QTest::newRow("Return on a plain button") << plain << int(Qt::Key_Return) << false;
    }

    void keys()
    {
        QFETCH(QByteArray, qml);
        QFETCH(int, key);
        QFETCH(bool, presses);
        WindowDriver driver;
        QVERIFY(load(driver, qml));
        const QString problem = KeyboardCheck::activates(driver.window(), driver.item("button"), Qt::Key(key));
        QVERIFY2(problem.isEmpty() == presses, qPrintable(problem));
    }

    void escape_data()
    {
        QTest::addColumn<QByteArray>("qml");
        QTest::addColumn<QString>("expected");
        const char* const base = R"(
            Button { objectName: "start"; y: 250; text: "Start Update" }
            Rectangle { objectName: "choices"; focus: true; width: 300; height: 200; color: "black"; %1 })";
        QTest::newRow("Escape closes the page") << page(QString::fromLatin1(base).arg("Keys.onEscapePressed: visible = false").toLatin1())
                                                << QString();
        QTest::newRow("Escape does nothing") << page(QString::fromLatin1(base).arg("").toLatin1())
                                             << "Escape leaves Rectangle 'choices'";
        QTest::newRow("Escape closes, the screen behind stays covered")
            << page(QString::fromLatin1(base).arg("Keys.onEscapePressed: { visible = false; cover.visible = true }"
                                                  " } Rectangle { id: cover; visible: false; y: 220; width: 300;"
                                                  " height: 80; color: \"black\"").toLatin1())
            << "Button 'start' \"Start Update\" (0,250";
    }

    void escape()
    {
        QFETCH(QByteArray, qml);
        QFETCH(QString, expected);
        WindowDriver driver;
        QVERIFY(load(driver, qml));
        const QString problem = KeyboardCheck::escapeLeaves(driver.window(), driver.item("choices"), driver.item("start"));
        if (expected.isEmpty())
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        else
            QVERIFY2(problem.contains(expected), qPrintable(problem));
    }

    void markdownMarkers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("found"); // the kinds, joined by blanks
        QTest::newRow("heading at a line's start") << "# Title\nbody" << "heading";
        QTest::newRow("heading whose line breaks were lost") << "## 1.6.0 - New groove library - Quieter" << "heading";
        QTest::newRow("deeper heading within a line") << "Notes ### Fixes" << "heading";
        QTest::newRow("strong") << "- **Transfer mode**: a drive" << "strong";
        QTest::newRow("strong with underscores") << "__bold__" << "strong";
        QTest::newRow("emphasis") << "See the *manual* for the new swing" << "emphasis";
        QTest::newRow("emphasis with underscores") << "the _new_ setting" << "emphasis";
        QTest::newRow("image and its link") << "![logo](logo.png)" << "image link";
        QTest::newRow("link") << "Read [more](https://example.org)" << "link";
        QTest::newRow("inline code") << "Run `tavlo check`" << "code";
        QTest::newRow("fence") << "~~~\ncode\n~~~" << "code";
        QTest::newRow("quote") << "> quoted" << "quote";
        QTest::newRow("bullets") << "* one\n+ two" << "bullet";
        QTest::newRow("plain dashes") << "- New groove library\n1- Connect the cable" << "";
        QTest::newRow("multiplication") << "5 * 3 * 2 = 30" << "";
        QTest::newRow("file names with underscores") << "tavlo_firmware_1.6.0.tvq" << "";
        QTest::newRow("a lone star and hash") << "Rated * by users, item #3" << "";
        QTest::newRow("progress") << "Downloading... 40%" << "";
        QTest::newRow("German") << "Die neueste verfügbare Version ist Tvx1.6.0" << "";
        QTest::newRow("empty") << "" << "";
    }

    void markdownMarkers()
    {
        QFETCH(QString, text);
        QFETCH(QString, found);
        QStringList kinds;
        for (const QString& marker : MarkdownMarkers::in(text))
            kinds.append(marker.section(QLatin1Char(' '), 0, 0));
        QCOMPARE(kinds.join(QLatin1Char(' ')), found);
    }
};

QTEST_MAIN(LayoutCheckTest)
#include "tst_ui_layout_check.moc"
