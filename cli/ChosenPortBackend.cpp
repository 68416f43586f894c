#include "ChosenPortBackend.h"

#include "InstrumentScan.h"
#include "MidiInput.h"
#include "MidiOutput.h"

#include <utility>

namespace {

// The shown ports of one MIDI object: the n-th shown port is the n-th port of the object
// whose name matches; looked up afresh on every call, as the real list changes.
template <class Port>
class ShownPorts
{
public:
    ShownPorts(Port& port, const QString& name) : port(port), name(name) {}

    std::optional<unsigned int> count()
    {
        const std::optional<unsigned int> all = port.getPortCount();
        if (!all)
            return std::nullopt;
        unsigned int shown = 0;
        for (unsigned int i = 0; i < *all; ++i)
            if (matches(i))
                ++shown;
        return shown;
    }

    std::optional<unsigned int> underlying(unsigned int shownIndex)
    {
        const std::optional<unsigned int> all = port.getPortCount();
        for (unsigned int i = 0, shown = 0; all && i < *all; ++i) {
            if (!matches(i))
                continue;
            if (shown++ == shownIndex)
                return i;
        }
        return std::nullopt;
    }

private:
    bool matches(unsigned int i)
    {
        const std::optional<std::string> text = port.getPortName(i);
        return text && InstrumentScan::portMatches(QString::fromStdString(*text), name);
    }

    Port& port;
    QString name;
};

class ChosenInput : public MidiInput
{
public:
    ChosenInput(std::unique_ptr<MidiInput> in, const QString& name) : in(std::move(in)), shown(*this->in, name) {}
    std::optional<unsigned int> getPortCount() override { return shown.count(); }
    std::optional<std::string> getPortName(unsigned int n) override
    {
        const auto i = shown.underlying(n);
        return i ? in->getPortName(*i) : std::nullopt;
    }
    bool openPort(unsigned int n, const std::string& name) override
    {
        const auto i = shown.underlying(n);
        return i && in->openPort(*i, name);
    }
    bool closePort() override { return in->closePort(); }
    MidiProblem lastProblem() const override { return in->lastProblem(); }
    bool setCallback(Callback callback, void* userData) override { return in->setCallback(callback, userData); }
    bool cancelCallback() override { return in->cancelCallback(); }
    bool ignoreTypes(bool sysex, bool time, bool sense) override { return in->ignoreTypes(sysex, time, sense); }

private:
    std::unique_ptr<MidiInput> in;
    ShownPorts<MidiInput> shown;
};

class ChosenOutput : public MidiOutput
{
public:
    ChosenOutput(std::unique_ptr<MidiOutput> out, const QString& name) : out(std::move(out)), shown(*this->out, name) {}
    std::optional<unsigned int> getPortCount() override { return shown.count(); }
    std::optional<std::string> getPortName(unsigned int n) override
    {
        const auto i = shown.underlying(n);
        return i ? out->getPortName(*i) : std::nullopt;
    }
    bool openPort(unsigned int n, const std::string& name) override
    {
        const auto i = shown.underlying(n);
        return i && out->openPort(*i, name);
    }
    bool closePort() override { return out->closePort(); }
    MidiProblem lastProblem() const override { return out->lastProblem(); }
    bool sendMessage(const std::vector<unsigned char>& message) override { return out->sendMessage(message); }

private:
    std::unique_ptr<MidiOutput> out;
    ShownPorts<MidiOutput> shown;
};

} // namespace

ChosenPortBackend::ChosenPortBackend(std::shared_ptr<MidiBackend> backend, QString portName)
    : backend(std::move(backend)), portName(std::move(portName))
{
}

MidiProblem ChosenPortBackend::lastProblem() const
{
    return backend ? backend->lastProblem() : MidiProblem{};
}

std::unique_ptr<MidiInput> ChosenPortBackend::createInput()
{
    std::unique_ptr<MidiInput> in = backend ? backend->createInput() : nullptr;
    if (!in)
        return nullptr;
    return std::make_unique<ChosenInput>(std::move(in), portName);
}

std::unique_ptr<MidiOutput> ChosenPortBackend::createOutput()
{
    std::unique_ptr<MidiOutput> out = backend ? backend->createOutput() : nullptr;
    if (!out)
        return nullptr;
    return std::make_unique<ChosenOutput>(std::move(out), portName);
}
