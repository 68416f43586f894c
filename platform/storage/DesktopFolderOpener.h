#pragma once

#include <FolderOpener.h>

// Opens folders with QDesktopServices. The storage worker calls it from its own thread; the
// request is carried out on the application's main thread, where the desktop services
// (and, on Windows, the shell with its COM set-up) expect to be used. Returns true once the
// request is made; whether the browser shows the folder is not known to the caller.
class DesktopFolderOpener : public FolderOpener
{
public:
    bool openFolder(const QUrl& url) override;
};
