#include "resolver.h"

#include "logstore/bytes.h"
#include "logstore/compare.h"
#include "logstore/daytime.h"
#include "logstore/qsorec.h"

#include <algorithm>
#include <cstring>

namespace vellum {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

/// A search key: the short string of text (cut to capacity) in a record-sized buffer.
template <std::size_t Size>
struct SearchKey {
    std::uint8_t bytes[Size] = {};
    SearchKey(std::string_view text, std::size_t capacity)
    {
        std::size_t length = std::min(text.size(), capacity);
        bytes[0] = static_cast<std::uint8_t>(length);
        std::memcpy(bytes + 1, text.data(), length);
    }
};

/// A call taken apart at its "/" signs.
struct SlashSplit {
    std::string_view base;      ///< what resolution goes on with
    std::string_view part;      ///< the part seen last
    int areaDigit = -1;         ///< the call-area digit of the last single-digit part
    bool countryPrefix = false; ///< base is a part that equals a country prefix
};

/// Splits off the slash parts: the side of a "/" that becomes base is the longer
/// one (the text before the "/" on equal length); designators, numbers and empty
/// parts are ignored; a part equal to a country prefix wins at once; a part
/// shorter than base replaces it. The first split uses the last "/", later
/// ones the first "/" left in base.
SlashSplit splitSlashParts(std::string_view call, const TCountryData &data)
{
    SlashSplit split;
    split.base = call;
    std::size_t slash = call.rfind('/');
    while (slash != std::string_view::npos) {
        std::string_view whole = split.base;
        // "/" at 1-based position slash + 1 lies past the middle when it exceeds length div 2.
        if (slash + 1 > whole.size() / 2) {
            split.part = whole.substr(slash + 1);
            split.base = whole.substr(0, slash);
        } else {
            split.part = whole.substr(0, slash);
            split.base = whole.substr(slash + 1);
        }
        std::string_view part = split.part;
        if (!part.empty() && !IsDesignator(part)) {
            if (allDigits(part)) {
                if (part.size() == 1)
                    split.areaDigit = part[0] - '0';
            } else if (data.CountryIndexOfPrefix(part) >= 0) {
                split.base = part;
                split.countryPrefix = true;
                break;
            } else if (part.size() < split.base.size()) {
                split.base = part;
            }
        }
        slash = split.base.find('/');
    }
    return split;
}

/// CompareExact for the short keys of the hot path, without a call to memcmp.
inline int compareShort(std::string_view a, std::string_view b)
{
    std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

/// Position of the first record of a table for which before(record) is false;
/// the records for which it is true must all come first (the key order).
template <typename Before>
std::int32_t lowerBound(const TSortedCollection &table, Before before)
{
    return static_cast<std::int32_t>(std::partition_point(table.begin(), table.end(), before) - table.begin());
}

std::int16_t recordCountry(const std::uint8_t *record, std::size_t offset)
{
    return static_cast<std::int16_t>(loadU16(record + offset));
}

/// The mapping in force for (prefix, date) among the mappings of exactly this
/// prefix, found from position (the first mapping not less than the prefix):
/// the latest start not after date whose end lies after date (an end of 0xFFFF
/// never comes). Of mappings with the same start the first in the table, the one
/// added last, wins. Mappings that point at no country are passed over.
const std::uint8_t *mappingInForce(const TCountryData &data, std::string_view prefix, std::int32_t position,
                                   std::uint16_t date)
{
    const std::uint8_t *inForce = nullptr;
    for (; position < data.Mappings.Count(); ++position) {
        const std::uint8_t *record = data.Mappings.Get(position);
        std::uint16_t start = loadU16(record + MappingField::StartDate);
        if (KeyText(record, MappingField::PrefixCapacity) != prefix || start > date)
            break;
        std::uint16_t end = loadU16(record + MappingField::EndDate);
        bool current = end == OpenEndDate || date < end;
        if (current && data.ValidCountry(recordCountry(record, MappingField::Country)) &&
            (!inForce || start > loadU16(inForce + MappingField::StartDate)))
            inForce = record;
    }
    return inForce;
}

/// The mapping in force for the longest beginning of base that has one.
/// Equivalent to trying base, then base without its last character, and so on;
/// lengths that no mapping can have are skipped: a mapping whose prefix is a
/// proper beginning of base sorts between that beginning and base, so it shares
/// at least its own length with the greatest mapping prefix below base.
const std::uint8_t *longestMapping(const TCountryData &data, std::string_view base, std::uint16_t date)
{
    const TSuffixIndex &table = data.Mappings;
    while (!base.empty()) {
        std::int32_t position = lowerBound(table, [base](const std::uint8_t *record) {
            return compareShort(KeyText(record, MappingField::PrefixCapacity), base) < 0;
        });
        if (const std::uint8_t *found = mappingInForce(data, base, position, date))
            return found;
        std::size_t next = base.size() - 1;
        if (position > 0) {
            std::string_view below = KeyText(table.Get(position - 1), MappingField::PrefixCapacity);
            std::size_t common = 0;
            while (common < below.size() && common < next && below[common] == base[common])
                ++common;
            next = common;
        } else {
            next = 0;
        }
        base = base.substr(0, next);
    }
    return nullptr;
}

/// The exception call in force for (call, date): the last entry of exactly this
/// call whose date is not after date; it must point at a country that has not
/// ended before date.
const std::uint8_t *findException(const TCountryData &data, std::string_view call, std::uint16_t date)
{
    if (call.size() > ExceptionField::CallCapacity)
        return nullptr;
    const TDefcallIndex &table = data.Exceptions;
    std::int32_t position = lowerBound(table, [call, date](const std::uint8_t *record) {
        int c = compareShort(KeyText(record, ExceptionField::CallCapacity), call);
        return c < 0 || (c == 0 && loadU16(record + ExceptionField::Date) < date);
    });
    bool found = position < table.Count() && KeyText(table.Get(position), ExceptionField::CallCapacity) == call &&
                 loadU16(table.Get(position) + ExceptionField::Date) == date;
    if (!found) {
        if (position == 0)
            return nullptr;
        --position;
        // Of several entries with the same call and date the first, the one
        // added last, is in force on every later date too.
        const std::uint8_t *last = data.Exceptions.Get(position);
        while (position > 0 && data.Exceptions.CompareKeys(data.Exceptions.Get(position - 1), last) == 0)
            --position;
    }
    const std::uint8_t *record = data.Exceptions.Get(position);
    if (KeyText(record, ExceptionField::CallCapacity) != call || loadU16(record + ExceptionField::Date) > date)
        return nullptr;
    std::int16_t country = recordCountry(record, ExceptionField::Country);
    if (!data.ValidCountry(country) || date > loadU16(data.Countries.Get(country) + CountryField::EndDate))
        return nullptr;
    return record;
}

std::uint8_t stateIndexByte(const TCountryData &data, std::string_view abbreviation)
{
    std::int32_t index = data.StateIndex(abbreviation);
    return index <= 0xFF ? static_cast<std::uint8_t>(index) : 0;
}

/// Zone and state after a mapping matched, by the country's HasStates.
void applyStateRules(const TCountryData &data, std::int16_t country, int areaDigit, TQsoRec &rec)
{
    switch (data.CountryByte(country, CountryField::HasStates)) {
    case HasStatesValue::Yes:
        if (rec.State != 0 && rec.State < data.States.Count())
            rec.Zone = data.StateCqZone(rec.State);
        else if (areaDigit >= 0)
            rec.Zone = AreaZoneTable[static_cast<std::size_t>(areaDigit)];
        break;
    case HasStatesValue::No: rec.State = 0; break;
    case HasStatesValue::Hawaii: rec.State = stateIndexByte(data, "HI"); break;
    case HasStatesValue::Alaska: rec.State = stateIndexByte(data, "AK"); break;
    default: break; // an unknown value leaves the state alone
    }
}

} // namespace

bool IsDesignator(std::string_view part)
{
    return std::any_of(DesignatorList.begin(), DesignatorList.end(),
                       [part](std::string_view designator) { return CompareNoCase(part, designator) == 0; });
}

std::string BaseCall(std::string_view call)
{
    std::size_t slash;
    while ((slash = call.find('/')) != std::string_view::npos)
        call = slash + 1 > call.size() / 2 ? call.substr(0, slash) : call.substr(slash + 1);
    return std::string(call);
}

void CountryResolver::ResolveCountry(TQsoRec &rec) const
{
    std::string_view call = rec.Call.view();
    if (const std::uint8_t *exception = findException(m_data, call, rec.Date)) {
        rec.Country = recordCountry(exception, ExceptionField::Country);
        rec.Zone = exception[ExceptionField::CqZone];
        return;
    }
    SlashSplit split = splitSlashParts(call, m_data);
    std::string_view base = split.base.substr(0, MappingField::PrefixCapacity);
    if (const std::uint8_t *mapping = longestMapping(m_data, base, rec.Date)) {
        rec.Country = recordCountry(mapping, MappingField::Country);
        rec.Zone = mapping[MappingField::CqZone];
        applyStateRules(m_data, rec.Country, split.areaDigit, rec);
        return;
    }
    rec.Country = 0;
    rec.Zone = 0;
}

std::string CountryResolver::WpxPrefix(std::string_view call) const
{
    SlashSplit split = splitSlashParts(call, m_data);
    char buffer[16];
    std::string_view base = split.base;
    if (split.countryPrefix) {
        // A country prefix such as "3Y/B" loses its "/".
        std::size_t length = 0;
        bool dropped = false;
        for (char c : base.substr(0, 15)) {
            if (c == '/' && !dropped)
                dropped = true;
            else
                buffer[length++] = c;
        }
        base = std::string_view(buffer, length);
    }
    if (base.empty())
        return {};
    std::size_t lastDigit = 0; // 1-based position of the last digit, 0 when none
    for (std::size_t i = 0; i < base.size(); ++i)
        if (isDigit(base[i]))
            lastDigit = i + 1;
    char out[16];
    std::size_t length;
    if (lastDigit == 0) {
        length = std::min<std::size_t>(2, base.size());
        std::memcpy(out, base.data(), length);
        out[length++] = '0';
    } else if (split.part.size() == 1 && isDigit(split.part[0])) {
        // A call-area digit after the "/" replaces the call's own digits.
        std::size_t runStart = lastDigit - 1;
        while (runStart > 0 && isDigit(base[runStart - 1]))
            --runStart;
        std::memcpy(out, base.data(), runStart);
        length = runStart;
        out[length++] = split.part[0];
    } else {
        length = lastDigit == 1 ? std::min<std::size_t>(2, base.size()) : lastDigit;
        std::memcpy(out, base.data(), length);
    }
    return std::string(out, std::min<std::size_t>(length, 7));
}

TQsoRec CountryResolver::ResolveCall(std::string_view call, std::uint16_t date) const
{
    TQsoRec rec;
    rec.Call = call;
    rec.Date = date;
    ResolveCountry(rec);
    return rec;
}

std::int16_t CountryResolver::CountryOfCall(std::string_view call, std::uint16_t date) const
{
    return ResolveCall(call, date).Country;
}

std::uint8_t CountryResolver::ZoneOfCall(std::string_view call, std::uint16_t date) const
{
    return ResolveCall(call, date).Zone;
}

bool CountryResolver::IsDeletedWpx(std::string_view prefix) const
{
    if (prefix.empty() || prefix.size() > DeletedWpxField::PrefixCapacity)
        return false;
    const TWPXDeleted &list = m_data.DeletedWpx;
    SearchKey<DeletedWpxField::Size> whole(prefix, DeletedWpxField::PrefixCapacity);
    if (list.IndexOfKey(whole.bytes) >= 0)
        return true;
    std::string_view rest = prefix;
    while (!rest.empty() && isDigit(rest.back()))
        rest.remove_suffix(1);
    if (rest.empty())
        return false;
    SearchKey<DeletedWpxField::Size> family(rest, DeletedWpxField::PrefixCapacity);
    std::int32_t position = list.IndexOfKey(family.bytes);
    if (position < 0)
        return false;
    const std::uint8_t *entry = list.Get(position);
    return entry[DeletedWpxField::Family] != 0 && KeyText(entry, DeletedWpxField::PrefixCapacity) == rest;
}

} // namespace vellum
