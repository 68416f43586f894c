#include "SimMountTable.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

SimMountTable::SimMountTable(QString directory) : dir(std::move(directory)) {}

QList<SimMountTable::Entry> SimMountTable::read() const
{
    QList<Entry> entries;
    const QDir tableDir(dir);
    const QStringList names = tableDir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        QFile file(tableDir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue; // taken away since the listing: the volume is gone
        const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
        if (object.isEmpty())
            continue;
        Entry entry;
        entry.id = name.chopped(5);
        entry.label = object.value(QStringLiteral("label")).toString();
        entry.rootPath = object.value(QStringLiteral("root")).toString();
        entry.ready = object.value(QStringLiteral("ready")).toBool(true);
        entry.readOnly = object.value(QStringLiteral("readOnly")).toBool(false);
        entry.busy = object.value(QStringLiteral("busy")).toBool(false);
        entry.usbFound = object.value(QStringLiteral("usbFound")).toBool(false);
        entry.vendorId = object.value(QStringLiteral("vendorId")).toString();
        entry.productId = object.value(QStringLiteral("productId")).toString();
        entries.append(entry);
    }
    return entries;
}

bool SimMountTable::write(const Entry& entry) const
{
    // Written aside and put over the entry in one step (QSaveFile commits with a rename that
    // replaces the entry, also on Windows), so that a reader sees the old entry or the new
    // one, never a torn one. The fallback of writing the entry in place is off: it is the
    // torn entry this avoids. No sync to the disk: the table only lives as long as the test.
    QSaveFile file(QDir(dir).filePath(entry.id + QStringLiteral(".json")));
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QJsonObject object{
        {QStringLiteral("label"), entry.label},
        {QStringLiteral("root"), entry.rootPath},
        {QStringLiteral("ready"), entry.ready},
        {QStringLiteral("readOnly"), entry.readOnly},
        {QStringLiteral("busy"), entry.busy},
        {QStringLiteral("usbFound"), entry.usbFound},
        {QStringLiteral("vendorId"), entry.vendorId},
        {QStringLiteral("productId"), entry.productId},
    };
    const QByteArray data = QJsonDocument(object).toJson(QJsonDocument::Compact);
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool SimMountTable::remove(const QString& id) const
{
    return QFile::remove(QDir(dir).filePath(id + QStringLiteral(".json")));
}
