#include "HandOverReports.h"

#include "ChunkCopier.h"
#include "ProgressText.h"

HandOverReports::HandOverReports(ProgressForm form, QObject* parent)
    : QObject(parent), form(form)
{
}

void HandOverReports::progress(qint64 copied, qint64 total)
{
    if (form == ProgressForm::Percentage)
        Q_EMIT copyPercentage(ChunkCopier::percentage(copied, total));
    else
        Q_EMIT copyProgressText(ProgressText::of(copied, total));
}

void HandOverReports::result(bool success, const QString& reason)
{
    if (!success)
        Q_EMIT transferFailureReason(reason);
    Q_EMIT fileTransferComplete(success);
}
