#pragma once

#include "StandInObject.h"

#include <QString>

// Publishes the Downloader's window contract.
class StandInDownloader : public StandInObject
{
    Q_OBJECT
    // The sentence of the last failure, as the full edition's window reads it.
    Q_PROPERTY(QString failureReason READ failureReason NOTIFY failureReasonChanged)
public:
    using StandInObject::StandInObject;

    Q_INVOKABLE void downloadFile();

    QString failureReason() const { return reason; }
    // The version of the file handed on, as the real Downloader says it.
    QString fileVersion() const { return QStringLiteral("1.6.0"); }
    // Takes the sentence and reports it, as the Downloader does with each failure.
    void fail(const QString& why);

signals:
    void latestVersionFetched(QString version);
    void downloadingProgressBar(qlonglong progress);
    void versionCheck(bool success);
    void downloadStatus(bool success, QString message);
    // The update file is at hand: the link switches the instrument to update mode.
    void setDeviceToTransferMode(bool success);
    void failureReasonChanged(QString reason);

private:
    QString reason;
};
