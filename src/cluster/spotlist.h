#pragma once
// The spot list: every spot in one sorted order of limited size, with a second
// index by key (callsign, mode, band) for the repeat rule. Spots stay where
// they were stored; the order is a vector of their slots, so an insert moves
// four bytes per spot at most and the list never reallocates at full capacity.

#include "spotrecord.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace vellum {

enum class SpotOrder : std::uint8_t { Time = 0, Arrival = 1, Callsign = 2, Frequency = 3, Priority = 4, Spotter = 5 };
inline constexpr int SpotOrderCount = 6;
/// "Time", "Arrival", "Callsign", "Frequency", "Priority", "Spotter".
extern const std::array<const char *, SpotOrderCount> SpotOrderNames;

/// What became of a spot offered to the list.
enum class SpotAdded { Dropped, Inserted, Replaced };

class SpotList {
public:
    explicit SpotList(std::size_t capacity = 100);

    std::size_t Count() const { return m_order.size(); }
    const TSpotRecord &At(std::size_t row) const { return m_slots[m_order[row]]; }
    /// The spots in list order.
    std::vector<TSpotRecord> Spots() const;

    SpotOrder Order() const { return m_sortOrder; }
    void SetOrder(SpotOrder order);
    std::size_t Capacity() const { return m_capacity; }
    /// A smaller capacity removes spots from the front of the order.
    void SetCapacity(std::size_t capacity);

    /// The repeat rule, the capacity and the arrival number; the spot's other fields are set.
    SpotAdded Add(TSpotRecord spot);
    /// Row of a spot after Add (by its arrival number); nothing when it is gone.
    std::optional<std::size_t> RowOfArrival(std::int32_t arrival) const;
    void Remove(std::size_t row);
    void Clear();
    /// Removes spots from the front of the order until one lies within maxMinutes of
    /// now (either way); returns how many went.
    std::size_t RemoveOlderThan(std::uint16_t today, int nowMinutes, int maxMinutes);
    /// Keeps the spots for which keep says so (after a ranking, for example); their order stays.
    void RemoveIf(const std::function<bool(const TSpotRecord &)> &drop);
    /// Calls change for every spot, then sorts again (classes may have changed).
    void ChangeEach(const std::function<void(TSpotRecord &)> &change);
    /// Loads spots as read from the file: their arrival numbers renumbered in arrival order.
    void Load(std::vector<TSpotRecord> spots);

    /// The first spot whose frequency is nearest to kHz.
    std::optional<std::size_t> NearestTo(double kHz) const;
    std::int32_t LastArrival() const { return m_arrival; }

private:
    using Slot = std::uint32_t;
    bool before(Slot a, Slot b) const;
    void insertSorted(Slot slot);
    void eraseRow(std::size_t row);
    std::size_t rowOfSlot(Slot slot) const;
    Slot newSlot(const TSpotRecord &spot);
    void resort();
    static std::string keyOf(const TSpotRecord &spot);

    std::size_t m_capacity;
    SpotOrder m_sortOrder = SpotOrder::Time;
    std::vector<TSpotRecord> m_slots;
    std::vector<Slot> m_free;
    std::vector<Slot> m_order;
    std::unordered_multimap<std::string, Slot> m_byKey;
    std::int32_t m_arrival = 0;
};

/// A spot's date and time as one number of minutes, for comparisons.
std::int64_t SpotMinutes(const TSpotRecord &spot);

/// One line of "Write spots to File": date dd-mmm-yyyy, hh:mm, call, kHz with
/// one decimal, mode, spotter, the remarks in double quotes.
std::string SpotCsvLine(const TSpotRecord &spot);
/// "No Spot", "One Spot", "5 Spots" followed by " Written".
std::string SpotsWrittenText(std::size_t count);

} // namespace vellum
