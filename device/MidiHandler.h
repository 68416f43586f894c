#pragma once

#include "UsbIdentityLookup.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <vector>

class MidiBackend;
class MidiInput;
class MidiOutput;
class QTimer;

// The link to the instrument over USB-MIDI: finds its ports by the USB identity behind them,
// speaks its SysEx messages and carries it through its mode switches, during which it leaves
// the USB bus and comes back. Lives on the main thread; only midiCallback runs on the MIDI
// input thread.
//
// Built with TAVLO_UPDATE_ONLY it is the update-only edition's link: no transfer messages and
// no wait for the instrument to come back; the presence poll stops at the first connection.
class MidiHandler : public QObject
{
    Q_OBJECT

public:
    MidiHandler(std::shared_ptr<MidiBackend> backend, std::shared_ptr<UsbIdentityLookup> usb,
                QObject* parent = nullptr);
    ~MidiHandler() override;

    // The MIDI input callback, registered with the MidiHandler as user data. Runs on the MIDI
    // library's input thread; touches nothing but ackReceived (the full edition's).
    static void midiCallback(double timeStamp, std::vector<unsigned char>* message, void* userData);

    // A name compared with the friendly name of the USB device behind a port.
    static QString normalizedDeviceName(const QString& name);

    // Whether a device stands behind the port, and its vendor and product IDs.
    UsbIds lookUpUsbIds(const QString& portName);

#ifndef TAVLO_UPDATE_ONLY
    // Whether a transfer acknowledgment has arrived since the flag was last cleared.
    bool acknowledgmentSeen() const { return ackReceived.load(); }
#endif

Q_SIGNALS:
#ifndef TAVLO_UPDATE_ONLY
    void deviceReenumerationFinished(bool success);
#endif
    void deviceFound(bool deviceFound);
    void deviceSetToTransferMode();
    void updateTransferDone();
#ifndef TAVLO_UPDATE_ONLY
    void transferSysExReceived();
    void transferSysExEndReceived();
#endif
    void tavloReceivedVersion(QString version);

private Q_SLOTS:
    bool checkForTavloHost();

public Q_SLOTS:
    void transferComplete(bool success);
    void fileDownloaded(bool success);
#ifndef TAVLO_UPDATE_ONLY
    void onEjectCompleted(bool success);

public:
    Q_INVOKABLE void sendTransferSysEx();
#endif

private:
    struct PortIndices
    {
        int input = -1;
        int output = -1;
    };

    void createMidiObjects();
    bool haveMidiObjects() const { return midiIn && midiOut; }
    // The instrument's ports in port order. nameUnreadable (when given) tells whether a port
    // count or a port name could not be read on the way.
    PortIndices findInstrumentPorts(bool* nameUnreadable = nullptr);
    bool openInstrumentPorts(const PortIndices& ports);
    void cancelCallbackQuietly();
    void closeInputQuietly();
    void closeOutputQuietly();

    void sendSysEx(const std::vector<unsigned char>& message);
    void recoverLink();

#ifdef TAVLO_UPDATE_ONLY
    // The update-only edition: the presence poll runs until the first connection, the
    // version request goes out as the ports open, and the mode switches send at once.
    std::shared_ptr<MidiBackend> backend;
    std::shared_ptr<UsbIdentityLookup> usb;

    bool reconnecting = false; // set by recoverLink, never cleared
    std::unique_ptr<MidiInput> midiIn;
    std::unique_ptr<MidiOutput> midiOut;
    QTimer* hostCheckTimer = nullptr;
#else
    void recreateMidiObjects();
    void requestVersion();

    void reconnectAndResend(const std::vector<unsigned char>& message);
    void pollForDevice();
    void resendPending();
    void onGraceTimeEnd();
    void onAckTimeout();
    void retryReconnect();
    void finishSequence();
    void stopWaitTimers();
    void emitUnacknowledgedTransferSignal();

    std::shared_ptr<MidiBackend> backend;
    std::shared_ptr<UsbIdentityLookup> usb;

    std::unique_ptr<MidiInput> midiIn;
    std::unique_ptr<MidiOutput> midiOut;
    QTimer* hostCheckTimer = nullptr;
    bool connected = false;
    bool reconnecting = false;
    std::atomic<bool> ackReceived{false};
    std::vector<unsigned char> pendingMessage;
    bool pending = false;
    QTimer* reconnectPollTimer = nullptr;
    QTimer* resendTimer = nullptr;
    QTimer* ackTimeoutTimer = nullptr;
    int pollCount = 0;
    int sendCount = 0;
    int reconnectAttempts = 0;

    // Counts the waits; a delayed step of an earlier wait that is already over does nothing.
    unsigned waitGeneration = 0;
#endif
};
