// The main window's waiting dots, on their own.

#include "MessageRecorder.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

const QUrl kDotsUrl(QStringLiteral("qrc:/Tavlo_App/LoadingDots.qml"));


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
};

QTEST_MAIN(WindowPartsTest)
#include "tst_ui_window_parts.moc"
