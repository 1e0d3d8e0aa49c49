#pragma once
// The QSOs a logbook window lists: those of the log that the selection in force
// (and the QSO window's search, while it filters) admits, in a sort order. The
// Callsign and Date orders come from the log's own lists, an order the log keeps
// as its browse index from that index; any other is sorted here.

#include "logstore/qsoorders.h"
#include "logstore/qsorec.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace vellum {

class TQsoData;

class LogbookList {
public:
    using Admits = std::function<bool(const TQsoRec &)>;

    /// Lists every QSO of log that admits takes (null: the log's selection in force), in sort's order.
    void Build(const TQsoData &log, SortKey sort, const Admits &admits = {});
    /// Another sort: a list of less than a tenth of the log is sorted in place, a longer one built anew.
    void ChangeSort(const TQsoData &log, SortKey sort, const Admits &admits = {});

    SortKey Sort() const { return m_sort; }
    std::int64_t Count() const { return static_cast<std::int64_t>(m_items.size()); }
    const TQsoRec *At(std::int64_t row) const { return m_items[static_cast<std::size_t>(row)]; }
    /// The row of this very record; -1 when it is not listed.
    std::int64_t RowOf(const TQsoRec *qso) const;
    const std::vector<const TQsoRec *> &Items() const { return m_items; }
    /// Whether the last ChangeSort sorted the list in place (rather than building it anew).
    bool SortedInPlace() const { return m_sortedInPlace; }

private:
    void sortItems(SortKey sort);

    std::vector<const TQsoRec *> m_items;
    SortKey m_sort = SortKey::Date;
    bool m_sortedInPlace = false;
};

/// The comparison of a sort order (Callsign and Date included).
QsoCompareFn CompareOf(SortKey sort);

} // namespace vellum
