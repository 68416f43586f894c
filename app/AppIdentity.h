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
    // The 1024-pixel artwork of the icon.
    QString windowIconPath;
    // The icon made ahead of time in the sizes the window system is handed, with "%1" for the
    // side in pixels (Startup::kWindowIconSides).
    QString windowIconSizePath;

    static AppIdentity fullEdition();
    static AppIdentity updateOnlyEdition();
};
