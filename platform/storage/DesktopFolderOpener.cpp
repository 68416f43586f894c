#include "DesktopFolderOpener.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QThread>
#include <QUrl>

bool DesktopFolderOpener::openFolder(const QUrl& url)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    if (QThread::currentThread() == app->thread())
        return QDesktopServices::openUrl(url);
    return QMetaObject::invokeMethod(
        app, [url] { QDesktopServices::openUrl(url); }, Qt::QueuedConnection);
}
