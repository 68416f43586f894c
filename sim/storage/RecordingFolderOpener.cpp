#include "RecordingFolderOpener.h"

#include <QFileInfo>

bool RecordingFolderOpener::openFolder(const QUrl& url)
{
    emit folderOpened(url);
    return url.isLocalFile() && QFileInfo(url.toLocalFile()).isDir();
}
