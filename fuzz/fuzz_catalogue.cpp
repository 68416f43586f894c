// The release catalogue, through the pure parser. Whatever the bytes: a catalogue is usable
// exactly when it has entries and then gives no problem; an unusable one says why; and the
// entries round-trip their fields (written back as a catalogue and read again, they come out
// the same, in the same order).
#include "FuzzCheck.h"
#include "ReleaseCatalogue.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstddef>
#include <cstdint>

namespace {

QByteArray written(const QList<ReleaseEntry>& entries)
{
    QJsonArray array;
    for (const ReleaseEntry& e : entries) {
        QJsonObject object;
        object.insert(QStringLiteral("file_name"), e.fileName);
        object.insert(QStringLiteral("version"), e.version);
        object.insert(QStringLiteral("total_file_size"), e.totalFileSize);
        object.insert(QStringLiteral("release_date"), e.releaseDate);
        object.insert(QStringLiteral("code_name"), e.codeName);
        object.insert(QStringLiteral("uuid"), e.uuid);
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ReleaseCatalogue catalogue = ReleaseCatalogue::parse(bytes);
    const QList<ReleaseEntry> entries = catalogue.entries();

    FUZZ_CHECK(catalogue.isUsable() == !entries.isEmpty());
    FUZZ_CHECK(catalogue.isUsable() == catalogue.problem().isEmpty());
    if (!catalogue.isUsable()) {
        const QString problem = catalogue.problem();
        FUZZ_CHECK(problem.startsWith(QLatin1String("not JSON: ")) || problem == QLatin1String("not an array")
                   || problem == QLatin1String("empty"));
        return 0;
    }

    // Parsing is a function of the bytes alone.
    FUZZ_CHECK(ReleaseCatalogue::parse(bytes).entries() == entries);

    const ReleaseCatalogue again = ReleaseCatalogue::parse(written(entries));
    FUZZ_CHECK(again.isUsable());
    FUZZ_CHECK(again.entries() == entries);

    // One entry per element of the array, objects or not.
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    FUZZ_CHECK(document.isArray());
    FUZZ_CHECK(document.array().size() == entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QJsonValue value = document.array().at(i);
        if (!value.isObject())
            FUZZ_CHECK(entries.at(i) == ReleaseEntry{});
        const QJsonValue name = value.toObject().value(QLatin1String("file_name"));
        FUZZ_CHECK(entries.at(i).fileName.isEmpty() || name.isString());
    }
    return 0;
}
