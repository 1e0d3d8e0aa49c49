#pragma once
// The record lists the log is built on: a growable pointer array (TMyList), a
// sorted pointer list with binary search (TBAI) and a sorted list that owns its
// records and keeps secondary indexes in step (TBRSorted).

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vellum {

/// A list error ("List capacity out of bounds (%d)", ...).
class EListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Called around sorts of large lists (more than 4999 items): begin = true before,
/// false after. The program shows "Sorting" and the hourglass; tests may count calls.
using SortIndicatorHook = std::function<void(bool begin)>;
void SetSortIndicatorHook(SortIndicatorHook hook);
void NotifySortIndicator(bool begin);

inline constexpr std::int32_t MaxListSize = 134217727; // 0x7FFFFFF

/// A growable array of pointers; it never frees the items it holds.
template <typename T>
class TMyList {
public:
    TMyList() = default;
    TMyList(const TMyList &) = delete;
    TMyList &operator=(const TMyList &) = delete;
    virtual ~TMyList() = default;

    std::int32_t Count() const { return m_count; }
    std::int32_t Capacity() const { return m_capacity; }
    T *Get(std::int32_t position) const { return m_items[position]; }
    void Put(std::int32_t position, T *item) { m_items[position] = item; }
    T *const *begin() const { return m_items.get(); }
    T *const *end() const { return m_items.get() + m_count; }

    std::int32_t Add(T *item)
    {
        if (m_count == m_capacity)
            Grow();
        m_items[m_count] = item;
        return m_count++;
    }

    void Insert(std::int32_t position, T *item)
    {
        if (m_count == m_capacity)
            Grow();
        std::move_backward(m_items.get() + position, m_items.get() + m_count, m_items.get() + m_count + 1);
        m_items[position] = item;
        ++m_count;
    }

    void Delete(std::int32_t position)
    {
        std::move(m_items.get() + position + 1, m_items.get() + m_count, m_items.get() + position);
        --m_count;
    }

    /// Drops every item for which drop(item) holds, in one pass; the others keep
    /// their order. Returns how many were dropped.
    template <typename Drop>
    std::int32_t RemoveIf(Drop drop)
    {
        T **first = m_items.get();
        T **kept = std::remove_if(first, first + m_count, drop);
        std::int32_t dropped = static_cast<std::int32_t>(first + m_count - kept);
        m_count -= dropped;
        return dropped;
    }

    /// Linear search by identity; -1 when absent.
    std::int32_t IndexOf(const T *item) const
    {
        for (std::int32_t i = 0; i < m_count; ++i)
            if (m_items[i] == item)
                return i;
        return -1;
    }

    void Clear()
    {
        m_items.reset();
        m_count = 0;
        m_capacity = 0;
    }

    void SetCapacity(std::int64_t n)
    {
        if (n < m_count || n > MaxListSize)
            Error("List capacity out of bounds (%d)", n);
        if (n == m_capacity)
            return;
        auto fresh = std::make_unique<T *[]>(static_cast<std::size_t>(n)); // throws bad_alloc, old array kept
        std::copy(m_items.get(), m_items.get() + m_count, fresh.get());
        m_items = std::move(fresh);
        m_capacity = static_cast<std::int32_t>(n);
    }

    void SetCount(std::int64_t n)
    {
        if (n < 0 || n > MaxListSize)
            Error("List count out of bounds (%d)", n);
        if (n > m_capacity)
            SetCapacity(n);
        for (std::int64_t i = m_count; i < n; ++i)
            m_items[i] = nullptr;
        m_count = static_cast<std::int32_t>(n);
    }

protected:
    virtual void Grow()
    {
        std::int32_t delta = m_capacity > 64 ? m_capacity / 4 : (m_capacity > 8 ? 16 : 4);
        SetCapacity(static_cast<std::int64_t>(m_capacity) + delta);
    }

    [[noreturn]] virtual void Error(const char *format, std::int64_t value)
    {
        char text[128];
        std::snprintf(text, sizeof text, format, static_cast<int>(value));
        throw EListError(text);
    }

    T **items() { return m_items.get(); }

private:
    std::unique_ptr<T *[]> m_items;
    std::int32_t m_count = 0;
    std::int32_t m_capacity = 0;
};

/// A pointer list kept in the order of a comparison function, with binary search.
template <typename T>
class TBAI : public TMyList<T> {
public:
    using CompareFn = int (*)(const T *, const T *);
    /// A faster sort that gives the same order as the comparison (optional).
    using SortFn = void (*)(T **items, std::int32_t count);

    explicit TBAI(CompareFn compare = nullptr) : m_compare(compare), m_sorted(compare != nullptr) {}

    CompareFn Compare() const { return m_compare; }
    bool Sorted() const { return m_sorted; }

    void SetCompare(CompareFn compare, SortFn fastSort = nullptr)
    {
        if (compare != m_compare)
            m_sorted = false;
        m_compare = compare;
        m_fastSort = fastSort;
    }

    void SetSorted(bool flag)
    {
        if (flag == m_sorted)
            return;
        if (flag)
            Sort();
        m_sorted = flag;
    }

    /// The caller guarantees the order.
    void MarkSorted() { m_sorted = true; }

    /// Binary search that stops at the first equal item it meets. Returns found;
    /// position is that item's position, or where the key would be inserted.
    bool Find(const T *key, std::int32_t &position) const
    {
        std::int32_t lo = 0, hi = this->Count() - 1;
        bool found = false;
        while (hi >= lo) {
            std::int32_t mid = lo + (hi - lo) / 2;
            int c = m_compare(this->Get(mid), key);
            if (c < 0) {
                lo = mid + 1;
            } else {
                hi = mid - 1;
                if (c == 0) {
                    lo = mid;
                    found = true;
                    break;
                }
            }
        }
        position = lo;
        return found;
    }

    /// First position whose item does not compare below key.
    std::int32_t LowerBound(const T *key) const
    {
        auto it = std::lower_bound(this->begin(), this->end(), key,
                                   [this](const T *a, const T *b) { return m_compare(a, b) < 0; });
        return static_cast<std::int32_t>(it - this->begin());
    }

    std::int32_t AddItem(T *item)
    {
        if (!m_sorted)
            return this->Add(item);
        std::int32_t position = 0;
        Find(item, position);
        this->Insert(position, item);
        return position;
    }

    /// Position of this very item: a binary search for its key, then a walk over
    /// the run of equal items; a linear search when the list is unsorted.
    std::int32_t PositionOf(const T *item) const
    {
        if (m_sorted && m_compare) {
            for (std::int32_t i = LowerBound(item); i < this->Count(); ++i) {
                if (this->Get(i) == item)
                    return i;
                if (m_compare(this->Get(i), item) != 0)
                    break;
            }
        }
        return this->IndexOf(item); // unsorted, or an item changed in place
    }

    void Sort()
    {
        if (m_sorted || this->Count() < 2 || !m_compare)
            return;
        bool large = this->Count() > 4999;
        if (large)
            NotifySortIndicator(true);
        CompareFn compare = m_compare;
        if (m_fastSort)
            m_fastSort(this->items(), this->Count());
        else
            std::sort(this->items(), this->items() + this->Count(),
                      [compare](const T *a, const T *b) { return compare(a, b) < 0; });
        m_sorted = true;
        if (large)
            NotifySortIndicator(false);
    }

private:
    CompareFn m_compare;
    SortFn m_fastSort = nullptr;
    bool m_sorted;
};

/// A sorted list that owns its records and keeps its secondary indexes in step.
template <typename T>
class TBRSorted : public TBAI<T> {
public:
    using typename TBAI<T>::CompareFn;

    explicit TBRSorted(CompareFn compare) : TBAI<T>(compare) {}
    ~TBRSorted() override { ClearRecs(); }

    std::int32_t AddRec(T *item)
    {
        std::int32_t position = this->AddItem(item);
        for (auto &index : m_indexes)
            index->AddItem(item);
        return position;
    }

    /// Takes ownership of the record and inserts it as AddRec(T *).
    std::int32_t AddRec(std::unique_ptr<T> item) { return AddRec(item.release()); }

    void DeleteRec(std::int32_t position)
    {
        T *item = this->Get(position);
        for (auto &index : m_indexes) {
            std::int32_t at = index->PositionOf(item);
            if (at >= 0)
                index->Delete(at);
        }
        this->Delete(position);
        FreeItem(item);
    }

    /// Removes and frees every record for which doomed(item) holds: one pass over
    /// this list and one over each index, the orders kept (instead of a search
    /// and a move of the list's tail per record). doomed must answer the same for
    /// a record in every pass. Returns how many were removed.
    template <typename Doomed>
    std::int32_t DeleteRecsIf(Doomed doomed)
    {
        for (auto &index : m_indexes)
            index->RemoveIf(doomed);
        std::vector<T *> removed;
        this->RemoveIf([&](T *item) {
            if (!doomed(item))
                return false;
            removed.push_back(item);
            return true;
        });
        for (T *item : removed)
            FreeItem(item);
        return static_cast<std::int32_t>(removed.size());
    }

    void ClearRecs()
    {
        if (this->Count() == 0)
            return;
        for (auto &index : m_indexes)
            index->Clear();
        for (std::int32_t i = this->Count() - 1; i >= 0; --i)
            FreeItem(this->Get(i));
        this->Clear();
    }

    TBAI<T> *AddIndex(CompareFn compare, typename TBAI<T>::SortFn fastSort = nullptr)
    {
        auto index = std::make_unique<TBAI<T>>(compare);
        index->SetCompare(compare, fastSort);
        if (this->Count() > 0) {
            index->SetSorted(false);
            index->SetCapacity(this->Count());
            for (T *item : *this)
                index->AddItem(item);
            index->SetSorted(true);
        }
        m_indexes.insert(m_indexes.begin(), std::move(index));
        return m_indexes.front().get();
    }

    void RemoveIndex(TBAI<T> *index)
    {
        std::erase_if(m_indexes, [index](const auto &p) { return p.get() == index; });
    }

    void SetCapacityAll(std::int64_t n)
    {
        this->SetCapacity(n);
        for (auto &index : m_indexes)
            index->SetCapacity(n);
    }

    void BeginBulk(bool keepOwnerSorted)
    {
        this->SetSorted(keepOwnerSorted);
        for (auto &index : m_indexes)
            index->SetSorted(false);
    }

    void EndBulk(bool trustOrder)
    {
        if (trustOrder)
            this->MarkSorted();
        else
            this->SetSorted(true);
        for (auto &index : m_indexes)
            index->SetSorted(true);
    }

    const std::vector<std::unique_ptr<TBAI<T>>> &Indexes() const { return m_indexes; }

protected:
    virtual void FreeItem(T *item) { delete item; }

private:
    std::vector<std::unique_ptr<TBAI<T>>> m_indexes; // the chain, newest first
};

} // namespace vellum
