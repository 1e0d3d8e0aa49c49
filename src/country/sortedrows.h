#pragma once
// The working copy an editor of a reference table edits: rows kept in the
// table's key order, a new row going before the rows with an equal key (as an
// insertion into the keyed table does, so that it is the one found first).

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <vector>

namespace vellum {

/// Rows ordered by Compare (negative, 0 or positive), a function of two rows.
template <typename Row, int (*Compare)(const Row &, const Row &)>
class SortedRows {
public:
    using RowType = Row;

    std::int32_t Count() const { return static_cast<std::int32_t>(m_rows.size()); }
    bool Empty() const { return m_rows.empty(); }
    const Row &At(std::int32_t position) const
    {
        assert(position >= 0 && position < Count() && "row position out of range");
        return m_rows[static_cast<std::size_t>(position)];
    }
    const std::vector<Row> &Rows() const { return m_rows; }

    /// The first position whose row is not less than key; Count() when all are.
    std::int32_t LowerBound(const Row &key) const
    {
        auto it = std::partition_point(m_rows.begin(), m_rows.end(),
                                       [&key](const Row &row) { return Compare(row, key) < 0; });
        return static_cast<std::int32_t>(it - m_rows.begin());
    }

    /// Position of the first row equal to key; -1 when there is none.
    std::int32_t Find(const Row &key) const
    {
        std::int32_t position = LowerBound(key);
        return position < Count() && Compare(At(position), key) == 0 ? position : -1;
    }

    /// Inserts before every row with an equal key; returns its position.
    std::int32_t Insert(Row row)
    {
        std::int32_t position = LowerBound(row);
        m_rows.insert(m_rows.begin() + position, std::move(row));
        return position;
    }

    void Delete(std::int32_t position)
    {
        assert(position >= 0 && position < Count() && "row position out of range");
        m_rows.erase(m_rows.begin() + position);
    }

    /// Puts row in place of the row at position and moves it to its sorted
    /// place; returns the new position.
    std::int32_t Replace(std::int32_t position, Row row)
    {
        Delete(position);
        return Insert(std::move(row));
    }

    /// The position Replace(position, row) will give row: the rows other than
    /// the one at position must be in order, that one may hold anything.
    std::int32_t ReplacePosition(std::int32_t position, const Row &row) const
    {
        auto less = [&row](const Row &other) { return Compare(other, row) < 0; };
        auto at = m_rows.begin() + position;
        auto before = std::partition_point(m_rows.begin(), at, less) - m_rows.begin();
        auto after = std::partition_point(at + 1, m_rows.end(), less) - (at + 1);
        return static_cast<std::int32_t>(before + after);
    }

    /// The row at position, to change in place. A change of its key leaves the
    /// rows out of order until Replace moves it (ReplacePosition tells where).
    Row &Mutable(std::int32_t position) { return m_rows[static_cast<std::size_t>(position)]; }

    void Clear() { m_rows.clear(); }
    /// Appends a row known to sort after every row held (loading a table in key order).
    void Append(Row row) { m_rows.push_back(std::move(row)); }
    /// Restores the order after Append of rows that may be out of order.
    void SortStable()
    {
        std::stable_sort(m_rows.begin(), m_rows.end(), [](const Row &a, const Row &b) { return Compare(a, b) < 0; });
    }
    /// Removes the rows for which drop(previous kept row, row) holds, walking in order.
    template <typename Drop>
    int RemoveFollowing(Drop drop)
    {
        if (m_rows.empty())
            return 0;
        std::size_t kept = 1;
        for (std::size_t i = 1; i < m_rows.size(); ++i) {
            if (drop(m_rows[kept - 1], m_rows[i]))
                continue;
            if (kept != i)
                m_rows[kept] = std::move(m_rows[i]);
            ++kept;
        }
        int removed = static_cast<int>(m_rows.size() - kept);
        m_rows.resize(kept);
        return removed;
    }

private:
    std::vector<Row> m_rows;
};

} // namespace vellum
