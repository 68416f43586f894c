#include "LogindSleepGuard.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>

namespace {
constexpr int kCallTimeoutMs = 3000;
}

bool LogindSleepGuard::hold(const QString& why)
{
    if (inhibitor.isValid())
        return true;
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        qWarning("No system bus to ask logind to keep the computer awake: %s",
                 qPrintable(bus.lastError().message()));
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:idle") << QCoreApplication::applicationName() << why
         << QStringLiteral("block");
    const QDBusReply<QDBusUnixFileDescriptor> reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (!reply.isValid() || !reply.value().isValid()) {
        qWarning("logind did not keep the computer awake: %s", qPrintable(reply.error().message()));
        return false;
    }
    inhibitor = reply.value();
    return true;
}

void LogindSleepGuard::release()
{
    // Closing the descriptor ends the inhibitor lock.
    inhibitor = QDBusUnixFileDescriptor();
}
