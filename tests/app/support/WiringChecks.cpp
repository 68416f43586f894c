#include "WiringChecks.h"

#include "SimInstrument.h"

#include <QFile>
#include <QPointer>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QTest>
#include <QThread>

#include <atomic>

WiringChecks::WiringChecks(MakeWiring makeWiring, QStringList publishedNames, QUrl windowDocument)
    : makeWiring(std::move(makeWiring)),
      publishedNames(std::move(publishedNames)),
      windowDocument(std::move(windowDocument))
{
}

void WiringChecks::publishesTheWindowsObjects()
{
    SimInstrument instrument;
    const std::unique_ptr<Wiring> wiring = makeWiring(instrument.platform(), noServer());
    QQmlApplicationEngine engine;
    wiring->publish(engine);

    QStringList names;
    QQmlContext* context = engine.rootContext();
    for (const Wiring::Published& entry : wiring->published()) {
        names << entry.name;
        QVERIFY(entry.object);
        QCOMPARE(context->contextProperty(entry.name).value<QObject*>(), entry.object);
    }
    QCOMPARE(names, publishedNames);
    for (const char* absent : {"fileManagerBridge", "fileManager"}) {
        if (!publishedNames.contains(QLatin1String(absent)))
            QVERIFY2(!context->contextProperty(QLatin1String(absent)).isValid(), absent);
    }

    // The window document loads against exactly these objects.
    engine.load(windowDocument);
    QCOMPARE(engine.rootObjects().size(), 1);
}

void WiringChecks::fileManagerOnWorkerThread()
{
    SimInstrument instrument;
    const std::unique_ptr<Wiring> wiring = makeWiring(instrument.platform(), noServer());
    QThread* worker = wiring->workerThread();
    QVERIFY(worker);
    QVERIFY(worker != QThread::currentThread());
    QVERIFY(worker->isRunning());
    QVERIFY(wiring->storage());
    QCOMPARE(wiring->storage()->metaObject()->className(), "FileManager");
    QCOMPARE(wiring->storage()->thread(), worker);
    QCOMPARE(wiring->storage()->parent(), nullptr);
}

void WiringChecks::stopWaitsForWorker()
{
    SimInstrument instrument;
    QPointer<QThread> worker;
    QPointer<QObject> files;
    std::atomic<bool> requestStarted{false};
    std::atomic<bool> requestFinished{false};
    {
        const std::unique_ptr<Wiring> wiring = makeWiring(instrument.platform(), noServer());
        worker = wiring->workerThread();
        files = wiring->storage();
        // A request in hand on the worker when the program stops is carried to its end.
        QMetaObject::invokeMethod(wiring->storage(), [&requestStarted, &requestFinished] {
            requestStarted = true;
            QThread::msleep(300);
            requestFinished = true;
        });
        QTRY_VERIFY(requestStarted.load());
    }
    QVERIFY(requestFinished.load());
    // The worker and the FileManager are gone with the wiring.
    QVERIFY(worker.isNull());
    QVERIFY(files.isNull());
}

// The images and fonts both programs carry; each edition's test checks its own beside them.
void WiringChecks::sharedResources_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("present");
    QTest::newRow("window icon") << QStringLiteral(":/icons/icons/iosicon.png") << true;
    QTest::newRow("logo") << QStringLiteral(":/icons/icons/logo_middle.png") << true;
    QTest::newRow("logo circle") << QStringLiteral(":/icons/icons/logo_circle.png") << true;
    QTest::newRow("full logo") << QStringLiteral(":/icons/icons/logo_full.png") << true;
    QTest::newRow("windows icon") << QStringLiteral(":/icons/icons/tavlo_windows_icon.ico") << true;
    QTest::newRow("regular face") << QStringLiteral(":/icons/font/Poppins-Regular.ttf") << true;
    QTest::newRow("semibold face") << QStringLiteral(":/icons/font/Poppins-SemiBold.ttf") << true;
    QTest::newRow("bold face") << QStringLiteral(":/icons/font/Poppins-Bold.ttf") << true;
}

void WiringChecks::sharedResources()
{
    QFETCH(QString, path);
    QFETCH(bool, present);
    QCOMPARE(QFile::exists(path), present);
}
