#include "countryeditor.h"

#include "logstore/bytes.h"
#include "logstore/shortstring.h"

#include <algorithm>
#include <functional>

namespace vellum {

namespace {

/// Runs change on the country reference of every mapping and exception call.
void forEachReference(TCountryData &data, const std::function<std::int32_t(std::int32_t)> &change)
{
    auto update = [&](TSortedCollection &table, std::size_t offset) {
        for (Record *record : table) {
            auto country = static_cast<std::int16_t>(loadU16(record + offset));
            storeU16(record + offset, static_cast<std::uint16_t>(change(country)));
        }
    };
    update(data.Mappings, MappingField::Country);
    update(data.Exceptions, ExceptionField::Country);
}

/// The position a new country with this prefix takes.
std::int32_t positionFor(const TCountryData &data, const std::string &prefix)
{
    CountryInfo key;
    key.prefix = prefix;
    std::int32_t position = 0;
    data.Countries.Search(key.Encode().data(), position);
    return position;
}

/// Removes every record of a fixed table whose country reference is country.
void removeOfCountry(TOneIndex &table, std::size_t offset, std::int32_t country)
{
    for (std::int32_t i = table.Count() - 1; i >= 0; --i)
        if (static_cast<std::int16_t>(loadU16(table.Get(i) + offset)) == country)
            table.DeleteAt(i);
}

std::int32_t countOfCountry(const TOneIndex &table, std::size_t offset, std::int32_t country)
{
    return static_cast<std::int32_t>(std::count_if(table.begin(), table.end(), [&](const Record *record) {
        return static_cast<std::int16_t>(loadU16(record + offset)) == country;
    }));
}

} // namespace

CountryEditor::CountryEditor(TCountryData &data) : m_data(data)
{
    Show(1);
}

void CountryEditor::changed()
{
    m_changed = true;
    m_data.MarkCountryDataModified();
}

// --- moving ---------------------------------------------------------------------

void CountryEditor::Show(std::int32_t country)
{
    m_current = std::clamp(country, 1, std::max(1, m_data.CountryCount() - 1));
    loadMappings();
    loadCalls();
}

void CountryEditor::loadMappings()
{
    m_mappings.clear();
    std::vector<MappingInfo> others;
    for (const Record *record : m_data.Mappings) {
        MappingInfo mapping = MappingInfo::Decode(record);
        if (mapping.prefix.empty() && mapping.country == 0)
            continue; // a placeholder entry
        if (mapping.country == m_current)
            m_mappings.push_back({mapping.prefix, mapping.cqZone, mapping.startDate, mapping.endDate, {}});
        else
            others.push_back(std::move(mapping));
    }
    std::size_t own = m_mappings.size();
    for (std::size_t row = 0; row < own; ++row) {
        std::string prefix = m_mappings[row].prefix;
        for (const MappingInfo &other : others)
            if (other.prefix == prefix)
                m_mappings.push_back({other.prefix, other.cqZone, other.startDate, other.endDate,
                                      std::string(m_data.CountryPrefix(other.country))});
    }
}

void CountryEditor::loadCalls()
{
    m_calls.clear();
    for (const Record *record : m_data.Exceptions) {
        ExceptionInfo call = ExceptionInfo::Decode(record);
        if (call.country == m_current && !call.call.empty())
            m_calls.push_back({call.call, call.cqZone, call.date});
    }
}

// --- countries --------------------------------------------------------------------

EditResult CountryEditor::checkCountryFields(const CountryInfo &fields) const
{
    if (fields.prefix.empty())
        return EditResult::Refused("A country needs a prefix");
    std::int32_t same = m_data.CountryIndexOfPrefix(fields.prefix);
    if (same >= 0 && same != m_current)
        return EditResult::Refused("The prefix " + fields.prefix + " is already used by another country");
    if (!ValidCqZone(fields.cqZone))
        return EditResult::Refused("The CQ zone must lie between 1 and 40");
    if (fields.ituZone < 1 || fields.ituZone > MaxItuZone)
        return EditResult::Refused("The ITU zone must lie between 1 and 90");
    if (fields.endDate < fields.startDate)
        return EditResult::Refused("The end date lies before the start date");
    return {};
}

EditResult CountryEditor::AddCountry()
{
    if (m_data.CountryIndexOfPrefix(CountryEditorText::NewPrefix) >= 0)
        return EditResult::Refused(std::string("A new country ") + CountryEditorText::NewPrefix +
                                   " is waiting to be completed");
    std::int32_t position = positionFor(m_data, CountryEditorText::NewPrefix);
    CountryInfo country;
    country.prefix = CountryEditorText::NewPrefix;
    country.name = CountryEditorText::NewName;
    country.continent = 1;
    country.ituZone = 1;
    country.cqZone = 1;
    country.startDate = 0;
    country.endDate = 0xFFFF;
    country.buro = country.fldChk = country.hasStates = FlagNo;
    openGap(position);
    Show(m_data.InsertCountry(country));
    changed();
    return {};
}

EditResult CountryEditor::UpdateCountry(CountryInfo fields)
{
    if (m_current < 1 || !m_data.ValidCountry(m_current))
        return EditResult::Refused("There is no country to update");
    fields.name = fields.name.substr(0, CountryField::NameCapacity);
    if (EditResult valid = checkCountryFields(fields); !valid.done)
        return valid;
    std::int32_t from = m_current;
    std::int32_t placed = m_data.ReplaceCountry(from, fields);
    moveReferences(from, placed);
    Show(placed);
    changed();
    return {};
}

EditResult CountryEditor::DeleteCountry()
{
    if (m_current < 1 || !m_data.ValidCountry(m_current))
        return EditResult::Refused("There is no country to delete");
    std::string prefix(m_data.CountryPrefix(m_current));
    std::int32_t mappings = countOfCountry(m_data.Mappings, MappingField::Country, m_current);
    std::int32_t calls = countOfCountry(m_data.Exceptions, ExceptionField::Country, m_current);
    if (mappings > 0 || calls > 0)
        return EditResult::Refused("The country " + prefix + " still has " + std::to_string(mappings) +
                                   " mappings and " + std::to_string(calls) +
                                   " exception calls: delete them first");
    m_data.RemoveCountry(m_current);
    closeGap(m_current);
    Show(std::min(m_current, m_data.CountryCount() - 1));
    changed();
    return {};
}

void CountryEditor::moveReferences(std::int32_t from, std::int32_t to)
{
    if (from == to)
        return;
    forEachReference(m_data, [from, to](std::int32_t country) {
        if (country == from)
            return to;
        if (to < from && country >= to && country < from)
            return country + 1;
        if (to > from && country > from && country <= to)
            return country - 1;
        return country;
    });
}

void CountryEditor::closeGap(std::int32_t country)
{
    forEachReference(m_data, [country](std::int32_t reference) { return reference > country ? reference - 1 : reference; });
}

void CountryEditor::openGap(std::int32_t country)
{
    forEachReference(m_data, [country](std::int32_t reference) { return reference >= country ? reference + 1 : reference; });
}

// --- working mappings ------------------------------------------------------------------

int CountryEditor::AddMappingRow()
{
    m_mappings.push_back({});
    return static_cast<int>(m_mappings.size()) - 1;
}

bool CountryEditor::SetMapping(int row, WorkMapping mapping)
{
    if (row < 0 || row >= static_cast<int>(m_mappings.size()) || !m_mappings[row].Own())
        return false;
    mapping.otherCountry.clear();
    m_mappings[row] = std::move(mapping);
    return true;
}

bool CountryEditor::DeleteMappingRow(int row)
{
    if (row < 0 || row >= static_cast<int>(m_mappings.size()) || !m_mappings[row].Own())
        return false;
    std::string prefix = m_mappings[row].prefix.substr(0, MappingField::PrefixCapacity);
    m_mappings.erase(m_mappings.begin() + row);
    std::erase_if(m_mappings, [&](const WorkMapping &other) {
        return !other.Own() && other.prefix.substr(0, MappingField::PrefixCapacity) == prefix;
    });
    return true;
}

EditResult CountryEditor::UpdateMappings()
{
    for (const WorkMapping &row : m_mappings) {
        if (!row.Own() || row.prefix.empty())
            continue;
        if (!ValidCqZone(row.zone))
            return EditResult::Refused("The mapping " + row.prefix + " needs a CQ zone between 1 and 40");
        if (row.endDate < row.startDate)
            return EditResult::Refused("The mapping " + row.prefix + " ends before it starts");
    }
    removeOfCountry(m_data.Mappings, MappingField::Country, m_current);
    for (const WorkMapping &row : m_mappings) {
        if (!row.Own() || row.prefix.empty())
            continue;
        MappingInfo mapping{row.prefix.substr(0, MappingField::PrefixCapacity), static_cast<std::int16_t>(m_current),
                            row.zone, row.startDate, row.endDate};
        m_data.Mappings.AddCopy(mapping.Encode().data());
    }
    changed();
    loadMappings();
    return {};
}

// --- working calls ------------------------------------------------------------------------

int CountryEditor::AddCallRow()
{
    m_calls.push_back({});
    return static_cast<int>(m_calls.size()) - 1;
}

bool CountryEditor::SetCall(int row, WorkCall call)
{
    if (row < 0 || row >= static_cast<int>(m_calls.size()))
        return false;
    m_calls[row] = std::move(call);
    return true;
}

bool CountryEditor::DeleteCallRow(int row)
{
    if (row < 0 || row >= static_cast<int>(m_calls.size()))
        return false;
    m_calls.erase(m_calls.begin() + row);
    return true;
}

EditResult CountryEditor::UpdateCalls()
{
    for (const WorkCall &row : m_calls)
        if (!row.call.empty() && !ValidCqZone(row.zone))
            return EditResult::Refused("The call " + row.call + " needs a CQ zone between 1 and 40");
    removeOfCountry(m_data.Exceptions, ExceptionField::Country, m_current);
    for (const WorkCall &row : m_calls) {
        if (row.call.empty())
            continue;
        ExceptionInfo call{UpperAscii(row.call).substr(0, ExceptionField::CallCapacity),
                           static_cast<std::int16_t>(m_current), row.zone, row.date};
        m_data.Exceptions.AddCopy(call.Encode().data());
    }
    changed();
    loadCalls();
    return {};
}

} // namespace vellum
