#include "ctyconvert.h"

#include "logstore/fileio.h"
#include "logstore/shortstring.h"
#include "logstore/trim.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <set>

#ifndef VELLUM_COUNTRY_SOURCE_DATA
#define VELLUM_COUNTRY_SOURCE_DATA "data"
#endif

namespace vellum {

namespace {

/// Calls handle for every data line: the first `words` blank-separated words and
/// the rest of the line (trimmed). Comment lines ("#") and empty lines are skipped.
void forEachDataLine(std::string_view text, std::size_t words, const std::string &fileName,
                     const std::function<void(const std::vector<std::string_view> &, std::string_view, int)> &handle)
{
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        std::vector<std::string_view> fields;
        std::size_t pos = 0;
        while (fields.size() < words) {
            while (pos < line.size() && IsBlank(line[pos]))
                ++pos;
            std::size_t start = pos;
            while (pos < line.size() && !IsBlank(line[pos]))
                ++pos;
            if (start == pos)
                break;
            fields.push_back(line.substr(start, pos - start));
        }
        if (fields.empty() || fields[0].front() == '#')
            continue;
        if (fields.size() < words)
            throw CtyFormatError(fileName + " line " + std::to_string(lineNumber) + ": expected " +
                                 std::to_string(words) + " columns");
        handle(fields, Trim(line.substr(pos)), lineNumber);
    }
}

template <typename T>
T dataNumber(std::string_view text, const std::string &fileName, int line)
{
    T value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        throw CtyFormatError(fileName + " line " + std::to_string(line) + ": \"" + std::string(text) +
                             "\" is not a number");
    return value;
}

std::string readText(const std::string &fileName)
{
    std::vector<std::uint8_t> bytes = ReadWholeFile(fileName);
    return std::string(bytes.begin(), bytes.end());
}

/// -0.0 would be stored with its sign bit; a plain zero reads better in a dump.
double negated(double value) { return value == 0 ? 0.0 : -value; }

std::uint8_t zoneByte(int zone) { return static_cast<std::uint8_t>(std::clamp(zone, 0, 255)); }

CountryInfo countryOf(const CtyEntity &entity, ConversionReport &report)
{
    CountryInfo c;
    c.prefix = entity.primaryPrefix;
    if (c.prefix.size() > CountryField::PrefixCapacity)
        report.notes.push_back("primary prefix " + c.prefix + " of " + entity.name + " cut to 5 characters");
    c.continent = static_cast<std::uint8_t>(ContinentOfCode(entity.continent));
    if (c.continent == static_cast<std::uint8_t>(Continent::Unknown))
        report.notes.push_back("unknown continent \"" + entity.continent + "\" of " + entity.name);
    c.ituZone = zoneByte(entity.ituZone);
    c.cqZone = zoneByte(entity.cqZone);
    c.utcOffset = negated(entity.utcBehind);
    c.longitude = negated(entity.westLongitude);
    c.latitude = entity.latitude;
    c.hasStates = DefaultHasStates(entity.primaryPrefix);
    c.name = entity.name;
    if (c.name.size() > CountryField::NameCapacity) {
        c.name.resize(CountryField::NameCapacity);
        report.notes.push_back("name \"" + entity.name + "\" cut to 28 characters");
    }
    return c;
}

/// Appends copies of every record of from to to, in order (from is in key order).
void copyFixedTable(const TOneIndex &from, TOneIndex &to)
{
    auto size = static_cast<std::size_t>(from.RecSize());
    for (const Record *record : from) {
        Record *copy = new Record[size];
        std::memcpy(copy, record, size);
        to.Add(copy);
    }
}

void copyTailTable(const TOneIndexTail &from, TOneIndexTail &to, TSel2 *second)
{
    for (const Record *record : from) {
        std::size_t length = from.RecLength(record);
        Record *copy = new Record[length];
        std::memcpy(copy, record, length);
        to.Add(copy);
        if (second)
            second->InsertSorted(copy);
    }
}

/// Adds records to a fixed table after sorting them by the table's key, so that
/// every insertion lands at the end.
template <std::size_t Size>
void addSorted(TOneIndex &table, std::vector<std::array<std::uint8_t, Size>> records)
{
    std::stable_sort(records.begin(), records.end(), [&table](const auto &a, const auto &b) {
        return table.CompareKeys(a.data(), b.data()) < 0;
    });
    for (const auto &record : records)
        table.AddCopy(record.data());
}

void addDefaultStates(const DefaultTables &defaults, TCountryData &out)
{
    out.States.AddRecord(StateInfo{}.Encode().data()); // entry 0: no state
    for (const StateInfo &state : defaults.states)
        out.States.AddRecord(state.Encode().data());
    for (const SectionEntry &section : defaults.sections) {
        std::uint8_t record[SectionField::Size] = {};
        std::size_t length = std::min(section.section.size(), SectionField::SectionCapacity);
        record[0] = static_cast<std::uint8_t>(length);
        std::memcpy(record + 1, section.section.data(), length);
        record[SectionField::State] = static_cast<std::uint8_t>(std::min(out.StateIndex(section.state), 255));
        out.Sections.AddCopy(record);
    }
    // Entry 0 of the IOTA table is a placeholder.
    out.Iota.AddRecord(out.Iota.MakeRecord(std::vector<std::uint8_t>(IotaField::Size, 0).data(), "").data());
}

void keepTables(const TCountryData &keep, TCountryData &out)
{
    copyTailTable(keep.States, out.States, &out.States.Second);
    copyFixedTable(keep.Sections, out.Sections);
    copyTailTable(keep.Iota, out.Iota, &out.Iota.Second);
    copyFixedTable(keep.Managers, out.Managers);
    copyTailTable(keep.Counties, out.Counties, &out.Counties.Second);
    copyTailTable(keep.Addresses, out.Addresses, nullptr);
}

/// The fields of a country that cty.dat does not give and a user may have edited.
void keepCountryFields(const TCountryData &keep, CountryInfo &country)
{
    std::int32_t old = keep.CountryIndexOfPrefix(country.prefix);
    if (old <= 0)
        return;
    CountryInfo kept = keep.Country(old);
    country.buro = kept.buro;
    country.fldChk = kept.fldChk;
    country.iota = kept.iota;
    country.mapNumber = kept.mapNumber;
}

class Converter {
public:
    Converter(const std::vector<CtyEntity> &entities, const DefaultTables &defaults, const TCountryData *keep,
              TCountryData &out)
        : m_entities(entities), m_defaults(defaults), m_keep(keep), m_out(out)
    {
        for (const StarEntity &star : defaults.starEntities)
            m_starParents[star.starPrefix] = star.parentPrefix;
    }

    ConversionReport run()
    {
        m_out.FreeCountryData();
        addCountries();
        addPrefixesAndCalls();
        if (m_keep)
            keepTables(*m_keep, m_out);
        else
            addDefaultStates(m_defaults, m_out);
        m_out.CreateAwardBlocks();
        m_out.CountryModified = false;
        m_out.AutosavePending = false;
        return m_report;
    }

private:
    /// The primary prefix of the country an entity's calls belong to.
    std::string countryPrefixOf(const CtyEntity &entity) const
    {
        if (!entity.waeOnly)
            return entity.primaryPrefix;
        auto parent = m_starParents.find(entity.primaryPrefix);
        return parent == m_starParents.end() ? entity.primaryPrefix : parent->second;
    }

    void addCountries()
    {
        m_out.Countries.AddRecord(CountryInfo{}.Encode().data()); // entry 0: no country
        for (const CtyEntity &entity : m_entities) {
            if (entity.waeOnly && m_starParents.count(entity.primaryPrefix))
                continue;
            if (entity.waeOnly)
                m_report.notes.push_back("\"*\" entity " + entity.primaryPrefix + " (" + entity.name +
                                         ") is not in the \"*\" table: kept as a country of its own");
            CountryInfo country = countryOf(entity, m_report);
            if (m_keep)
                keepCountryFields(*m_keep, country);
            if (m_out.CountryIndexOfPrefix(country.prefix) >= 0)
                throw CtyFormatError("cty.dat line " + std::to_string(entity.line) + ": the primary prefix " +
                                     country.prefix + " is listed twice");
            m_out.Countries.AddRecord(country.Encode().data());
        }
    }

    std::int16_t countryIndexOf(const CtyEntity &entity) const
    {
        std::string prefix = countryPrefixOf(entity);
        std::int32_t index = m_out.CountryIndexOfPrefix(prefix.substr(0, CountryField::PrefixCapacity));
        if (index <= 0)
            throw CtyFormatError("the \"*\" table names " + prefix + " as the DXCC entity of " +
                                 entity.primaryPrefix + ", but cty.dat has no entity with that prefix");
        return static_cast<std::int16_t>(index);
    }

    void addPrefixesAndCalls()
    {
        std::vector<std::array<std::uint8_t, MappingField::Size>> mappings{MappingInfo{}.Encode()};
        std::vector<std::array<std::uint8_t, ExceptionField::Size>> exceptions{ExceptionInfo{}.Encode()};
        // The country and zone each prefix and call got first: a later listing
        // that agrees is dropped quietly, one that disagrees is reported.
        std::map<std::string, std::pair<std::int16_t, std::uint8_t>> seenPrefixes, seenCalls;
        for (const CtyEntity &entity : m_entities) {
            std::int16_t country = countryIndexOf(entity);
            for (const CtyPrefix &prefix : entity.prefixes) {
                std::string text = UpperAscii(prefix.text);
                std::uint8_t zone = zoneByte(prefix.cqZone >= 0 ? prefix.cqZone : entity.cqZone);
                std::string where = (prefix.exactCall ? "=" : "") + text + " (" + entity.name + ")";
                std::size_t capacity = prefix.exactCall ? ExceptionField::CallCapacity : MappingField::PrefixCapacity;
                if (text.size() > capacity) {
                    (prefix.exactCall ? m_report.longCalls : m_report.longPrefixes).push_back(where);
                    continue;
                }
                auto &seen = prefix.exactCall ? seenCalls : seenPrefixes;
                auto [first, isNew] = seen.try_emplace(text, country, zone);
                if (!isNew) {
                    if (first->second != std::make_pair(country, zone))
                        m_report.duplicates.push_back(where);
                } else if (prefix.exactCall) {
                    exceptions.push_back(ExceptionInfo{text, country, zone, 0}.Encode());
                } else {
                    mappings.push_back(MappingInfo{text, country, zone, 0, 0xFFFF}.Encode());
                }
            }
        }
        addSorted(m_out.Mappings, std::move(mappings));
        addSorted(m_out.Exceptions, std::move(exceptions));
    }

    const std::vector<CtyEntity> &m_entities;
    const DefaultTables &m_defaults;
    const TCountryData *m_keep;
    TCountryData &m_out;
    std::map<std::string, std::string> m_starParents;
    ConversionReport m_report;
};

} // namespace

std::vector<StarEntity> ParseStarEntities(std::string_view text, const std::string &fileName)
{
    std::vector<StarEntity> entities;
    forEachDataLine(text, 2, fileName, [&](const auto &words, std::string_view, int line) {
        std::string_view star = words[0];
        if (star.front() != '*' || star.size() < 2)
            throw CtyFormatError(fileName + " line " + std::to_string(line) + ": \"" + std::string(star) +
                                 "\" does not begin with \"*\"");
        entities.push_back({std::string(star.substr(1)), std::string(words[1])});
    });
    return entities;
}

std::vector<StateInfo> ParseUsStates(std::string_view text, const std::string &fileName)
{
    std::vector<StateInfo> states;
    forEachDataLine(text, 4, fileName, [&](const auto &words, std::string_view name, int line) {
        StateInfo state;
        state.abbreviation = std::string(words[0]);
        int zone = dataNumber<int>(words[1], fileName, line);
        state.latitude = dataNumber<double>(words[2], fileName, line);
        state.longitude = dataNumber<double>(words[3], fileName, line);
        if (state.abbreviation.size() != 2 || zone < 1 || zone > 40 || name.empty() ||
            std::abs(state.latitude) > 90 || std::abs(state.longitude) > 180)
            throw CtyFormatError(fileName + " line " + std::to_string(line) + ": not a state line");
        state.cqZone = static_cast<std::uint8_t>(zone);
        state.name = std::string(name);
        states.push_back(std::move(state));
    });
    return states;
}

std::vector<SectionEntry> ParseArrlSections(std::string_view text, const std::string &fileName)
{
    std::vector<SectionEntry> sections;
    forEachDataLine(text, 2, fileName, [&](const auto &words, std::string_view, int line) {
        if (words[0].size() > SectionField::SectionCapacity)
            throw CtyFormatError(fileName + " line " + std::to_string(line) + ": section \"" +
                                 std::string(words[0]) + "\" is longer than 3 characters");
        sections.push_back({std::string(words[0]), words[1] == "-" ? std::string() : std::string(words[1])});
    });
    return sections;
}

std::string CountrySourceDataDir() { return VELLUM_COUNTRY_SOURCE_DATA; }

DefaultTables LoadDefaultTables(const std::string &dataDir)
{
    DefaultTables tables;
    std::string star = dataDir + "/cty-star-entities.txt";
    std::string states = dataDir + "/us-states.txt";
    std::string sections = dataDir + "/arrl-sections.txt";
    tables.starEntities = ParseStarEntities(readText(star), star);
    tables.states = ParseUsStates(readText(states), states);
    tables.sections = ParseArrlSections(readText(sections), sections);
    return tables;
}

std::uint8_t DefaultHasStates(std::string_view primaryPrefix)
{
    if (primaryPrefix == "K")
        return HasStatesValue::Yes;
    if (primaryPrefix == "KH6")
        return HasStatesValue::Hawaii;
    if (primaryPrefix == "KL")
        return HasStatesValue::Alaska;
    return HasStatesValue::No;
}

ConversionReport ConvertCtyDat(const std::vector<CtyEntity> &entities, const DefaultTables &defaults,
                               const TCountryData *keep, TCountryData &out)
{
    return Converter(entities, defaults, keep, out).run();
}

} // namespace vellum
