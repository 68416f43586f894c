#pragma once

#include "HistoryRecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonObject>

#include <optional>

// One record as one line of the history file: a JSON object, written by serialise() and read
// back by parse(). Pure.
//
// The file is read back from disk, where anything may have happened to it, so parse() trusts
// nothing: a line over kMaxLineBytes, bad JSON, not an object, an unknown kind or result, a
// time that is not an ISO 8601 date (of the years 1 to 9999 in UTC), a field of the wrong type or a number that is negative,
// not whole or out of range is no record at all. Unknown fields are ignored. Texts are kept
// as plain text: control characters (line breaks and tabs too, a record's texts are one line),
// DEL, the C1 controls and the bidirectional controls become U+FFFD, and each text is cut to
// kMaxTextChars.
namespace HistoryLine {

constexpr qsizetype kMaxLineBytes = 64 * 1024;
// Every text cut to this many characters: even ten of them, each character three bytes of
// UTF-8, keep a line well under kMaxLineBytes.
constexpr qsizetype kMaxTextChars = 1024;

// Without the line end; always under kMaxLineBytes. Texts are written as plain text too.
QByteArray serialise(const HistoryRecord& record);
std::optional<HistoryRecord> parse(QByteArrayView line);
// The record's fields as the JSON object serialise() writes (for "tavlo history --json").
QJsonObject toJson(const HistoryRecord& record);
// text as plain text (see above).
QString plain(const QString& text);

} // namespace HistoryLine
