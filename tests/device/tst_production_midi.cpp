// The production MIDI service on a machine without one (as the build machine): the MIDI
// library's error ends in its adapter, and the handler stays inert and never crashes.
#include "device/full/MidiHandler.h"
#include "ProductionMidi.h"
#include "MidiBackend.h"
#include "MidiInput.h"
#include "MidiOutput.h"
#include "ShortDeviceTimings.h"

#include <QSignalSpy>
#include <QTest>

class TestProductionMidi : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void handlerWithoutMidiService();
};

void TestProductionMidi::handlerWithoutMidiService()
{
    auto backend = createProductionMidiBackend();
    auto usb = createProductionUsbIdentityLookup();
    QVERIFY(backend);
    QVERIFY(usb);

    // Without a service the objects come back empty; with one they answer without throwing.
    const std::unique_ptr<MidiInput> input = backend->createInput();
    const bool serviceAvailable = input != nullptr;
    if (serviceAvailable) {
        QVERIFY(input->getPortCount().has_value());
        const std::unique_ptr<MidiOutput> output = backend->createOutput();
        QVERIFY(output);
        QVERIFY(!output->sendMessage({})); // an empty message is refused, not thrown
    }

    MidiHandler handler(backend, usb, ShortDeviceTimings::timings());
    QSignalSpy found(&handler, &MidiHandler::deviceFound);
    QSignalSpy finished(&handler, &MidiHandler::deviceReenumerationFinished);
    handler.fileDownloaded(true);
    handler.sendTransferSysEx();
    QTest::qWait(ShortDeviceTimings::ms(1200));
    if (!serviceAvailable)
        QCOMPARE(found.count(), 0);
    // A plain port name has no USB device behind it on any platform.
    QVERIFY(!handler.lookUpUsbIds(QStringLiteral("No Such Port")).found);
}

QTEST_GUILESS_MAIN(TestProductionMidi)
#include "tst_production_midi.moc"
