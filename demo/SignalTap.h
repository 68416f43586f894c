#pragma once

#include <QMetaMethod>
#include <QObject>
#include <QString>

#include <functional>

// Hears one signal of any object and hands a handler the emission as text, in the form
// "name(true, \"text\", 40)": flags as true or false, texts in double quotes, numbers as
// they are. It lets the demo log the signals of either edition's objects without knowing
// their classes. The handler runs on the thread that emitted the signal.
class SignalTap : public QObject
{
public:
    using Handler = std::function<void(const QString& emission)>;

    // False when the object has no signal of that name (the tap then hears nothing).
    SignalTap(QObject* sender, const QByteArray& signalName, Handler handler,
              QObject* parent = nullptr);

    bool isConnected() const { return connected; }

    // The emission text for the signal's arguments (args[1..n], as Qt passes them).
    static QString format(const QMetaMethod& signal, void** args);

    int qt_metacall(QMetaObject::Call call, int id, void** args) override;

private:
    QMetaMethod signal;
    Handler handler;
    bool connected = false;
};
