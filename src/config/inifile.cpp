#include "config/inifile.h"

#include "logstore/compare.h"
#include "logstore/fileio.h"
#include "logstore/trim.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>

namespace vellum {

namespace {

constexpr std::size_t MaxValueLength = 255;
constexpr std::size_t MaxNameLength = 255;

std::string_view withoutPlus(std::string_view text)
{
    if (text.size() > 1 && text[0] == '+' && text[1] != '-')
        text.remove_prefix(1);
    return text;
}

template <typename Number>
bool parseWhole(std::string_view text, Number &out)
{
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, out);
    return result.ec == std::errc() && result.ptr == end;
}

} // namespace

TIniFile::TIniFile(std::string fileName, KeepGeneration keep) : m_fileName(std::move(fileName)), m_keep(keep)
{
    std::error_code ec;
    if (!std::filesystem::exists(m_fileName, ec))
        return;
    if (!std::filesystem::is_regular_file(m_fileName, ec))
        throw EFileError("Cannot read " + m_fileName + ": not a file");
    const std::vector<std::uint8_t> bytes = ReadWholeFile(m_fileName);
    LoadText(std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
}

TIniFile::~TIniFile()
{
    try {
        UpdateFile();
    } catch (const std::exception &) {
        // Documented: callers that must hear about a failed write call UpdateFile().
    }
}

bool TIniFile::NoCaseLess::operator()(std::string_view a, std::string_view b) const { return CompareNoCase(a, b) < 0; }

const TIniFile::Section *TIniFile::findSection(std::string_view name) const
{
    auto it = m_sections.find(name.substr(0, MaxNameLength));
    return it == m_sections.end() ? nullptr : &it->second;
}

TIniFile::Section &TIniFile::sectionFor(std::string_view name)
{
    name = name.substr(0, MaxNameLength);
    auto it = m_sections.find(name);
    if (it != m_sections.end())
        return it->second;
    m_dirty = true;
    return m_sections.emplace(std::string(name), Section{}).first->second;
}

const std::string *TIniFile::findValue(std::string_view section, std::string_view key) const
{
    const Section *s = findSection(section);
    if (!s)
        return nullptr;
    auto at = s->positions.find(key.substr(0, MaxNameLength));
    return at == s->positions.end() ? nullptr : &s->pairs[at->second].second;
}

void TIniFile::store(Section &section, std::string_view key, std::string_view value)
{
    key = key.substr(0, MaxNameLength);
    value = value.substr(0, MaxValueLength);
    if (auto at = section.positions.find(key); at != section.positions.end()) {
        std::string &stored = section.pairs[at->second].second;
        if (stored != value) {
            stored.assign(value);
            m_dirty = true;
        }
        return;
    }
    section.positions.emplace(std::string(key), section.pairs.size());
    section.pairs.emplace_back(std::string(key), std::string(value));
    m_dirty = true;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    store(sectionFor(section), key, value);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::WriteFloat(std::string_view section, std::string_view key, double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    WriteString(section, key, std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const
{
    const std::string *value = findValue(section, key);
    return std::string(Trim(value ? std::string_view(*value) : fallback));
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const
{
    const std::string text = ReadString(section, key, "");
    std::int32_t number = 0;
    return parseWhole(withoutPlus(text), number) ? number : fallback;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(std::string_view section, std::string_view key, double fallback) const
{
    std::string text = ReadString(section, key, "");
    // Files written where the decimal point is a comma are read as well.
    if (text.find('.') == std::string::npos && std::count(text.begin(), text.end(), ',') == 1)
        std::replace(text.begin(), text.end(), ',', '.');
    double number = 0;
    return parseWhole(withoutPlus(text), number) && std::isfinite(number) ? number : fallback;
}

bool TIniFile::SectionExists(std::string_view section) const { return findSection(section) != nullptr; }

std::vector<std::string> TIniFile::ReadSections() const
{
    std::vector<std::string> names;
    for (const auto &section : m_sections)
        names.push_back(section.first);
    return names;
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const
{
    std::vector<std::string> keys;
    if (const Section *s = findSection(section))
        for (const auto &pair : s->pairs)
            keys.push_back(pair.first);
    return keys;
}

void ForEachIniLine(std::string_view text, const std::function<void(int, std::string_view)> &line)
{
    for (int number = 1; !text.empty(); ++number) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view current = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        while (!current.empty() && current.back() == '\r')
            current.remove_suffix(1);
        if (!current.empty())
            line(number, current);
    }
}

void TIniFile::LoadText(std::string_view text)
{
    m_sections.clear();
    Section *current = nullptr; // lines before the first section are dropped
    ForEachIniLine(text, [&](int, std::string_view line) {
        if (IsIniSectionLine(line)) {
            current = &sectionFor(line.substr(1, line.size() - 2));
        } else if (current) {
            const std::size_t equals = line.find('=');
            const std::string_view key = line.substr(0, equals);
            const std::string_view value = equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
            store(*current, key, value);
        }
    });
    m_dirty = false;
}

std::string TIniFile::Text() const
{
    std::string text;
    for (const auto &[name, section] : m_sections) {
        if (!text.empty())
            text += '\n';
        text += '[' + name + "]\n";
        for (const auto &[key, value] : section.pairs)
            text += key + '=' + value + '\n';
    }
    return text;
}

void TIniFile::UpdateFile()
{
    if (!m_dirty || m_fileName.empty())
        return;
    const std::string text = Text();
    WriteWholeFile(m_fileName, std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()),
                   m_keep == KeepGeneration::Yes);
    m_dirty = false;
}

} // namespace vellum
