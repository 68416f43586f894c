#include "SignalTap.h"

#include <QMetaObject>
#include <QVariant>

SignalTap::SignalTap(QObject* sender, const QByteArray& signalName, Handler handler,
                     QObject* parent)
    : QObject(parent), handler(std::move(handler))
{
    const QMetaObject* meta = sender->metaObject();
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() == QMetaMethod::Signal && method.name() == signalName) {
            signal = method;
            break;
        }
    }
    if (!signal.isValid())
        return;
    // The first index past QObject's own methods: qt_metacall below receives it as 0.
    connected = QMetaObject::connect(sender, signal.methodIndex(), this,
                                     QObject::staticMetaObject.methodCount(),
                                     Qt::DirectConnection)
                != QMetaObject::Connection();
}

QString SignalTap::format(const QMetaMethod& signal, void** args)
{
    QStringList parts;
    for (int i = 0; i < signal.parameterCount(); ++i) {
        const QMetaType type = signal.parameterMetaType(i);
        const QVariant value(type, args[i + 1]);
        if (type.id() == QMetaType::Bool)
            parts << (value.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
        else if (type.id() == QMetaType::QString)
            parts << QLatin1Char('"') + value.toString() + QLatin1Char('"');
        else
            parts << value.toString();
    }
    return QString::fromLatin1(signal.name()) + QLatin1Char('(') + parts.join(QStringLiteral(", "))
           + QLatin1Char(')');
}

int SignalTap::qt_metacall(QMetaObject::Call call, int id, void** args)
{
    id = QObject::qt_metacall(call, id, args);
    if (id < 0)
        return id;
    if (call == QMetaObject::InvokeMetaMethod) {
        if (id == 0 && handler)
            handler(format(signal, args));
        --id;
    }
    return id;
}
