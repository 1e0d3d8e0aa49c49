#include "ctydat.h"

#include "logstore/trim.h"

#include <algorithm>
#include <charconv>

namespace vellum {

namespace {

[[noreturn]] void fail(int line, const std::string &what)
{
    throw CtyFormatError("cty.dat line " + std::to_string(line) + ": " + what);
}

template <typename T>
T number(std::string_view text, int line, const char *what)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    T value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        fail(line, std::string(what) + " \"" + std::string(text) + "\" is not a number");
    return value;
}

/// Where an override that opens with `open` ends.
char closingOf(char open)
{
    switch (open) {
    case '(': return ')';
    case '[': return ']';
    case '<': return '>';
    case '{': return '}';
    default: return '~';
    }
}

CtyPrefix parseItem(std::string_view item, int line)
{
    CtyPrefix prefix;
    if (!item.empty() && item.front() == '=') {
        prefix.exactCall = true;
        item.remove_prefix(1);
    }
    std::size_t end = std::min(item.find_first_of("([<{~"), item.size());
    prefix.text = std::string(item.substr(0, end));
    if (prefix.text.empty() || !std::all_of(prefix.text.begin(), prefix.text.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/';
        }))
        fail(line, "\"" + std::string(item) + "\" is not a prefix or call");
    std::string_view rest = item.substr(end);
    while (!rest.empty()) {
        std::size_t close = rest.find(closingOf(rest.front()), 1);
        if (close == std::string_view::npos)
            fail(line, "override in \"" + std::string(item) + "\" is not closed");
        std::string_view value = rest.substr(1, close - 1);
        if (rest.front() == '(')
            prefix.cqZone = number<int>(value, line, "CQ zone");
        else if (rest.front() == '[')
            prefix.ituZone = number<int>(value, line, "ITU zone");
        rest = rest.substr(close + 1);
    }
    return prefix;
}

/// Reads the eight header fields of an entity from pos on.
void parseHeader(std::string_view text, std::size_t &pos, CtyEntity &entity)
{
    std::string_view fields[8];
    for (auto &field : fields) {
        std::size_t colon = text.find(':', pos);
        std::size_t newline = text.find('\n', pos);
        if (colon == std::string_view::npos || newline < colon)
            fail(entity.line, "the entity header does not have eight fields ending in \":\"");
        field = Trim(text.substr(pos, colon - pos));
        pos = colon + 1;
    }
    entity.name = std::string(fields[0]);
    entity.cqZone = number<int>(fields[1], entity.line, "CQ zone");
    entity.ituZone = number<int>(fields[2], entity.line, "ITU zone");
    entity.continent = std::string(fields[3]);
    entity.latitude = number<double>(fields[4], entity.line, "latitude");
    entity.westLongitude = number<double>(fields[5], entity.line, "longitude");
    entity.utcBehind = number<double>(fields[6], entity.line, "UTC offset");
    std::string_view primary = fields[7];
    entity.waeOnly = !primary.empty() && primary.front() == '*';
    if (entity.waeOnly)
        primary.remove_prefix(1);
    if (primary.empty())
        fail(entity.line, "the entity has no primary prefix");
    entity.primaryPrefix = std::string(primary);
}

} // namespace

std::vector<CtyEntity> ParseCtyDat(std::string_view text)
{
    std::vector<CtyEntity> entities;
    std::size_t pos = 0;
    int line = 1;
    auto advanceTo = [&](std::size_t to) {
        line += static_cast<int>(std::count(text.begin() + static_cast<std::ptrdiff_t>(pos),
                                            text.begin() + static_cast<std::ptrdiff_t>(to), '\n'));
        pos = to;
    };
    for (;;) {
        std::size_t start = pos;
        while (start < text.size() && IsBlank(text[start]))
            ++start;
        if (start >= text.size())
            break;
        advanceTo(start);
        CtyEntity entity;
        entity.line = line;
        std::size_t headerEnd = pos;
        parseHeader(text, headerEnd, entity);
        std::size_t semicolon = text.find(';', headerEnd);
        if (semicolon == std::string_view::npos)
            fail(entity.line, "the prefix list of " + entity.name + " does not end with \";\"");
        std::string_view list = text.substr(headerEnd, semicolon - headerEnd);
        int itemLine = line;
        std::size_t counted = 0; // newlines of list before this offset are in itemLine
        std::size_t itemStart = 0;
        while (itemStart <= list.size()) {
            std::size_t comma = std::min(list.find(',', itemStart), list.size());
            std::string_view item = Trim(list.substr(itemStart, comma - itemStart));
            if (!item.empty()) {
                std::size_t at = static_cast<std::size_t>(item.data() - list.data());
                itemLine += static_cast<int>(std::count(list.begin() + static_cast<std::ptrdiff_t>(counted),
                                                        list.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
                counted = at;
                entity.prefixes.push_back(parseItem(item, itemLine));
            }
            itemStart = comma + 1;
        }
        advanceTo(semicolon + 1);
        entities.push_back(std::move(entity));
    }
    return entities;
}

} // namespace vellum
