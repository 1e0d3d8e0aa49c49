#include "spotlist.h"

#include "logstore/daytime.h"
#include "logstore/qsotables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vellum {

const std::array<const char *, SpotOrderCount> SpotOrderNames = {"Time",      "Arrival",  "Callsign",
                                                                 "Frequency", "Priority", "Spotter"};

std::int64_t SpotMinutes(const TSpotRecord &spot)
{
    return static_cast<std::int64_t>(spot.Date.get()) * 1440 + spot.Time.get();
}

SpotList::SpotList(std::size_t capacity) : m_capacity(std::max<std::size_t>(capacity, 1)) {}

std::vector<TSpotRecord> SpotList::Spots() const
{
    std::vector<TSpotRecord> spots;
    spots.reserve(m_order.size());
    for (Slot slot : m_order)
        spots.push_back(m_slots[slot]);
    return spots;
}

std::string SpotList::keyOf(const TSpotRecord &spot)
{
    std::string key = spot.Call.str();
    key += '\0';
    key += static_cast<char>(spot.Mode);
    key += static_cast<char>(spot.Band);
    return key;
}

bool SpotList::before(Slot a, Slot b) const
{
    const TSpotRecord &x = m_slots[a];
    const TSpotRecord &y = m_slots[b];
    auto byTime = [&]() -> int {
        std::int64_t d = SpotMinutes(x) - SpotMinutes(y);
        return d < 0 ? -1 : d > 0 ? 1 : 0;
    };
    auto byCall = [&] { return x.Call.view().compare(y.Call.view()); };
    auto byFreq = [&] { return x.Freq.get() < y.Freq.get() ? -1 : x.Freq.get() > y.Freq.get() ? 1 : 0; };
    int c = 0;
    switch (m_sortOrder) {
    case SpotOrder::Time:
        c = byTime();
        c = c ? c : byCall();
        break;
    case SpotOrder::Arrival: return x.Arrival.get() < y.Arrival.get();
    case SpotOrder::Callsign:
        c = byCall();
        c = c ? c : byFreq();
        break;
    case SpotOrder::Frequency:
        c = byFreq();
        c = c ? c : byCall();
        break;
    case SpotOrder::Priority:
        c = y.ClassNumber() - x.ClassNumber(); // highest class number first
        c = c ? c : byCall();
        c = c ? c : byFreq();
        break;
    case SpotOrder::Spotter:
        c = x.Spotter.view().compare(y.Spotter.view());
        c = c ? c : byTime();
        c = c ? c : byCall();
        break;
    }
    return c < 0;
}

void SpotList::insertSorted(Slot slot)
{
    auto at = std::upper_bound(m_order.begin(), m_order.end(), slot, [this](Slot a, Slot b) { return before(a, b); });
    m_order.insert(at, slot);
    m_byKey.emplace(keyOf(m_slots[slot]), slot);
}

std::size_t SpotList::rowOfSlot(Slot slot) const
{
    auto at = std::lower_bound(m_order.begin(), m_order.end(), slot, [this](Slot a, Slot b) { return before(a, b); });
    while (at != m_order.end() && *at != slot)
        ++at;
    return static_cast<std::size_t>(at - m_order.begin());
}

SpotList::Slot SpotList::newSlot(const TSpotRecord &spot)
{
    if (!m_free.empty()) {
        Slot slot = m_free.back();
        m_free.pop_back();
        m_slots[slot] = spot;
        return slot;
    }
    m_slots.push_back(spot);
    return static_cast<Slot>(m_slots.size() - 1);
}

void SpotList::eraseRow(std::size_t row)
{
    Slot slot = m_order[row];
    auto [first, last] = m_byKey.equal_range(keyOf(m_slots[slot]));
    for (auto it = first; it != last; ++it)
        if (it->second == slot) {
            m_byKey.erase(it);
            break;
        }
    m_order.erase(m_order.begin() + static_cast<std::ptrdiff_t>(row));
    m_free.push_back(slot);
}

std::optional<std::size_t> SpotList::RowOfArrival(std::int32_t arrival) const
{
    for (std::size_t row = m_order.size(); row-- > 0;)
        if (m_slots[m_order[row]].Arrival.get() == arrival)
            return row;
    return std::nullopt;
}

SpotAdded SpotList::Add(TSpotRecord spot)
{
    auto sameReport = [&spot](const TSpotRecord &old) {
        return old.Date.get() == spot.Date.get() && old.Time.get() == spot.Time.get() &&
               old.Freq.get() == spot.Freq.get() && old.Qsx.get() == spot.Qsx.get() && old.Remarks == spot.Remarks;
    };
    SpotAdded result = SpotAdded::Inserted;
    auto [first, last] = m_byKey.equal_range(keyOf(spot));
    if (m_sortOrder == SpotOrder::Arrival) {
        for (auto it = first; it != last; ++it)
            if (sameReport(m_slots[it->second]) && m_slots[it->second].Spotter == spot.Spotter)
                return SpotAdded::Dropped;
    } else if (first != last) {
        const TSpotRecord &old = m_slots[first->second];
        if (SpotMinutes(spot) < SpotMinutes(old) || sameReport(old))
            return SpotAdded::Dropped;
        eraseRow(rowOfSlot(first->second));
        result = SpotAdded::Replaced;
    }
    while (m_order.size() >= m_capacity)
        eraseRow(0);
    spot.Arrival = ++m_arrival;
    insertSorted(newSlot(spot));
    return result;
}

void SpotList::Remove(std::size_t row)
{
    if (row < m_order.size())
        eraseRow(row);
}

void SpotList::Clear()
{
    m_slots.clear();
    m_free.clear();
    m_order.clear();
    m_byKey.clear();
    m_arrival = 0;
}

std::size_t SpotList::RemoveOlderThan(std::uint16_t today, int nowMinutes, int maxMinutes)
{
    std::int64_t now = static_cast<std::int64_t>(today) * 1440 + nowMinutes;
    std::size_t removed = 0;
    while (!m_order.empty() && std::llabs(SpotMinutes(m_slots[m_order.front()]) - now) > maxMinutes) {
        eraseRow(0);
        ++removed;
    }
    return removed;
}

void SpotList::RemoveIf(const std::function<bool(const TSpotRecord &)> &drop)
{
    for (std::size_t row = m_order.size(); row-- > 0;)
        if (drop(m_slots[m_order[row]]))
            eraseRow(row);
}

void SpotList::resort()
{
    std::stable_sort(m_order.begin(), m_order.end(), [this](Slot a, Slot b) { return before(a, b); });
}

void SpotList::ChangeEach(const std::function<void(TSpotRecord &)> &change)
{
    std::vector<TSpotRecord> spots = Spots();
    for (TSpotRecord &spot : spots)
        change(spot);
    std::int32_t arrival = m_arrival;
    Clear();
    for (const TSpotRecord &spot : spots) {
        Slot slot = newSlot(spot);
        m_order.push_back(slot);
        m_byKey.emplace(keyOf(spot), slot);
    }
    m_arrival = arrival;
    resort();
}

void SpotList::SetOrder(SpotOrder order)
{
    m_sortOrder = order;
    resort();
}

void SpotList::SetCapacity(std::size_t capacity)
{
    m_capacity = std::max<std::size_t>(capacity, 1);
    while (m_order.size() > m_capacity)
        eraseRow(0);
}

void SpotList::Load(std::vector<TSpotRecord> spots)
{
    std::stable_sort(spots.begin(), spots.end(),
                     [](const TSpotRecord &a, const TSpotRecord &b) { return a.Arrival.get() < b.Arrival.get(); });
    Clear();
    if (spots.size() > m_capacity)
        spots.erase(spots.begin(), spots.end() - static_cast<std::ptrdiff_t>(m_capacity));
    for (TSpotRecord &spot : spots) {
        spot.Arrival = ++m_arrival;
        Slot slot = newSlot(spot);
        m_order.push_back(slot);
        m_byKey.emplace(keyOf(spot), slot);
    }
    resort();
}

std::optional<std::size_t> SpotList::NearestTo(double kHz) const
{
    std::optional<std::size_t> best;
    double bestDistance = 0;
    for (std::size_t row = 0; row < m_order.size(); ++row) {
        double distance = std::fabs(m_slots[m_order[row]].Freq.get() - kHz);
        if (!best || distance < bestDistance)
            best = row, bestDistance = distance;
    }
    return best;
}

std::string SpotCsvLine(const TSpotRecord &spot)
{
    char freq[32];
    std::snprintf(freq, sizeof freq, "%.1f", spot.Freq.get());
    std::string remarks;
    for (char c : spot.Remarks.view())
        remarks += c == '"' ? std::string("\"\"") : std::string(1, c);
    return FormatDayMonthName(spot.Date) + "," + FormatTime(spot.Time.get() * 60, false) + "," + spot.Call.str() +
           "," + freq + "," + ModeName(spot.Mode) + "," + spot.Spotter.str() + ",\"" + remarks + "\"";
}

std::string SpotsWrittenText(std::size_t count)
{
    std::string phrase = count == 0 ? "No Spot" : count == 1 ? "One Spot" : std::to_string(count) + " Spots";
    return phrase + " Written";
}

} // namespace vellum
