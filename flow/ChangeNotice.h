#pragma once

#include <functional>

class QObject;

// One change notification per event-loop turn for an object whose properties all share one
// NOTIFY signal: every change calls mark(), and the owner's signal is emitted once, from the
// event loop, however many changes came before it. The getters compute from the owner's state,
// so what is read right after a change is already the new value; only the notification waits.
// A notification still pending when the owner is destroyed is dropped with it.
class ChangeNotice
{
public:
    ChangeNotice(QObject& owner, std::function<void()> emitChanged);
    ChangeNotice(const ChangeNotice&) = delete;
    ChangeNotice& operator=(const ChangeNotice&) = delete;

    void mark();
    bool pending() const { return isPending; }

private:
    QObject& owner;
    std::function<void()> emitChanged;
    bool isPending = false;
};
