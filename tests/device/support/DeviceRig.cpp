#include "DeviceRig.h"

#include "HandlerSignals.h"

#include <QMetaObject>

DeviceRig::DeviceRig(bool attached)
{
    timeline.watch(&bus, &SimMidiBus::programSent, QStringLiteral("sent"));
    timeline.watch(&bus, &SimMidiBus::programSendWasDropped, QStringLiteral("dropped"));
    timeline.watch(&instrument, &SimMidiInstrument::versionRequested, QStringLiteral("versionRequested"));
    timeline.watch(&instrument, &SimMidiInstrument::leftBus, QStringLiteral("left"));
    timeline.watch(&instrument, &SimMidiInstrument::joinedBus, QStringLiteral("joined"));
    // The instrument's own round trip, on the tests' time scale.
    instrument.setRejoinDelay(ShortDeviceTimings::ms(1000));
    if (attached)
        instrument.joinBus();
}

void DeviceRig::makeHandler()
{
    handler = std::make_unique<MidiHandler>(bus.backend(), bus.usbLookup(),
                                            ShortDeviceTimings::timings());
    watchHandlerSignals(timeline, handler.get());
}

QByteArray DeviceRig::bytes(const std::vector<unsigned char>& message)
{
    return QByteArray(reinterpret_cast<const char*>(message.data()),
                      static_cast<qsizetype>(message.size()));
}

QList<QByteArray> DeviceRig::sentToInstrument() const
{
    QList<QByteArray> list;
    for (const auto& e : timeline.events(QStringLiteral("sent")))
        list << e.args.at(1).toByteArray();
    return list;
}

int DeviceRig::sentCount(const std::vector<unsigned char>& message) const
{
    return static_cast<int>(sentToInstrument().count(bytes(message)));
}

QList<qint64> DeviceRig::sentTimes(const std::vector<unsigned char>& message) const
{
    QList<qint64> times;
    for (const auto& e : timeline.events(QStringLiteral("sent"))) {
        if (e.args.at(1).toByteArray() == bytes(message))
            times << e.ms;
    }
    return times;
}

bool DeviceRig::checkNow()
{
    bool result = false;
    QMetaObject::invokeMethod(handler.get(), "checkForTavloHost", Qt::DirectConnection,
                              Q_RETURN_ARG(bool, result));
    return result;
}

bool DeviceRig::startConnected()
{
    makeHandler();
    if (!checkNow() || !timeline.waitFor(QStringLiteral("version"), 1, ShortDeviceTimings::ms(2000)))
        return false;
    timeline.restart();
    return true;
}

bool DeviceRig::near(qint64 t, qint64 expected, qint64 tolerance)
{
    return t >= 0 && qAbs(t - expected) <= tolerance;
}
