#include "logbookfields.h"

#include "country/countrydata.h"
#include "country/iota.h"
#include "country/managers.h"
#include "logstore/compare.h"
#include "logstore/qsodata.h"
#include "logstore/qsoorders.h"
#include "logstore/qsotables.h"
#include "logstore/report.h"

#include <algorithm>

namespace vellum {

namespace {
constexpr PrintAlign L = PrintAlign::Left, R = PrintAlign::Right, C = PrintAlign::Center;
}

const std::array<LogbookFieldInfo, LogbookFieldCount> LogbookFieldTable = {{
    {"Award", 20, L},     {"AWD", 1, C},      {"AwdStrng", 20, L}, {"AwdVal", 8, L},     {"Band", 4, R},
    {"Callsign", 12, L},  {"Callsign Notes", 0, L}, {"Conf", 1, C}, {"Country", 28, L}, {"County", 18, L},
    {"CountyMix", 1, C},  {"Date", 8, L},     {"DXCCbnd", 1, C},   {"DXCCmix", 1, C},    {"DXCCmod", 1, C},
    {"Grid", 6, L},       {"Group", 3, R},    {"Groupname", 25, L}, {"IOTA", 5, L},      {"IOTA Name", 38, L},
    {"IOTAmix", 1, C},    {"Label", 1, C},    {"Mode", 3, C},      {"Number", 6, R},     {"Prefix", 5, L},
    {"QRP", 1, C},        {"QSL Date", 8, L}, {"QSL Mgr", 12, L},  {"QSL Mthd", 6, L},   {"QSO Notes", 0, L},
    {"Recvd", 4, R},      {"rstR", 4, R},     {"rstS", 4, R},      {"Satell", 8, C},     {"SeqPrtNr", 6, R},
    {"State", 2, L},      {"State Name", 15, L}, {"Time", 5, L},   {"ValidDX", 1, C},    {"VUCC", 1, C},
    {"WASbnd", 1, C},     {"WASmix", 1, C},   {"WASmod", 1, C},    {"WAZbnd", 1, C},     {"WAZmix", 1, C},
    {"WAZmod", 1, C},     {"WPX", 8, L},      {"WPXbnd", 1, L},    {"WPXmix", 1, C},     {"WPXmod", 1, C},
    {"YLop", 1, C},       {"Zone", 2, R},
}};

namespace {

/// The award flag pair (AwardFlagTable) shown by a field; -1 for other fields.
int awardFlagOf(int field)
{
    switch (field) {
    case 1: return 0;   // AWD: Cust Awd
    case 10: return 1;  // CountyMix
    case 12: return 2;  // DXCCbnd
    case 13: return 3;  // DXCCmix
    case 14: return 4;  // DXCCmod
    case 20: return 5;  // IOTAmix
    case 39: return 6;  // VUCC
    case 40: return 7;  // WASbnd
    case 41: return 8;  // WASmix
    case 42: return 9;  // WASmod
    case 43: return 10; // WAZbnd
    case 44: return 11; // WAZmix
    case 45: return 12; // WAZmod
    case 47: return 13; // WPXbnd
    case 48: return 14; // WPXmix
    case 49: return 15; // WPXmod
    default: return -1;
    }
}

std::string awardFlagCell(std::uint32_t flags, int pair)
{
    const AwardFlagPair &p = AwardFlagTable[static_cast<std::size_t>(pair)];
    return (flags & p.submitted) ? "S" : (flags & p.checked) ? "*" : "";
}

std::string flagCell(std::uint8_t flags, std::uint8_t bit) { return (flags & bit) ? "Y" : ""; }

std::string withoutBreaks(std::string text)
{
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

} // namespace

int LogbookFieldIndex(std::string_view name)
{
    for (int i = 0; i < LogbookFieldCount; ++i)
        if (CompareNoCase(LogbookFieldTable[static_cast<std::size_t>(i)].name, name) == 0)
            return i;
    return -1;
}

int LogbookFieldWidth(int field, int noteWidth, bool bandInMHz)
{
    if (field == LogbookField::CallsignNotes || field == LogbookField::QsoNotes)
        return noteWidth;
    if (field == LogbookField::Band && bandInMHz)
        return 6;
    return LogbookFieldTable[static_cast<std::size_t>(field)].width;
}

int LogbookGridWidth(int field, int noteWidth, bool bandInMHz)
{
    int byName = static_cast<int>(std::string_view(LogbookFieldTable[static_cast<std::size_t>(field)].name).size()) + 1;
    return std::max(LogbookFieldWidth(field, noteWidth, bandInMHz), byName);
}

std::string LogbookCells::noteCell(std::string_view note) const
{
    return withoutBreaks(std::string(note.substr(0, static_cast<std::size_t>(std::max(0, m_noteWidth)))));
}

std::string LogbookCells::countryCell(int field, const TQsoRec &q) const
{
    const TCountryData *c = m_sources.countries;
    if (!c)
        return {};
    switch (field) {
    case 8: return c->ValidCountry(q.Country) ? std::string(c->CountryName(q.Country)) : std::string();
    case 9: return q.State && q.County ? c->CountyName(q.State, q.County) : std::string();
    case 19: {
        std::int32_t index = q.Iota.view().empty() ? -1 : c->Iota.IndexOfKey(NormalizeIotaReference(q.Iota.view()));
        return index > 0 ? IotaInfo::Decode(c->Iota.Get(index)).name : std::string();
    }
    case 24: return c->ValidCountry(q.Country) ? std::string(c->CountryPrefix(q.Country)) : std::string();
    case 27: return ManagerOf(*c, q);
    case 35: return std::string(c->StateAbbreviation(q.State));
    case 36:
        return q.State > 0 && q.State < c->States.Count() ? StateInfo::Decode(c->States.Get(q.State)).name
                                                           : std::string();
    default: return {};
    }
}

std::string LogbookCells::Cell(int field, const TQsoRec &q, std::int64_t rowNumber) const
{
    if (int pair = awardFlagOf(field); pair >= 0)
        return awardFlagCell(q.AwdFlags, pair);
    const CustomAwardNames *awards = m_sources.awards;
    switch (field) {
    case 0: return awards ? withoutBreaks(awards->LongAwdName(q.CustAwd.view())) : q.CustAwd.str();
    case 2: return awards ? withoutBreaks(awards->LongAwdVal(q.CustAwd.view(), q.CustValue.view())) : q.CustValue.str();
    case 3: return q.CustValue.str();
    case 4: return BandLabel(q.Band, m_sources.bandInMHz);
    case 5: return q.Call.str();
    case 6: return noteCell(m_sources.log->Notes.NoteOf(q.Call.view()));
    case 7: return flagCell(q.QslFlags, QslFlag::Cnfm);
    case 11: return FormatDate(q.Date, m_sources.dateFormat, true);
    case 15: return q.Grid.str();
    case 16: return std::to_string(q.Group);
    case 17: return withoutBreaks(GroupName(*m_sources.log, q));
    case 18: return q.Iota.str();
    case 21: return flagCell(q.QslFlags, QslFlag::Label);
    case 22: return ModeName(q.Mode);
    case 23: return std::to_string(rowNumber);
    case 25: return flagCell(q.QslFlags, QslFlag::QRP);
    case 26: return FormatDate(q.QslDate, m_sources.dateFormat, true);
    case 28: return q.QslMethod < QslMethodNames.size() ? QslMethodNames[q.QslMethod] : "";
    case 29: return noteCell(q.QsoNote.text());
    case 30: return q.Recvd.str();
    case 31: return DecodeRst(q.RstRcvd);
    case 32: return DecodeRst(q.RstSent);
    case 33: return q.Satellite > 1 && q.Satellite < SatelliteTable.size() ? SatelliteTable[q.Satellite].name : "";
    case 34: return std::to_string(q.PrtSeqNr);
    case 37: return FormatTime(q.Time, false);
    case 38: return (q.QslFlags & QslFlag::ValidDX) ? "Y" : "N";
    case 46: return q.WpxPfx.str();
    case 50: return flagCell(q.QslFlags, QslFlag::YLop);
    case 51: return std::to_string(q.Zone);
    default: return countryCell(field, q);
    }
}

std::string LogbookCells::Row(const std::vector<std::uint8_t> &columns, const TQsoRec &qso,
                              std::int64_t rowNumber) const
{
    std::string row;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i)
            row += '\t';
        if (columns[i] < LogbookFieldCount)
            row += Cell(columns[i], qso, rowNumber);
    }
    return row;
}

} // namespace vellum
