#include "filterwriter.h"

#include "delimitedline.h"
#include "filterformats.h"
#include "importfilter.h"
#include "prefixmap.h"

#include "config/configsettings.h"
#include "country/countrydata.h"
#include "logstore/daytime.h"
#include "logstore/notes.h"
#include "logstore/qsorec.h"
#include "logstore/qsotables.h"
#include "logstore/report.h"
#include "logstore/trim.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vellum {

namespace {

constexpr std::array<const char *, 12> MonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string twoDigits(int value)
{
    std::string text = std::to_string(value % 100);
    return text.size() < 2 ? "0" + text : text;
}

std::string rightAligned(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.insert(0, width - text.size(), ' ');
    return text;
}

std::string leftAligned(std::string text, std::size_t width)
{
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

/// The index of a band among the codes of a numbered band format; -1 when it has none.
int codeOfBand(int band, std::initializer_list<std::pair<int, const char *>> codes)
{
    for (auto [code, name] : codes)
        if (BandOfName(name) == band)
            return code;
    return -1;
}

/// The letters of the one-character mode formats for phone, CW and digital.
struct GroupLetters {
    int format;
    const char *letters; // phone, CW, digital
};
constexpr std::array<GroupLetters, 5> ModeLetters = {{{ModeFormat::Digit1Cw, "312"},
                                                      {ModeFormat::Digit0Cw, "102"},
                                                      {ModeFormat::LetterCpr, "PCR"},
                                                      {ModeFormat::LetterCsr, "SCR"},
                                                      {ModeFormat::DigitUsb, "025"}}};

/// Writes the fields of one QSO into a line of 255 blanks, or into the values
/// of a comma-separated line.
class LineWriter {
public:
    LineWriter(const TQsoRec &qso, const ImportFilter &filter, const FilterWriteSources &sources)
        : m_qso(qso), m_filter(filter), m_sources(sources), m_delimited(IsDelimitedFilter(filter)), m_line(255, ' ')
    {
    }
    std::string Line();

private:
    const FieldSpec &spec(int field) const { return m_filter.FieldSpecs[static_cast<std::size_t>(field)]; }
    /// Puts text at the field's columns, cut to its length (or `length`), never
    /// past column 255; or makes it the field's value, without the blanks that
    /// align it in columns.
    void put(int field, std::string_view text, int length = 0)
    {
        const FieldSpec &s = spec(field);
        if (s.position == 0)
            return;
        if (m_delimited) {
            m_values[static_cast<std::size_t>(field)] = Trim(text.substr(0, length > 0 ? length : s.length));
            return;
        }
        std::size_t start = s.position - 1u;
        std::size_t room = std::min<std::size_t>(length > 0 ? length : s.length, m_line.size() - start);
        text = text.substr(0, room);
        m_line.replace(start, text.size(), text);
    }
    int fieldLength(int field) const { return FixedLength(field, spec(field).format).value_or(spec(field).length); }

    void dates();
    void band();
    void mode();
    void flags();
    void places();
    std::string bandText() const;
    std::string modeText() const;
    std::string delimitedLine() const;

    const TQsoRec &m_qso;
    const ImportFilter &m_filter;
    const FilterWriteSources &m_sources;
    bool m_delimited;
    std::string m_line;
    std::array<std::string, ImportFieldCount> m_values;
};

std::string LineWriter::Line()
{
    put(ImportField::Callsign, m_qso.Call.view());
    dates();
    band();
    mode();
    put(ImportField::RstR, DecodeRst(m_qso.RstRcvd));
    put(ImportField::RstS, DecodeRst(m_qso.RstSent));
    put(ImportField::Recvd, m_qso.Recvd.view());
    if (spec(ImportField::Note1).format == NoteFormat::WithQso)
        put(ImportField::Note1, m_qso.QsoNote.text());
    flags();
    places();
    put(ImportField::Zone, rightAligned(std::to_string(m_qso.Zone), 2));
    put(ImportField::Group, rightAligned(std::to_string(m_qso.Group), spec(ImportField::Group).length));
    put(ImportField::AwdGroup, m_qso.CustAwd.view());
    put(ImportField::AwdValue, m_qso.CustValue.view());
    if (m_delimited)
        return delimitedLine();
    return m_filter.RecLen > 0 ? m_line.substr(0, m_filter.RecLen) : std::string(TrimRight(m_line));
}

std::string LineWriter::delimitedLine() const
{
    std::string line;
    bool first = true;
    for (int field : DelimitedFieldOrder(m_filter)) {
        if (!first)
            line += ',';
        line += QuoteDelimitedValue(m_values[static_cast<std::size_t>(field)]);
        first = false;
    }
    return line;
}

void LineWriter::dates()
{
    put(ImportField::Date, FormatFilterDate(m_qso.Date, spec(ImportField::Date).format, m_filter.DateChar));
    if (spec(ImportField::QslDate).format == FlagQsoDate)
        put(ImportField::QslDate, m_qso.QslDate != 0 ? "Y" : "N");
    else if (m_qso.QslDate != 0)
        put(ImportField::QslDate, FormatFilterDate(m_qso.QslDate, spec(ImportField::QslDate).format, m_filter.DateChar));
    const int seconds = m_qso.Time;
    std::string hh = seconds < 0 ? "??" : twoDigits(seconds / 3600), mm = seconds < 0 ? "??" : twoDigits(seconds / 60 % 60);
    switch (spec(ImportField::Time).format) {
    case TimeFormat::Colon: put(ImportField::Time, hh + ":" + mm); break;
    case TimeFormat::HourMinute: put(ImportField::Time, hh + mm); break;
    default: put(ImportField::Time, seconds < 0 ? "??????" : hh + mm + twoDigits(seconds % 60)); break;
    }
}

std::string LineWriter::bandText() const
{
    const int band = m_qso.Band;
    std::string name = BandInfoOf(band).shortName;
    switch (spec(ImportField::Band).format) {
    case BandFormat::Meters3: return rightAligned(name, 3);
    case BandFormat::Meters2: return name == "160" ? "16" : rightAligned(name, 2);
    case BandFormat::MetersM: return leftAligned(name + "M", 4);
    case BandFormat::MetersLeft: return leftAligned(name, 3);
    case BandFormat::Code10: {
        int code = codeOfBand(band, {{1, "10m"}, {2, "15m"}, {3, "20m"}, {4, "40m"}, {5, "80m"}, {6, "160m"}});
        return std::to_string(std::max(code, 0));
    }
    case BandFormat::Code6: {
        int code = codeOfBand(band, {{0, "2m"}, {1, "6m"}, {2, "10m"}, {3, "12m"}, {4, "15m"}, {5, "17m"}, {6, "20m"},
                                     {7, "30m"}, {8, "40m"}, {9, "80m"}, {10, "160m"}, {11, "1.2m"}, {12, "70cm"},
                                     {14, "23cm"}});
        return code < 0 ? std::string() : rightAligned(std::to_string(code), 2);
    }
    case BandFormat::Code160: {
        int code = codeOfBand(band, {{1, "160m"}, {2, "80m"}, {3, "40m"}, {4, "20m"}, {5, "17m"}, {6, "15m"},
                                     {7, "12m"}, {8, "10m"}, {9, "6m"}, {10, "2m"}});
        return code < 0 ? std::string() : rightAligned(std::to_string(code), 2);
    }
    default: break;
    }
    if (!IsBand(band))
        return {};
    double kHz = static_cast<double>(BandInfoOf(band).lowKHz) + 10;
    if (ModeGroupOf(m_qso.Mode) == 1 && m_sources.config)
        kHz = CwCutoffKHz(*m_sources.config, band) + 25;
    double value = spec(ImportField::Band).format == BandFormat::FreqMHz ? kHz / 1000 : kHz;
    return rightAligned(std::to_string(std::llround(value)), spec(ImportField::Band).length);
}

void LineWriter::band() { put(ImportField::Band, bandText(), fieldLength(ImportField::Band)); }

std::string LineWriter::modeText() const
{
    const int format = spec(ImportField::Mode).format;
    const int group = ModeGroupOf(m_qso.Mode);
    std::string groupName = ModeGroupNames[static_cast<std::size_t>(group)];
    if (format == ModeFormat::CwPhoFsk || format == ModeFormat::CwSsbRtt)
        return groupName;
    if (format == ModeFormat::RightAligned)
        return rightAligned(groupName, 3);
    if (format == ModeFormat::ModeName)
        return ModeName(m_qso.Mode);
    for (const GroupLetters &letters : ModeLetters)
        if (letters.format == format)
            return group == 0 ? "?" : std::string(1, letters.letters[group - 1]);
    return {};
}

void LineWriter::mode() { put(ImportField::Mode, modeText(), fieldLength(ImportField::Mode)); }

void LineWriter::flags()
{
    auto flag = [&](int field, bool set) {
        bool digits = spec(field).format == 1;
        put(field, set ? (digits ? "1" : "Y") : (digits ? "0" : "N"));
    };
    flag(ImportField::Confrm, m_qso.QslFlags & QslFlag::Cnfm);
    flag(ImportField::Label, m_qso.QslFlags & QslFlag::Label);
    flag(ImportField::Qrp, m_qso.QslFlags & QslFlag::QRP);
    flag(ImportField::YLop, m_qso.QslFlags & QslFlag::YLop);
    flag(ImportField::DxccValid, m_qso.QslFlags & QslFlag::ValidDX);
    static constexpr std::array<int, 16> awardFields = {
        ImportField::AwdXAward,     ImportField::CountyAward,   ImportField::DxccBandAward, ImportField::DxccMixedAward,
        ImportField::DxccModeAward, ImportField::IotaAward,     ImportField::VuccAward,     ImportField::WasBandAward,
        ImportField::WasMixedAward, ImportField::WasModeAward,  ImportField::WazBandAward,  ImportField::WazMixedAward,
        ImportField::WazModeAward,  ImportField::WpxBandAward,  ImportField::WpxMixedAward, ImportField::WpxModeAward};
    for (std::size_t i = 0; i < awardFields.size(); ++i) {
        const AwardFlagPair &bits = AwardFlagTable[i];
        bool submitted = m_qso.AwdFlags & bits.submitted, checked = m_qso.AwdFlags & bits.checked;
        const char *text = "";
        switch (spec(awardFields[i]).format) {
        case AwardFormat::YesNoStar: text = submitted ? "*" : checked ? "Y" : "N"; break;
        case AwardFormat::OneZeroStar: text = submitted ? "*" : checked ? "1" : "0"; break;
        case AwardFormat::ZeroOneTwo: text = submitted ? "1" : checked ? "2" : "0"; break;
        default: text = checked ? "2" : "0"; break;
        }
        put(awardFields[i], text);
    }
    constexpr std::array<std::string_view, 2> methods = {"XBSD$OI", "XBMD$OX"};
    if (m_qso.QslMethod < 7)
        put(ImportField::QslMethod, methods[spec(ImportField::QslMethod).format == 1 ? 1 : 0].substr(m_qso.QslMethod, 1));
    if (m_qso.Satellite < SatelliteTable.size())
        put(ImportField::Satellite, std::string(1, SatelliteTable[m_qso.Satellite].code));
}

void LineWriter::places()
{
    const TCountryData &countries = m_sources.countries;
    if (spec(ImportField::Prefix).format == 1 && m_qso.Country != 0 && countries.ValidCountry(m_qso.Country)) {
        std::string prefix(countries.CountryPrefix(m_qso.Country));
        if (m_sources.prefixMap)
            prefix = m_sources.prefixMap->NumberOfPrefix(prefix).value_or(prefix);
        put(ImportField::Prefix, prefix);
    }
    put(ImportField::State, countries.StateAbbreviation(m_qso.State));
    if (m_qso.State != 0 && m_qso.County != 0)
        put(ImportField::County, countries.CountyName(m_qso.State, m_qso.County));
    put(ImportField::Iota, m_qso.Iota.view());
    put(ImportField::Grid, m_qso.Grid.view());
}

} // namespace

std::string FormatFilterDate(std::uint16_t day, int format, char dateChar)
{
    const DateLayout *layout = DateLayoutOf(format);
    if (!layout || day == 0)
        return {};
    CalendarDate date = SplitDayNumber(day);
    std::string text(static_cast<std::size_t>(layout->length), ' ');
    auto place = [&text](int at, const std::string &part) { text.replace(static_cast<std::size_t>(at - 1), part.size(), part); };
    place(layout->yearAt, layout->yearWidth == 4 ? std::to_string(date.year) : twoDigits(date.year));
    place(layout->monthAt, layout->monthWidth == 3 ? MonthNames[static_cast<std::size_t>(date.month - 1)] : twoDigits(date.month));
    place(layout->dayAt, twoDigits(date.day));
    char separator = format == 13 ? '\\' : format == 16 ? '-' : dateChar != 0 ? dateChar : '/';
    bool separated = (format >= 2 && format <= 9) || format == 12 || format == 13 || format == 16;
    if (!separated)
        return text;
    for (char &c : text)
        if (c == ' ')
            c = separator;
    return text;
}

void WriteFilterRecord(std::string &out, const TQsoRec &qso, const ImportFilter &filter,
                       const FilterWriteSources &sources)
{
    if (sources.notes.IndexOfCall(qso.Call.view()) >= 0)
        sources.notes.MarkCall(qso.Call.view());
    out += LineWriter(qso, filter, sources).Line();
    out += "\r\n";
    if (filter.FieldSpecs[ImportField::Note1].format == NoteFormat::FollowsQso) {
        out += qso.QsoNote.text();
        out += "\r\n";
    }
}

} // namespace vellum
