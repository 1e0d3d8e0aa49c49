#include "logbooklist.h"

#include "logstore/qsodata.h"
#include "logstore/selection.h"

#include <algorithm>
#include <array>

namespace vellum {

QsoCompareFn CompareOf(SortKey sort)
{
    switch (sort) {
    case SortKey::Call: return CompareCallOrder;
    case SortKey::Date: return CompareDateOrder;
    default: return SortOrderTable[static_cast<std::size_t>(sort)].compare;
    }
}

namespace {

/// The leading numbers of an order that compares a few small numbers and then
/// follows the Call order (Call, Date, Time, Band, Mode), packed so that their
/// unsigned order is the order's; null for the other orders.
using LeadingKeyFn = std::uint32_t (*)(const TQsoRec &);

std::uint32_t country(const TQsoRec &q) { return static_cast<std::uint16_t>(q.Country); }

LeadingKeyFn leadingKeyOf(SortKey sort)
{
    switch (sort) {
    case SortKey::Prefix: return [](const TQsoRec &q) { return country(q) << 8 | q.Band; };
    case SortKey::Band: return [](const TQsoRec &q) { return std::uint32_t{q.Band} << 16 | country(q); };
    case SortKey::Zone: return [](const TQsoRec &q) { return std::uint32_t{q.Zone} << 24 | q.Band << 16 | country(q); };
    case SortKey::State: return [](const TQsoRec &q) { return std::uint32_t{q.State} << 24 | q.Band << 16 | country(q); };
    default: return nullptr;
    }
}

/// Orders items (in the Call order) by their leading keys, keeping the Call order
/// among equal keys: a stable radix sort a byte at a time, linear in the items,
/// which reads each record once instead of comparing records by pointer.
void distributeByLeadingKey(std::vector<const TQsoRec *> &items, LeadingKeyFn leadingKey)
{
    struct Keyed {
        std::uint32_t key;
        const TQsoRec *qso;
    };
    std::vector<Keyed> keyed(items.size()), scratch(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        keyed[i] = {leadingKey(*items[i]), items[i]};
    for (int shift = 0; shift < 32; shift += 8) {
        std::array<std::size_t, 257> start{};
        for (const Keyed &k : keyed)
            ++start[(k.key >> shift & 0xFF) + 1];
        if (std::find(start.begin() + 1, start.end(), items.size()) != start.end())
            continue; // every key has the same byte here
        for (std::size_t b = 1; b < start.size(); ++b)
            start[b] += start[b - 1];
        for (const Keyed &k : keyed)
            scratch[start[k.key >> shift & 0xFF]++] = k;
        keyed.swap(scratch);
    }
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i] = keyed[i].qso;
}

} // namespace

void LogbookList::Build(const TQsoData &log, SortKey sort, const Admits &admits)
{
    m_items.clear();
    m_sort = sort;
    m_sortedInPlace = false;
    auto takeFrom = [&](const auto &list) {
        m_items.reserve(static_cast<std::size_t>(list.Count()));
        for (const TQsoRec *qso : list)
            if (admits ? admits(*qso) : InSelection(log, *qso))
                m_items.push_back(qso);
    };
    const LeadingKeyFn leadingKey = leadingKeyOf(sort);
    if (sort != SortKey::Date && sort != SortKey::Call && log.CurrentSortKey() == sort) {
        takeFrom(log.ViewIndex());
    } else if (sort == SortKey::Call || leadingKey) {
        takeFrom(log.ByCall());
        if (leadingKey)
            distributeByLeadingKey(m_items, leadingKey);
    } else {
        takeFrom(log);
        if (sort != SortKey::Date)
            sortItems(sort);
    }
}

void LogbookList::ChangeSort(const TQsoData &log, SortKey sort, const Admits &admits)
{
    if (sort == m_sort)
        return;
    if (Count() * 10 < log.Count()) {
        sortItems(sort);
        m_sort = sort;
        m_sortedInPlace = true;
        return;
    }
    Build(log, sort, admits);
}

void LogbookList::sortItems(SortKey sort)
{
    QsoCompareFn compare = CompareOf(sort);
    std::stable_sort(m_items.begin(), m_items.end(),
                     [compare](const TQsoRec *a, const TQsoRec *b) { return compare(a, b) < 0; });
}

std::int64_t LogbookList::RowOf(const TQsoRec *qso) const
{
    auto found = std::find(m_items.begin(), m_items.end(), qso);
    return found == m_items.end() ? -1 : found - m_items.begin();
}

} // namespace vellum
