#include "countrydata.h"

#include "logstore/bytes.h"
#include "logstore/compare.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace vellum {

namespace {
const char *const ContinentCodes[] = {"AF", "AN", "AS", "EU", "NA", "OC", "SA"};

/// A search key holding a short string (cut to capacity) in a record-sized buffer.
template <std::size_t Size>
std::array<std::uint8_t, Size> keyRecord(std::string_view text, std::size_t capacity)
{
    std::array<std::uint8_t, Size> key{};
    std::size_t length = std::min({text.size(), capacity, Size - 1});
    key[0] = static_cast<std::uint8_t>(length);
    std::memcpy(key.data() + 1, text.data(), length);
    return key;
}

std::vector<std::uint8_t> encodeTail(std::vector<std::uint8_t> fixed, std::string_view tail, std::size_t capacity)
{
    ByteWriter writer(fixed);
    std::size_t length = std::min(tail.size(), capacity);
    writer.u8(static_cast<std::uint8_t>(length));
    writer.bytes(tail.data(), length);
    return fixed;
}

std::string stringAt(const std::uint8_t *p, std::size_t capacity) { return std::string(KeyText(p, capacity)); }

/// A mapping or exception-call record: key, country, CQ zone, then the dates.
template <std::size_t Size>
std::array<std::uint8_t, Size> encodeKeyedRecord(std::string_view key, std::size_t capacity, std::int16_t country,
                                                 std::uint8_t cqZone, std::initializer_list<std::uint16_t> dates)
{
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.shortString(key, capacity);
    w.i16(country);
    w.u8(cqZone);
    for (std::uint16_t date : dates)
        w.u16(date);
    std::array<std::uint8_t, Size> record{};
    std::copy_n(out.begin(), std::min(out.size(), Size), record.begin());
    return record;
}

double doubleAt(const std::uint8_t *p)
{
    ByteReader reader(std::span<const std::uint8_t>(p, 8));
    return reader.f64();
}
} // namespace

std::string_view ContinentCode(std::uint8_t continent)
{
    if (continent < 2 || continent > 8)
        return {};
    return ContinentCodes[continent - 2];
}

Continent ContinentOfCode(std::string_view code)
{
    for (int i = 0; i < 7; ++i)
        if (CompareNoCase(code, ContinentCodes[i]) == 0)
            return static_cast<Continent>(i + 2);
    return Continent::Unknown;
}

// --- records ------------------------------------------------------------------

std::vector<std::uint8_t> CountryInfo::Encode() const
{
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.shortString(prefix, CountryField::PrefixCapacity);
    w.u8(continent);
    w.u8(ituZone);
    w.u8(cqZone);
    w.f64(utcOffset);
    w.u16(mapNumber);
    w.f64(longitude);
    w.f64(latitude);
    w.u16(startDate);
    w.u16(endDate);
    w.shortString(iota, CountryField::IotaCapacity);
    w.u8(buro);
    w.u8(fldChk);
    w.u8(hasStates);
    w.zeros(4 + 15); // award-status reference and reserved bytes
    return encodeTail(std::move(out), name, 255);
}

CountryInfo CountryInfo::Decode(const std::uint8_t *record)
{
    CountryInfo c;
    c.prefix = stringAt(record + CountryField::Prefix, CountryField::PrefixCapacity);
    c.continent = record[CountryField::Continent];
    c.ituZone = record[CountryField::ItuZone];
    c.cqZone = record[CountryField::CqZone];
    c.utcOffset = doubleAt(record + CountryField::UtcOffset);
    c.mapNumber = loadU16(record + CountryField::MapNumber);
    c.longitude = doubleAt(record + CountryField::Longitude);
    c.latitude = doubleAt(record + CountryField::Latitude);
    c.startDate = loadU16(record + CountryField::StartDate);
    c.endDate = loadU16(record + CountryField::EndDate);
    c.iota = stringAt(record + CountryField::Iota, CountryField::IotaCapacity);
    c.buro = record[CountryField::Buro];
    c.fldChk = record[CountryField::FldChk];
    c.hasStates = record[CountryField::HasStates];
    c.name = std::string(ShortStringAt(record + CountryField::Size));
    return c;
}

std::vector<std::uint8_t> StateInfo::Encode() const
{
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.shortString(abbreviation, StateField::AbbreviationCapacity);
    w.u8(cqZone);
    w.zeros(2);
    w.f64(longitude);
    w.f64(latitude);
    return encodeTail(std::move(out), name, 255);
}

StateInfo StateInfo::Decode(const std::uint8_t *record)
{
    StateInfo s;
    s.abbreviation = stringAt(record + StateField::Abbreviation, StateField::AbbreviationCapacity);
    s.cqZone = record[StateField::CqZone];
    s.longitude = doubleAt(record + StateField::Longitude);
    s.latitude = doubleAt(record + StateField::Latitude);
    s.name = std::string(ShortStringAt(record + StateField::Size));
    return s;
}

std::array<std::uint8_t, MappingField::Size> MappingInfo::Encode() const
{
    return encodeKeyedRecord<MappingField::Size>(prefix, MappingField::PrefixCapacity, country, cqZone,
                                                 {startDate, endDate});
}

MappingInfo MappingInfo::Decode(const std::uint8_t *record)
{
    return {stringAt(record, MappingField::PrefixCapacity),
            static_cast<std::int16_t>(loadU16(record + MappingField::Country)), record[MappingField::CqZone],
            loadU16(record + MappingField::StartDate), loadU16(record + MappingField::EndDate)};
}

std::array<std::uint8_t, ExceptionField::Size> ExceptionInfo::Encode() const
{
    return encodeKeyedRecord<ExceptionField::Size>(call, ExceptionField::CallCapacity, country, cqZone, {date});
}

ExceptionInfo ExceptionInfo::Decode(const std::uint8_t *record)
{
    return {stringAt(record, ExceptionField::CallCapacity),
            static_cast<std::int16_t>(loadU16(record + ExceptionField::Country)), record[ExceptionField::CqZone],
            loadU16(record + ExceptionField::Date)};
}

// --- TCountryData -------------------------------------------------------------

TCountryData::TCountryData()
    : Countries(CountryField::Size, CountryField::PrefixCapacity),
      States(StateField::Size, StateField::AbbreviationCapacity),
      Sections(SectionField::Size, SectionField::SectionCapacity, KeyCase::Blind),
      Iota(IotaField::Size, IotaField::ReferenceCapacity), Counties(CountyField::Size, CountyField::KeyCapacity),
      Addresses(AddressField::Size, AddressField::CallCapacity)
{
}

TCountryData::~TCountryData() { FreeCountryData(); }

std::string_view TCountryData::CountryPrefix(std::int32_t country) const
{
    return ValidCountry(country) ? KeyText(Countries.Get(country), CountryField::PrefixCapacity) : std::string_view();
}

std::string_view TCountryData::CountryName(std::int32_t country) const
{
    return ValidCountry(country) ? ShortStringAt(Countries.TailOf(country)) : std::string_view();
}

std::uint8_t TCountryData::CountryByte(std::int32_t country, std::size_t offset) const
{
    return ValidCountry(country) ? Countries.Get(country)[offset] : 0;
}

CountryInfo TCountryData::Country(std::int32_t country) const
{
    return ValidCountry(country) ? CountryInfo::Decode(Countries.Get(country)) : CountryInfo{};
}

std::int32_t TCountryData::CountryIndexOfPrefix(std::string_view prefix) const
{
    if (prefix.size() > CountryField::PrefixCapacity)
        return -1;
    auto key = keyRecord<CountryField::PrefixCapacity + 1>(prefix, CountryField::PrefixCapacity);
    return Countries.IndexOfKey(key.data());
}

AwardStatusBlock *TCountryData::AwardStatusOf(std::int32_t country)
{
    if (!ValidCountry(country))
        return nullptr;
    auto &block = m_awardBlocks[Countries.Get(country)];
    if (!block)
        block = std::make_unique<AwardStatusBlock>();
    return block.get();
}

void TCountryData::CreateAwardBlocks()
{
    m_awardBlocks.clear();
    for (const Record *record : Countries)
        m_awardBlocks[record] = std::make_unique<AwardStatusBlock>();
}

std::int32_t TCountryData::StateIndex(std::string_view abbreviation) const
{
    if (abbreviation.empty() || abbreviation.size() > StateField::AbbreviationCapacity)
        return 0;
    auto key = keyRecord<StateField::AbbreviationCapacity + 1>(abbreviation, StateField::AbbreviationCapacity);
    std::int32_t position = States.IndexOfKey(key.data());
    return position > 0 ? position : 0;
}

std::string_view TCountryData::StateAbbreviation(std::int32_t state) const
{
    if (state <= 0 || state >= States.Count())
        return {};
    return KeyText(States.Get(state), StateField::AbbreviationCapacity);
}

std::uint8_t TCountryData::StateCqZone(std::int32_t state) const
{
    return state > 0 && state < States.Count() ? States.Get(state)[StateField::CqZone] : 0;
}

std::string TCountryData::AllowedState(std::int32_t country, std::string_view abbreviation) const
{
    switch (CountryByte(country, CountryField::HasStates)) {
    case HasStatesValue::Yes:
        if (CompareNoCase(abbreviation, "HI") == 0 || CompareNoCase(abbreviation, "AK") == 0 ||
            StateIndex(abbreviation) == 0)
            return {};
        return std::string(abbreviation);
    case HasStatesValue::Hawaii: return "HI";
    case HasStatesValue::Alaska: return "AK";
    default: return {};
    }
}

std::string TCountryData::CountyName(std::int32_t state, std::uint32_t number) const
{
    std::string_view abbreviation = StateAbbreviation(state);
    if (abbreviation.empty())
        return {};
    char digits[4];
    unsigned lastThree = number % 1000;
    digits[0] = static_cast<char>('0' + lastThree / 100);
    digits[1] = static_cast<char>('0' + lastThree / 10 % 10);
    digits[2] = static_cast<char>('0' + lastThree % 10);
    digits[3] = 0;
    std::string key = std::string(abbreviation) + digits;
    auto record = keyRecord<CountyField::KeyCapacity + 1>(key, CountyField::KeyCapacity);
    std::int32_t position = Counties.IndexOfKey(record.data());
    return position < 0 ? std::string() : Counties.TailString(position);
}

std::uint16_t TCountryData::CountyNumber(std::string_view stateAbbreviation, std::string_view countyName) const
{
    std::int32_t position = 0;
    if (!Counties.SearchSecond(countyName, position))
        return 0;
    for (; position < Counties.Second.Count(); ++position) {
        if (CompareNoCase(Counties.TailStringBySecond(position), countyName) != 0)
            break;
        std::string_view key = KeyText(Counties.ItemBySecond(position), CountyField::KeyCapacity);
        if (key.substr(0, 2) != stateAbbreviation)
            continue;
        std::uint16_t number = 0;
        for (char c : key.substr(std::min<std::size_t>(2, key.size())))
            if (c >= '0' && c <= '9')
                number = static_cast<std::uint16_t>(number * 10 + (c - '0'));
        return number;
    }
    return 0;
}

void TCountryData::AddExceptionCall(std::string_view call, std::int16_t country, std::uint8_t cqZone,
                                    std::uint16_t date)
{
    ExceptionInfo info{std::string(call), country, cqZone, date};
    auto record = info.Encode();
    Exceptions.AddCopy(record.data());
    MarkCountryDataModified();
}

std::int32_t TCountryData::InsertCountry(const CountryInfo &country)
{
    std::int32_t index = Countries.AddRecord(country.Encode().data());
    m_awardBlocks[Countries.Get(index)] = std::make_unique<AwardStatusBlock>();
    return index;
}

std::int32_t TCountryData::ReplaceCountry(std::int32_t country, const CountryInfo &replacement)
{
    if (!ValidCountry(country))
        return -1;
    auto kept = m_awardBlocks.extract(Countries.Get(country));
    Countries.DeleteAt(country);
    std::int32_t index = Countries.AddRecord(replacement.Encode().data());
    auto &block = m_awardBlocks[Countries.Get(index)];
    block = kept.empty() ? std::make_unique<AwardStatusBlock>() : std::move(kept.mapped());
    return index;
}

void TCountryData::RemoveCountry(std::int32_t country)
{
    if (!ValidCountry(country))
        return;
    m_awardBlocks.erase(Countries.Get(country));
    Countries.DeleteAt(country);
}

void TCountryData::MarkCountryDataModified()
{
    CountryModified = true;
    if (OnModified)
        OnModified();
}

void TCountryData::FreeCountryData()
{
    Countries.ClearAll();
    Mappings.FreeAll();
    Exceptions.FreeAll();
    States.ClearAll();
    Sections.FreeAll();
    Iota.ClearAll();
    Managers.FreeAll();
    Counties.ClearAll();
    Addresses.FreeAll();
    Wpx.FreeAll();
    m_awardBlocks.clear();
}

} // namespace vellum
