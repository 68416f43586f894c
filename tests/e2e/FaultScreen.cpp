#include "FaultScreen.h"

#include "Presence.h"
#include "UpdateFlow.h"
#include "WindowDriver.h"

#include <QQuickItem>

bool WindowScreen::isShown(const QString& objectName) const
{
    return driver.isShown(objectName);
}

QString WindowScreen::text(const QString& objectName) const
{
    return driver.text(objectName);
}

bool WindowScreen::clickButton(const QString& caption)
{
    return driver.clickButton(caption);
}

bool WindowScreen::startEnabled() const
{
    const QQuickItem* start = driver.button(QStringLiteral("Start Update"));
    return start && start->isEnabled();
}

bool FlowScreen::isShown(const QString& objectName) const
{
    if (objectName == QLatin1String("updateButton"))
        return flow.updateOffered();
    if (objectName == QLatin1String("startUpdateButton"))
        return flow.startShown();
    if (objectName == QLatin1String("tryAgainButton"))
        return flow.retryShown();
    if (objectName == QLatin1String("closeApplicationButton"))
        return flow.exitShown();
    if (objectName == QLatin1String("genericProgressBar"))
        return flow.progressShown();
    if (objectName == QLatin1String("versionText"))
        return flow.versionLineShown();
    return false;
}

QString FlowScreen::text(const QString& objectName) const
{
    if (objectName == QLatin1String("versionText"))
        return flow.versionLineText();
    if (objectName == QLatin1String("infoText"))
        return flow.noticeText();
    if (objectName == QLatin1String("failureReasonText"))
        return flow.reasonText();
    if (objectName == QLatin1String("confirmationText"))
        return flow.confirmationText();
    if (objectName == QLatin1String("connectionlabel"))
        return presence.labelText();
    return QString();
}

bool FlowScreen::clickButton(const QString& caption)
{
    if (caption == QLatin1String("Update") && flow.updateOffered()) {
        flow.open();
        return true;
    }
    if (caption == QLatin1String("Start Update") && flow.startShown()) {
        flow.start();
        return true;
    }
    if (caption == QLatin1String("Try again") && flow.retryShown()) {
        flow.retry();
        return true;
    }
    return false;
}

bool FlowScreen::startEnabled() const
{
    return flow.startEnabled();
}
