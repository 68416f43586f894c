#include "SimMidiDelivery.h"

void SimMidiDelivery::setCallback(int inputId, MidiInput::Callback callback, void* userData)
{
    Entry& entry = entries[inputId];
    entry.callback = callback;
    entry.userData = userData;
}

void SimMidiDelivery::setOpenSession(int inputId, unsigned long long session)
{
    entries[inputId].session = session;
}

void SimMidiDelivery::forget(int inputId)
{
    entries.erase(inputId);
}

void SimMidiDelivery::deliver(int inputId, unsigned long long session, std::vector<unsigned char> message)
{
    const auto it = entries.find(inputId);
    if (it == entries.end())
        return;
    const Entry& entry = it->second;
    // A message sent to an earlier opening of the port, or to a closed port, is lost.
    if (entry.session == 0 || entry.session != session || entry.callback == nullptr)
        return;
    entry.callback(0.0, &message, entry.userData);
}
