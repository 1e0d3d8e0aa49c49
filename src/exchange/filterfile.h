#pragma once
// The filter file (SAVE/VELLUM.IEP): a plain sequence of 193-byte filter
// records without header or count, and the list of filters held in identifier
// order with each identifier once.

#include "importfilter.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

inline constexpr std::size_t FilterRecordSize = 193;
/// Modified counts days from 1 January 1600; the log's day numbers from 1 January 1900.
inline constexpr std::int32_t FilterDayOffset = 109632;

/// The 193-byte record of a filter (unused string bytes zero).
std::vector<std::uint8_t> EncodeFilter(const ImportFilter &filter);
/// A filter from its record; length bytes above their capacity are clamped,
/// usage values above 2 read as "Import".
ImportFilter DecodeFilter(std::span<const std::uint8_t, FilterRecordSize> record);

/// A new filter: all zero except Modified, which is `today` (a day number of the log).
ImportFilter NewFilter(std::uint16_t today);
/// The copy the window makes: "&" + Id cut to 8, "Cpy " + Description cut to 30.
ImportFilter CopyOfFilter(const ImportFilter &filter, std::uint16_t today);
/// The day number of the log that Modified names; 0 when it lies outside them.
std::uint16_t ModifiedDay(const ImportFilter &filter);

struct FilterFileContents {
    std::vector<ImportFilter> filters;
    std::string problem; ///< set when the file's size is no multiple of 193 (its whole records are read)
};

/// Reads the filter file; no file gives no filters. Throws EFileError when the file exists but cannot be read.
FilterFileContents ReadFilterFile(const std::string &fileName);
/// Writes the filters whole through a temporary file; throws EFileError, leaving the old file untouched.
void WriteFilterFile(const std::string &fileName, const std::vector<ImportFilter> &filters, bool cycleFiles);

/// The filters of one window: sorted by identifier, each identifier once.
class FilterList {
public:
    FilterList() = default;
    /// Takes the filters in; a repeated identifier is made unique (see Add).
    explicit FilterList(std::vector<ImportFilter> filters);

    const std::vector<ImportFilter> &Filters() const { return m_filters; }
    std::size_t Size() const { return m_filters.size(); }
    bool Empty() const { return m_filters.empty(); }
    const ImportFilter &At(std::size_t index) const { return m_filters.at(index); }
    /// The position of the filter with this identifier (exact); -1 when none.
    int Find(std::string_view id) const;

    /// Adds a filter at its place by identifier and returns its position. An
    /// identifier another filter has already gets a number at its end
    /// (cutting it to 8 characters), so that no filter is lost or replaced.
    std::size_t Add(ImportFilter filter);
    /// Replaces the filter at index by another, which moves to its place; returns its position.
    std::size_t Replace(std::size_t index, ImportFilter filter);
    void Remove(std::size_t index);

private:
    std::string uniqueId(std::string_view id, int except) const;
    std::vector<ImportFilter> m_filters;
};

} // namespace vellum
