#pragma once

#include <QString>

class QGuiApplication;

// Who the program says it is: the names the desktop shows and the application-wide icon.
struct AppIdentity
{
    // The product's name as its menu entry shows it (the desktop file's Name=): the window
    // title, and the class of the window the X11 window system is told (WM_CLASS), which the
    // desktop file names in StartupWMClass=.
    QString applicationName;
    QString organizationName;
    QString organizationDomain;
    // The project's version (TAVLO_VERSION), the same for every program.
    QString applicationVersion;
    // The desktop entry's id (its file name without ".desktop"), which docks and Wayland
    // compositors match the window to.
    QString desktopFileName;
    // The 1024-pixel artwork of the icon.
    QString windowIconPath;
    // The icon made ahead of time in the sizes the window system is handed, with "%1" for the
    // side in pixels (Startup::kWindowIconSides).
    QString windowIconSizePath;

    static AppIdentity fullEdition();
    static AppIdentity updateOnlyEdition();
};
