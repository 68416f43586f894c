// How the program reads what the instrument sends: the incoming-message table, called directly
// and delivered across the simulated MIDI input thread.
#include "DeviceRig.h"
#include "SysExMessages.h"

#include <QMetaMethod>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>


constexpr auto ms = ShortDeviceTimings::ms;
class TestIncomingMessages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void table_data();
    void table();
    void endAckWhileWaitingForStartAck();
    void deliveredOnInputThread();
    void nothingFilteredOut();
    void metaObjectInterface();
};

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

} // namespace

void TestIncomingMessages::table_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QString>("version"); // null: no version reported
    QTest::addColumn<bool>("startAck");
    QTest::addColumn<bool>("endAck");

    const QString none;
    QTest::newRow("empty") << QByteArray() << none << false << false;
    QTest::newRow("version, 5 characters (9 bytes)") << hex("F07D01312E352E30F7") << "1.5.0" << false << false;
    QTest::newRow("version, 4 characters (8 bytes)") << hex("F07D01312E3530F7") << none << false << false;
    QTest::newRow("version, long") << hex("F07D0131302E32302E333030F7") << "10.20.300" << false << false;
    QTest::newRow("version, last byte not F7") << hex("F07D01312E352E3000") << none << false << false;
    QTest::newRow("version, wrong identifier") << hex("F07E01312E352E30F7") << none << false << false;
    QTest::newRow("version, wrong fixed byte") << hex("F07D02312E352E30F7") << none << false << false;
    QTest::newRow("version, Latin-1 bytes kept")
        << hex("F07D01312E35E920F7") << QStringLiteral("1.5\u00E9 ") << false << false;
    QTest::newRow("version, NUL kept") << hex("F07D013100322E33F7") << QString::fromLatin1("1\0" "2.3", 5) << false << false;
    QTest::newRow("version without leading F0") << hex("907D01312E352E30F7") << none << false << false;
    QTest::newRow("transfer start ack (6 bytes)") << hex("F07E7F0903F7") << none << true << false;
    QTest::newRow("transfer end ack (6 bytes)") << hex("F07E7F0904F7") << none << false << true;
    QTest::newRow("other 6-byte command") << hex("F07E7F0905F7") << none << false << false;
    QTest::newRow("start ack with extra byte (7 bytes)") << hex("F07E7F0903F700") << none << false << false;
    QTest::newRow("6 bytes not starting with F0") << hex("907E7F0903F7") << none << false << false;
    QTest::newRow("7-byte SysEx (update mode echoed)") << hex("F00001030101F7") << none << false << false;
    QTest::newRow("8-byte SysEx") << hex("F0000103010102F7") << none << false << false;
    QTest::newRow("short SysEx") << hex("F0F7") << none << false << false;
    QTest::newRow("Note On") << hex("903C7F") << none << false << false;
    QTest::newRow("timing clock") << hex("F8") << none << false << false;
}

void TestIncomingMessages::table()
{
    QFETCH(QByteArray, message);
    QFETCH(QString, version);
    QFETCH(bool, startAck);
    QFETCH(bool, endAck);

    DeviceRig rig(false);
    rig.makeHandler();
    QSignalSpy versions(rig.handler.get(), &MidiHandler::tavloReceivedVersion);
    QSignalSpy starts(rig.handler.get(), &MidiHandler::transferSysExReceived);
    QSignalSpy ends(rig.handler.get(), &MidiHandler::transferSysExEndReceived);

    std::vector<unsigned char> bytes(message.begin(), message.end());
    MidiHandler::midiCallback(0.0, &bytes, rig.handler.get());

    QCOMPARE(versions.count(), version.isNull() ? 0 : 1);
    if (!version.isNull())
        QCOMPARE(versions.at(0).at(0).toString(), version);
    QCOMPARE(starts.count(), startAck ? 1 : 0);
    QCOMPARE(ends.count(), endAck ? 1 : 0);
    QCOMPARE(rig.handler->acknowledgmentSeen(), startAck || endAck);
}

void TestIncomingMessages::endAckWhileWaitingForStartAck()
{
    // The instrument answers the resent transfer start with the transfer-end bytes: the wait
    // still ends as acknowledged, and only the end signal is emitted.
    DeviceRig rig;
    rig.instrument.setRejoinDelay(ms(500));
    rig.instrument.setReactionEnabled(SimMidiInstrument::Reaction::AcknowledgeTransferMessage, false);
    QObject::connect(&rig.instrument, &SimMidiInstrument::transferStartReceived, &rig.instrument, [&rig] {
        if (rig.instrument.mode() == SimMidiInstrument::Mode::Transfer)
            rig.instrument.sendToProgram(DeviceRig::bytes(SysEx::MIDI_SYSEX_TRANSFER_END));
    });
    rig.makeHandler();
    QVERIFY(rig.timeline.waitFor("deviceFound", 1, ms(3000)));

    rig.timeline.restart();
    rig.handler->sendTransferSysEx();
    QVERIFY2(rig.timeline.waitFor("finished", 1, ms(6000)), qPrintable(rig.timeline.dump()));
    QCOMPARE(rig.timeline.count("transferEndAck"), 1);
    QCOMPARE(rig.timeline.count("transferStartAck"), 0);
    QCOMPARE(rig.timeline.events("finished").at(0).args.at(0).toBool(), true);
    // Acknowledged at the first resend, so the wait ends at the next send tick, not after
    // three sends and the grace time.
    QCOMPARE(rig.sentCount(SysEx::MIDI_SYSEX_TRANSFER_START), 2);
    const qint64 ackAt = rig.timeline.at("transferEndAck");
    QVERIFY2(qAbs(rig.timeline.at("finished") - ackAt - ms(500)) <= ms(300), qPrintable(rig.timeline.dump()));
}

void TestIncomingMessages::deliveredOnInputThread()
{
    DeviceRig rig;
    rig.instrument.setFirmwareVersion(QStringLiteral("2.0.1"));
    rig.makeHandler();
    // Set on the input thread, read here: the timeline may hear the signal before this
    // connection runs, so the test waits for it rather than assuming it ran.
    std::atomic<QThread*> callbackThread{nullptr};
    QObject::connect(rig.handler.get(), &MidiHandler::tavloReceivedVersion, rig.handler.get(),
                     [&callbackThread] { callbackThread = QThread::currentThread(); },
                     Qt::DirectConnection);
    QVERIFY(rig.timeline.waitFor("version", 1, ms(4000)));
    QCOMPARE(rig.timeline.events("version").at(0).args.at(0).toString(), QStringLiteral("2.0.1"));
    QTRY_VERIFY(callbackThread.load() != nullptr);
    QVERIFY(callbackThread.load() != QThread::currentThread());
}

void TestIncomingMessages::nothingFilteredOut()
{
    // The input delivers every type once the handler switched filtering off; the MIDI objects
    // made anew for a wait get the same treatment.
    DeviceRig rig;
    rig.makeHandler();
    QVERIFY(rig.timeline.waitFor("deviceFound", 1, ms(3000)));
    QSignalSpy versions(rig.handler.get(), &MidiHandler::tavloReceivedVersion);
    QVERIFY(rig.instrument.sendToProgram(hex("F8")));
    QVERIFY(rig.instrument.sendToProgram(hex("FE")));
    QVERIFY(rig.instrument.sendToProgram(hex("F07D01392E392E39F7")));
    QTRY_COMPARE(versions.count(), 1);

    rig.instrument.setRejoinDelay(ms(300));
    rig.handler->sendTransferSysEx();
    QVERIFY(rig.timeline.waitFor("finished", 1, ms(6000)));
    QVERIFY(rig.instrument.sendToProgram(hex("F07D01392E392E38F7")));
    QTRY_COMPARE(versions.count(), 2);
    QCOMPARE(versions.at(1).at(0).toString(), QStringLiteral("9.9.8"));
}

void TestIncomingMessages::metaObjectInterface()
{
    // The window and the wiring reach the handler by these names, in this order.
    const QList<QPair<QByteArray, QMetaMethod::MethodType>> expected{
        {"deviceReenumerationFinished(bool)", QMetaMethod::Signal},
        {"deviceFound(bool)", QMetaMethod::Signal},
        {"deviceSetToTransferMode()", QMetaMethod::Signal},
        {"updateModeFailed(QString)", QMetaMethod::Signal},
        {"updateTransferDone()", QMetaMethod::Signal},
        {"updateFinishFailed(QString)", QMetaMethod::Signal},
        {"transferSysExReceived()", QMetaMethod::Signal},
        {"transferSysExEndReceived()", QMetaMethod::Signal},
        {"tavloReceivedVersion(QString)", QMetaMethod::Signal},
        {"midiProblemChanged(QString)", QMetaMethod::Signal},
        {"checkForTavloHost()", QMetaMethod::Slot},
        {"transferComplete(bool)", QMetaMethod::Slot},
        {"fileDownloaded(bool)", QMetaMethod::Slot},
        {"setInUpdateMode(bool)", QMetaMethod::Slot},
        {"onEjectCompleted(bool)", QMetaMethod::Slot},
        {"sendTransferSysEx()", QMetaMethod::Method},
    };
    const QMetaObject& mo = MidiHandler::staticMetaObject;
    QCOMPARE(mo.methodCount() - mo.methodOffset(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const QMetaMethod m = mo.method(mo.methodOffset() + i);
        QCOMPARE(m.methodSignature(), expected.at(i).first);
        QCOMPARE(m.methodType(), expected.at(i).second);
    }
    const QMetaMethod check = mo.method(mo.indexOfMethod("checkForTavloHost()"));
    QCOMPARE(check.access(), QMetaMethod::Private);
    QCOMPARE(check.returnType(), int(QMetaType::Bool));
    // Why MIDI cannot be used, as a property the window may bind to.
    const QMetaProperty problem = mo.property(mo.indexOfProperty("midiProblemText"));
    QVERIFY(problem.isValid());
    QCOMPARE(problem.notifySignal().methodSignature(), QByteArray("midiProblemChanged(QString)"));
}

QTEST_GUILESS_MAIN(TestIncomingMessages)
#include "tst_incoming_messages.moc"
