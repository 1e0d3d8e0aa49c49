#include "prefixmap.h"

#include "detail/text.h"

#include "logstore/shortstring.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/trim.h"

#include <filesystem>

namespace vellum {

namespace {
/// A number as compared: without leading zeros ("005" and "5" are the same entity).
std::string_view numberKey(std::string_view number)
{
    number = Trim(number);
    while (number.size() > 1 && number.front() == '0')
        number.remove_prefix(1);
    return number;
}
} // namespace

PrefixMap PrefixMap::Parse(std::string_view text)
{
    PrefixMap map;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        std::size_t comma = line.find(',');
        if (comma == std::string_view::npos)
            continue;
        std::string_view prefix = TrimRight(line.substr(0, comma));
        std::string_view number = Trim(line.substr(comma + 1)).substr(0, 5);
        map.add(prefix.substr(0, 5), number);
    }
    return map;
}

std::optional<PrefixMap> PrefixMap::Load(const std::string &dir, std::string_view filterId)
{
    std::string fileName = FindFileNoCase(dir, std::string(filterId) + ".PMP");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec))
        return std::nullopt;
    std::vector<std::uint8_t> bytes = ReadWholeFile(fileName);
    return Parse(std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
}

void PrefixMap::add(std::string_view prefix, std::string_view number)
{
    m_prefixOfNumber.emplace(std::string(numberKey(number)), std::string(prefix));
    m_numberOfPrefix.emplace(UpperAscii(prefix), std::string(number));
    ++m_size;
}

std::optional<std::string> PrefixMap::PrefixOfNumber(std::string_view number) const
{
    auto it = m_prefixOfNumber.find(std::string(numberKey(number)));
    return it == m_prefixOfNumber.end() ? std::nullopt : std::optional<std::string>(it->second);
}

std::optional<std::string> PrefixMap::NumberOfPrefix(std::string_view prefix) const
{
    auto it = m_numberOfPrefix.find(UpperAscii(prefix));
    return it == m_numberOfPrefix.end() ? std::nullopt : std::optional<std::string>(it->second);
}

} // namespace vellum
