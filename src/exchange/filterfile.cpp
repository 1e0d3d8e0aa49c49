#include "filterfile.h"

#include "logstore/bytes.h"
#include "logstore/fileio.h"

#include <algorithm>
#include <filesystem>

namespace vellum {

std::vector<std::uint8_t> EncodeFilter(const ImportFilter &filter)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(FilterRecordSize);
    ByteWriter out(bytes);
    out.shortString(filter.Ext.view(), 3);
    out.u8(filter.RecLen);
    out.shortString(filter.Id.view(), 8);
    out.u8(static_cast<std::uint8_t>(filter.Usage));
    out.shortString(filter.Description.view(), 30);
    out.u8(static_cast<std::uint8_t>(filter.DateChar));
    out.i32(filter.Modified);
    out.shortString(filter.NoteExt.view(), 3);
    out.u8(filter.FilterFreq);
    out.u8(filter.FilterImport);
    out.u8(filter.FilterDupes);
    for (const FieldSpec &spec : filter.FieldSpecs) {
        out.u8(spec.position);
        out.u8(spec.format);
        out.u8(spec.length);
    }
    return bytes;
}

ImportFilter DecodeFilter(std::span<const std::uint8_t, FilterRecordSize> record)
{
    ByteReader in(record);
    ImportFilter filter;
    filter.Ext = in.shortString(3);
    filter.RecLen = in.u8();
    filter.Id = in.shortString(8);
    std::uint8_t usage = in.u8();
    filter.Usage = usage <= 2 ? static_cast<FilterUsage>(usage) : FilterUsage::Import;
    filter.Description = in.shortString(30);
    filter.DateChar = static_cast<char>(in.u8());
    filter.Modified = in.i32();
    filter.NoteExt = in.shortString(3);
    filter.FilterFreq = in.u8();
    filter.FilterImport = in.u8();
    filter.FilterDupes = in.u8();
    for (FieldSpec &spec : filter.FieldSpecs) {
        spec.position = in.u8();
        spec.format = in.u8();
        spec.length = in.u8();
    }
    return filter;
}

ImportFilter NewFilter(std::uint16_t today)
{
    ImportFilter filter;
    filter.Modified = today + FilterDayOffset;
    return filter;
}

ImportFilter CopyOfFilter(const ImportFilter &filter, std::uint16_t today)
{
    ImportFilter copy = filter;
    copy.Modified = today + FilterDayOffset;
    std::string id = "&", description = "Cpy ";
    id += filter.Id.view(); // ShortString cuts to 8
    description += filter.Description.view();
    copy.Id = id;
    copy.Description = description;
    return copy;
}

std::uint16_t ModifiedDay(const ImportFilter &filter)
{
    std::int64_t day = static_cast<std::int64_t>(filter.Modified) - FilterDayOffset;
    return day > 0 && day <= 0xFFFF ? static_cast<std::uint16_t>(day) : 0;
}

FilterFileContents ReadFilterFile(const std::string &fileName)
{
    FilterFileContents contents;
    std::error_code ec;
    if (!std::filesystem::exists(fileName, ec))
        return contents;
    std::vector<std::uint8_t> bytes = ReadWholeFile(fileName);
    std::size_t records = bytes.size() / FilterRecordSize;
    if (bytes.size() % FilterRecordSize != 0)
        contents.problem = fileName + " is " + std::to_string(bytes.size()) + " bytes long, no multiple of " +
                           std::to_string(FilterRecordSize) + ": its last " +
                           std::to_string(bytes.size() % FilterRecordSize) + " bytes are no filter";
    contents.filters.reserve(records);
    for (std::size_t i = 0; i < records; ++i)
        contents.filters.push_back(
            DecodeFilter(std::span<const std::uint8_t, FilterRecordSize>(bytes.data() + i * FilterRecordSize,
                                                                         FilterRecordSize)));
    return contents;
}

void WriteFilterFile(const std::string &fileName, const std::vector<ImportFilter> &filters, bool cycleFiles)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(filters.size() * FilterRecordSize);
    for (const ImportFilter &filter : filters) {
        std::vector<std::uint8_t> record = EncodeFilter(filter);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    WriteWholeFile(fileName, bytes, cycleFiles);
}

// --- FilterList ----------------------------------------------------------------------

FilterList::FilterList(std::vector<ImportFilter> filters)
{
    m_filters.reserve(filters.size());
    for (ImportFilter &filter : filters)
        Add(std::move(filter));
}

int FilterList::Find(std::string_view id) const
{
    for (std::size_t i = 0; i < m_filters.size(); ++i)
        if (m_filters[i].Id.view() == id)
            return static_cast<int>(i);
    return -1;
}

std::string FilterList::uniqueId(std::string_view id, int except) const
{
    auto taken = [&](std::string_view candidate) {
        int at = Find(candidate);
        return at >= 0 && at != except;
    };
    if (!taken(id))
        return std::string(id);
    for (int number = 2;; ++number) {
        std::string suffix = std::to_string(number);
        std::string candidate = std::string(id.substr(0, 8 - suffix.size())) + suffix;
        if (!taken(candidate))
            return candidate;
    }
}

std::size_t FilterList::Add(ImportFilter filter)
{
    filter.Id = uniqueId(filter.Id.view(), -1);
    auto at = std::upper_bound(m_filters.begin(), m_filters.end(), filter,
                               [](const ImportFilter &a, const ImportFilter &b) { return a.Id.view() < b.Id.view(); });
    auto inserted = m_filters.insert(at, std::move(filter));
    return static_cast<std::size_t>(inserted - m_filters.begin());
}

std::size_t FilterList::Replace(std::size_t index, ImportFilter filter)
{
    filter.Id = uniqueId(filter.Id.view(), static_cast<int>(index));
    Remove(index);
    return Add(std::move(filter));
}

void FilterList::Remove(std::size_t index)
{
    if (index < m_filters.size())
        m_filters.erase(m_filters.begin() + static_cast<std::ptrdiff_t>(index));
}

} // namespace vellum
