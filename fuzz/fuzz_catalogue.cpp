// The release catalogue, through the pure parser. Whatever the bytes: nothing crashes; the
// parse is a function of the bytes alone (a second parse gives the same entries and reason);
// a catalogue is usable exactly when it has entries and then gives no problem; an unusable
// one says why; every entry is well-formed (one per element of the array, an element that is
// not an object an empty entry, a digest empty or 64 lower-case hex digits and never both a
// digest and an unreadable one, a size unknown or positive and written in digits, its notes
// shown no longer than they are or than the cut allows); and the entries round-trip their
// fields (written back as a catalogue and read again, they come out the same, in the same
// order). The version list made of them holds every entry once, newest first with the
// unparsable ones last, never offers an unparsable version or two rows of one version, and
// its default row is the catalogue's last entry.
#include "FuzzCheck.h"
#include "ReleaseCatalogue.h"
#include "ReleaseChoices.h"
#include "ReleaseNotesText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
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
        // An unreadable checksum written back as one that is still unreadable.
        object.insert(QStringLiteral("sha256"), e.checksumUnreadable ? QStringLiteral("x") : e.sha256);
        object.insert(QStringLiteral("release_notes"), e.releaseNotes);
        array.append(object);
    }
    // A byte order mark written as it stands at the start of a text would be dropped when
    // read (the JSON document reading drops it from a text without escapes); escaped, it
    // stays. Any raw one is a character of a text, so escaping every one keeps the texts.
    return QJsonDocument(array).toJson(QJsonDocument::Compact).replace("\xef\xbb\xbf", "\\ufeff");
}

void checkWellFormed(const ReleaseEntry& entry)
{
    FUZZ_CHECK(entry.sha256.isEmpty() || entry.sha256.size() == 64);
    FUZZ_CHECK(entry.hasChecksum() == !entry.sha256.isEmpty());
    FUZZ_CHECK(!(entry.checksumUnreadable && entry.hasChecksum()));
    for (const QChar c : entry.sha256)
        FUZZ_CHECK((c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                   || (c >= QLatin1Char('a') && c <= QLatin1Char('f')));
    const qint64 size = entry.expectedSize();
    FUZZ_CHECK(size == -1 || size > 0);
    if (size > 0) {
        // Known only when written in ASCII digits alone, and then it is their value.
        for (const QChar c : entry.totalFileSize)
            FUZZ_CHECK(c >= QLatin1Char('0') && c <= QLatin1Char('9'));
        QString digits = entry.totalFileSize;
        while (digits.startsWith(QLatin1Char('0')))
            digits.remove(0, 1);
        FUZZ_CHECK(QString::number(size) == digits);
    }
    // The notes as shown: never longer than the cut allows (taking out marks only shortens),
    // and the same each time.
    const QString notes = ReleaseNotesText::shown(entry.releaseNotes);
    FUZZ_CHECK(notes.size() <= std::max<qsizetype>(entry.releaseNotes.size(),
                                                   ReleaseNotesText::kMaxShownLength + 200));
    FUZZ_CHECK(notes == ReleaseNotesText::shown(entry.releaseNotes));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ReleaseCatalogue catalogue = ReleaseCatalogue::parse(bytes);
    const QList<ReleaseEntry> entries = catalogue.entries();

    // Parsing is a function of the bytes alone.
    const ReleaseCatalogue again = ReleaseCatalogue::parse(bytes);
    FUZZ_CHECK(again.problem() == catalogue.problem());
    FUZZ_CHECK(again.entries() == entries);

    FUZZ_CHECK(catalogue.isUsable() == !entries.isEmpty());
    FUZZ_CHECK(catalogue.isUsable() == catalogue.problem().isEmpty());
    if (!catalogue.isUsable()) {
        const QString problem = catalogue.problem();
        FUZZ_CHECK(problem.startsWith(QLatin1String("not JSON: ")) || problem == QLatin1String("not an array")
                   || problem == QLatin1String("empty"));
        return 0;
    }

    for (const ReleaseEntry& entry : entries)
        checkWellFormed(entry);

    const ReleaseCatalogue rewritten = ReleaseCatalogue::parse(written(entries));
    FUZZ_CHECK(rewritten.isUsable());
    FUZZ_CHECK(rewritten.entries() == entries);

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

    const ReleaseChoices choices = ReleaseChoices::from(entries);
    FUZZ_CHECK(choices.count() == entries.size());
    FUZZ_CHECK(choices.rows().at(choices.defaultRow()).catalogueIndex == entries.size() - 1);
    QList<bool> seen(entries.size(), false);
    for (int r = 0; r < choices.count(); ++r) {
        const ReleaseChoice& row = choices.rows().at(r);
        FUZZ_CHECK(!seen.at(row.catalogueIndex));
        seen[row.catalogueIndex] = true;
        FUZZ_CHECK(row.entry == entries.at(row.catalogueIndex));
        FUZZ_CHECK(choices.rowOf(row.catalogueIndex) == r);
        FUZZ_CHECK(row.pickable == row.whyNot.isEmpty());
        FUZZ_CHECK(!row.pickable || (row.version.isValid() && !row.entry.fileName.isEmpty()));
        if (r > 0) {
            const ReleaseChoice& above = choices.rows().at(r - 1);
            FUZZ_CHECK(FirmwareVersion::compare(above.version, row.version) >= 0);
            if (row.pickable && above.version == row.version)
                FUZZ_CHECK(!above.pickable || !row.version.isValid());
        }
    }
    for (int r = 0; r + 1 < choices.count(); ++r) {
        // Among equal versions at most one can be picked.
        int pickable = 0;
        for (int s = r; s < choices.count() && choices.rows().at(s).version == choices.rows().at(r).version
                        && choices.rows().at(r).version.isValid(); ++s)
            pickable += choices.rows().at(s).pickable ? 1 : 0;
        FUZZ_CHECK(pickable <= 1);
    }
    return 0;
}
