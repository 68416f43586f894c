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
    changeNotice.mark();
}

void Presence::onDeviceFound(bool found)
{
    if (found) {
        if (!isConnected || (!foundHeld && shown != Indicator::Connected))
            changeNotice.mark();
        isConnected = true;
        if (!foundHeld)
            shown = Indicator::Connected;
        if (!foundHeld)
            emit this->found();
        return;
    }
    // While the instrument is expected to leave the bus, its absence is not shown.
    if (expectingAbsence)
        return;
    if (isConnected || shown != Indicator::Disconnected)
        changeNotice.mark();
    isConnected = false;
    shown = Indicator::Disconnected;
    emit lost();
}

void Presence::onVersionReported(const QString& reported)
{
    if (version != reported)
        changeNotice.mark();
    version = reported;
    emit versionReported();
}
