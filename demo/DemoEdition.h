#pragma once

#include "AppIdentity.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QUrl;
class Wiring;
struct Platform;
struct Timings;

// What tells the two demo programs apart: the edition they run, filled in by each one's
// entry point.
struct DemoEdition
{
    QString name;          // "full" or "updater", as --edition takes it
    QString otherProgram;  // the other edition's demo program, started for the other --edition
    QUrl windowDocument;
    AppIdentity identity;
    bool hasTransferMode = false;
    // The item the window shows while it downloads; empty where the version line counts
    // ("Downloading... ").
    QString downloadProgressItem;
    std::function<std::unique_ptr<Wiring>(const Platform&, const QUrl& releaseServer,
                                          const Timings&)>
        makeWiring;
};
