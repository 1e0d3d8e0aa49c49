#include "logbooklist.h"

#include "logstore/qsodata.h"
#include "logstore/selection.h"

#include <algorithm>

namespace vellum {

QsoCompareFn CompareOf(SortKey sort)
{
    switch (sort) {
    case SortKey::Call: return CompareCallOrder;
    case SortKey::Date: return CompareDateOrder;
    default: return SortOrderTable[static_cast<std::size_t>(sort)].compare;
    }
}

void LogbookList::Build(const TQsoData &log, SortKey sort, const Admits &admits)
{
    m_items.clear();
    m_sort = sort;
    m_sortedInPlace = false;
    auto take = [&](const TQsoRec *qso) {
        if (admits ? admits(*qso) : InSelection(log, *qso))
            m_items.push_back(qso);
    };
    if (sort == SortKey::Call || (sort != SortKey::Date && log.CurrentSortKey() == sort)) {
        const TBAI<TQsoRec> &index = sort == SortKey::Call ? log.ByCall() : log.ViewIndex();
        m_items.reserve(static_cast<std::size_t>(index.Count()));
        for (std::int32_t i = 0; i < index.Count(); ++i)
            take(index.Get(i));
        return;
    }
    m_items.reserve(static_cast<std::size_t>(log.Count()));
    for (const TQsoRec *qso : log)
        take(qso);
    if (sort != SortKey::Date)
        sortItems(sort);
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
