#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

class QQmlApplicationEngine;
class QQuickItem;
class QQuickWindow;

// Plays a flow through the real window by itself, the way a user would: it waits until a
// screen shows what it expects, takes a screenshot, presses the next button. Used by the
// demo on machines without anyone at the screen.
class DemoAutoplay : public QObject
{
    Q_OBJECT
public:
    struct Step
    {
        QString description;
        std::function<bool()> ready;  // the screen shows what this step waits for
        QString screenshot;           // file name (without .png) taken once ready; may be empty
        std::function<void()> action; // then done (may be empty)
        int timeoutMs = 30000;
    };

    DemoAutoplay(QQmlApplicationEngine& engine, const QDir& screenshotDir, QObject* parent = nullptr);

    void setSteps(std::vector<Step> steps) { this->steps = std::move(steps); }
    void start();

    // Window helpers for the steps.
    QQuickItem* item(const QString& objectName) const;
    bool isShown(const QString& objectName) const;
    QString text(const QString& objectName) const;
    // Presses a shown, enabled button; false when a user could not press it.
    bool press(const QString& objectName);
    QString takeScreenshot(const QString& name);

    bool failed() const { return failure; }
    QStringList screenshots() const { return shots; }

Q_SIGNALS:
    void stepReached(const QString& description);
    void screenshotTaken(const QString& path);
    void finished(bool success, const QString& message);

private:
    void tick();
    QQuickWindow* window() const;

    QQmlApplicationEngine& engine;
    QDir screenshotDir;
    std::vector<Step> steps;
    std::size_t current = 0;
    QTimer poll;
    QElapsedTimer stepClock;
    bool failure = false;
    QStringList shots;
};
