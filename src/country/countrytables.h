#pragma once
// The keyed tables of the country data and the byte layouts of their records.
// Every table compares its key as a short string cut to the key's capacity, so
// a damaged length byte never makes a comparison read past a record.

#include "logstore/keyedtables.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vellum {

/// The key text of the short string at p, cut to capacity.
inline std::string_view KeyText(const std::uint8_t *p, std::size_t capacity)
{
    return {reinterpret_cast<const char *>(p + 1), p[0] < capacity ? p[0] : capacity};
}

enum class KeyCase { Blind, Exact };

/// Fixed records keyed by a short string at offset 0 and, for some tables, a
/// day number (u16) at dateOffset as second key. The key of a search is a whole
/// record image (at least up to the date), never a bare short string.
class TKeyedFixedTable : public TOneIndex {
public:
    TKeyedFixedTable(std::int16_t recSize, std::size_t keyCapacity, KeyCase keyCase, int dateOffset = -1)
        : TOneIndex(recSize), m_keyCapacity(keyCapacity), m_keyCase(keyCase), m_dateOffset(dateOffset)
    {
    }
    int CompareKeys(const std::uint8_t *a, const std::uint8_t *b) const override;
    std::size_t KeyCapacity() const override { return m_keyCapacity; }

    using TSortedCollection::IndexOfKey;
    using TSortedCollection::Search;
    /// Search and IndexOfKey by the key text alone, with a second key (date) of
    /// 0: a key image as long as a record, so that the date is never read past it.
    bool Search(std::string_view key, std::int32_t &position) const;
    std::int32_t IndexOfKey(std::string_view key) const;

private:
    std::vector<std::uint8_t> keyImage(std::string_view key) const;
    std::size_t m_keyCapacity;
    KeyCase m_keyCase;
    int m_dateOffset;
};

/// Variable records (fixed part + tail) keyed by a short string at offset 0, ignoring case.
class TKeyedTailTable : public TOneIndexTail {
public:
    TKeyedTailTable(std::int16_t fixedSize, std::size_t keyCapacity) : TOneIndexTail(fixedSize), m_keyCapacity(keyCapacity) {}
    int CompareKeys(const std::uint8_t *a, const std::uint8_t *b) const override;

private:
    std::size_t m_keyCapacity;
};

/// Variable records with a second ordering by tail, keyed by a short string ignoring case.
class TKeyedTwoIndex : public TTwoIndex {
public:
    TKeyedTwoIndex(std::int16_t fixedSize, std::size_t keyCapacity) : TTwoIndex(fixedSize), m_keyCapacity(keyCapacity) {}
    int CompareKeys(const std::uint8_t *a, const std::uint8_t *b) const override;
    std::size_t KeyCapacity() const override { return m_keyCapacity; }

private:
    std::size_t m_keyCapacity;
};

// --- record layouts ---------------------------------------------------------

/// Country record: fixed part, then the name as tail.
namespace CountryField {
inline constexpr std::size_t Prefix = 0, Continent = 6, ItuZone = 7, CqZone = 8, UtcOffset = 9, MapNumber = 17,
                             Longitude = 19, Latitude = 27, StartDate = 35, EndDate = 37, Iota = 39, Buro = 45,
                             FldChk = 46, HasStates = 47, AwardStatus = 48, Reserved = 52, Size = 67;
inline constexpr std::size_t PrefixCapacity = 5, IotaCapacity = 5, NameCapacity = 28;
static_assert(Reserved + 15 == Size);
} // namespace CountryField

/// Prefix-mapping record, 12 bytes.
namespace MappingField {
inline constexpr std::size_t Prefix = 0, Country = 5, CqZone = 7, StartDate = 8, EndDate = 10, Size = 12;
inline constexpr std::size_t PrefixCapacity = 4;
static_assert(EndDate + 2 == Size);
} // namespace MappingField

/// Exception-call record, 18 bytes.
namespace ExceptionField {
inline constexpr std::size_t Call = 0, Country = 13, CqZone = 15, Date = 16, Size = 18;
inline constexpr std::size_t CallCapacity = 12;
static_assert(Date + 2 == Size);
} // namespace ExceptionField

/// State record: fixed part, then the name as tail.
namespace StateField {
inline constexpr std::size_t Abbreviation = 0, CqZone = 3, Reserved = 4, Longitude = 6, Latitude = 14, Size = 22;
inline constexpr std::size_t AbbreviationCapacity = 2;
static_assert(Latitude + 8 == Size);
} // namespace StateField

/// ARRL-section record, 5 bytes.
namespace SectionField {
inline constexpr std::size_t Section = 0, State = 4, Size = 5;
inline constexpr std::size_t SectionCapacity = 3;
} // namespace SectionField

/// IOTA record: fixed part, then the island name as tail. Files without the
/// "CTYB" magic hold an older fixed part of 10 bytes (reference + 4 reserved).
namespace IotaField {
inline constexpr std::size_t Reference = 0, Reserved = 6, Longitude = 10, Latitude = 18, Reserved2 = 26, Size = 41;
inline constexpr std::size_t OldSize = 10, ReferenceCapacity = 5, NameCapacity = 38;
static_assert(Reserved2 + 15 == Size);
} // namespace IotaField

/// QSL-manager record, 28 bytes.
namespace ManagerField {
inline constexpr std::size_t Call = 0, Date = 13, Manager = 15, Size = 28;
inline constexpr std::size_t CallCapacity = 12;
static_assert(Manager + 13 == Size);
} // namespace ManagerField

/// County record: the key (state abbreviation + 3-digit number), then the name as tail.
namespace CountyField {
inline constexpr std::size_t Key = 0, Size = 6;
inline constexpr std::size_t KeyCapacity = 5;
} // namespace CountyField

/// Manager-address record: the call, then the address lines (joined by 0xFF) as tail.
namespace AddressField {
inline constexpr std::size_t Call = 0, Size = 13;
inline constexpr std::size_t CallCapacity = 12;
} // namespace AddressField

/// Deleted-WPX entry, 9 bytes.
namespace DeletedWpxField {
inline constexpr std::size_t Prefix = 0, Family = 8, Size = 9;
inline constexpr std::size_t PrefixCapacity = 7;
} // namespace DeletedWpxField

/// WPX table entry, 122 bytes.
namespace WpxField {
inline constexpr std::size_t Prefix = 0, Deleted = 8, AwardStatus = 9, Size = 122;
inline constexpr std::size_t PrefixCapacity = 7, AwardStatusSize = 113;
static_assert(AwardStatus + AwardStatusSize == Size);
} // namespace WpxField

// --- the table classes ----------------------------------------------------

/// Prefix mappings: Prefix (exact bytes), then StartDate.
class TSuffixIndex : public TKeyedFixedTable {
public:
    TSuffixIndex()
        : TKeyedFixedTable(MappingField::Size, MappingField::PrefixCapacity, KeyCase::Exact, MappingField::StartDate)
    {
    }
};

/// Exception calls: Call (exact bytes), then Date.
class TDefcallIndex : public TKeyedFixedTable {
public:
    TDefcallIndex()
        : TKeyedFixedTable(ExceptionField::Size, ExceptionField::CallCapacity, KeyCase::Exact, ExceptionField::Date)
    {
    }
};

/// QSL managers: Call (exact bytes), then Date.
class TQSLMgrIndex : public TKeyedFixedTable {
public:
    TQSLMgrIndex()
        : TKeyedFixedTable(ManagerField::Size, ManagerField::CallCapacity, KeyCase::Exact, ManagerField::Date)
    {
    }
};

/// The deleted-WPX list: Prefix ignoring case.
class TWPXDeleted : public TKeyedFixedTable {
public:
    TWPXDeleted() : TKeyedFixedTable(DeletedWpxField::Size, DeletedWpxField::PrefixCapacity, KeyCase::Blind) {}
};

/// The WPX table the award model fills from the log: Prefix ignoring case.
class TWPXIndex : public TKeyedFixedTable {
public:
    TWPXIndex() : TKeyedFixedTable(WpxField::Size, WpxField::PrefixCapacity, KeyCase::Blind) {}
};

/// Cuts the length byte of the short string at p to its capacity.
inline void ClampShortString(std::uint8_t *p, std::size_t capacity)
{
    if (p[0] > capacity)
        p[0] = static_cast<std::uint8_t>(capacity);
}

} // namespace vellum
