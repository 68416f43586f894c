#pragma once

#include <QObject>
#include <QPointer>

class InstrumentLock;
class QQmlApplicationEngine;
class QUrl;
class WindowToFront;

// A window's start claims the instrument before anything talks to it. When another window
// holds it, that one is asked to come to the front and this one ends; when "tavlo" (or a
// window that does not answer) holds it, a small window says who, with "Try again" and
// "Close", until the lock is had or the user closes it.
class WindowClaim : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        Go,             // the lock is this window's (or cannot be made): the window opens
        BroughtToFront, // the window already open came to the front
        Closed,         // the user closed the small window
    };

    // askWaitMs: how long the window already open has to answer.
    WindowClaim(InstrumentLock& lock, WindowToFront& front, int askWaitMs = 3000);

    // Runs the claim (with its own event loop while the small window shows).
    Outcome run();

    // The in-use window's document.
    static QUrl inUseDocument();

    // Once the main window is loaded: a request from a second window brings it to the front.
    static void raiseOnRequest(WindowToFront& front, QQmlApplicationEngine& engine);

private Q_SLOTS:
    void onRetry();
    void onClose();

private:
    InstrumentLock& lock;
    WindowToFront& front;
    int askWaitMs;
    QPointer<QObject> window;
    bool go = false;
};
