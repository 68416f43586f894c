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
        entries.append(entry);
    }
    return entries;
}

bool SimMountTable::write(const Entry& entry) const
{
    QSaveFile file(QDir(dir).filePath(entry.id + QStringLiteral(".json")));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QJsonObject object{
        {QStringLiteral("label"), entry.label},
        {QStringLiteral("root"), entry.rootPath},
        {QStringLiteral("ready"), entry.ready},
        {QStringLiteral("readOnly"), entry.readOnly},
        {QStringLiteral("busy"), entry.busy},
    };
    file.write(QJsonDocument(object).toJson(QJsonDocument::Compact));
    return file.commit();
}

bool SimMountTable::remove(const QString& id) const
{
    return QFile::remove(QDir(dir).filePath(id + QStringLiteral(".json")));
}
