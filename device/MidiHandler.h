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
class MidiHandler : public QObject
{
    Q_OBJECT

public:
    MidiHandler(std::shared_ptr<MidiBackend> backend, std::shared_ptr<UsbIdentityLookup> usb,
                QObject* parent = nullptr);
    ~MidiHandler() override;

    // The MIDI input callback, registered with the MidiHandler as user data. Runs on the MIDI
    // library's input thread; touches nothing but ackReceived.
    static void midiCallback(double timeStamp, std::vector<unsigned char>* message, void* userData);

    // A name compared with the friendly name of the USB device behind a port.
    static QString normalizedDeviceName(const QString& name);

    // Whether a device stands behind the port, and its vendor and product IDs.
    UsbIds lookUpUsbIds(const QString& portName);

    // Whether a transfer acknowledgment has arrived since the flag was last cleared.
    bool acknowledgmentSeen() const { return ackReceived.load(); }

Q_SIGNALS:
    void deviceReenumerationFinished(bool success);
    void deviceFound(bool deviceFound);
    void deviceSetToTransferMode();
    void updateTransferDone();
    void transferSysExReceived();
    void transferSysExEndReceived();
    void tavloReceivedVersion(QString version);

private Q_SLOTS:
    bool checkForTavloHost();

public Q_SLOTS:
    void transferComplete(bool success);
    void fileDownloaded(bool success);
    void onEjectCompleted(bool success);

public:
    Q_INVOKABLE void sendTransferSysEx();

private:
    struct PortIndices
    {
        int input = -1;
        int output = -1;
    };

    void createMidiObjects();
    void recreateMidiObjects();
    bool haveMidiObjects() const { return midiIn && midiOut; }
    PortIndices findInstrumentPorts();
    bool openInstrumentPorts(const PortIndices& ports);
    void cancelCallbackQuietly();
    void closeInputQuietly();
    void closeOutputQuietly();

    void sendSysEx(const std::vector<unsigned char>& message);
    void recoverLink();
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
};
