#include "UpdaterWindowFixture.h"

#include <QUrl>

UpdaterWindowFixture::UpdaterWindowFixture()
{
    driver.publish(QStringLiteral("midiHandler"), &midi);
    driver.publish(QStringLiteral("downloader"), &downloader);
    driver.publish(QStringLiteral("mainController"), &controller);
    flows.publishTo(driver);
}

bool UpdaterWindowFixture::load()
{
    return driver.load(QUrl(QStringLiteral("qrc:/Tavlo Updater/main.qml")));
}
