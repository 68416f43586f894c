#pragma once

#include <functional>

class QObject;

// The change notification of an object whose properties share one NOTIFY signal, told either
// at once (now()) or once per event-loop turn (mark()): a burst of marks in one turn, such as
// a catalogue's entries handed on one by one, is told once, from the event loop. now() tells
// at once and takes a mark still waiting along, so that nothing is told twice. The getters
// compute from the owner's state: what is read right after a change is already new, only its
// notification may wait. A notification still waiting when the owner goes is dropped with it.
class ChangeNotice
{
public:
    ChangeNotice(QObject& owner, std::function<void()> emitChanged);
    ChangeNotice(const ChangeNotice&) = delete;
    ChangeNotice& operator=(const ChangeNotice&) = delete;

    void now();
    void mark();
    bool pending() const { return isPending; }

private:
    QObject& owner;
    std::function<void()> emitChanged;
    bool isPending = false;
};
