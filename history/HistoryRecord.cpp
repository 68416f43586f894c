#include "HistoryRecord.h"

#include "InstrumentUsbIdentity.h"

QString HistoryRecord::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Update:
        return QStringLiteral("update");
    case Kind::Backup:
        return QStringLiteral("backup");
    case Kind::Restore:
        return QStringLiteral("restore");
    }
    return QString();
}

bool HistoryRecord::kindNamed(const QString& name, Kind* kind)
{
    for (Kind each : {Kind::Update, Kind::Backup, Kind::Restore}) {
        if (name == kindName(each)) {
            *kind = each;
            return true;
        }
    }
    return false;
}

const QStringList& HistoryRecord::results(Kind kind)
{
    static const QStringList update{QStringLiteral("confirmed"), QStringLiteral("not-applied"),
                                    QStringLiteral("not-confirmed"), QStringLiteral("failed"),
                                    QStringLiteral("cancelled")};
    static const QStringList other{QStringLiteral("done"), QStringLiteral("failed"),
                                   QStringLiteral("cancelled")};
    return kind == Kind::Update ? update : other;
}

QString HistoryRecord::instrumentKey()
{
    return InstrumentUsbIdentity::vendorId() + QLatin1Char(':') + InstrumentUsbIdentity::productId();
}

bool HistoryRecord::operator==(const HistoryRecord& o) const
{
    return kind == o.kind && time == o.time && instrument == o.instrument
        && fromVersion == o.fromVersion && toVersion == o.toVersion && fileName == o.fileName
        && sha256 == o.sha256 && confirmedVersion == o.confirmedVersion && firmware == o.firmware
        && folder == o.folder && files == o.files && bytes == o.bytes
        && linkedBytes == o.linkedBytes && durationMs == o.durationMs && reason == o.reason
        && result == o.result;
}
