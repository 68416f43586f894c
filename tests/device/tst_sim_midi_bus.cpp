// The simulated MIDI service behaves like the real one where the device link depends on it:
// ports come and go with their USB identity, sends on closed or vanished ports, delivery on a
// thread of its own that stops the moment a callback is cancelled or a port closed.
#include "SimMidiBus.h"
#include "SimMidiInstrument.h"
#include "SysExMessages.h"
#include "MidiBackend.h"
#include "MidiInput.h"
#include "MidiOutput.h"

#include <QSignalSpy>
#include <QTest>


#include <atomic>
#include <chrono>
#include <thread>

class TestSimMidiBus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void portsAppearAndVanish();
    void sendsOnClosedAndVanishedPorts();
    void faultsOnRequest();
    void filtersUntilSwitchedOff();
    void noDeliveryAfterCancelOrClose_data();
    void noDeliveryAfterCancelOrClose();
    void builtInReactionsCanBeSwitchedOff();
    void unpluggedBeforeReadingNeverReads();
};

namespace {

std::atomic<int> delivered{0};

void countingCallback(double, std::vector<unsigned char>*, void*)
{
    delivered.fetch_add(1);
}

// Slow enough that most messages are still queued when the test stops the input; counts the
// calls that come after the stop has returned.
std::atomic<bool> stopped{false};
std::atomic<int> lateCalls{0};

void slowCountingCallback(double, std::vector<unsigned char>*, void*)
{
    if (stopped.load())
        lateCalls.fetch_add(1);
    delivered.fetch_add(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

} // namespace

void TestSimMidiBus::portsAppearAndVanish()
{
    SimMidiBus bus;
    SimMidiInstrument instrument(&bus);
    auto lookup = bus.usbLookup();
    auto input = bus.backend()->createInput();
    QCOMPARE(input->getPortCount(), std::optional<unsigned int>(0u));

    instrument.joinBus();
    QCOMPARE(input->getPortCount(), std::optional<unsigned int>(1u));
    const QString first = QString::fromStdString(input->getPortName(0).value());
    QVERIFY(first.endsWith(QStringLiteral(" 24:0")));
    const UsbIds ids = lookup->lookUp(first);
    QVERIFY(ids.found);
    QCOMPARE(ids.vendorId, QStringLiteral("1D6B"));
    QCOMPARE(ids.productId, QStringLiteral("0104"));

    instrument.leaveBus();
    QCOMPARE(input->getPortCount(), std::optional<unsigned int>(0u));
    QVERIFY(!lookup->lookUp(first).found);
    // Back under a new client number, as after a real re-enumeration.
    instrument.joinBus();
    const QString second = QString::fromStdString(input->getPortName(0).value());
    QVERIFY(second != first);
    QVERIFY(lookup->lookUp(second).found);
    QCOMPARE(input->getPortName(5), std::optional<std::string>(std::string()));
}

void TestSimMidiBus::sendsOnClosedAndVanishedPorts()
{
    SimMidiBus bus;
    SimMidiInstrument instrument(&bus);
    instrument.joinBus();
    auto output = bus.backend()->createOutput();
    QSignalSpy received(&instrument, &SimMidiInstrument::messageReceived);

    QVERIFY(output->sendMessage(SysEx::MIDI_SYSEX_VERSION_REQUEST)); // closed: dropped
    QCOMPARE(bus.droppedSendCount(), 1);

    QVERIFY(!output->openPort(3, "RtMidi Output"));
    QVERIFY(output->openPort(0, "RtMidi Output"));
    instrument.setReactionEnabled(SimMidiInstrument::Reaction::ReplyToVersionRequest, false);
    QVERIFY(output->sendMessage(SysEx::MIDI_SYSEX_VERSION_REQUEST));
    QTRY_COMPARE(received.count(), 1);

    instrument.leaveBus();
    QVERIFY(!output->sendMessage(SysEx::MIDI_SYSEX_VERSION_REQUEST));
    QVERIFY(output->closePort());
    QVERIFY(output->sendMessage(SysEx::MIDI_SYSEX_VERSION_REQUEST));
    QVERIFY(!output->sendMessage({})); // an empty message never goes out
    QCOMPARE(bus.droppedSendCount(), 2);
}

void TestSimMidiBus::faultsOnRequest()
{
    SimMidiBus bus;
    SimMidiInstrument instrument(&bus);
    instrument.joinBus();
    auto backend = bus.backend();

    bus.setMidiServiceAvailable(false);
    QVERIFY(!backend->createInput());
    QVERIFY(!backend->createOutput());
    bus.setMidiServiceAvailable(true);

    auto input = backend->createInput();
    auto output = backend->createOutput();
    bus.failNextPortOpens(1);
    QVERIFY(!output->openPort(0, "RtMidi Output"));
    QVERIFY(output->openPort(0, "RtMidi Output"));

    bus.failNextSends(2);
    QVERIFY(!output->sendMessage(SysEx::MIDI_SYSEX_UPDATE_FINISH));
    QVERIFY(!output->sendMessage(SysEx::MIDI_SYSEX_UPDATE_FINISH));
    QVERIFY(output->sendMessage(SysEx::MIDI_SYSEX_UPDATE_FINISH));
    QTRY_COMPARE(instrument.updateFinishCount(), 1);
    QCOMPARE(bus.failedSendCount(), 2);

    bus.setUnreadablePortName(bus.inputPortNames().constFirst());
    QCOMPARE(input->getPortName(0), std::optional<std::string>());
}

void TestSimMidiBus::filtersUntilSwitchedOff()
{
    SimMidiBus bus;
    SimMidiInstrument instrument(&bus);
    instrument.joinBus();
    auto input = bus.backend()->createInput();
    input->openPort(0, "RtMidi Input");
    input->setCallback(&countingCallback, nullptr);
    delivered = 0;

    // Like the MIDI library: SysEx, clock and active sensing are dropped by default.
    QVERIFY(!instrument.sendToProgram(QByteArray::fromHex("F07E7F0903F7")));
    QVERIFY(!instrument.sendToProgram(QByteArray::fromHex("F8")));
    QVERIFY(!instrument.sendToProgram(QByteArray::fromHex("FE")));
    QVERIFY(instrument.sendToProgram(QByteArray::fromHex("903C7F")));
    input->ignoreTypes(false, false, false);
    QVERIFY(instrument.sendToProgram(QByteArray::fromHex("F07E7F0903F7")));
    QVERIFY(instrument.sendToProgram(QByteArray::fromHex("F8")));
    QTRY_COMPARE(delivered.load(), 3);
}

void TestSimMidiBus::noDeliveryAfterCancelOrClose_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("cancel callback") << 0;
    QTest::newRow("close port") << 1;
    QTest::newRow("delete input") << 2;
}

void TestSimMidiBus::noDeliveryAfterCancelOrClose()
{
    QFETCH(int, how);
    SimMidiBus bus;
    SimMidiInstrument instrument(&bus);
    instrument.joinBus();
    auto input = bus.backend()->createInput();
    input->openPort(0, "RtMidi Input");
    input->ignoreTypes(false, false, false);
    input->setCallback(&slowCountingCallback, nullptr);
    delivered = 0;
    stopped = false;
    lateCalls = 0;

    for (int i = 0; i < 300; ++i)
        instrument.sendToProgram(QByteArray::fromHex("F07D01312E352E30F7"));
    if (how == 0)
        input->cancelCallback();
    else if (how == 1)
        input->closePort();
    else
        input.reset();
    stopped = true;
    const int atStop = delivered.load();
    QTest::qWait(600);
    QCOMPARE(lateCalls.load(), 0);
    QCOMPARE(delivered.load(), atStop);
}

void TestSimMidiBus::builtInReactionsCanBeSwitchedOff()
{
    SimMidiBus bus;
    SimMidiInstrument instrument(&bus);
    instrument.setRejoinDelay(100);
    instrument.joinBus();
    auto output = bus.backend()->createOutput();
    output->openPort(0, "RtMidi Output");
    QSignalSpy left(&instrument, &SimMidiInstrument::leftBus);
    QSignalSpy joined(&instrument, &SimMidiInstrument::joinedBus);
    QSignalSpy updateMode(&instrument, &SimMidiInstrument::updateModeReceived);

    // A composing object keeps the instrument on the bus itself.
    instrument.setReactionEnabled(SimMidiInstrument::Reaction::LeaveOnUpdateMode, false);
    output->sendMessage(SysEx::MIDI_SYSEX_UPDATE_MODE);
    QTRY_COMPARE(updateMode.count(), 1);
    QVERIFY(instrument.isOnBus());
    QCOMPARE(left.count(), 0);

    instrument.setReactionEnabled(SimMidiInstrument::Reaction::LeaveOnUpdateMode, true);
    output->sendMessage(SysEx::MIDI_SYSEX_UPDATE_MODE);
    QTRY_COMPARE(left.count(), 1);
    QTRY_COMPARE(joined.count(), 1);
    QCOMPARE(instrument.mode(), SimMidiInstrument::Mode::Update);

    // A later leave cancels a pending return.
    instrument.joinBusAfter(100);
    instrument.leaveBus();
    QTest::qWait(250);
    QVERIFY(!instrument.isOnBus());
}

void TestSimMidiBus::unpluggedBeforeReadingNeverReads()
{
    SimMidiBus bus;
    SimMidiInstrument instrument(&bus);
    instrument.setRejoinDelay(20);
    instrument.joinBus();
    auto output = bus.backend()->createOutput();
    QVERIFY(output->openPort(0, "RtMidi Output"));
    QSignalSpy received(&instrument, &SimMidiInstrument::messageReceived);
    QSignalSpy joined(&instrument, &SimMidiInstrument::joinedBus);

    // Unplugged after the send returned but before the instrument read the message: it never
    // reads it, so it does not start the round trip the message asks for and stays unplugged.
    QVERIFY(output->sendMessage(SysEx::MIDI_SYSEX_TRANSFER_START));
    instrument.leaveBus();
    QTest::qWait(150);
    QCOMPARE(received.count(), 0);
    QVERIFY(!instrument.isOnBus());
    QCOMPARE(joined.count(), 0);
    QCOMPARE(instrument.mode(), SimMidiInstrument::Mode::Normal);

    // Plugged in again before reading: the message went to the earlier attachment.
    output->closePort();
    instrument.joinBus();
    QVERIFY(output->openPort(0, "RtMidi Output"));
    QVERIFY(output->sendMessage(SysEx::MIDI_SYSEX_TRANSFER_START));
    instrument.leaveBus();
    instrument.joinBus();
    QTest::qWait(150);
    QCOMPARE(received.count(), 0);
    QCOMPARE(instrument.mode(), SimMidiInstrument::Mode::Normal);
    QCOMPARE(joined.count(), 2);

    // Read while still attached: the round trip runs as before.
    output->closePort();
    QVERIFY(output->openPort(0, "RtMidi Output"));
    QVERIFY(output->sendMessage(SysEx::MIDI_SYSEX_TRANSFER_START));
    QTRY_COMPARE(received.count(), 1);
    QTRY_COMPARE(joined.count(), 3);
    QCOMPARE(instrument.mode(), SimMidiInstrument::Mode::Transfer);
}

QTEST_GUILESS_MAIN(TestSimMidiBus)
#include "tst_sim_midi_bus.moc"
