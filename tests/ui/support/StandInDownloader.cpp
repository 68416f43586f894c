#include "StandInDownloader.h"

void StandInDownloader::downloadFile()
{
    record(QStringLiteral("downloadFile"));
}

void StandInDownloader::fail(const QString& why)
{
    reason = why;
    emit failureReasonChanged(why);
}
