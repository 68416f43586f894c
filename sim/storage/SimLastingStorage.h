#pragma once

#include "SimTransferContent.h"
#include "SimVolumeOptions.h"

#include <QString>
#include <QTemporaryDir>

// The instrument's own storage (its card) for the simulated instrument's lifetime: a folder
// that holds the content it was made with and keeps what each transfer-mode session changed
// there for the next one. Its transfer volume shows this folder (see volumeOptions()).
//
// The content is made when first needed (the first session, or a test asking for folder()),
// so an instrument that never enters transfer mode costs nothing. Choosing the content or
// resetting makes the folder afresh: the card as it left the factory, or as the test wants it.
class SimLastingStorage
{
public:
    SimLastingStorage();

    // The content it starts with (default: Tiny, without the unreadable file). When content
    // was made already it is made afresh with the new choice.
    bool setContent(SimTransferContent::Scale scale, bool unreadableFile = false);
    SimTransferContent::Scale scale() const { return contentScale; }
    bool hasUnreadableFile() const { return unreadable; }

    // The transfer volume's capacity in bytes (-1: none). With one, the volume is a tmpfs
    // (root only) that the content is copied onto at each mount.
    void setCapacity(qint64 bytes) { capacity = bytes; }
    qint64 capacityBytes() const { return capacity; }
    // The room the content takes on a volume of 4 KiB blocks, with each file rounded up:
    // a capacity of this much leaves the volume (nearly) full.
    qint64 bytesOnVolume();

    // The lasting folder, its content made when missing; empty, with lastError(), when it
    // cannot be made. Tests read and change it between sessions.
    QString folder();
    // Back to the content chosen: what the sessions changed is gone.
    bool reset();

    // How the transfer volume mounts: this folder's content, with the capacity.
    SimVolumeOptions volumeOptions();

    QString lastError() const { return error; }

private:
    QTemporaryDir base;
    SimTransferContent::Scale contentScale = SimTransferContent::Scale::Tiny;
    bool unreadable = false;
    bool made = false;
    qint64 capacity = -1;
    QString error;
};
