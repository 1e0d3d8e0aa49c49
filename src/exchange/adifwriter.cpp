#include "adifwriter.h"

#include "adifmodes.h"
#include "prefixmap.h"

#include "country/countrydata.h"
#include "logstore/daytime.h"
#include "logstore/notes.h"
#include "logstore/qsotables.h"
#include "logstore/report.h"

#include <charconv>

namespace vellum {

namespace {

constexpr const char *LineEnd = "\r\n";

void appendNumber(std::string &out, std::uint64_t value, int width = 0)
{
    char digits[24];
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    (void)error;
    for (int pad = width - static_cast<int>(end - digits); pad > 0; --pad)
        out += '0';
    out.append(digits, end);
}

/// The tags of one record, laid out in lines of less than 80 columns.
class TagLine {
public:
    explicit TagLine(std::string &out) : m_out(out), m_lineStart(out.size()) {}

    void text(std::string_view name, std::string_view value)
    {
        place(name.size() + value.size() + 4);
        m_out += '<';
        m_out.append(name);
        m_out += ':';
        appendNumber(m_out, value.size());
        m_out += '>';
        m_out.append(value);
    }
    void date(std::string_view name, std::uint16_t day)
    {
        place(name.size() + 14);
        CalendarDate d = SplitDayNumber(day);
        m_out += '<';
        m_out.append(name);
        m_out += ":8:d>";
        appendNumber(m_out, static_cast<std::uint64_t>(d.year), 4);
        appendNumber(m_out, static_cast<std::uint64_t>(d.month), 2);
        appendNumber(m_out, static_cast<std::uint64_t>(d.day), 2);
    }
    void flag(std::string_view name, bool on)
    {
        place(name.size() + 5);
        m_out += '<';
        m_out.append(name);
        m_out += ":1>";
        m_out += on ? 'Y' : 'N';
    }
    void end()
    {
        place(5);
        m_out += "<eor>";
        m_out += LineEnd;
    }

private:
    /// One blank before a tag, or a new line when the tag would reach column 80.
    void place(std::size_t width)
    {
        std::size_t column = m_out.size() - m_lineStart;
        if (column == 0)
            return;
        if (column + 1 + width >= 80) {
            m_out += LineEnd;
            m_lineStart = m_out.size();
        } else {
            m_out += ' ';
        }
    }

    std::string &m_out;
    std::size_t m_lineStart;
};

std::string timeText(std::int32_t seconds)
{
    std::string text;
    appendNumber(text, static_cast<std::uint64_t>(seconds / 3600), 2);
    appendNumber(text, static_cast<std::uint64_t>(seconds / 60 % 60), 2);
    appendNumber(text, static_cast<std::uint64_t>(seconds % 60), 2);
    return text;
}

void writePlace(TagLine &line, const TQsoRec &qso, const TCountryData &countries)
{
    std::string_view state = countries.StateAbbreviation(qso.State);
    if (state.empty())
        return;
    line.text("state", state);
    if (qso.County == 0)
        return;
    std::string county = countries.CountyName(qso.State, qso.County);
    if (!county.empty())
        line.text("cnty", std::string(state) + "," + county);
}

} // namespace

std::string AdifHeaderLine()
{
    return std::string("ADIF export of VELLUM <PROGRAMID:6>VELLUM <PROGRAMVERSION:") +
           std::to_string(std::string_view(VELLUM_VERSION).size()) + ">" + VELLUM_VERSION + " <EOH>" + LineEnd;
}

void WriteAdifRecord(std::string &out, const TQsoRec &qso, const AdifSources &sources)
{
    TagLine line(out);
    if (qso.Date != NoDate)
        line.date("qso_date", qso.Date);
    if (qso.Time >= 0 && qso.Time < 86400)
        line.text("time_on", timeText(qso.Time));
    line.text("call", qso.Call.view());
    if (sources.prefixMap && qso.Country != 0) {
        std::string_view prefix = sources.countries.CountryPrefix(qso.Country);
        if (std::optional<std::string> number = prefix.empty() ? std::nullopt : sources.prefixMap->NumberOfPrefix(prefix))
            line.text("dxcc", *number);
    }
    AdifModeName mode = AdifModeOf(qso.Mode);
    if (!mode.mode.empty())
        line.text("mode", mode.mode);
    if (!mode.submode.empty())
        line.text("submode", mode.submode);
    if (!mode.exact) // a mode the ADIF table has no name for (FSTV)
        line.text("app_vellum_mode", ModeName(qso.Mode));
    if (IsBand(qso.Band))
        line.text("band", AdifBandName(qso.Band));
    line.text("rst_sent", DecodeRst(qso.RstSent));
    line.text("rst_rcvd", DecodeRst(qso.RstRcvd));
    if (!qso.Recvd.empty())
        line.text("SRX", qso.Recvd.view());
    line.text("cqz", std::to_string(qso.Zone));
    writePlace(line, qso, sources.countries);
    if (!qso.Grid.empty())
        line.text("gridsquare", qso.Grid.view());
    if (!qso.Iota.empty()) {
        std::string_view iota = qso.Iota.view();
        line.text("iota", std::string(iota.substr(0, 2)) + "-" + std::string(iota.substr(std::min<std::size_t>(2, iota.size()))));
    }
    line.flag("qsl_rcvd", qso.QslFlags & QslFlag::Cnfm);
    if (qso.QslDate != NoDate) {
        line.flag("qsl_sent", true);
        line.date("qslsdate", qso.QslDate);
    }
    if (!qso.QsoNote.empty())
        line.text("comment", qso.QsoNote.text());
    if (sources.notes.Count() > 0) {
        std::int32_t note = sources.notes.IndexOfCall(qso.Call.view());
        if (note >= 0 && !sources.notes.Get(note)->Text.empty())
            line.text("notes", sources.notes.Get(note)->Text);
    }
    line.end();
}

} // namespace vellum
