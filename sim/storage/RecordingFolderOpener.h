#pragma once

#include <FolderOpener.h>

#include <QObject>
#include <QUrl>

// A desktop file browser stand-in that records what it was asked to show: each request is
// announced with `folderOpened` (emitted on the caller's thread, so a receiver on the main
// thread gets it queued). Reports whether the folder exists, as a file browser would.
class RecordingFolderOpener : public QObject, public FolderOpener
{
    Q_OBJECT

public:
    bool openFolder(const QUrl& url) override;

signals:
    void folderOpened(QUrl url);
};
