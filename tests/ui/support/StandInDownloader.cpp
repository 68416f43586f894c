#include "StandInDownloader.h"

void StandInDownloader::downloadFile()
{
    record(QStringLiteral("downloadFile"));
}
