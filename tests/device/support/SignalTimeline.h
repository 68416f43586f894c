#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

// Records named signals with the time since start (ms) and their arguments, so that a test can
// check what happened, in which order and roughly when.
class SignalTimeline : public QObject
{
    Q_OBJECT

public:
    struct Event
    {
        QString name;
        qint64 ms = 0;
        QVariantList args;
    };

    SignalTimeline();

    template<typename Sender, typename... Args>
    void watch(Sender* sender, void (Sender::*signal)(Args...), const QString& name)
    {
        connect(sender, signal, this, [this, name](Args... args) {
            record(name, QVariantList{QVariant::fromValue(args)...});
        });
    }

    // Starts the clock afresh and forgets what was recorded so far.
    void restart()
    {
        clock.restart();
        recorded.clear();
    }
    qint64 now() const { return clock.elapsed(); }
    void record(const QString& name, const QVariantList& args = {});

    int count(const QString& name) const;
    QList<Event> events(const QString& name) const;
    qint64 at(const QString& name, int occurrence = 0) const; // -1 when it did not happen
    QStringList names() const;                                // all names in order
    QList<Event> all() const { return recorded; }
    // Runs the event loop until name has happened count times; false on time-out.
    bool waitFor(const QString& name, int count, int timeoutMs);
    // Runs the event loop for ms. Unlike QTest::qWait it does not sleep in 10 ms steps, so
    // timers of a few milliseconds keep their pace.
    static void runFor(int ms);
    QString dump() const;

Q_SIGNALS:
    void recordedEvent();

private:
    QElapsedTimer clock;
    QList<Event> recorded;
};
