#include "CliHistory.h"

#include "CliExitCode.h"
#include "CliOutput.h"
#include "HistoryLine.h"
#include "HistoryLog.h"
#include "HistoryText.h"

#include <QJsonObject>

int CliHistory::print(const HistoryLog& log, CliOutput& out, bool json)
{
    const QList<HistoryRecord> records = log.read();
    if (records.isEmpty()) {
        if (!json)
            out.text(HistoryText::empty() + QLatin1Char('\n'));
        return CliExitCode::kDone;
    }
    for (const HistoryRecord& record : records) {
        QJsonObject fields = HistoryLine::toJson(record);
        fields.insert(QStringLiteral("event"), QStringLiteral("history"));
        out.print(fields, HistoryText::date(record) + QStringLiteral("  ") + HistoryText::summary(record));
    }
    return CliExitCode::kDone;
}
