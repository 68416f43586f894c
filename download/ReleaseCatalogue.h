#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "ReleaseEntry.h"

// The maker's release catalogue (the body of releases.json), read from its bytes.
//
// The catalogue is a JSON array of release objects, in the order the server lists them;
// the last one is the update on offer. Unknown fields are ignored. An element that is not an
// object still counts as an entry, with every field empty. Nothing here touches the network.
class ReleaseCatalogue
{
public:
    // Read in one pass (CatalogueScanner); what the scanner declines (anything not a
    // well-formed, non-empty array, and a few rare well-formed inputs) is read by
    // parseDocument(), so the result and every reason are always that reading's.
    static ReleaseCatalogue parse(const QByteArray& bytes);
    // The same reading through a QJsonDocument: several times slower on a large catalogue.
    static ReleaseCatalogue parseDocument(const QByteArray& bytes);

    // True when the catalogue has at least one entry.
    bool isUsable() const { return !list.isEmpty(); }
    // Why the catalogue is unusable ("not JSON: ...", "not an array", "empty"); empty when
    // it is usable.
    QString problem() const { return reason; }
    // The entries in catalogue order.
    QList<ReleaseEntry> entries() const { return list; }

private:
    QList<ReleaseEntry> list;
    QString reason;
};
