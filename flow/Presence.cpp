#include "Presence.h"

#include "FirmwareVersion.h"

Presence::Presence(QObject* parent) : QObject(parent) {}

bool Presence::offersTransfer() const
{
    return FirmwareVersion::offersTransfer(version);
}

QString Presence::labelText() const
{
    switch (shown) {
    case Indicator::Searching:
        return tr("Looking for Tavlo");
    case Indicator::Connected:
        return tr("Tavlo is connected");
    case Indicator::Disconnected:
        break;
    }
    return tr("Tavlo is not connected");
}

QString Presence::dotColor() const
{
    switch (shown) {
    case Indicator::Searching:
        return QStringLiteral("orange");
    case Indicator::Connected:
        return QStringLiteral("green");
    case Indicator::Disconnected:
        break;
    }
    return QStringLiteral("red");
}

void Presence::holdFound(bool held)
{
    foundHeld = held;
}

void Presence::expectAbsence(bool expected)
{
    expectingAbsence = expected;
}

void Presence::hideIndicator()
{
    if (hidden)
        return;
    hidden = true;
    emit changed();
}

void Presence::onDeviceFound(bool found)
{
    const bool wasConnected = isConnected;
    const Indicator wasShown = shown;
    if (found) {
        isConnected = true;
        if (!foundHeld)
            shown = Indicator::Connected;
        if (isConnected != wasConnected || shown != wasShown)
            emit changed();
        if (!foundHeld)
            emit this->found();
        return;
    }
    // While the instrument is expected to leave the bus, its absence is not shown.
    if (expectingAbsence)
        return;
    isConnected = false;
    shown = Indicator::Disconnected;
    if (isConnected != wasConnected || shown != wasShown)
        emit changed();
    emit lost();
}

void Presence::onVersionReported(const QString& reported)
{
    const bool changedVersion = version != reported;
    version = reported;
    if (changedVersion)
        emit changed();
    emit versionReported();
}

void Presence::onMidiProblem(const QString& sentence)
{
    if (problemText == sentence)
        return;
    problemText = sentence;
    emit changed();
}
