// What the instrument sends reaches the full edition's MidiHandler signals on the MIDI input
// thread itself: every relay between the receiver and the handler is direct, none waits for
// the main thread's event loop (which does not run here).
#include "DeviceRig.h"

#include <QTest>
#include <QThread>

#include <memory>

class TestInputThreadRelays : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void relayedOnInputThread_data();
    void relayedOnInputThread();
};

void TestInputThreadRelays::relayedOnInputThread_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QString>("expected");

    QTest::newRow("version") << QByteArray::fromHex("F07D01312E352E30F7") << "version";
    QTest::newRow("transfer start acknowledged") << QByteArray::fromHex("F07E7F0903F7")
                                                 << "transferStart";
    QTest::newRow("transfer end acknowledged") << QByteArray::fromHex("F07E7F0904F7")
                                               << "transferEnd";
}

void TestInputThreadRelays::relayedOnInputThread()
{
    QFETCH(QByteArray, message);
    QFETCH(QString, expected);

    DeviceRig rig(false);
    rig.makeHandler();
    MidiHandler* handler = rig.handler.get();
    // Filled on the input thread, read here once it has ended.
    QStringList heard;
    QList<QThread*> threads;
    const auto hear = [&heard, &threads](const char* name) {
        return [&heard, &threads, name] {
            heard << QString::fromLatin1(name);
            threads << QThread::currentThread();
        };
    };
    connect(handler, &MidiHandler::tavloReceivedVersion, this, hear("version"),
            Qt::DirectConnection);
    connect(handler, &MidiHandler::transferSysExReceived, this, hear("transferStart"),
            Qt::DirectConnection);
    connect(handler, &MidiHandler::transferSysExEndReceived, this, hear("transferEnd"),
            Qt::DirectConnection);

    std::vector<unsigned char> bytes(message.begin(), message.end());
    const std::unique_ptr<QThread> input(
        QThread::create([&bytes, handler] { MidiHandler::midiCallback(0.0, &bytes, handler); }));
    input->start();
    QVERIFY(input->wait(5000));

    QCOMPARE(heard, QStringList{expected});
    QCOMPARE(threads, QList<QThread*>{input.get()});
}

QTEST_GUILESS_MAIN(TestInputThreadRelays)
#include "tst_input_thread_relays.moc"
