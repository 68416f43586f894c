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
    // Reads the bytes as a JSON document (QJsonDocument). Pure: the result depends on the
    // bytes alone.
    static ReleaseCatalogue parse(const QByteArray& bytes);

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
