#include "HistoryLog.h"

#include "HistoryLine.h"
#include "HistoryLogging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

// The last bytes of the file, from the first whole line within them.
QByteArray tail(QFile& in, qint64 bytes)
{
    const qint64 size = in.size();
    // One byte more: when it is a line end, the first line in the tail is whole.
    if (size > bytes && in.seek(size - bytes - 1)) {
        const QByteArray data = in.read(bytes + 1);
        const qsizetype firstEnd = data.indexOf('\n');
        return firstEnd < 0 ? QByteArray() : data.mid(firstEnd + 1);
    }
    return in.readAll();
}

} // namespace

HistoryLog::HistoryLog(const QString& path, qint64 limitBytes)
    : file(path), limit(std::max<qint64>(limitBytes, HistoryLine::kMaxLineBytes))
{
}

HistoryLog HistoryLog::inFolder(const QString& folder)
{
    return HistoryLog(folder.isEmpty() ? QString() : folder + QStringLiteral("/history.jsonl"));
}

bool HistoryLog::append(const HistoryRecord& record) const
{
    if (file.isEmpty())
        return false;
    const QFileInfo info(file);
    if (!QDir().mkpath(info.absolutePath())) {
        qCWarning(lcHistory, "The history could not be kept: the folder %s could not be made",
                  qPrintable(info.absolutePath()));
        return false;
    }
    QFile out(file);
    const bool existed = out.exists();
    if (!out.open(QIODevice::ReadWrite | QIODevice::Append)) {
        qCWarning(lcHistory, "The history could not be kept: %s: %s", qPrintable(file),
                  qPrintable(out.errorString()));
        return false;
    }
    if (!existed)
        out.setPermissions(kOwnerOnly);
    QByteArray line = HistoryLine::serialise(record) + '\n';
    // A line cut off before (the program ended while writing it) is ended first, so that the
    // new record is a line of its own.
    const qint64 size = out.size();
    char last = '\n';
    if (size > 0 && out.seek(size - 1) && out.getChar(&last) && last != '\n')
        line.prepend('\n');
    const bool written = out.write(line) == line.size() && out.flush();
    const qint64 after = out.size();
    out.close();
    if (!written) {
        qCWarning(lcHistory, "The history could not be kept: %s: %s", qPrintable(file),
                  qPrintable(out.errorString()));
        return false;
    }
    if (after > limit)
        trim();
    return true;
}

QList<HistoryRecord> HistoryLog::read() const
{
    QList<HistoryRecord> records;
    if (file.isEmpty())
        return records;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        if (in.exists())
            qCWarning(lcHistory, "The history could not be read: %s: %s", qPrintable(file),
                      qPrintable(in.errorString()));
        return records;
    }
    const QByteArray data = tail(in, limit);
    int skipped = 0;
    for (const QByteArray& line : data.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        if (const std::optional<HistoryRecord> record = HistoryLine::parse(line))
            records.append(*record);
        else
            ++skipped;
    }
    if (skipped > 0)
        qCWarning(lcHistory, "%d line(s) of the history are no record and were skipped", skipped);
    std::reverse(records.begin(), records.end());
    return records;
}

void HistoryLog::trim() const
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return;
    // The newest whole lines that fit in half the limit.
    const QByteArray kept = tail(in, limit / 2);
    in.close();
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        qCWarning(lcHistory, "The history could not be shortened: %s", qPrintable(out.errorString()));
        return;
    }
    out.setPermissions(kOwnerOnly);
    out.write(kept);
    if (!out.commit())
        qCWarning(lcHistory, "The history could not be shortened: %s", qPrintable(out.errorString()));
}
