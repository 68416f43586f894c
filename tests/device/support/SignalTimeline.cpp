#include "SignalTimeline.h"

#include <QEventLoop>
#include <QTimer>

SignalTimeline::SignalTimeline()
{
    clock.start();
}

void SignalTimeline::record(const QString& name, const QVariantList& args)
{
    recorded.append({name, clock.elapsed(), args});
    Q_EMIT recordedEvent();
}

int SignalTimeline::count(const QString& name) const
{
    int n = 0;
    for (const Event& e : recorded) {
        if (e.name == name)
            ++n;
    }
    return n;
}

QList<SignalTimeline::Event> SignalTimeline::events(const QString& name) const
{
    QList<Event> list;
    for (const Event& e : recorded) {
        if (e.name == name)
            list.append(e);
    }
    return list;
}

qint64 SignalTimeline::at(const QString& name, int occurrence) const
{
    const QList<Event> list = events(name);
    return occurrence < list.size() ? list.at(occurrence).ms : -1;
}

QStringList SignalTimeline::names() const
{
    QStringList list;
    for (const Event& e : recorded)
        list << e.name;
    return list;
}

bool SignalTimeline::waitFor(const QString& name, int n, int timeoutMs)
{
    // A plain event loop: it wakes for every timer of the code under test, however short,
    // and looks again after each event recorded.
    if (count(name) >= n)
        return true;
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    timeout.setTimerType(Qt::PreciseTimer);
    connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &SignalTimeline::recordedEvent, &loop, [&] {
        if (count(name) >= n)
            loop.quit();
    });
    timeout.start(timeoutMs);
    loop.exec();
    return count(name) >= n;
}

void SignalTimeline::runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

QString SignalTimeline::dump() const
{
    QStringList lines;
    for (const Event& e : recorded) {
        QStringList args;
        for (const QVariant& a : e.args)
            args << (a.typeId() == QMetaType::QByteArray ? QString::fromLatin1(a.toByteArray().toHex(' '))
                                                         : a.toString());
        lines << QStringLiteral("%1 ms %2(%3)").arg(e.ms).arg(e.name, args.join(QStringLiteral(", ")));
    }
    return lines.join(QLatin1Char('\n'));
}
