#include "WindowClaim.h"

#include "InstrumentLock.h"
#include "WindowToFront.h"
#include "WiringLog.h"

#include <QCoreApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QUrl>

WindowClaim::WindowClaim(InstrumentLock& lock, WindowToFront& front, int askWaitMs)
    : lock(lock), front(front), askWaitMs(askWaitMs)
{
}

QUrl WindowClaim::inUseDocument()
{
    return QUrl(QStringLiteral("qrc:/qt-project.org/imports/Tavlo_Controls/InUseWindow.qml"));
}

WindowClaim::Outcome WindowClaim::run()
{
    if (lock.acquire(InstrumentLock::Kind::Window)) {
        front.listen();
        return Outcome::Go;
    }
    if (lock.holder().window && WindowToFront::ask(lock.lockFolder(), askWaitMs)) {
        qCInfo(lcWiring, "The window already open came to the front; this one ends");
        return Outcome::BroughtToFront;
    }

    QQmlApplicationEngine engine;
    engine.setInitialProperties(
        {{QStringLiteral("sentence"), InstrumentLock::inUseSentence(lock.holder())}});
    engine.load(inUseDocument());
    window = engine.rootObjects().value(0);
    if (!window) {
        qCWarning(lcWiring, "The in-use window could not be made");
        return Outcome::Closed;
    }
    connect(window, SIGNAL(retryRequested()), this, SLOT(onRetry()));
    connect(window, SIGNAL(closeRequested()), this, SLOT(onClose()));
    // Closed by the window system, it ends the loop as "Close" does.
    QCoreApplication::exec();
    return go ? Outcome::Go : Outcome::Closed;
}

void WindowClaim::onRetry()
{
    if (lock.acquire(InstrumentLock::Kind::Window)) {
        go = true;
        front.listen();
        QCoreApplication::exit(0);
        return;
    }
    if (window)
        window->setProperty("sentence", InstrumentLock::inUseSentence(lock.holder()));
}

void WindowClaim::onClose()
{
    go = false;
    QCoreApplication::exit(0);
}

void WindowClaim::raiseOnRequest(WindowToFront& front, QQmlApplicationEngine& engine)
{
    QObject::connect(&front, &WindowToFront::requested, &engine, [&engine] {
        for (QObject* root : engine.rootObjects()) {
            if (auto* window = qobject_cast<QQuickWindow*>(root)) {
                if (window->visibility() == QWindow::Minimized)
                    window->showNormal();
                window->show();
                window->raise();
                window->requestActivate();
            }
        }
    });
}
