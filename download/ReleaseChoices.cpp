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
// catalogue order.
bool listedBefore(const ReleaseChoice& a, const ReleaseChoice& b)
{
    const int order = FirmwareVersion::compare(a.version, b.version);
    if (order != 0)
        return order > 0;
    if (a.version.isValid())
        return a.catalogueIndex > b.catalogueIndex;
    return a.catalogueIndex < b.catalogueIndex;
}

} // namespace

ReleaseChoices ReleaseChoices::from(const QList<ReleaseEntry>& entries)
{
    const int count = int(entries.size());
    QList<ReleaseChoice> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        ReleaseChoice row;
        row.entry = entries.at(i);
        row.version = FirmwareVersion::parse(row.entry.version);
        row.catalogueIndex = i;
        if (!row.version.isValid())
            row.whyNot = why(kNoVersion);
        else if (row.entry.fileName.isEmpty())
            row.whyNot = why(kNoFile);
        else if (!UpdateFileName::isSafe(row.entry.fileName))
            row.whyNot = why(kBadName);
        row.pickable = row.whyNot.isEmpty();
        rows.append(std::move(row));
    }

    // The order of the rows, sorted as positions (a row is large to move). listedBefore is
    // a strict total order (equal versions are told apart by their position), so the sorted
    // order is unique. A catalogue listed oldest first, the usual, is that order reversed:
    // checked in one pass before sorting.
    std::vector<int> order(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        order[size_t(i)] = count - 1 - i;
    const auto before = [&rows](int a, int b) { return listedBefore(rows.at(a), rows.at(b)); };
    if (!std::is_sorted(order.begin(), order.end(), before))
        std::sort(order.begin(), order.end(), before);
    ReleaseChoices choices;
    choices.list.reserve(count);
    for (const int i : order)
        choices.list.append(std::move(rows[i]));

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
