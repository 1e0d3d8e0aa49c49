#pragma once
// The stored selection record (64 bytes): a named filter over the log.

#include "shortstring.h"

#include <array>
#include <cstdint>
#include <span>

namespace vellum {

struct TSelection {
    ShortString<25> Name;
    std::uint8_t DateFilter = 0;
    std::uint16_t FirstDate = 0;
    std::uint16_t LastDate = 0xFFFF;
    std::uint8_t GroupFilter = 0;
    /// The 256-bit group set; bits 6 and 7 of byte 31 double as the QRP and YLop filters.
    std::array<std::uint8_t, 32> Groups{};

    bool HasGroup(int group) const { return (Groups[group / 8] >> (group % 8)) & 1; }
    void SetGroup(int group, bool on)
    {
        auto bit = static_cast<std::uint8_t>(1u << (group % 8));
        Groups[group / 8] = on ? (Groups[group / 8] | bit) : (Groups[group / 8] & ~bit);
    }
    bool QrpFilter() const { return Groups[31] & 0x40; }
    bool YlFilter() const { return Groups[31] & 0x80; }
};

inline constexpr std::size_t SelectionStoredSize = 64;

/// The built-in selection "All QSOs": every filter off, last date open.
TSelection AllQsosSelection();
void StoreSelection(const TSelection &selection, std::span<std::uint8_t, SelectionStoredSize> out);
void LoadSelection(std::span<const std::uint8_t, SelectionStoredSize> in, TSelection &selection);

} // namespace vellum
