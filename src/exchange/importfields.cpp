#include "importfields.h"

#include "detail/text.h"
#include "importfilter.h"
#include "prefixmap.h"

#include "config/configrecord.h"
#include "country/countrydata.h"
#include "country/iota.h"
#include "geo/bearing.h"
#include "logstore/compare.h"
#include "logstore/daytime.h"
#include "logstore/qsotables.h"
#include "logstore/report.h"
#include "logstore/shortstring.h"
#include "logstore/trim.h"
#include "qso/qsochecks.h"

#include <algorithm>
#include <array>

namespace vellum {

namespace {

/// The number of `count` digits at text[at]; -1 when one of them is no digit.
int digitsAt(std::string_view text, std::size_t at, std::size_t count)
{
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (i >= text.size() || !text::IsDigit(text[i]))
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

struct ModeAlias {
    const char *text;
    const char *mode;
};
// Searched from the last to the first.
constexpr std::array<ModeAlias, 32> ModeAliases = {{
    {"A1A", "CW"},    {"J3E", "SSB"},   {"LSB", "SSB"},   {"PHO", "SSB"},   {"USB", "SSB"},   {"FSK", "RTTY"},
    {"TTY", "RTTY"},  {"AMT", "MTOR"},  {"PKT", "PACK"},  {"TOR", "PTOR"},  {"GTO", "GTOR"},  {"MTO", "MTOR"},
    {"SST", "SSTV"},  {"PTO", "PTOR"},  {"PAC", "PACK"},  {"RTT", "RTTY"},  {"RTY", "RTTY"},  {"ATV", "ATV"},
    {"GTOR", "GTOR"}, {"MTOR", "MTOR"}, {"PACK", "PACK"}, {"PSK", "PSK"},   {"PSK3", "PSK3"}, {"PTOR", "PTOR"},
    {"CLOV", "CLOV"}, {"FSTV", "FSTV"}, {"RTTY", "RTTY"}, {"SSTV", "SSTV"}, {"CW", "CW"},     {"AM", "AM"},
    {"FM", "FM"},     {"SSB", "SSB"},
}};

std::uint8_t validIndex(int value, int count, int fallback) { return static_cast<std::uint8_t>(value > 0 && value < count ? value : fallback); }

} // namespace

int ParseModeAlias(std::string_view text)
{
    std::string key;
    for (char c : text) {
        if (c == ' ')
            continue;
        if (key.size() == 4)
            break;
        key += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    for (auto it = ModeAliases.rbegin(); it != ModeAliases.rend(); ++it)
        if (key == it->text)
            return ModeOfName(it->mode);
    return 0;
}

std::optional<std::uint16_t> ParseYmdDate(std::string_view text)
{
    text = Trim(text);
    if (text.size() != 8)
        return std::nullopt;
    int year = digitsAt(text, 0, 4), month = digitsAt(text, 4, 2), day = digitsAt(text, 6, 2);
    if (year < 1900 || month < 0 || day < 0)
        return std::nullopt;
    std::optional<std::uint16_t> number = DayNumber(year, month, day);
    if (!number)
        return std::nullopt;
    CalendarDate back = SplitDayNumber(*number);
    if (back.year != year || back.month != month || back.day != day)
        return std::nullopt;
    return number;
}

std::optional<std::int64_t> ParseMegahertz(std::string_view text)
{
    text = Trim(text);
    std::int64_t whole = 0, fraction = 0, scale = 1;
    bool point = false, digits = false;
    for (char c : text) {
        if (text::IsDigit(c)) {
            digits = true;
            if (!point) {
                if (whole > 100000000) // beyond any band: keep the arithmetic small
                    return std::nullopt;
                whole = whole * 10 + (c - '0');
            } else if (scale < 10000000) {
                fraction = fraction * 10 + (c - '0');
                scale *= 10;
            }
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;
    // kHz = MHz * 1000, rounded to the nearest kHz.
    return whole * 1000 + (fraction * 1000 * 2 / scale + 1) / 2;
}

std::optional<std::int32_t> TimeOfDayRule::Parse(std::string_view text)
{
    int hours = digitsAt(text, 0, 2), minutes = digitsAt(text, 2, 2);
    if (text.size() < 4 || hours < 0 || minutes < 0 || hours > 23 || minutes > 59)
        return std::nullopt;
    int seconds = 0;
    if (text.size() == 6) {
        seconds = digitsAt(text, 4, 2);
        if (seconds < 0)
            return std::nullopt;
        seconds = std::min(seconds, 59);
    } else if (hours == m_lastHour && minutes == m_lastMinute) {
        seconds = std::min(m_lastSeconds + 1, 58);
        m_lastSeconds = seconds;
    } else {
        m_lastHour = hours;
        m_lastMinute = minutes;
        m_lastSeconds = 0;
    }
    return hours * 3600 + minutes * 60 + seconds;
}

ImportFields::ImportFields(const TCountryData &countries, const TConfigRecord &config, const ImportFilter &filter,
                           const PrefixMap *prefixMap, std::uint16_t today)
    : m_countries(countries), m_config(config), m_filter(filter), m_prefixMap(prefixMap), m_today(today),
      m_hasIotaList(HasIotaReferences(countries.Iota))
{
}

ImportedQso ImportFields::Prepare() const
{
    ImportedQso q;
    q.qso.QslFlags = static_cast<std::uint8_t>(QslFlag::ValidDX | (m_config.DefQSO_Label == 1 ? QslFlag::Label : 0));
    q.qso.QslMethod = m_config.DefQSO_Method;
    q.qso.RstRcvd = NoReport;
    q.qso.RstSent = NoReport;
    q.qso.Mode = 0;
    q.qso.Time = -1;
    return q;
}

void ImportFields::SetCallsign(ImportedQso &q, std::string_view text) const
{
    std::string call = UpperAscii(Trim(text));
    std::replace(call.begin(), call.end(), '-', '/');
    std::replace(call.begin(), call.end(), '\\', '/');
    q.qso.Call = call;
    if (call.size() > q.qso.Call.capacity || !ValidCallsign(call)) {
        q.errors.Add(EntryKind::Error, ImportFieldNames[ImportField::Callsign].name, text);
        return;
    }
    std::string_view tail = std::string_view(call).substr(call.size() >= 3 ? call.size() - 3 : 0);
    if (tail == "/MM" || tail == "/AM")
        q.qso.QslFlags = static_cast<std::uint8_t>(q.qso.QslFlags & ~QslFlag::ValidDX);
}

void ImportFields::SetTimeOfDay(ImportedQso &q, std::string_view text)
{
    if (std::optional<std::int32_t> seconds = m_timeRule.Parse(Trim(text)))
        q.qso.Time = *seconds;
    else
        q.errors.Add(EntryKind::Error, ImportFieldNames[ImportField::Time].name, text);
}

void ImportFields::SetReport(ImportedQso &q, bool sent, std::string_view text) const
{
    std::uint16_t &report = sent ? q.qso.RstSent : q.qso.RstRcvd;
    std::string_view value = Trim(text);
    std::optional<std::uint16_t> parsed = CompareNoCase(value, "5NN") == 0 ? 599 : EncodeRst(value);
    report = parsed.value_or(NoReport);
    if (!parsed)
        q.errors.Add(EntryKind::Simple, ImportFieldNames[sent ? ImportField::RstS : ImportField::RstR].name, text);
}

void ImportFields::SetState(ImportedQso &q, std::string_view text) const
{
    std::int32_t state = m_countries.StateIndex(UpperAscii(Trim(text)));
    if (state > 0 && state <= 0xFF)
        q.importedState = static_cast<std::uint8_t>(state);
    else
        q.errors.Add(EntryKind::Simple, ImportFieldNames[ImportField::State].name, text);
}

void ImportFields::SetSection(ImportedQso &q, std::string_view text) const
{
    std::int32_t position = m_countries.Sections.IndexOfKey(Trim(text));
    if (position < 0 || q.importedState != 0)
        return;
    std::uint8_t state = m_countries.Sections.Get(position)[SectionField::State];
    if (state < m_countries.States.Count())
        q.importedState = state;
}

void ImportFields::SetCounty(ImportedQso &q, std::string_view state, std::string_view name,
                             std::string_view whole) const
{
    const char *field = ImportFieldNames[ImportField::County].name;
    std::int32_t index = m_countries.StateIndex(UpperAscii(Trim(state)));
    if (index <= 0 || index > 0xFF) {
        q.errors.Add(EntryKind::Simple, field, whole);
        return;
    }
    if (q.importedState != 0 && q.importedState != index) {
        q.errors.Add(EntryKind::Simple, field,
                     std::string(whole) + "(" + std::string(m_countries.StateAbbreviation(q.importedState)) + ")");
        return;
    }
    q.importedState = static_cast<std::uint8_t>(index);
    std::string county(Trim(name));
    std::uint16_t number = county.empty() ? 0 : m_countries.CountyNumber(m_countries.StateAbbreviation(index), county);
    if (number == 0)
        q.errors.Add(EntryKind::Simple, field, name);
    else
        q.qso.County = number;
}

void ImportFields::SetZone(ImportedQso &q, std::string_view text) const
{
    std::string_view value = Trim(text);
    int zone = value.empty() || value.size() > 2 ? -1 : digitsAt(value, 0, value.size());
    if (value.empty())
        zone = 0;
    if (zone < 0 || zone > 40) {
        q.errors.Add(EntryKind::Simple, ImportFieldNames[ImportField::Zone].name, text);
        zone = 0;
    }
    q.importedZone = static_cast<std::uint8_t>(zone);
}

void ImportFields::SetGrid(ImportedQso &q, std::string_view text) const
{
    std::string_view value = Trim(text);
    if (value.empty())
        return;
    // A locator of 8 characters (extended square) keeps its first 6.
    if (value.size() == 8 && text::IsDigit(value[6]) && text::IsDigit(value[7]))
        value = value.substr(0, 6);
    if (ValidGrid(value))
        q.qso.Grid = FormatGrid(value);
    else
        q.errors.Add(EntryKind::Simple, ImportFieldNames[ImportField::Grid].name, text);
}

void ImportFields::SetIota(ImportedQso &q, std::string_view text) const
{
    if (Trim(text).empty())
        return;
    std::string iota = NormalizeTypedIota(text);
    bool known = AcceptableIota(m_countries.Iota, iota, m_hasIotaList);
    if (known) {
        q.qso.Iota = iota;
    } else {
        q.qso.Iota = "";
        q.errors.Add(EntryKind::Simple, ImportFieldNames[ImportField::Iota].name, text);
    }
}

void ImportFields::SetPrefix(ImportedQso &q, std::string_view text) const
{
    std::string prefix(Trim(text));
    if (prefix.empty())
        return;
    bool number = std::all_of(prefix.begin(), prefix.end(), text::IsDigit);
    if (m_prefixMap) {
        if (std::optional<std::string> mapped = m_prefixMap->PrefixOfNumber(prefix))
            prefix = *mapped;
    } else if (number) {
        return; // a DXCC entity number names no prefix without a prefix map
    }
    std::int32_t country = m_countries.CountryIndexOfPrefix(prefix);
    if (country > 0 && country <= 0x7FFF) {
        q.importedCountry = static_cast<std::int16_t>(country);
        q.importedCountryText = prefix;
    } else {
        q.importedCountry = 0;
        q.errors.Add(EntryKind::Error, ImportFieldNames[ImportField::Prefix].name, text);
    }
}

void ImportFields::AddNoteField(ImportedQso &q, int note, std::string_view text)
{
    if (text.empty())
        return;
    AppendNote(q, note, std::string(text) + "|");
}

void ImportFields::Complete(ImportedQso &q) const
{
    auto error = [&q](int field) { q.errors.Add(EntryKind::Error, ImportFieldNames[field].name, ""); };
    if (q.qso.Call.empty())
        error(ImportField::Callsign);
    if (q.qso.Band == 0) {
        error(ImportField::Band);
        q.qso.Band = validIndex(m_config.DefQSO_band, AllBandCount, 5);
    }
    if (q.qso.Mode == 0) {
        error(ImportField::Mode);
        q.qso.Mode = validIndex(m_config.DefQSO_Mode, AllModeCount, 14);
    }
    if (q.qso.Date == 0) {
        error(ImportField::Date);
        q.qso.Date = m_today;
    }
    if (q.qso.Time < 0) {
        error(ImportField::Time);
        q.qso.Time = 0;
    }
    if (q.qso.Group == 0)
        q.qso.Group = m_config.DefQSO_Group;
    completeReport(q, q.qso.RstRcvd, ImportFieldNames[ImportField::RstR].name);
    completeReport(q, q.qso.RstSent, ImportFieldNames[ImportField::RstS].name);
}

void ImportFields::completeReport(ImportedQso &q, std::uint16_t &report, const char *field) const
{
    if (report == NoReport) {
        report = DefaultReport(q.qso.Mode);
    } else if (report != 0 && !ReportInRange(report, q.qso.Mode)) {
        q.errors.Add(EntryKind::Simple, field, DecodeRst(report));
        report = DefaultReport(q.qso.Mode);
    }
}

} // namespace vellum
