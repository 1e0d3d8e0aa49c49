#include "countrycheck.h"

#include "country/countrydata.h"

#include "logstore/bytes.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace vellum {

namespace {

/// Reports problems of one line: the message and the prefixes it is about.
class CheckReport {
public:
    CheckReport(const TCountryData &data, MessageList &messages) : m_data(data), m_messages(messages) {}

    void Add(std::string_view message, std::int32_t country, std::string_view mapping = {})
    {
        std::string line(message);
        line += ' ';
        line += PaddedPrefix(m_data.CountryPrefix(country), 8);
        line += PaddedPrefix(mapping, 7);

        m_messages.Add(std::move(line), country, std::string(mapping));
        ++m_problems;
    }
    std::size_t Problems() const { return m_problems; }

private:
    const TCountryData &m_data;
    MessageList &m_messages;
    std::size_t m_problems = 0;
};

void checkCountries(const TCountryData &data, CheckReport &report)
{
    for (std::int32_t country = 1; country < data.CountryCount(); ++country) {
        const Record *record = data.Countries.Get(country);
        if (loadU16(record + CountryField::EndDate) < loadU16(record + CountryField::StartDate))
            report.Add(CheckText::CountryDates, country);
    }
}

void checkMappings(const TCountryData &data, CheckReport &report)
{
    std::optional<MappingInfo> previous; // the previous mapping with a country
    for (std::int32_t entry = 0; entry < data.Mappings.Count(); ++entry) {
        MappingInfo mapping = MappingInfo::Decode(data.Mappings.Get(entry));
        if (mapping.prefix.empty() && mapping.country == 0)
            continue; // a placeholder entry
        if (mapping.endDate < mapping.startDate)
            report.Add(CheckText::MappingDates, mapping.country, mapping.prefix);
        if (mapping.country <= 0 || !data.ValidCountry(mapping.country)) {
            report.Add(CheckText::NoCountry + std::to_string(entry), 0, mapping.prefix);
            continue;
        }
        // Periods that touch (one ends on the day the next starts) do not overlap.
        if (previous && previous->prefix == mapping.prefix && previous->startDate < mapping.endDate &&
            mapping.startDate < previous->endDate)
            report.Add(CheckText::Overlap, mapping.country, mapping.prefix);
        CountryInfo country = data.Country(mapping.country);
        if (mapping.startDate < country.startDate)
            report.Add(CheckText::StartsBeforeCountry, mapping.country, mapping.prefix);
        if (mapping.endDate > country.endDate)
            report.Add(CheckText::EndsAfterCountry, mapping.country, mapping.prefix);
        previous = std::move(mapping);
    }
}

} // namespace

std::string PaddedPrefix(std::string_view text, std::size_t width)
{
    std::string out(text.substr(0, 5));
    out.resize(std::max(out.size(), width), ' ');
    return out;
}

std::size_t CheckCountryData(const TCountryData &data, MessageList &messages)
{
    messages.Clear();
    CheckReport report(data, messages);
    checkCountries(data, report);
    checkMappings(data, report);
    messages.Add(CheckText::End);
    return report.Problems();
}

} // namespace vellum
