#pragma once

#include <QString>

class Presence;
class UpdateFlow;
class WindowDriver;

// What a fault matrix row reads and presses: the real window (a handful of rows), or the
// flows the window binds to (the others), named as the window's items are.
class FaultScreen
{
public:
    virtual ~FaultScreen() = default;
    // updateButton, startUpdateButton, tryAgainButton, closeApplicationButton,
    // genericProgressBar, versionText.
    virtual bool isShown(const QString& objectName) const = 0;
    // versionText, infoText, failureReasonText, connectionlabel.
    virtual QString text(const QString& objectName) const = 0;
    // "Update", "Start Update", "Try again": false when it is not shown.
    virtual bool clickButton(const QString& caption) = 0;
    virtual bool startEnabled() const = 0;
};

// The real window.
class WindowScreen : public FaultScreen
{
public:
    explicit WindowScreen(WindowDriver& driver) : driver(driver) {}
    bool isShown(const QString& objectName) const override;
    QString text(const QString& objectName) const override;
    bool clickButton(const QString& caption) override;
    bool startEnabled() const override;

private:
    WindowDriver& driver;
};

// The flows, as the window shows them.
class FlowScreen : public FaultScreen
{
public:
    FlowScreen(Presence& presence, UpdateFlow& flow) : presence(presence), flow(flow) {}
    bool isShown(const QString& objectName) const override;
    QString text(const QString& objectName) const override;
    bool clickButton(const QString& caption) override;
    bool startEnabled() const override;

private:
    Presence& presence;
    UpdateFlow& flow;
};
