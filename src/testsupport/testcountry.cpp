#include "testcountry.h"

#include <cstring>
#include <vector>

namespace vellum::test {

namespace {

void addCountry(TCountryData &data, const std::string &prefix, const std::string &name, std::uint8_t cqZone,
                std::uint8_t hasStates, std::uint16_t endDate = 0xFFFF)
{
    CountryInfo c;
    c.prefix = prefix;
    c.name = name;
    c.cqZone = cqZone;
    c.ituZone = static_cast<std::uint8_t>(cqZone + 1);
    c.continent = static_cast<std::uint8_t>(Continent::Europe);
    c.hasStates = hasStates;
    c.endDate = endDate;
    c.longitude = 10.5;
    c.latitude = -20.25;
    c.utcOffset = 1.0;
    data.Countries.AddRecord(c.Encode().data());
}

void addMapping(TCountryData &data, const std::string &prefix, const std::string &country, std::uint8_t zone,
                std::uint16_t start = 0, std::uint16_t end = 0xFFFF)
{
    auto record = MappingInfo{prefix, CountryOf(data, country), zone, start, end}.Encode();
    data.Mappings.AddCopy(record.data());
}

void addException(TCountryData &data, const std::string &call, const std::string &country, std::uint8_t zone,
                  std::uint16_t date)
{
    auto record = ExceptionInfo{call, CountryOf(data, country), zone, date}.Encode();
    data.Exceptions.AddCopy(record.data());
}

void addState(TCountryData &data, const std::string &abbreviation, std::uint8_t zone, const std::string &name)
{
    data.States.AddRecord(StateInfo{abbreviation, zone, -75.0, 42.0, name}.Encode().data());
}

void addSection(TCountryData &data, const std::string &section, const std::string &state)
{
    std::uint8_t record[SectionField::Size] = {};
    record[0] = static_cast<std::uint8_t>(section.size());
    std::memcpy(record + 1, section.data(), section.size());
    record[SectionField::State] = static_cast<std::uint8_t>(data.StateIndex(state));
    data.Sections.AddCopy(record);
}

void addReferenceData(TCountryData &data)
{
    std::vector<std::uint8_t> iota(IotaField::Size, 0);
    data.Iota.AddRecord(data.Iota.MakeRecord(iota.data(), "").data());
    iota[0] = 5;
    std::memcpy(iota.data() + 1, "EU005", 5);
    data.Iota.AddRecord(data.Iota.MakeRecord(iota.data(), "Great Britain").data());

    std::uint8_t manager[ManagerField::Size] = {5, 'Q', 'Q', '1', 'A', 'B'};
    manager[ManagerField::Manager] = 3;
    std::memcpy(manager + ManagerField::Manager + 1, "K1M", 3);
    data.Managers.AddCopy(manager);

    std::vector<std::uint8_t> address(AddressField::Size, 0);
    address[0] = 3;
    std::memcpy(address.data() + 1, "K1M", 3);
    data.Addresses.AddLines(address.data(), {"Box 1", "Newington"});
}

} // namespace

void AddTestCounty(TCountryData &data, const std::string &key, const std::string &name)
{
    std::vector<std::uint8_t> fixed(CountyField::Size, 0);
    fixed[0] = static_cast<std::uint8_t>(key.size());
    std::memcpy(fixed.data() + 1, key.data(), key.size());
    data.Counties.AddRecord(data.Counties.MakeRecord(fixed.data(), name).data());
}

std::int16_t CountryOf(const TCountryData &data, const std::string &prefix)
{
    return static_cast<std::int16_t>(data.CountryIndexOfPrefix(prefix));
}

void BuildTestCountryData(TCountryData &data)
{
    data.FreeCountryData();
    addCountry(data, "", "", 0, HasStatesValue::No);
    addCountry(data, "K", "United States", 5, HasStatesValue::Yes);
    addCountry(data, "KH6", "Hawaii", 31, HasStatesValue::Hawaii);
    addCountry(data, "KL", "Alaska", 1, HasStatesValue::Alaska);
    addCountry(data, "QQ", "Home Land", 14, HasStatesValue::No);
    addCountry(data, "XX", "Ex Land", 20, HasStatesValue::No);
    addCountry(data, "OLD", "Old Land", 30, HasStatesValue::No, OldEndDay);
    addCountry(data, "YY", "Odd States", 25, 7);

    addMapping(data, "", "", 0); // placeholder
    addMapping(data, "K", "K", 5);
    addMapping(data, "W", "K", 5);
    addMapping(data, "KH6", "KH6", 31);
    addMapping(data, "KL", "KL", 1);
    addMapping(data, "Q", "OLD", 30);
    addMapping(data, "QQ", "QQ", 14);
    addMapping(data, "QQ1", "QQ", 15);
    addMapping(data, "QH", "QQ", 16);
    addMapping(data, "XX", "XX", 20);
    addMapping(data, "QV3", "XX", 21);
    addMapping(data, "5N", "XX", 22);
    addMapping(data, "YY", "YY", 25);
    addMapping(data, "QD", "OLD", 30, 0, ChangeDay);
    addMapping(data, "QD", "QQ", 14, ChangeDay, 0xFFFF);
    addMapping(data, "QE", "XX", 23, 0, QeEndDay);
    auto broken = MappingInfo{"QB", 999, 40, 0, 0xFFFF}.Encode(); // points at no country
    data.Mappings.AddCopy(broken.data());

    addException(data, "", "", 0, 0); // placeholder
    addException(data, "QQ9EX", "XX", 20, 0);
    addException(data, "QQ9EX", "K", 4, ChangeDay);
    addException(data, "QQ8OLD", "OLD", 30, 0);
    auto brokenCall = ExceptionInfo{"QQ7BAD", 999, 40, 0}.Encode();
    data.Exceptions.AddCopy(brokenCall.data());

    addState(data, "", 0, "");
    addState(data, "AK", 1, "Alaska");
    addState(data, "CA", 3, "California");
    addState(data, "HI", 31, "Hawaii");
    addState(data, "NY", 5, "New York");
    addSection(data, "EB", "CA");
    addSection(data, "NLI", "NY");
    AddTestCounty(data, "NY047", "Kings");
    AddTestCounty(data, "NY061", "New York");
    AddTestCounty(data, "CA031", "Kings");
    AddTestCounty(data, "CA037", "Los Angeles");
    addReferenceData(data);
    data.CreateAwardBlocks();
}

} // namespace vellum::test
