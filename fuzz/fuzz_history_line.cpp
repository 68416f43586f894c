// A line of the history file, as read back from disk where anything may have happened to it.
// Whatever the bytes: a line over the limit is never a record; a record has a known kind, a
// valid UTC time and a result its kind can have, whole non-negative counts, and texts that are
// plain (no control, DEL, C1 or bidirectional character, no lone surrogate) and within their
// length; written again it gives one line under the limit that reads back as the same record.
#include "FuzzCheck.h"
#include "HistoryLine.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

namespace {

void checkPlain(const QString& text)
{
    FUZZ_CHECK(text.size() <= HistoryLine::kMaxTextChars);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        FUZZ_CHECK(c >= 0x20 && !(c >= 0x7F && c < 0xA0));
        FUZZ_CHECK(c != 0x061C && c != 0x200E && c != 0x200F && !(c >= 0x202A && c <= 0x202E)
                   && !(c >= 0x2066 && c <= 0x2069));
        if (QChar::isHighSurrogate(c)) {
            FUZZ_CHECK(i + 1 < text.size() && text.at(i + 1).isLowSurrogate());
            ++i;
        } else {
            FUZZ_CHECK(!QChar::isLowSurrogate(c));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView line(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<HistoryRecord> record = HistoryLine::parse(line);
    if (!record)
        return 0;
    FUZZ_CHECK(line.size() <= HistoryLine::kMaxLineBytes);
    FUZZ_CHECK(record->time.isValid() && record->time.timeSpec() == Qt::UTC);
    FUZZ_CHECK(HistoryRecord::results(record->kind).contains(record->result));
    FUZZ_CHECK(record->files >= 0 && record->bytes >= 0 && record->linkedBytes >= 0 && record->durationMs >= 0);
    for (const QString* text : {&record->instrument, &record->fromVersion, &record->toVersion, &record->fileName,
                                &record->sha256, &record->confirmedVersion, &record->firmware, &record->folder,
                                &record->reason, &record->result})
        checkPlain(*text);

    const QByteArray again = HistoryLine::serialise(*record);
    FUZZ_CHECK(again.size() <= HistoryLine::kMaxLineBytes && !again.contains('\n'));
    const std::optional<HistoryRecord> back = HistoryLine::parse(again);
    FUZZ_CHECK(back.has_value());
    // The time is written to the millisecond: the same record, as far as the line keeps it.
    HistoryRecord expected = *record;
    expected.time = QDateTime::fromMSecsSinceEpoch(record->time.toMSecsSinceEpoch(), Qt::UTC);
    FUZZ_CHECK(*back == expected);
    return 0;
}
