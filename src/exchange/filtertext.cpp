#include "filtertext.h"

#include "filterfile.h"
#include "filterformats.h"
#include "lineinput.h"

#include "logstore/compare.h"
#include "logstore/trim.h"

#include <algorithm>
#include <charconv>

namespace vellum {

namespace {

std::optional<int> number(std::string_view text, int low, int high)
{
    text = Trim(text);
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

int fieldOfName(std::string_view name)
{
    for (int i = 0; i < ImportFieldCount; ++i)
        if (CompareNoCase(ImportFieldNames[static_cast<std::size_t>(i)].name, name) == 0)
            return i;
    return -1;
}

/// Splits "position,format[,length]"; a format holding commas is quoted ("160,80,40").
bool splitField(std::string_view value, std::string_view &position, std::string_view &format, std::string_view &length)
{
    std::size_t comma = value.find(',');
    if (comma == std::string_view::npos)
        return false;
    position = value.substr(0, comma);
    std::string_view rest = TrimLeft(value.substr(comma + 1));
    std::size_t end = 0;
    if (!rest.empty() && rest.front() == '"') {
        std::size_t quote = rest.find('"', 1);
        if (quote == std::string_view::npos)
            return false;
        format = rest.substr(1, quote - 1);
        end = quote + 1;
    } else {
        end = std::min(rest.find(','), rest.size());
        format = Trim(rest.substr(0, end));
    }
    rest = Trim(rest.substr(end));
    if (!rest.empty() && rest.front() != ',')
        return false;
    length = rest.empty() ? std::string_view() : rest.substr(1);
    return true;
}

/// "position,format[,length]" of a field; an error text when it cannot be read.
std::string setField(ImportFilter &filter, int field, std::string_view value)
{
    std::string_view positionText, formatName, lengthText;
    if (!splitField(value, positionText, formatName, lengthText))
        return "a field is position,format[,length]: " + std::string(value);
    std::optional<int> position = number(positionText, 1, 255);
    const bool plain = ImportFieldNames[static_cast<std::size_t>(field)].kind == FieldKind::Plain;
    std::optional<int> format = plain ? std::optional<int>(0) : FormatOfName(field, formatName);
    if (!position || !format)
        return "no position 1..255 or no format of the field: " + std::string(value);
    std::optional<int> length = FixedLength(field, *format);
    if (!Trim(lengthText).empty())
        length = number(lengthText, 1, 255);
    if (!length)
        return "the field needs a length 1..255: " + std::string(value);
    filter.FieldSpecs[static_cast<std::size_t>(field)] = {static_cast<std::uint8_t>(*position),
                                                          static_cast<std::uint8_t>(*format),
                                                          static_cast<std::uint8_t>(*length)};
    return {};
}

std::string setGeneral(ImportFilter &filter, std::string_view key, std::string_view value)
{
    auto is = [&](const char *name) { return CompareNoCase(key, name) == 0; };
    if (is("Description"))
        filter.Description = value;
    else if (is("Ext"))
        filter.Ext = value;
    else if (is("NoteExt"))
        filter.NoteExt = value;
    else if (is("DateChar"))
        filter.DateChar = value.empty() ? '/' : value.front();
    else if (is("RecLen")) {
        std::optional<int> length = number(value, 0, 255);
        if (!length)
            return "RecLen is 0..255";
        filter.RecLen = static_cast<std::uint8_t>(*length);
    } else if (is("Usage")) {
        for (FilterUsage usage : {FilterUsage::Import, FilterUsage::ImportExport, FilterUsage::BinaryImport})
            if (CompareNoCase(UsageName(usage), value) == 0) {
                filter.Usage = usage;
                return {};
            }
        return "Usage is Import, Imp/Exp or Binary Imp";
    } else if (is("Frequency") || is("ImportFrom") || is("Duplicates")) {
        std::uint8_t &flag = is("Frequency") ? filter.FilterFreq : is("ImportFrom") ? filter.FilterImport : filter.FilterDupes;
        flag = CompareNoCase(value, "Y") == 0 ? 1 : 0;
    } else {
        return "unknown setting " + std::string(key);
    }
    return {};
}

} // namespace

std::string_view UsageName(FilterUsage usage)
{
    switch (usage) {
    case FilterUsage::ImportExport: return "Imp/Exp";
    case FilterUsage::BinaryImport: return "Binary Imp";
    default: return "Import";
    }
}

FilterTextResult ParseFilterText(std::string_view text, std::uint16_t today)
{
    FilterTextResult result;
    LineInput input(text);
    TextLine line;
    int lineNumber = 0;
    while (input.Next(line)) {
        ++lineNumber;
        std::string_view content = Trim(line.text);
        if (content.empty() || content.front() == ';')
            continue;
        std::string problem;
        if (content.front() == '[' && content.back() == ']') {
            result.filters.push_back(NewFilter(today));
            result.filters.back().Id = content.substr(1, content.size() - 2);
        } else if (std::size_t equals = content.find('='); equals == std::string_view::npos || result.filters.empty()) {
            problem = "no [ID] before it, or no key=value";
        } else {
            std::string_view key = Trim(content.substr(0, equals)), value = Trim(content.substr(equals + 1));
            int field = fieldOfName(key);
            problem = field >= 0 ? setField(result.filters.back(), field, value)
                                 : setGeneral(result.filters.back(), key, value);
        }
        if (!problem.empty())
            result.errors.push_back("line " + std::to_string(lineNumber) + ": " + problem);
    }
    return result;
}

} // namespace vellum
