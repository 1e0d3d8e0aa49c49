#include "customaward.h"

#include "country/countrydata.h"

#include "logstore/compare.h"
#include "logstore/qsorec.h"
#include "logstore/qsotables.h"
#include "logstore/shortstring.h"
#include "logstore/trim.h"

#include <algorithm>

namespace vellum {

namespace {

bool switchedOn(char c) { return c == '1' || c == 'Y' || c == 'y'; }

template <std::size_t N>
void setSwitches(std::array<bool, N> &switches, std::string_view text)
{
    for (std::size_t i = 0; i < text.size() && i + 1 < N; ++i)
        switches[i + 1] = switchedOn(text[i]);
}

/// Inserts value into a list ordered by key(value), ignoring case.
template <typename Key>
void insertSorted(std::vector<TCustAwardValue> &list, TCustAwardValue value, Key key)
{
    auto at = std::partition_point(list.begin(), list.end(), [&](const TCustAwardValue &entry) {
        return CompareNoCase(key(entry), key(value)) < 0;
    });
    list.insert(at, std::move(value));
}

template <typename Key>
const TCustAwardValue *findSorted(const std::vector<TCustAwardValue> &list, std::string_view text, Key key)
{
    auto at = std::partition_point(list.begin(), list.end(),
                                   [&](const TCustAwardValue &entry) { return CompareNoCase(key(entry), text) < 0; });
    return at != list.end() && CompareNoCase(key(*at), text) == 0 ? &*at : nullptr;
}

std::string_view keyOf(const TCustAwardValue &value) { return value.key; }
std::string_view nameOf(const TCustAwardValue &value) { return value.longName; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

// --- TCustAward -----------------------------------------------------------------

TCustAward::TCustAward(std::string_view ident)
    : Ident(ident.substr(0, CustAwardIdentCapacity)), Name(ident.substr(0, CustAwardNameCapacity))
{
    ModeGroups.fill(true);
    Bands.fill(true);
    ModeGroups[0] = Bands[0] = false;
}

void TCustAward::AddCountries(std::string_view prefixes)
{
    std::string list;
    while (true) {
        std::size_t comma = prefixes.find(',');
        std::string_view prefix = Trim(prefixes.substr(0, comma));
        if (!prefix.empty())
            list += (list.empty() ? "" : ",") + std::string(prefix);
        if (comma == std::string_view::npos)
            break;
        prefixes.remove_prefix(comma + 1);
    }
    Countries += "," + list + ",";
}

void TCustAward::SetModes(std::string_view switches) { setSwitches(ModeGroups, switches); }

void TCustAward::SetBands(std::string_view switches) { setSwitches(Bands, switches); }

bool TCustAward::AppliesToCountry(std::string_view prefix) const
{
    if (Countries.empty())
        return true;
    if (prefix.empty())
        return false;
    return UpperAscii(Countries).find("," + UpperAscii(prefix) + ",") != std::string::npos;
}

bool TCustAward::AppliesToBand(int band) const { return band >= 1 && band < static_cast<int>(Bands.size()) && Bands[band]; }

bool TCustAward::AppliesToModeGroup(int group) const
{
    return group >= 1 && group < static_cast<int>(ModeGroups.size()) && ModeGroups[group];
}

TCustAward::AddValueResult TCustAward::AddValue(std::string_view key, std::string_view longName)
{
    TCustAwardValue value{UpperAscii(key.substr(0, CustAwardValueCapacity)), std::string(longName)};
    if (ValueOfKey(value.key))
        return AddValueResult::DuplicateKey;
    if (ValueOfName(value.longName))
        return AddValueResult::DuplicateValue;
    insertSorted(m_byName, value, nameOf);
    insertSorted(m_values, std::move(value), keyOf);
    return AddValueResult::Added;
}

const TCustAwardValue *TCustAward::ValueOfKey(std::string_view value) const { return findSorted(m_values, value, keyOf); }

const TCustAwardValue *TCustAward::ValueOfName(std::string_view longName) const
{
    return findSorted(m_byName, longName, nameOf);
}

AwardValueCheck TCustAward::CheckValue(std::string_view value) const
{
    if (value.empty())
        return AwardValueCheck::Empty;
    if (HasValueList())
        return ValueOfKey(value) ? AwardValueCheck::Ok : AwardValueCheck::NotInList;
    if (value.size() > Picture.size())
        return AwardValueCheck::DoesNotFitPicture;
    for (std::size_t i = 0; i < value.size(); ++i)
        if (Picture[i] == '9' && !isDigit(value[i]))
            return AwardValueCheck::DoesNotFitPicture;
    return AwardValueCheck::Ok;
}

std::string TCustAward::FormatValue(std::string_view value) const
{
    std::string out(value.substr(0, std::min(Picture.size(), CustAwardValueCapacity)));
    for (std::size_t i = 0; i < out.size(); ++i)
        if (Picture[i] == '!')
            out[i] = UpperAscii(out.substr(i, 1))[0];
    return out;
}

// --- TCustAwardList -------------------------------------------------------------

bool TCustAwardList::Add(TCustAward award)
{
    auto at = std::partition_point(m_awards.begin(), m_awards.end(), [&](const TCustAward &listed) {
        return CompareNoCase(listed.Ident, award.Ident) < 0;
    });
    if (at != m_awards.end() && CompareNoCase(at->Ident, award.Ident) == 0)
        return false;
    m_awards.insert(at, std::move(award));
    return true;
}

std::int32_t TCustAwardList::IndexOf(std::string_view ident) const
{
    auto at = std::partition_point(m_awards.begin(), m_awards.end(),
                                   [&](const TCustAward &listed) { return CompareNoCase(listed.Ident, ident) < 0; });
    if (ident.empty() || at == m_awards.end() || CompareNoCase(at->Ident, ident) != 0)
        return -1;
    return static_cast<std::int32_t>(at - m_awards.begin());
}

std::string TCustAwardList::LongAwdName(std::string_view ident) const
{
    std::int32_t position = IndexOf(ident);
    return position < 0 ? std::string() : At(position).Name;
}

std::string TCustAwardList::LongAwdVal(std::string_view ident, std::string_view value) const
{
    std::int32_t position = IndexOf(ident);
    if (position < 0)
        return {};
    const TCustAward &award = At(position);
    if (!award.HasValueList())
        return std::string(value);
    const TCustAwardValue *entry = award.ValueOfKey(value);
    return entry ? entry->longName : std::string();
}

std::vector<std::int32_t> TCustAwardList::ByName() const
{
    std::vector<std::int32_t> order(m_awards.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<std::int32_t>(i);
    std::stable_sort(order.begin(), order.end(),
                     [this](std::int32_t a, std::int32_t b) { return CompareNoCase(At(a).Name, At(b).Name) < 0; });
    return order;
}

std::vector<std::int32_t> TCustAwardList::AwardsFor(std::string_view countryPrefix, int band, int mode) const
{
    std::vector<std::int32_t> fitting;
    int group = ModeGroupOf(mode);
    for (std::int32_t position : ByName()) {
        const TCustAward &award = At(position);
        if (award.AppliesToCountry(countryPrefix) && award.AppliesToBand(band) && award.AppliesToModeGroup(group))
            fitting.push_back(position);
    }
    return fitting;
}

std::vector<std::int32_t> TCustAwardList::AwardsFor(const TQsoRec &rec, const TCountryData &countries) const
{
    return AwardsFor(countries.CountryPrefix(rec.Country), rec.Band, rec.Mode);
}

} // namespace vellum
