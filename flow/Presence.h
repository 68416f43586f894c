#pragma once

#include <QObject>
#include <QString>

// What the window believes about the instrument's presence, and what its indicator under
// the logo shows: looking for it (orange), connected (green), not connected (red), or
// nothing at all once an update has been handed over. Fed by the link's reports; the flows
// tell it when a report must not change what is shown:
// - while an update runs, a found instrument changes nothing (holdFound);
// - while the instrument leaves the bus on purpose (a mode switch), a loss is not shown
//   and not believed (expectAbsence).
// It also keeps the firmware version the instrument last reported and the rule that
// decides whether that firmware offers the transfer mode.
class Presence : public QObject
{
    Q_OBJECT
    Q_PROPERTY(Indicator indicator READ indicator NOTIFY changed)
    Q_PROPERTY(bool indicatorShown READ indicatorShown NOTIFY changed)
    // The indicator says that the instrument is connected (the connection instructions go).
    Q_PROPERTY(bool indicatorConnected READ indicatorConnected NOTIFY changed)
    Q_PROPERTY(bool connected READ connected NOTIFY changed)
    Q_PROPERTY(QString firmware READ firmware NOTIFY changed)
    Q_PROPERTY(bool offersTransfer READ offersTransfer NOTIFY changed)
    Q_PROPERTY(QString labelText READ labelText NOTIFY changed)
    Q_PROPERTY(QString dotColor READ dotColor NOTIFY changed)
    // Why the MIDI service or the instrument's ports cannot be used, as the link says it
    // (a sentence with what to do); empty while nothing stands in the way. Shown under the
    // connection instructions.
    Q_PROPERTY(QString midiProblem READ midiProblem NOTIFY changed)

public:
    enum class Indicator { Searching, Connected, Disconnected };
    Q_ENUM(Indicator)

    explicit Presence(QObject* parent = nullptr);

    Indicator indicator() const { return shown; }
    bool indicatorShown() const { return !hidden; }
    bool indicatorConnected() const { return shown == Indicator::Connected; }
    bool connected() const { return isConnected; }
    QString firmware() const { return version; }
    // The instrument reported firmware 1.5.0 or later (see FirmwareVersion::offersTransfer).
    bool offersTransfer() const;
    QString labelText() const;
    QString dotColor() const;
    bool absenceExpected() const { return expectingAbsence; }
    QString midiProblem() const { return problemText; }

    void holdFound(bool held);
    void expectAbsence(bool expected);
    // The dot and the label go (the logo stays); for good, in this run.
    void hideIndicator();

public Q_SLOTS:
    void onDeviceFound(bool found);
    void onVersionReported(const QString& reported);
    void onMidiProblem(const QString& sentence);

Q_SIGNALS:
    // Something shown changed (not for a report that changes nothing).
    void changed();
    // A loss the window shows (not one it expects): after the indicator turned red.
    void lost();
    // A found instrument the window shows: after the indicator turned green.
    void found();
    void versionReported();

private:
    Indicator shown = Indicator::Searching;
    bool hidden = false;
    bool isConnected = false;
    bool foundHeld = false;
    bool expectingAbsence = false;
    QString version;
    QString problemText;
};
