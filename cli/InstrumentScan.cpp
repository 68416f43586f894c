#include "InstrumentScan.h"

#include "InstrumentPorts.h"
#include "MidiBackend.h"
#include "MidiInput.h"
#include "MidiOutput.h"

#include <QRegularExpression>

namespace {

template <class Port>
QStringList instrumentPorts(Port* port, UsbIdentityLookup& usb)
{
    QStringList names;
    if (!port)
        return names;
    const std::optional<unsigned int> count = port->getPortCount();
    for (unsigned int i = 0; count && i < *count; ++i) {
        const std::optional<std::string> name = port->getPortName(i);
        if (!name)
            continue;
        const QString text = QString::fromStdString(*name);
        if (InstrumentPorts::isInstrumentIdentity(usb.lookUp(text)))
            names << text;
    }
    return names;
}

QString withoutClientNumbers(const QString& name)
{
    static const QRegularExpression numbers(QStringLiteral("\\s+\\d+:\\d+$"));
    return QString(name).remove(numbers).trimmed();
}

// The device part of a port name: what stands before the first ':' ("Tavlo:Tavlo MIDI 1 24:0").
QString deviceOf(const QString& name)
{
    return name.section(QLatin1Char(':'), 0, 0);
}

} // namespace

namespace InstrumentScan {

QList<Instrument> scan(MidiBackend& midi, UsbIdentityLookup& usb, MidiProblem* problem)
{
    const std::unique_ptr<MidiInput> in = midi.createInput();
    MidiProblem why = in ? MidiProblem{} : midi.lastProblem();
    const std::unique_ptr<MidiOutput> out = in ? midi.createOutput() : nullptr;
    if (in && !out)
        why = midi.lastProblem();
    if ((!in || !out) && !why.isProblem())
        why.kind = MidiProblem::Kind::LibraryError;
    if (problem)
        *problem = why;
    const QStringList inputs = instrumentPorts(in.get(), usb);
    QStringList outputs = instrumentPorts(out.get(), usb);
    QList<Instrument> found;
    for (const QString& input : inputs) {
        Instrument instrument{input, QString(), usb.lookUp(input)};
        for (int i = 0; i < outputs.size(); ++i) {
            if (deviceOf(outputs.at(i)) == deviceOf(input)
                && withoutClientNumbers(outputs.at(i)) == withoutClientNumbers(input)) {
                instrument.output = outputs.takeAt(i);
                break;
            }
        }
        if (instrument.output.isEmpty() && !outputs.isEmpty())
            instrument.output = outputs.takeFirst();
        found << instrument;
    }
    return found;
}

bool portMatches(const QString& portName, const QString& wanted)
{
    return portName == wanted || withoutClientNumbers(portName) == withoutClientNumbers(wanted);
}

} // namespace InstrumentScan
