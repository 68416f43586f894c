#pragma once

#include "Wiring.h"

#include <QObject>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>

struct Platform;

// What every edition's wiring must do, checked through the Wiring interface: it publishes
// exactly the named objects and its window loads against them; the FileManager lives on the
// storage worker thread; the stop lets the request in hand finish and takes the worker with
// it. Each edition's test runs these with its own wiring.
class WiringChecks : public QObject
{
    Q_OBJECT
public:
    using MakeWiring = std::function<std::unique_ptr<Wiring>(const Platform&, const QUrl& server)>;

    WiringChecks(MakeWiring makeWiring, QStringList publishedNames, QUrl windowDocument);

    // Nothing listens here: the catalogue request fails quietly.
    static QUrl noServer() { return QUrl(QStringLiteral("https://127.0.0.1:9")); }

private Q_SLOTS:
    void publishesTheWindowsObjects();
    void fileManagerOnWorkerThread();
    void stopWaitsForWorker();
    void sharedResources_data();
    void sharedResources();

private:
    MakeWiring makeWiring;
    QStringList publishedNames;
    QUrl windowDocument;
};
