// What tavlo prints: outside data with control characters in it reaches the terminal or pipe
// only as a visible stand-in (text) or an escape (JSON, whose values stay the same).
#include "CliOutput.h"
#include "TerminalText.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <cstdio>
#include <functional>

namespace {

const QString R = QString(QChar(TerminalText::kReplacement));

// What a CliOutput wrote to standard output and standard error while act ran.
struct Printed
{
    QByteArray out;
    QByteArray err;
};

QByteArray readAll(std::FILE* file)
{
    std::fflush(file);
    std::rewind(file);
    QByteArray bytes;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, qsizetype(n));
    std::fclose(file);
    return bytes;
}

Printed printed(bool json, bool terminal, const std::function<void(CliOutput&)>& act)
{
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    CliOutput output(json, terminal, out, err);
    act(output);
    return {readAll(out), readAll(err)};
}

// No byte or character a terminal acts on, but the line ends and tabs the program meant.
bool plainForATerminal(const QByteArray& bytes)
{
    for (const QChar c : QString::fromUtf8(bytes)) {
        if (TerminalText::isUnsafe(c.unicode()) && c != QLatin1Char('\r'))
            return false;
    }
    return true;
}

} // namespace

class PrintedTextTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void plain_data();
    void plain();
    void escapedJsonKeepsTheValue_data();
    void escapedJsonKeepsTheValue();
    void everyWayOut_data();
    void everyWayOut();
};

void PrintedTextTest::plain_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("ordinary text") << "Firmware 1.5.2 is installed; 1.6.0 is available."
                                   << "Firmware 1.5.2 is installed; 1.6.0 is available.";
    QTest::newRow("line breaks and tabs stay") << "a\tb\nc" << "a\tb\nc";
    QTest::newRow("window title (OSC ... BEL)") << "1.6.0\x1b]0;owned\x07" << "1.6.0" + R + "]0;owned" + R;
    QTest::newRow("erase line (CSI 2K)") << "\x1b[2K1.6.0" << R + "[2K1.6.0";
    QTest::newRow("carriage return over the line") << "1.6.0\rfake" << "1.6.0" + R + "fake";
    QTest::newRow("backspace, NUL, bell, form feed, vertical tab")
        << QString::fromLatin1("a\bb\0c\ad\fe\vf", 11) << "a" + R + "b" + R + "c" + R + "d" + R + "e" + R + "f";
    QTest::newRow("DEL") << "a\x7f" "b" << "a" + R + "b";
    QTest::newRow("C1: CSI and OSC as one character") << QString::fromUtf16(u"\u009b2J\u009d0;x\u009c")
                                                      << R + "2J" + R + "0;x" + R;
    QTest::newRow("C1 edges") << QString::fromUtf16(u"\u0080\u009f\u00a0") << R + R + QString::fromUtf16(u"\u00a0");
    QTest::newRow("bidi override hides the order") << QString::fromUtf16(u"1.6.0\u202egpj.exe")
                                                   << "1.6.0" + R + "gpj.exe";
    QTest::newRow("every bidi control")
        << QString::fromUtf16(u"\u061c\u200e\u200f\u202a\u202b\u202c\u202d\u202e\u2066\u2067\u2068\u2069")
        << R.repeated(12);
    QTest::newRow("neighbours of bidi controls stay")
        << QString::fromUtf16(u"\u061b\u200d\u2010\u2029\u202f\u2065\u206a")
        << QString::fromUtf16(u"\u061b\u200d\u2010\u2029\u202f\u2065\u206a");
    QTest::newRow("other scripts and emoji stay") << QString::fromUtf16(u"Größe über 5 MiB \U0001F3B9 版本")
                                                  << QString::fromUtf16(u"Größe über 5 MiB \U0001F3B9 版本");
}

void PrintedTextTest::plain()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(TerminalText::plain(text), shown);
}

void PrintedTextTest::escapedJsonKeepsTheValue_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("C1 CSI") << QString::fromUtf16(u"1.6.0\u009b2J");
    QTest::newRow("DEL") << QStringLiteral("1.6.0\x7f");
    QTest::newRow("bidi override") << QString::fromUtf16(u"a\u202eb\u2066c");
    QTest::newRow("ESC and BEL (escaped by JSON itself)") << QStringLiteral("\x1b]0;x\x07\x1b[2K");
    QTest::newRow("backslash before a control") << QString::fromUtf16(u"\\\u009b\\\\");
    QTest::newRow("plain") << QStringLiteral("1.6.0");
}

void PrintedTextTest::escapedJsonKeepsTheValue()
{
    QFETCH(QString, value);
    const Printed p = printed(true, true, [&](CliOutput& out) {
        out.print({{QStringLiteral("event"), QStringLiteral("check")}, {QStringLiteral("latest"), value}},
                  QStringLiteral("unused"));
    });
    QVERIFY2(plainForATerminal(p.out), p.out.constData());
    QVERIFY(p.out.endsWith('\n') && p.out.count('\n') == 1);
    QJsonParseError error;
    const QJsonDocument back = QJsonDocument::fromJson(p.out, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(back.object().value(QStringLiteral("latest")).toString(), value);
}

void PrintedTextTest::everyWayOut_data()
{
    QTest::addColumn<bool>("terminal");
    QTest::addColumn<int>("way");
    QTest::addColumn<QByteArray>("expectedOut");
    QTest::addColumn<QByteArray>("expectedErr");

    const QByteArray r = R.toUtf8();
    QTest::newRow("result line") << false << 0 << "Latest 1.6.0" + r + "[2K\n" << QByteArray();
    QTest::newRow("problem") << false << 1 << QByteArray() << "tavlo: bad " + r + "]0;t" + r + "\n";
    QTest::newRow("note") << false << 2 << QByteArray() << "note " + r + "[31m\n";
    QTest::newRow("question") << false << 3 << QByteArray() << "Install 1.6.0" + r + "? [y/N] ";
    QTest::newRow("progress piped") << false << 4 << "Copy" + r + "[A 50%\n" << QByteArray();
    QTest::newRow("progress bar on a terminal") << true << 4
                                                << "\rCopy" + r + "[A [###############               ]  50%"
                                                << QByteArray();
    QTest::newRow("program text") << false << 5 << "Usage\n\tline" + r + "\n" << QByteArray();
}

void PrintedTextTest::everyWayOut()
{
    QFETCH(bool, terminal);
    QFETCH(int, way);
    QFETCH(QByteArray, expectedOut);
    QFETCH(QByteArray, expectedErr);
    const Printed p = printed(false, terminal, [way](CliOutput& out) {
        switch (way) {
        case 0: out.print({{QStringLiteral("event"), QStringLiteral("x")}}, QStringLiteral("Latest 1.6.0\x1b[2K")); break;
        case 1: out.problem(QStringLiteral("bad \x1b]0;t\x07"), 4); break;
        case 2: out.note(QStringLiteral("note \x1b[31m")); break;
        case 3: out.ask(QString::fromUtf16(u"Install 1.6.0\u202e? [y/N] ")); break;
        case 4: out.progress(QStringLiteral("copy"), QStringLiteral("Copy\x1b[A"), 50); break;
        case 5: out.text(QStringLiteral("Usage\n\tline\x7f\n")); break;
        }
    });
    QCOMPARE(p.out, expectedOut);
    QCOMPARE(p.err, expectedErr);
}

QTEST_GUILESS_MAIN(PrintedTextTest)
#include "tst_printed_text.moc"
