#include "ReleaseChoices.h"

#include <QCoreApplication>

#include <algorithm>
#include <vector>

#include "UpdateFileName.h"

namespace {

QString why(const char* text)
{
    return QCoreApplication::translate("ReleaseChoices", text);
}

// The reasons, marked for the catalogue of translations.
const char* const kNoVersion =
    QT_TRANSLATE_NOOP("ReleaseChoices", "This entry has no version that can be read.");
const char* const kNoFile = QT_TRANSLATE_NOOP("ReleaseChoices", "This entry names no update file.");
const char* const kBadName =
    QT_TRANSLATE_NOOP("ReleaseChoices", "This entry's file name cannot be used.");
const char* const kRepeat =
    QT_TRANSLATE_NOOP("ReleaseChoices", "This version is listed again later in the catalogue.");

// Newest first; equal versions with the one listed later first; unparsable ones last in
// catalogue order. Entries are given by their version and their position in the catalogue.
bool listedBefore(const FirmwareVersion& a, int aIndex, const FirmwareVersion& b, int bIndex)
{
    const int order = FirmwareVersion::compare(a, b);
    if (order != 0)
        return order > 0;
    if (a.isValid())
        return aIndex > bIndex;
    return aIndex < bIndex;
}

} // namespace

ReleaseChoices ReleaseChoices::from(const QList<ReleaseEntry>& entries)
{
    // The versions first, then the order of the entries (as positions: a row is large to
    // move), then the rows, made once in that order. listedBefore is a strict total order
    // (equal versions are told apart by their position), so the order is unique. A catalogue
    // listed oldest first, the usual, is its own order reversed: checked in one pass.
    const int count = int(entries.size());
    std::vector<FirmwareVersion> versions(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        versions[size_t(i)] = FirmwareVersion::parse(entries.at(i).version);
    std::vector<int> order(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        order[size_t(i)] = count - 1 - i;
    const auto before = [&versions](int a, int b) {
        return listedBefore(versions[size_t(a)], a, versions[size_t(b)], b);
    };
    if (!std::is_sorted(order.begin(), order.end(), before))
        std::sort(order.begin(), order.end(), before);

    ReleaseChoices choices;
    choices.list.reserve(count);
    for (const int i : order) {
        ReleaseChoice row;
        row.entry = entries.at(i);
        row.version = std::move(versions[size_t(i)]);
        row.catalogueIndex = i;
        if (!row.version.isValid())
            row.whyNot = why(kNoVersion);
        else if (row.entry.fileName.isEmpty())
            row.whyNot = why(kNoFile);
        else if (!UpdateFileName::isSafe(row.entry.fileName))
            row.whyNot = why(kBadName);
        row.pickable = row.whyNot.isEmpty();
        choices.list.append(std::move(row));
    }

    // Sorted, equal versions sit together with the one listed last in the catalogue first.
    const ReleaseChoice* kept = nullptr;
    for (ReleaseChoice& row : choices.list) {
        if (!row.pickable)
            continue;
        if (kept && kept->version == row.version) {
            row.pickable = false;
            row.whyNot = why(kRepeat);
            continue;
        }
        kept = &row;
    }

    choices.rowByCatalogueIndex.resize(choices.list.size());
    for (int r = 0; r < choices.list.size(); ++r)
        choices.rowByCatalogueIndex[choices.list.at(r).catalogueIndex] = r;
    choices.defaultIndex = choices.rowOf(int(entries.size()) - 1);
    return choices;
}

int ReleaseChoices::rowOf(int catalogueIndex) const
{
    if (catalogueIndex < 0 || catalogueIndex >= rowByCatalogueIndex.size())
        return -1;
    return rowByCatalogueIndex.at(catalogueIndex);
}

ReleaseChoices::Relation ReleaseChoices::relation(const QString& installed, const QString& offered)
{
    const FirmwareVersion have = FirmwareVersion::parse(installed);
    const FirmwareVersion offer = FirmwareVersion::parse(offered);
    if (!have.isValid() || !offer.isValid())
        return Relation::Unknown;
    const int order = FirmwareVersion::compare(offer, have);
    return order > 0 ? Relation::Newer : order == 0 ? Relation::Same : Relation::Older;
}

bool ReleaseChoices::isUpToDate(const QString& installed) const
{
    if (defaultIndex < 0)
        return false;
    const Relation r = relation(installed, list.at(defaultIndex).entry.version);
    return r == Relation::Same || r == Relation::Older;
}
