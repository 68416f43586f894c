#include "DemoAutoplay.h"

#include "QuickItemSearch.h"

#include <QImage>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>

DemoAutoplay::DemoAutoplay(QQmlApplicationEngine& engine, const QDir& screenshotDir, QObject* parent)
    : QObject(parent), engine(engine), screenshotDir(screenshotDir)
{
    poll.setInterval(100);
    connect(&poll, &QTimer::timeout, this, &DemoAutoplay::tick);
}

void DemoAutoplay::start()
{
    current = 0;
    stepClock.start();
    poll.start();
}

QQuickWindow* DemoAutoplay::window() const
{
    const auto roots = engine.rootObjects();
    return roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(roots.first());
}

QQuickItem* DemoAutoplay::item(const QString& objectName) const
{
    return QuickItemSearch::byObjectName(QuickItemSearch::content(window()), objectName);
}

bool DemoAutoplay::isShown(const QString& objectName) const
{
    QQuickItem* i = item(objectName);
    return i && i->isVisible() && i->opacity() > 0.0;
}

QString DemoAutoplay::text(const QString& objectName) const
{
    QQuickItem* i = item(objectName);
    return i ? i->property("text").toString() : QString();
}

bool DemoAutoplay::press(const QString& objectName)
{
    QQuickItem* button = item(objectName);
    if (!button || !button->isVisible() || !button->isEnabled())
        return false;
    return QMetaObject::invokeMethod(button, "clicked");
}

QString DemoAutoplay::takeScreenshot(const QString& name)
{
    QQuickWindow* w = window();
    if (!w)
        return {};
    const QString path = screenshotDir.filePath(name + QStringLiteral(".png"));
    if (!w->grabWindow().save(path))
        return {};
    shots.append(path);
    Q_EMIT screenshotTaken(path);
    return path;
}

void DemoAutoplay::tick()
{
    if (current >= steps.size()) {
        poll.stop();
        Q_EMIT finished(true, QStringLiteral("all steps done"));
        return;
    }
    Step& step = steps[current];
    if (!step.ready || step.ready()) {
        Q_EMIT stepReached(step.description);
        if (!step.screenshot.isEmpty())
            takeScreenshot(step.screenshot);
        if (step.action)
            step.action();
        ++current;
        stepClock.restart();
        return;
    }
    if (stepClock.elapsed() > step.timeoutMs) {
        poll.stop();
        failure = true;
        takeScreenshot(QStringLiteral("failed-at-step-%1").arg(current + 1));
        Q_EMIT finished(false, QStringLiteral("timed out waiting for: %1").arg(step.description));
    }
}
