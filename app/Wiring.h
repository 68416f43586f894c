#pragma once

#include <QList>
#include <QString>

class QObject;
class QQmlApplicationEngine;
class QThread;

// What every edition's wiring offers to the frame that runs it (the entry point, the demo,
// the tests): the second wiring phase, and a look at the objects it made. The object graph
// itself and its connections are each edition's own.
class Wiring
{
public:
    // An object the window sees, under the name the window knows it by.
    struct Published
    {
        QString name;
        QObject* object = nullptr;
    };

    virtual ~Wiring() = default;

    // The second wiring phase: publishes the objects to the engine's root context, in order.
    virtual void publish(QQmlApplicationEngine& engine) = 0;

    // The objects publish() sets as context properties, in the order it sets them. Objects
    // made during publish() are listed once it has run.
    virtual QList<Published> published() = 0;

    // The FileManager on the storage worker thread (never published), and that thread.
    virtual QObject* storage() const = 0;
    virtual QThread* workerThread() const = 0;
};
