// The main window's parts that carry rules of their own, each on its own: the waiting
// dots, and the rules on versions and progress.

#include "MessageRecorder.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>
#include <memory>

namespace {

const QUrl kDotsUrl(QStringLiteral("qrc:/Tavlo_App/LoadingDots.qml"));

// A small document that hands the window's rules to the test.
const QByteArray kRulesProbe = R"(
import QtQml 2.15
import "WindowRules.js" as Rules
QtObject {
    function compare(a, b) { return Rules.compare(a, b) }
    function atLeast(version, minimum) { return Rules.atLeast(version, minimum) }
    function clamp(value) { return Rules.clampedPercentage(value) }
    function clampText(text) { return Rules.clampedPercentage(text) }
    function clampNothing() { return Rules.clampedPercentage(undefined) }
    function clampNull() { return Rules.clampedPercentage(null) }
}
)";

} // namespace

class WindowPartsTest : public QObject
{
    Q_OBJECT

    MessageRecorder messages;
    QQmlEngine engine;

    std::unique_ptr<QObject> create(QQmlComponent& component)
    {
        if (component.isError())
            qWarning("%s", qPrintable(component.errorString()));
        return std::unique_ptr<QObject>(component.create());
    }

    std::unique_ptr<QObject> dots()
    {
        QQmlComponent component(&engine, kDotsUrl);
        return create(component);
    }

    std::unique_ptr<QObject> rules()
    {
        QQmlComponent component(&engine);
        component.setData(kRulesProbe, QUrl(QStringLiteral("qrc:/Tavlo_App/probe.qml")));
        return create(component);
    }

    static QVariant invoke(QObject* object, const char* function, const QVariantList& arguments = {})
    {
        QVariant result;
        bool invoked = false;
        if (arguments.isEmpty())
            invoked = QMetaObject::invokeMethod(object, function, Q_RETURN_ARG(QVariant, result));
        else if (arguments.size() == 1)
            invoked = QMetaObject::invokeMethod(object, function, Q_RETURN_ARG(QVariant, result),
                                                Q_ARG(QVariant, arguments.at(0)));
        else
            invoked = QMetaObject::invokeMethod(object, function, Q_RETURN_ARG(QVariant, result),
                                                Q_ARG(QVariant, arguments.at(0)), Q_ARG(QVariant, arguments.at(1)));
        if (!invoked)
            qWarning("no function %s", function);
        return result;
    }

    // One tick of the timer, without waiting for it.
    static void tick(QObject* timer) { QMetaObject::invokeMethod(timer, "triggered"); }

private slots:
    void cleanup()
    {
        QVERIFY2(messages.warnings().isEmpty(), qPrintable(messages.warnings().join('\n')));
        messages.clear();
    }

    // ------------------------------------------------------------------ waiting dots
    void dotsIdleUntilBegun()
    {
        auto timer = dots();
        QVERIFY(timer);
        QCOMPARE(timer->objectName(), QStringLiteral("loadingTimer"));
        QCOMPARE(timer->property("interval").toInt(), 500);
        QVERIFY(timer->property("repeat").toBool());
        QVERIFY(!timer->property("running").toBool());
        QCOMPARE(timer->property("frame").toInt(), 0);
        QCOMPARE(timer->property("text").toString(), QString());
    }

    void dotsCycleThroughFourFrames()
    {
        auto timer = dots();
        QSignalSpy ticked(timer.get(), SIGNAL(ticked(QString)));
        invoke(timer.get(), "begin", {QStringLiteral("Waiting")});
        QVERIFY(timer->property("running").toBool());
        QCOMPARE(timer->property("text").toString(), QStringLiteral("Waiting"));
        QStringList seen;
        for (int i = 0; i < 9; ++i) {
            tick(timer.get());
            seen << ticked.takeFirst().at(0).toString();
            QCOMPARE(timer->property("text").toString(), seen.constLast());
        }
        QCOMPARE(seen, (QStringList{"Waiting.", "Waiting..", "Waiting...", "Waiting", "Waiting.", "Waiting..",
                                    "Waiting...", "Waiting", "Waiting."}));
        QCOMPARE(timer->property("frame").toInt(), 1);
    }

    // Ending stops the ticks and forgets the frame; beginning again starts from the new
    // base without dots.
    void dotsEndAndBeginAgain()
    {
        auto timer = dots();
        QSignalSpy ticked(timer.get(), SIGNAL(ticked(QString)));
        invoke(timer.get(), "begin", {QStringLiteral("Connecting")});
        tick(timer.get());
        tick(timer.get());
        invoke(timer.get(), "end");
        QVERIFY(!timer->property("running").toBool());
        QCOMPARE(timer->property("frame").toInt(), 0);
        invoke(timer.get(), "begin", {QStringLiteral("Finalizing")});
        QCOMPARE(timer->property("text").toString(), QStringLiteral("Finalizing"));
        ticked.clear();
        tick(timer.get());
        QCOMPARE(ticked.takeFirst().at(0).toString(), QStringLiteral("Finalizing."));
    }

    // A running animation keeps its real rhythm.
    void dotsTickOnTheirOwn()
    {
        auto timer = dots();
        timer->setProperty("interval", 20);
        QSignalSpy ticked(timer.get(), SIGNAL(ticked(QString)));
        invoke(timer.get(), "begin", {QStringLiteral("W")});
        // At least four ticks (a loaded machine may give more before the check looks), in
        // the order of the frames.
        QTRY_VERIFY_WITH_TIMEOUT(ticked.count() >= 4, 2000);
        QStringList seen;
        for (int i = 0; i < 4; ++i)
            seen << ticked.at(i).at(0).toString();
        QCOMPARE(seen, (QStringList{"W.", "W..", "W...", "W"}));
    }

    // ------------------------------------------------------------------ versions
    void atLeast_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("minimum");
        QTest::addColumn<bool>("expected");
        QTest::newRow("unknown") << "" << "1.5.0" << false;
        QTest::newRow("equal") << "1.5.0" << "1.5.0" << true;
        QTest::newRow("shorter but equal") << "1.5" << "1.5.0" << true;
        QTest::newRow("older") << "1.4.99" << "1.5.0" << false;
        QTest::newRow("newer minor, numerically") << "1.10" << "1.5.0" << true;
        QTest::newRow("newer major") << "2" << "1.5.0" << true;
        QTest::newRow("suffix") << "1.5.0-beta" << "1.5.0" << true;
        QTest::newRow("no minimum") << "0.0.1" << "" << true;
    }

    void atLeast()
    {
        QFETCH(QString, version);
        QFETCH(QString, minimum);
        QFETCH(bool, expected);
        auto probe = rules();
        QVERIFY(probe);
        QCOMPARE(invoke(probe.get(), "atLeast", {version, minimum}).toBool(), expected);
    }

    // The comparison is antisymmetric: swapping the sides flips the sign.
    void compareIsAntisymmetric()
    {
        auto probe = rules();
        const QStringList versions{"", "0", "1", "1.0", "1.4.9", "1.5", "1.5.0", "1.10", "01.05", "2.0.0.1", "x"};
        for (const QString& a : versions) {
            for (const QString& b : versions) {
                const int ab = invoke(probe.get(), "compare", {a, b}).toInt();
                const int ba = invoke(probe.get(), "compare", {b, a}).toInt();
                QVERIFY2(ab == -ba, qPrintable(QString("\"%1\" vs \"%2\": %3 and %4").arg(a, b).arg(ab).arg(ba)));
            }
        }
    }

    // ------------------------------------------------------------------ progress
    void clamp_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("inside") << 40.0 << 40.0;
        QTest::newRow("fraction kept") << 99.5 << 99.5;
        QTest::newRow("bounds") << 0.0 << 0.0;
        QTest::newRow("upper bound") << 100.0 << 100.0;
        QTest::newRow("above") << 100.01 << 100.0;
        QTest::newRow("below") << -0.5 << 0.0;
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 100.0;
        QTest::newRow("minus infinite") << -std::numeric_limits<double>::infinity() << 0.0;
        QTest::newRow("not a number") << std::nan("") << 0.0;
        QTest::newRow("largest 64-bit count") << 9223372036854775807.0 << 100.0;
    }

    void clamp()
    {
        QFETCH(double, value);
        QFETCH(double, expected);
        auto probe = rules();
        QCOMPARE(invoke(probe.get(), "clamp", {value}).toDouble(), expected);
    }

    // What is not a number counts as 0; a number in text counts as the number.
    void clampOfOtherValues()
    {
        auto probe = rules();
        QCOMPARE(invoke(probe.get(), "clampText", {QStringLiteral("55")}).toDouble(), 55.0);
        QCOMPARE(invoke(probe.get(), "clampText", {QStringLiteral("55%")}).toDouble(), 0.0);
        QCOMPARE(invoke(probe.get(), "clampText", {QStringLiteral("250")}).toDouble(), 100.0);
        QCOMPARE(invoke(probe.get(), "clampNothing").toDouble(), 0.0);
        QCOMPARE(invoke(probe.get(), "clampNull").toDouble(), 0.0);
    }
};

QTEST_MAIN(WindowPartsTest)
#include "tst_ui_window_parts.moc"
