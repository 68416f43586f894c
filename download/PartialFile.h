#pragma once

#include <QString>

#include "ResumeDecision.h"

// The partial file of a download, beside the update file's final path (never under the
// final name), and its side record: the validator of the version its bytes belong to and the
// address they came from. Both downloaders (the Qt download and curl) write the same partial,
// so that either continues what the other left.
namespace PartialFile {

// The partial file of the update file at localPath, its record, and where curl puts the
// headers of its answer. None of the endings is longer than UpdateFileName::kLongestSuffix.
QString pathFor(const QString& localPath);
QString recordPathFor(const QString& localPath);
QString headersPathFor(const QString& localPath);
// The partial of localPath as it lies: its size (0 when absent), validator and address.
ResumeDecision::Partial readFor(const QString& localPath);
// Records the validator (empty: none, the partial cannot be continued) and the address of
// the partial of localPath; false when the record could not be written.
bool record(const QString& localPath, const QString& validator, const QString& url);
// Removes the partial of localPath and its record.
void remove(const QString& localPath);
// Removes the record only (the partial's bytes can no longer be continued).
void forget(const QString& localPath);

} // namespace PartialFile
