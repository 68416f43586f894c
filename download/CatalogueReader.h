#pragma once

#include <QByteArray>
#include <QObject>

#include "ReleaseCatalogue.h"
#include "ReleaseChoices.h"

// Reads a large catalogue away from the window's thread: lives on a thread of its own, gets
// the bytes by a queued call of read() and hands the parsed catalogue and its version list
// back through the queued signal done(). Holds nothing between reads.
class CatalogueReader : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

public slots:
    void read(const QByteArray& bytes);

signals:
    void done(const ReleaseCatalogue& catalogue, const ReleaseChoices& choices);
};
