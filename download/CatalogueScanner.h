#pragma once

#include <QByteArray>
#include <QList>

#include "ReleaseEntry.h"

// The quick reading of a release catalogue's bytes: one pass over them, building the entries'
// fields directly, without a JSON document in between. Pure: a function of the bytes.
//
// It reads exactly what the JSON document reading (ReleaseCatalogue::parseDocument) reads
// from a well-formed catalogue that is a non-empty array: the same entries, fields and order
// (unknown fields and their nested values are checked and skipped, a repeated key keeps its
// last value, an element that is not an object is an empty entry). Everything else it
// declines: bytes that are not well-formed JSON, a document that is not an array or an empty
// one, and the few well-formed inputs it leaves to the document reading rather than
// decide itself (a number at the edge of the double's range, an escape of a non-ASCII byte,
// nesting deeper than kMaxDepth). A declined catalogue is read by the document reading,
// which then gives its reason or its entries.
class CatalogueScanner
{
public:
    // Arrays and objects nested deeper than this (the catalogue array counting as 1) are
    // declined; the document reading refuses them only beyond 1024.
    static constexpr int kMaxDepth = 256;

    // True with the catalogue's entries in catalogue order; false (entries left empty) when
    // the catalogue is declined.
    static bool scan(const QByteArray& bytes, QList<ReleaseEntry>& entries);
};
