// The production MIDI service on a machine without one (as the build machine): the MIDI
// library's error reaches the handler, which stays inert and never crashes.
#include "MidiHandler.h"
#include "ProductionMidi.h"
#include "MidiBackend.h"
#include "MidiInput.h"

#include <QSignalSpy>
#include <QTest>

#include <RtMidi.h>

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

    bool serviceAvailable = true;
    try {
        backend->createInput();
    } catch (const RtMidiError&) {
        serviceAvailable = false;
    }

    MidiHandler handler(backend, usb);
    QSignalSpy found(&handler, &MidiHandler::deviceFound);
    QSignalSpy finished(&handler, &MidiHandler::deviceReenumerationFinished);
    handler.fileDownloaded(true);
    handler.sendTransferSysEx();
    QTest::qWait(1200);
    if (!serviceAvailable)
        QCOMPARE(found.count(), 0);
    // A plain port name has no USB device behind it on any platform.
    QVERIFY(!handler.lookUpUsbIds(QStringLiteral("No Such Port")).found);
}

QTEST_GUILESS_MAIN(TestProductionMidi)
#include "tst_ProductionMidi.moc"
