#pragma once

class QUrl;

// Shows a folder in the desktop's file browser.
class FolderOpener
{
public:
    virtual ~FolderOpener() = default;

    virtual bool openFolder(const QUrl& url) = 0;
};
