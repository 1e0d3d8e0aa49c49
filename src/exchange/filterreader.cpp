#include "filterreader.h"

#include "adifmodes.h"
#include "delimitedline.h"
#include "detail/text.h"
#include "filterformats.h"
#include "importfields.h"
#include "importfilter.h"

#include "config/configrecord.h"
#include "country/countrydata.h"
#include "country/resolver.h"
#include "logstore/compare.h"
#include "logstore/daytime.h"
#include "logstore/qsotables.h"
#include "logstore/trim.h"

#include <algorithm>
#include <array>
#include <string>

namespace vellum {

namespace {

constexpr std::array<const char *, 12> MonthNames = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                     "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr std::string_view ConfirmLetters = "1FJRSXYfjrsxy";
constexpr std::string_view FlagLetters = "1XYxy";
constexpr std::string_view SatelliteLetters = "XNBJLSAKTO";
constexpr std::array<std::string_view, 2> QslMethodLetters = {"XBSD$OI", "XBMD$OX"};

/// The award flag pair (AwardFlagTable) of each award flag field; -1 for other fields.
int awardPairOf(int field)
{
    switch (field) {
    case ImportField::AwdXAward: return 0;
    case ImportField::CountyAward: return 1;
    case ImportField::DxccBandAward: return 2;
    case ImportField::DxccMixedAward: return 3;
    case ImportField::DxccModeAward: return 4;
    case ImportField::IotaAward: return 5;
    case ImportField::VuccAward: return 6;
    default:
        return field >= ImportField::WasBandAward && field <= ImportField::WpxModeAward
                   ? 7 + (field - ImportField::WasBandAward)
                   : -1;
    }
}

/// The number of the digits at text[at, at + width); -1 when one is no digit or lies outside.
int numberAt(std::string_view text, int at, int width)
{
    if (at < 1 || static_cast<std::size_t>(at - 1 + width) > text.size())
        return -1;
    int value = 0;
    for (char c : text.substr(static_cast<std::size_t>(at - 1), static_cast<std::size_t>(width))) {
        if (!text::IsDigit(c))
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

int monthAt(std::string_view text, int at, int width)
{
    if (width != 3)
        return numberAt(text, at, width);
    if (at < 1 || static_cast<std::size_t>(at - 1 + 3) > text.size())
        return -1;
    std::string_view name = text.substr(static_cast<std::size_t>(at - 1), 3);
    for (std::size_t i = 0; i < MonthNames.size(); ++i)
        if (CompareNoCase(name, MonthNames[i]) == 0)
            return static_cast<int>(i) + 1;
    return -1;
}

std::string_view dropLeadingBlanks(std::string_view text)
{
    while (text.size() > 1 && text.front() == ' ')
        text.remove_prefix(1);
    return text;
}

int bandOfCode(std::string_view text, std::initializer_list<std::pair<int, const char *>> codes)
{
    std::string_view value = Trim(text);
    if (value.empty() || value.size() > 2 || !std::all_of(value.begin(), value.end(), text::IsDigit))
        return 0;
    int code = std::stoi(std::string(value));
    for (auto [number, name] : codes)
        if (number == code)
            return BandOfName(name);
    return 0;
}

int bandOfFrequency(std::string_view text, bool megahertz)
{
    std::string_view value = Trim(text);
    if (CompareNoCase(value, "SAT") == 0)
        return 15;
    if (!value.empty() && value.back() == '.')
        value.remove_suffix(1);
    std::optional<std::int64_t> thousandths = ParseMegahertz(value); // the number times 1000
    if (!thousandths)
        return 0;
    std::int64_t kHz = megahertz ? *thousandths : *thousandths / 1000;
    if (int band = BandOfFreq(kHz))
        return band;
    return BandOfFreq(kHz / 1000);
}

int modeOfLetter(char c, std::string_view letters, std::initializer_list<const char *> modes)
{
    std::size_t at = letters.find(c);
    if (c == '\0' || at == std::string_view::npos)
        return 0;
    return ModeOfName(*(modes.begin() + at));
}

constexpr std::size_t ModeNameWidth = 4; // the columns of the mode-name format

/// A mode in the mode-name format: the classic names and their aliases, the
/// names the ADIF import reads (FT8, FT4, JS8, DMR ...), and a longer name cut to
/// the column's width (OLIV for OLIVIA) when only one mode begins so.
int modeOfNameColumn(std::string_view text)
{
    if (int mode = ParseModeAlias(text))
        return mode;
    std::string_view name = Trim(text);
    if (int mode = ModeOfAdifName(name))
        return mode;
    return name.size() == ModeNameWidth ? ModeOfAdifNameStart(name) : 0;
}

} // namespace

std::optional<std::uint16_t> ParseFilterDate(std::string_view text, int format)
{
    const DateLayout *layout = DateLayoutOf(format);
    if (!layout)
        return std::nullopt;
    int year = numberAt(text, layout->yearAt, layout->yearWidth);
    int month = monthAt(text, layout->monthAt, layout->monthWidth);
    int day = numberAt(text, layout->dayAt, layout->dayWidth);
    if (year < 0 || month <= 0 || day <= 0)
        return std::nullopt;
    if (layout->yearWidth == 2)
        year += year < 30 ? 2000 : 1900;
    std::optional<std::uint16_t> number = DayNumber(year, month, day);
    if (!number)
        return std::nullopt;
    CalendarDate back = SplitDayNumber(*number);
    if (back.year % 100 != year % 100 || back.month != month || back.day != day)
        return std::nullopt;
    return number;
}

int ParseFilterBand(std::string_view text, int format)
{
    text = dropLeadingBlanks(text);
    switch (format) {
    case BandFormat::Meters3: return ParseBand(Trim(text.substr(0, 3)));
    case BandFormat::Meters2: {
        std::string_view value = Trim(text.substr(0, 2));
        return value == "16" ? ParseBand("160") : ParseBand(value);
    }
    case BandFormat::MetersM: {
        std::string value(Trim(text.substr(0, 4)));
        if (!value.empty() && (value.back() == 'M' || value.back() == 'm'))
            value.pop_back();
        return value.empty() ? 0 : ParseBand(value);
    }
    case BandFormat::MetersLeft: return ParseBand(Trim(text.substr(0, 3)));
    case BandFormat::Code10: {
        constexpr std::array<const char *, 6> bands = {"10m", "15m", "20m", "40m", "80m", "160m"};
        char c = text.empty() ? '\0' : text.front();
        return c >= '1' && c <= '6' ? BandOfName(bands[static_cast<std::size_t>(c - '1')]) : 0;
    }
    case BandFormat::Code6:
        return bandOfCode(text.substr(0, 2), {{0, "2m"}, {1, "6m"}, {2, "10m"}, {3, "12m"}, {4, "15m"}, {5, "17m"},
                                              {6, "20m"}, {7, "30m"}, {8, "40m"}, {9, "80m"}, {10, "160m"},
                                              {11, "1.2m"}, {12, "70cm"}, {14, "23cm"}});
    case BandFormat::Code160:
        return bandOfCode(text.substr(0, 2), {{1, "160m"}, {2, "80m"}, {3, "40m"}, {4, "20m"}, {5, "17m"}, {6, "15m"},
                                              {7, "12m"}, {8, "10m"}, {9, "6m"}, {10, "2m"}});
    case BandFormat::FreqMHz: return bandOfFrequency(text, true);
    case BandFormat::FreqKHz: return bandOfFrequency(text, false);
    default: return 0;
    }
}

int ParseFilterMode(std::string_view text, int format)
{
    char c = text.empty() ? '\0' : text.front();
    switch (format) {
    case ModeFormat::CwPhoFsk:
    case ModeFormat::CwSsbRtt:
    case ModeFormat::RightAligned: return ParseModeAlias(text.substr(0, 3));
    case ModeFormat::ModeName: return modeOfNameColumn(text.substr(0, ModeNameWidth));
    case ModeFormat::Digit1Cw: return modeOfLetter(c, "123", {"CW", "RTTY", "SSB"});
    case ModeFormat::Digit0Cw: return modeOfLetter(c, "012", {"CW", "SSB", "RTTY"});
    case ModeFormat::LetterCpr: return modeOfLetter(c, "CPR", {"CW", "SSB", "RTTY"});
    case ModeFormat::LetterCsr: return modeOfLetter(c, "CSR", {"CW", "SSB", "RTTY"});
    case ModeFormat::DigitUsb: return modeOfLetter(c, "0134256", {"SSB", "SSB", "SSB", "SSB", "CW", "RTTY", "RTTY"});
    default: return 0;
    }
}

// --- one record --------------------------------------------------------------------

/// The text each field of one QSO line starts with: the rest of a fixed-column
/// line from the field's column on (the line filled with blanks to 255
/// characters), or the field's value of a comma-separated line.
class FilterRecordReader::QsoLine {
public:
    QsoLine(std::string_view line, const ImportFilter &filter);
    QsoLine(const QsoLine &) = delete;
    QsoLine &operator=(const QsoLine &) = delete;

    /// The text from the field's start on; empty for a field without a value.
    std::string_view From(int field) const { return m_from[static_cast<std::size_t>(field)]; }
    /// What stands in the field: the characters of its columns, or its whole value
    /// (longer than the field's length when the line gave more: the record's own field decides what fits).
    std::string_view Own(int field) const
    {
        return m_delimited ? From(field) : From(field).substr(0, m_filter.FieldSpecs[static_cast<std::size_t>(field)].length);
    }
    /// Tells what the line holds that its fields cannot take whole: an open quote, more values than fields, values
    /// longer than their field.
    void AddProblems(ImportedQso &q) const;

private:
    const ImportFilter &m_filter;
    bool m_delimited;
    std::string m_line;
    DelimitedValues m_values;
    std::size_t m_fieldCount = 0;
    std::array<std::string_view, ImportFieldCount> m_from{};
};

FilterRecordReader::QsoLine::QsoLine(std::string_view line, const ImportFilter &filter)
    : m_filter(filter), m_delimited(IsDelimitedFilter(filter))
{
    if (!m_delimited) {
        m_line = line;
        m_line.resize(std::max(m_line.size(), FilterLineCapacity), ' ');
        for (int field = 0; field < ImportFieldCount; ++field)
            if (std::size_t position = filter.FieldSpecs[static_cast<std::size_t>(field)].position; position != 0)
                m_from[static_cast<std::size_t>(field)] = std::string_view(m_line).substr(position - 1);
        return;
    }
    m_values = SplitDelimitedLine(line);
    std::vector<int> order = DelimitedFieldOrder(filter);
    m_fieldCount = order.size();
    for (std::size_t i = 0; i < order.size() && i < m_values.values.size(); ++i)
        m_from[static_cast<std::size_t>(order[i])] = m_values.values[i];
}

void FilterRecordReader::QsoLine::AddProblems(ImportedQso &q) const
{
    if (!m_delimited)
        return;
    if (m_values.unterminatedQuote)
        q.errors.Add(EntryKind::Error, "Line", "a quote is not closed");
    if (m_values.values.size() > m_fieldCount)
        q.errors.Add(EntryKind::Error, "Line",
                     std::to_string(m_values.values.size()) + " values, more than the " + std::to_string(m_fieldCount) +
                         " fields of the filter");
    for (int field = 0; field < ImportFieldCount; ++field) {
        std::size_t length = m_filter.FieldSpecs[static_cast<std::size_t>(field)].length;
        if (From(field).size() > length)
            q.errors.Add(EntryKind::Error, ImportFieldNames[static_cast<std::size_t>(field)].name,
                         "more than " + std::to_string(length) + " characters");
    }
}

/// The fields of one QSO line, read in their order.
class FilterRecordReader::Fields {
public:
    Fields(const FilterRecordReader &reader, const QsoLine &line, ImportedQso &q)
        : m_reader(reader), m_filter(reader.m_fields.Filter()), m_q(q), m_line(line)
    {
    }

    void ReadAll();

private:
    const FieldSpec &spec(int field) const { return m_filter.FieldSpecs[static_cast<std::size_t>(field)]; }
    bool placed(int field) const { return spec(field).position != 0; }
    /// The field's text: `length` characters from its start, or what stands in the field when 0.
    std::string_view text(int field, int length = 0) const
    {
        return length > 0 ? m_line.From(field).substr(0, static_cast<std::size_t>(length)) : m_line.Own(field);
    }
    std::string_view trimmed(int field, int length = 0) const { return TrimRight(text(field, length)); }
    char letter(int field) const
    {
        std::string_view t = text(field, 1);
        return t.empty() ? ' ' : t.front();
    }
    void error(EntryKind kind, int field, std::string_view value)
    {
        m_q.errors.Add(kind, ImportFieldNames[static_cast<std::size_t>(field)].name, value);
    }
    void setFlag(std::uint8_t flag) { m_q.qso.QslFlags = static_cast<std::uint8_t>(m_q.qso.QslFlags | flag); }

    /// The date at the field's columns; nothing when not placed, empty or invalid (then told and `invalid` set).
    std::optional<std::uint16_t> date(int field, bool &invalid);
    void time();
    void band();
    void mode();
    void report(int field, bool sent);
    void notes();
    void state();
    void county();
    void qsl();
    void flags();
    void satellite();
    void awardFlags();
    void numbers();
    void customAward();

    const FilterRecordReader &m_reader;
    const ImportFilter &m_filter;
    ImportedQso &m_q;
    const QsoLine &m_line;
};

void FilterRecordReader::Fields::ReadAll()
{
    ImportFields &fields = m_reader.m_fields;
    fields.SetCallsign(m_q, placed(ImportField::Callsign) ? Trim(text(ImportField::Callsign)) : std::string_view());
    bool invalid = false;
    if (std::optional<std::uint16_t> day = date(ImportField::Date, invalid))
        m_q.qso.Date = *day;
    else if (invalid)
        m_q.qso.Date = fields.Today(); // the invalid date is told once, with its text
    if (placed(ImportField::DxccValid) && std::string_view("0Nn").find(letter(ImportField::DxccValid)) != std::string_view::npos)
        m_q.qso.QslFlags = static_cast<std::uint8_t>(m_q.qso.QslFlags & ~QslFlag::ValidDX);
    if (placed(ImportField::Prefix))
        fields.SetPrefix(m_q, trimmed(ImportField::Prefix));
    time();
    band();
    mode();
    report(ImportField::RstR, false);
    report(ImportField::RstS, true);
    if (placed(ImportField::Recvd))
        m_q.qso.Recvd = UpperAscii(Trim(text(ImportField::Recvd)));
    if (placed(ImportField::Confrm) && ConfirmLetters.find(letter(ImportField::Confrm)) != std::string_view::npos)
        setFlag(QslFlag::Cnfm);
    notes();
    state();
    county();
    if (placed(ImportField::Iota) && trimmed(ImportField::Iota) != "-----")
        fields.SetIota(m_q, Trim(text(ImportField::Iota)));
    if (placed(ImportField::Grid) && trimmed(ImportField::Grid).substr(0, 2) != "--")
        fields.SetGrid(m_q, Trim(text(ImportField::Grid)));
    qsl();
    flags();
    satellite();
    awardFlags();
    numbers();
    customAward();
}

std::optional<std::uint16_t> FilterRecordReader::Fields::date(int field, bool &invalid)
{
    if (!placed(field))
        return std::nullopt;
    const DateLayout *layout = DateLayoutOf(spec(field).format);
    std::string_view value = Trim(text(field, layout ? layout->length : 0));
    if (value.empty())
        return std::nullopt;
    std::optional<std::uint16_t> day = ParseFilterDate(value, spec(field).format);
    if (!day)
        error(EntryKind::Error, field, value);
    invalid = !day;
    return day;
}

void FilterRecordReader::Fields::time()
{
    if (!placed(ImportField::Time))
        return;
    std::string value;
    switch (spec(ImportField::Time).format) {
    case TimeFormat::Colon: {
        std::string_view from = m_line.From(ImportField::Time);
        value = std::string(from.substr(0, 2)) + std::string(from.substr(std::min<std::size_t>(3, from.size()), 2));
        break;
    }
    case TimeFormat::HourMinute: value = text(ImportField::Time, 4); break;
    default: value = text(ImportField::Time, 6); break;
    }
    m_reader.m_fields.SetTimeOfDay(m_q, value);
    if (m_q.qso.Time < 0)
        m_q.qso.Time = 0; // the invalid time is told once, with its text
}

void FilterRecordReader::Fields::band()
{
    if (!placed(ImportField::Band))
        return;
    int format = spec(ImportField::Band).format;
    std::optional<int> fixed = FixedLength(ImportField::Band, format);
    std::string_view value = text(ImportField::Band, fixed.value_or(0));
    int band = ParseFilterBand(value, format);
    if (band == 0) {
        error(EntryKind::Error, ImportField::Band, Trim(value));
        int fallback = m_reader.m_fields.Config().DefQSO_band;
        band = IsBand(fallback) ? fallback : 5;
    }
    m_q.qso.Band = static_cast<std::uint8_t>(band);
}

void FilterRecordReader::Fields::mode()
{
    if (!placed(ImportField::Mode))
        return;
    int format = spec(ImportField::Mode).format;
    std::string_view value = text(ImportField::Mode, FixedLength(ImportField::Mode, format).value_or(1));
    int mode = ParseFilterMode(format == ModeFormat::RightAligned ? TrimLeft(value) : value, format);
    if (mode == 0) {
        error(EntryKind::Error, ImportField::Mode, Trim(value));
        int fallback = m_reader.m_fields.Config().DefQSO_Mode;
        mode = IsMode(fallback) ? fallback : 14;
    }
    m_q.qso.Mode = static_cast<std::uint8_t>(mode);
}

void FilterRecordReader::Fields::report(int field, bool sent)
{
    if (!placed(field))
        return; // the mode's default report
    std::string value(Trim(text(field)).substr(0, 4));
    if (!value.empty() && value.back() == '+')
        value.pop_back();
    if (value.empty())
        return;
    if (value == "0") {
        (sent ? m_q.qso.RstSent : m_q.qso.RstRcvd) = 0;
        return;
    }
    m_reader.m_fields.SetReport(m_q, sent, value);
}

void FilterRecordReader::Fields::notes()
{
    for (int i = 0; i < 3; ++i) {
        int field = ImportField::Note1 + i;
        if (placed(field) && spec(field).format != NoteFormat::FollowsQso)
            ImportFields::AddNoteField(m_q, i, Trim(text(field)));
    }
}

void FilterRecordReader::Fields::state()
{
    if (!placed(ImportField::State))
        return;
    const TCountryData &countries = m_reader.m_fields.Countries();
    std::int32_t country = m_q.importedCountry != 0
                               ? m_q.importedCountry
                               : m_reader.m_resolver.CountryOfCall(m_q.qso.Call.view(), m_q.qso.Date);
    if (countries.ValidCountry(country) && countries.Country(country).hasStates == HasStatesValue::No)
        return;
    int format = spec(ImportField::State).format;
    std::string_view value = Trim(text(ImportField::State, FixedLength(ImportField::State, format).value_or(0)));
    if (value.empty())
        return;
    if (format == StateFormat::Section) {
        m_reader.m_fields.SetSection(m_q, value);
        if (m_q.importedState == 0)
            error(EntryKind::Simple, ImportField::State, value);
        return;
    }
    m_reader.m_fields.SetState(m_q, format == StateFormat::CountyState && value.size() >= 2
                                        ? value.substr(value.size() - 2)
                                        : value);
}

void FilterRecordReader::Fields::county()
{
    if (!placed(ImportField::County) || m_q.importedState == 0)
        return;
    std::string_view name = Trim(text(ImportField::County));
    if (name.empty())
        return;
    const TCountryData &countries = m_reader.m_fields.Countries();
    std::uint16_t number = countries.CountyNumber(countries.StateAbbreviation(m_q.importedState), name);
    if (number == 0)
        error(EntryKind::Simple, ImportField::County, name);
    else
        m_q.qso.County = number;
}

void FilterRecordReader::Fields::qsl()
{
    if (placed(ImportField::QslDate)) {
        if (spec(ImportField::QslDate).format == FlagQsoDate) {
            if (ConfirmLetters.find(letter(ImportField::QslDate)) != std::string_view::npos)
                m_q.qso.QslDate = m_q.qso.Date;
        } else if (bool invalid = false; std::optional<std::uint16_t> day = date(ImportField::QslDate, invalid)) {
            m_q.qso.QslDate = *day;
        }
    }
    if (placed(ImportField::QslMethod)) {
        std::string_view letters = QslMethodLetters[spec(ImportField::QslMethod).format == 1 ? 1 : 0];
        std::size_t at = letters.find(text::Upper(letter(ImportField::QslMethod)));
        if (at != std::string_view::npos)
            m_q.qso.QslMethod = static_cast<std::uint8_t>(at);
    }
}

void FilterRecordReader::Fields::flags()
{
    for (auto [field, flag] : {std::pair{ImportField::Label, QslFlag::Label}, std::pair{ImportField::Qrp, QslFlag::QRP},
                               std::pair{ImportField::YLop, QslFlag::YLop}})
        if (placed(field) && FlagLetters.find(letter(field)) != std::string_view::npos)
            setFlag(flag);
}

void FilterRecordReader::Fields::satellite()
{
    if (!placed(ImportField::Satellite)) {
        m_q.qso.Satellite = 1;
        return;
    }
    char c = letter(ImportField::Satellite);
    std::size_t at = SatelliteLetters.find(c);
    if (at != std::string_view::npos && at >= 2) {
        m_q.qso.Satellite = static_cast<std::uint8_t>(at);
        m_q.qso.Band = 15;
    } else if (c == 'N') {
        m_q.qso.Satellite = 1;
    } else if (c == 'Y' || c == 'y') {
        m_q.qso.Satellite = 9;
        m_q.qso.Band = 15;
    } else {
        error(EntryKind::Simple, ImportField::Satellite, std::string_view(&c, 1));
        m_q.qso.Satellite = 1;
    }
}

void FilterRecordReader::Fields::awardFlags()
{
    for (int field = 0; field < ImportFieldCount; ++field) {
        int pair = awardPairOf(field);
        if (pair < 0 || !placed(field))
            continue;
        char c = letter(field);
        bool submitted = false, checked = false;
        switch (spec(field).format) {
        case AwardFormat::YesNoStar: submitted = c == '*'; checked = c == 'Y' || c == 'y'; break;
        case AwardFormat::OneZeroStar: submitted = c == '*'; checked = c == '1'; break;
        case AwardFormat::ZeroOneTwo: submitted = c == '1'; checked = c == '2'; break;
        default: checked = c == '2'; break;
        }
        const AwardFlagPair &bits = AwardFlagTable[static_cast<std::size_t>(pair)];
        if (submitted)
            m_q.qso.AwdFlags |= bits.submitted;
        if (checked)
            m_q.qso.AwdFlags |= bits.checked;
        if (submitted || checked)
            setFlag(QslFlag::Cnfm);
    }
}

void FilterRecordReader::Fields::numbers()
{
    auto digits = [](std::string_view value) {
        int number = 0;
        for (char c : value)
            if (text::IsDigit(c))
                number = std::min(number * 10 + (c - '0'), 100000);
        return number;
    };
    if (placed(ImportField::Zone)) {
        std::string_view value = text(ImportField::Zone, 2);
        int zone = digits(value);
        if (zone > 40) {
            error(EntryKind::Simple, ImportField::Zone, value);
            zone = 0;
        }
        m_q.importedZone = static_cast<std::uint8_t>(zone);
    }
    if (placed(ImportField::Group))
        m_q.qso.Group = static_cast<std::uint8_t>(std::min(digits(text(ImportField::Group)), 253));
}

void FilterRecordReader::Fields::customAward()
{
    // A blank 10-10 column is no 10-10 number: only a value makes the QSO count for it.
    if (placed(ImportField::TenTen) && m_q.qso.CustAwd.empty() && !Trim(text(ImportField::TenTen)).empty()) {
        m_q.qso.CustAwd = "1010";
        m_q.qso.CustValue = text(ImportField::TenTen);
    }
    const CustomAwardLookup *awards = m_reader.m_customAwards;
    if (placed(ImportField::AwdGroup)) {
        std::string_view id = Trim(text(ImportField::AwdGroup));
        if (!id.empty() && (!awards || !awards->HasAward(id)))
            error(EntryKind::Error, ImportField::AwdGroup, id);
        else if (!id.empty())
            m_q.qso.CustAwd = id;
    }
    if (placed(ImportField::AwdValue)) {
        std::string_view value = Trim(text(ImportField::AwdValue));
        std::string_view id = m_q.qso.CustAwd.view();
        if (!value.empty() && (!awards || !awards->HasAward(id) || !awards->AllowsValue(id, value)))
            error(EntryKind::Error, ImportField::AwdValue, value);
        else if (!value.empty())
            m_q.qso.CustValue = value;
    }
}

// --- the reader ----------------------------------------------------------------------

FilterRecordReader::FilterRecordReader(LineInput &input, ImportFields &fields, const CountryResolver &resolver,
                                       const CustomAwardLookup *customAwards)
    : m_input(input), m_fields(fields), m_resolver(resolver), m_customAwards(customAwards)
{
}

bool FilterRecordReader::isTitleLine(const QsoLine &line)
{
    bool first = m_firstLine;
    m_firstLine = false;
    if (!first)
        return false;
    bool placed = false;
    for (int field : {ImportField::Date, ImportField::Time}) {
        if (m_fields.Filter().FieldSpecs[static_cast<std::size_t>(field)].position == 0)
            continue;
        placed = true;
        std::string_view text = line.Own(field);
        if (std::any_of(text.begin(), text.end(), text::IsDigit))
            return false;
    }
    return placed;
}

RecordEnd FilterRecordReader::Read(ImportedQso &q)
{
    TextLine line;
    std::optional<QsoLine> qsoLine;
    while (!qsoLine) {
        if (!m_input.Next(line))
            return RecordEnd::EndOfInput;
        if (Trim(line.text).empty())
            continue;
        qsoLine.emplace(line.text, m_fields.Filter());
        if (isTitleLine(*qsoLine))
            qsoLine.reset();
    }
    q.hasFields = true;
    if (line.cut)
        q.errors.Add(EntryKind::Error, "Line", "more than 255 characters");
    qsoLine->AddProblems(q);
    const ImportFilter &filter = m_fields.Filter();
    for (int i = 0; i < 3; ++i) {
        if (filter.FieldSpecs[static_cast<std::size_t>(ImportField::Note1 + i)].format != NoteFormat::FollowsQso)
            continue;
        const char *name = ImportFieldNames[static_cast<std::size_t>(ImportField::Note1 + i)].name;
        TextLine note;
        if (!m_input.Next(note))
            q.errors.Add(EntryKind::Error, name, "missing at the end of the file");
        else if (note.cut)
            q.errors.Add(EntryKind::Error, name, "more than 255 characters");
        ImportFields::AddNoteField(q, i, Trim(note.text));
    }
    Fields(*this, *qsoLine, q).ReadAll();
    m_fields.Complete(q);
    return RecordEnd::Eor;
}

} // namespace vellum
