#pragma once

#include <QString>

class QGuiApplication;

// Who the program says it is: the names the desktop shows and the application-wide icon.
struct AppIdentity
{
    QString applicationName;
    QString organizationName;
    QString organizationDomain;
    QString applicationVersion;
    QString windowIconPath;

    static AppIdentity fullEdition();
    static AppIdentity updateOnlyEdition();
};
