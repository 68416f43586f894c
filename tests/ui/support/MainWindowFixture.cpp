#include "MainWindowFixture.h"

#include <QUrl>

MainWindowFixture::MainWindowFixture()
{
    objects.publishTo(driver);
}

bool MainWindowFixture::load()
{
    return driver.load(QUrl(QStringLiteral("qrc:/Tavlo_App/main.qml")));
}

bool MainWindowFixture::playAll(const QStringList& steps)
{
    for (const QString& step : steps) {
        if (!objects.play(step, driver)) {
            qWarning("step failed: %s", qPrintable(objects.error()));
            return false;
        }
    }
    return true;
}
