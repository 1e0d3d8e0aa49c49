#include "delimitedline.h"

#include "filterformats.h"
#include "importfilter.h"
#include "lineinput.h"

#include "logstore/trim.h"

#include <algorithm>
#include <limits>

namespace vellum {

namespace {

/// Reads a quoted value from just after its opening quote; returns the position after the closing quote
/// (line.size() when there is none).
std::size_t readQuoted(std::string_view line, std::size_t at, std::string &value, bool &closed)
{
    while (at < line.size()) {
        std::size_t quote = line.find('"', at);
        if (quote == std::string_view::npos)
            break;
        value.append(line.substr(at, quote - at));
        if (quote + 1 < line.size() && line[quote + 1] == '"') {
            value += '"';
            at = quote + 2;
            continue;
        }
        closed = true;
        return quote + 1;
    }
    value.append(line.substr(std::min(at, line.size())));
    closed = false;
    return line.size();
}

} // namespace

bool IsDelimitedFilterId(std::string_view id) { return id.substr(0, 3) == "CSV"; }

bool IsDelimitedFilter(const ImportFilter &filter) { return IsDelimitedFilterId(filter.Id.view()); }

std::size_t LineCapacityOf(const ImportFilter &filter)
{
    return IsDelimitedFilter(filter) ? std::numeric_limits<std::size_t>::max() : FilterLineCapacity;
}

std::vector<int> DelimitedFieldOrder(const ImportFilter &filter)
{
    std::vector<int> order;
    for (int field = 0; field < ImportFieldCount; ++field) {
        const FieldSpec &spec = filter.FieldSpecs[static_cast<std::size_t>(field)];
        bool ownLine = field >= ImportField::Note1 && field <= ImportField::Note3 && spec.format == NoteFormat::FollowsQso;
        if (spec.position != 0 && !ownLine)
            order.push_back(field);
    }
    std::stable_sort(order.begin(), order.end(), [&filter](int a, int b) {
        return filter.FieldSpecs[static_cast<std::size_t>(a)].position <
               filter.FieldSpecs[static_cast<std::size_t>(b)].position;
    });
    return order;
}

DelimitedValues SplitDelimitedLine(std::string_view line)
{
    DelimitedValues result;
    std::size_t at = 0;
    while (true) {
        std::size_t start = line.find_first_not_of(" \t", at);
        std::string value;
        if (start != std::string_view::npos && line[start] == '"') {
            bool closed = false;
            at = readQuoted(line, start + 1, value, closed);
            result.unterminatedQuote = !closed;
            // Anything between the closing quote and the next comma belongs to the value too.
            std::size_t comma = std::min(line.find(',', at), line.size());
            value.append(TrimRight(line.substr(at, comma - at)));
            at = comma;
        } else {
            std::size_t comma = std::min(line.find(',', at), line.size());
            value = Trim(line.substr(at, comma - at));
            at = comma;
        }
        result.values.push_back(std::move(value));
        if (at >= line.size())
            return result;
        ++at; // past the comma
    }
}

std::string QuoteDelimitedValue(std::string_view value)
{
    bool quoted = value.find_first_of(",\"") != std::string_view::npos ||
                  (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (!quoted)
        return std::string(value);
    std::string text = "\"";
    for (char c : value) {
        text += c;
        if (c == '"')
            text += '"';
    }
    return text + "\"";
}

std::string DelimitedTitleLine(const ImportFilter &filter)
{
    std::string line;
    for (int field : DelimitedFieldOrder(filter)) {
        if (!line.empty())
            line += ',';
        line += QuoteDelimitedValue(ImportFieldNames[static_cast<std::size_t>(field)].name);
    }
    return line;
}

} // namespace vellum
