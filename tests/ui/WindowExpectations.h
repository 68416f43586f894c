#pragma once

// Shared by the window tests: the short names under which the test tables list the items
// of the main window, and the checks of a screen against a table row.

#include "WindowDriver.h"

#include <QColor>
#include <QObject>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QString>
#include <QStringList>

#include <utility>

namespace WindowExpectations {

// Short name, objectName; in the order the screens are reported.
inline const std::pair<const char*, const char*> kItems[] = {
    {"row", "dotAndLabelRow"},
    {"instructions", "infoConnectText"},
    {"update", "updateButton"},
    {"transfer", "transferButton"},
    {"progress", "genericProgressBar"},
    {"version", "versionText"},
    {"info", "infoText"},
    {"start", "startUpdateButton"},
    {"exit", "closeApplicationButton"},
    {"projects", "openProjectsButton"},
    {"definitions", "openDefinitionsButton"},
    {"midi", "openMidiFilesButton"},
    {"grooves", "openGroovesButton"},
    {"transferInfo", "transferInfoText"},
    {"done", "completeTransferButton"},
};

// The shown items of the window, as short names separated by blanks.
inline QString shownNow(const WindowDriver& driver)
{
    QStringList names;
    for (const auto& [shortName, objectName] : kItems) {
        if (driver.isShown(QString::fromLatin1(objectName)))
            names.append(QString::fromLatin1(shortName));
    }
    return names.join(QLatin1Char(' '));
}

// A table's list of short names, in any order, put into the order of shownNow(). Names that
// are not known stay at the end marked with "?" so that a typo fails the comparison.
inline QString normalised(const QString& expected)
{
    const QStringList given = expected.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList names;
    for (const auto& [shortName, objectName] : kItems) {
        Q_UNUSED(objectName)
        if (given.contains(QString::fromLatin1(shortName)))
            names.append(QString::fromLatin1(shortName));
    }
    for (const QString& name : given) {
        if (!names.contains(name))
            names.append(QLatin1Char('?') + name);
    }
    return names.join(QLatin1Char(' '));
}

inline QString dotColour(const WindowDriver& driver)
{
    const QQuickItem* container = driver.item(QStringLiteral("logoContainer"));
    return container ? container->property("dotColor").value<QColor>().name() : QString();
}

inline QString label(const WindowDriver& driver)
{
    const QQuickItem* container = driver.item(QStringLiteral("logoContainer"));
    return container ? container->property("labelText").toString() : QString();
}

// Checks "name=value name=value" against the root object's properties (value as text).
// Returns the first mismatch, or an empty string.
// The window's flow flags as the table rows name them: the window's own two flags and its
// latest version, and what the published flows say for the others (inUpdateFlow: the update
// screen before a start; inTransferFlow: the transfer screen until its end; inReenumeration: the
// instrument is expected off the bus; deviceVersion: the firmware reported).
inline QVariant flowFlag(const WindowDriver& driver, const QString& name)
{
    const QVariant own = driver.root()->property(name.toLatin1().constData());
    if (own.isValid())
        return own;
    const QQmlContext* context = qmlContext(driver.root());
    QObject* update = context ? context->contextProperty(QStringLiteral("updateFlow")).value<QObject*>() : nullptr;
    QObject* transfer = context ? context->contextProperty(QStringLiteral("transferFlow")).value<QObject*>() : nullptr;
    QObject* presence = context ? context->contextProperty(QStringLiteral("presence")).value<QObject*>() : nullptr;
    if (!update || !transfer || !presence)
        return QVariant();
    if (name == QLatin1String("inUpdateFlow"))
        return update->property("state").toInt() == 1; // Choosing
    if (name == QLatin1String("inTransferFlow"))
        return transfer->property("state").toInt() >= 2; // Open or Finalizing
    if (name == QLatin1String("inReenumeration"))
        return transfer->property("waiting").toBool() || update->property("state").toInt() == 5; // Succeeded
    if (name == QLatin1String("deviceVersion"))
        return presence->property("firmware");
    return QVariant();
}

inline QString flagMismatch(const WindowDriver& driver, const QString& flags)
{
    const QStringList pairs = flags.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& pair : pairs) {
        const QString name = pair.section(QLatin1Char('='), 0, 0);
        const QString want = pair.section(QLatin1Char('='), 1);
        const QVariant value = flowFlag(driver, name);
        if (!value.isValid())
            return QStringLiteral("no property %1").arg(name);
        if (value.toString() != want)
            return QStringLiteral("%1 is %2, expected %3").arg(name, value.toString(), want);
    }
    return QString();
}

} // namespace WindowExpectations
