#pragma once

#include "StandInObject.h"

#include <QString>

// Publishes the Downloader's window contract.
class StandInDownloader : public StandInObject
{
    Q_OBJECT
public:
    using StandInObject::StandInObject;

    Q_INVOKABLE void downloadFile();

signals:
    void latestVersionFetched(QString version);
    void downloadingProgressBar(qlonglong progress);
    void versionCheck(bool success);
    void downloadStatus(bool success, QString message);
    // The update file is at hand: the link switches the instrument to update mode.
    void setDeviceToTransferMode(bool success);
    void failureReasonChanged(QString reason);
};
