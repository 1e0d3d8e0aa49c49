#include "qsosearch.h"

#include "logstore/daytime.h"
#include "logstore/qsotables.h"

#include <cstdlib>

namespace vellum {

namespace {
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upperText(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = upper(c);
    return out;
}

bool same(char a, char b) { return a == '?' || b == '?' || a == b; }

/// Whether segment matches text at position.
bool segmentAt(std::string_view text, std::size_t position, std::string_view segment)
{
    return position + segment.size() <= text.size() && ExactTest(text.substr(position, segment.size()), segment);
}

/// The first position at or after from where segment matches; npos when none.
std::size_t findSegment(std::string_view text, std::size_t from, std::string_view segment)
{
    for (std::size_t i = from; i + segment.size() <= text.size(); ++i)
        if (segmentAt(text, i, segment))
            return i;
    return std::string_view::npos;
}

const std::uint16_t NoDateMarker = *DayNumber(1901, 1, 1);
} // namespace

const AwardWheel AwardWheelTable[16] = {
    {"Faw_dxcc_mixed", "DXCC mixed", 27}, {"Faw_dxcc_band", "DXCC band", 28}, {"Faw_dxcc_mode", "DXCC mode", 29},
    {"Faw_waz_mixed", "WAZ mixed", 30},   {"Faw_waz_band", "WAZ band", 31},   {"Faw_waz_mode", "WAZ mode", 32},
    {"Faw_was_mixed", "WAS mixed", 33},   {"Faw_was_band", "WAS band", 34},   {"Faw_was_mode", "WAS mode", 35},
    {"Faw_wpx_mixed", "WPX mixed", 36},   {"Faw_wpx_band", "WPX band", 37},   {"Faw_wpx_mode", "WPX mode", 38},
    {"Faw_IOTA", "IOTA", 39},             {"Faw_VUCC", "VUCC", 40},           {"Faw_cnty", "County", 42},
    {"Faw_awd_mixed", "Cust Awd", 43},
};

bool ExactTest(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!same(a[i], b[i]))
            return false;
    return true;
}

bool PatternTest(std::string_view patternIn, std::string_view textIn)
{
    std::string pattern = upperText(patternIn);
    std::string text = upperText(textIn);
    bool invert = !pattern.empty() && pattern.front() == '!';
    if (invert)
        pattern.erase(0, 1);
    bool result;
    if (pattern == "*") {
        result = !text.empty();
    } else if (pattern.empty()) {
        result = text.empty();
    } else {
        std::vector<std::string_view> segments;
        std::string_view rest = pattern;
        for (std::size_t star; (star = rest.find('*')) != std::string_view::npos; rest.remove_prefix(star + 1))
            segments.push_back(rest.substr(0, star));
        segments.push_back(rest);
        bool openStart = pattern.front() == '*', openEnd = pattern.back() == '*';
        std::size_t position = 0;
        result = true;
        for (std::size_t i = 0; i < segments.size() && result; ++i) {
            std::string_view segment = segments[i];
            bool last = i + 1 == segments.size();
            if (i == 0 && !openStart) {
                result = segmentAt(text, 0, segment) && (!last || segment.size() == text.size());
                position = segment.size();
            } else if (last && !openEnd) {
                // The last segment must end the text.
                result = text.size() >= position + segment.size() &&
                         segmentAt(text, text.size() - segment.size(), segment);
            } else if (!segment.empty()) {
                std::size_t at = findSegment(text, position, segment);
                result = at != std::string_view::npos;
                position = at + segment.size();
            }
        }
    }
    return invert ? !result : result;
}

bool FuzzyTest(std::string_view patternIn, std::string_view textIn)
{
    std::string pattern = upperText(patternIn), text = upperText(textIn);
    if (pattern.size() == text.size()) {
        int count = 0;
        long previous = -10;
        long swappedAt = -1;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (same(pattern[i], text[i]))
                continue;
            count += 1;
            if (previous != static_cast<long>(i) - 1)
                count += previous < 0 ? 0 : 2;
            else
                swappedAt = static_cast<long>(i);
            previous = static_cast<long>(i);
        }
        if (count <= 1)
            return true;
        return count == 2 && swappedAt > 0 && same(pattern[static_cast<std::size_t>(swappedAt - 1)],
                                                     text[static_cast<std::size_t>(swappedAt)]);
    }
    std::size_t shorter = std::min(pattern.size(), text.size());
    if (pattern.size() + 1 != text.size() && text.size() + 1 != pattern.size())
        return false;
    int count = 1;
    for (std::size_t i = 0; i < shorter; ++i)
        if (!same(pattern[i], text[i]))
            ++count;
    return count == 1;
}

std::string SubstringPattern(std::string_view text)
{
    std::string out(text);
    if (out.empty() || out.front() != '*')
        out.insert(out.begin(), '*');
    if (out.back() != '*' || out.size() == 1)
        out.push_back('*');
    return out;
}

bool QsoFilter::Matches(const TQsoRec &rec, SearchContext &context)
{
    if (OwnTest)
        return OwnTest(rec);
    for (const SearchCondition &c : Conditions)
        if (holds(c, rec, context) == c.negate)
            return false;
    return true;
}

bool QsoFilter::holds(const SearchCondition &c, const TQsoRec &rec, SearchContext &context)
{
    switch (c.kind) {
    case ConditionKind::Call:
        switch (CallKind) {
        case CallSearch::Pattern: return PatternTest(c.text, rec.Call.view());
        case CallSearch::Fuzzy: return FuzzyTest(c.text, rec.Call.view());
        case CallSearch::Substring: return PatternTest(SubstringPattern(c.text), rec.Call.view());
        default: return ExactTest(upperText(c.text), rec.Call.view());
        }
    case ConditionKind::CountryPrefix: return PatternTest(c.text, context.CountryPrefix(rec));
    case ConditionKind::Date:
        if (DateKind == DateSearch::GreaterEqual)
            return rec.Date >= c.number;
        if (DateKind == DateSearch::Range) {
            if (!m_range)
                m_range = context.DateRange(static_cast<std::uint16_t>(c.number));
            return rec.Date >= m_range->first && rec.Date <= m_range->second;
        }
        return rec.Date == c.number;
    case ConditionKind::Time: return std::abs(rec.Time - static_cast<std::int32_t>(c.number)) < 481;
    case ConditionKind::Mode: return rec.Mode == c.number;
    case ConditionKind::Band: return rec.Band == c.number;
    case ConditionKind::RstSent: return rec.RstSent == c.number;
    case ConditionKind::RstRcvd: return rec.RstRcvd == c.number;
    case ConditionKind::Recvd: return PatternTest(c.text, rec.Recvd.view());
    case ConditionKind::Zone: return rec.Zone == c.number;
    case ConditionKind::State: return PatternTest(c.text, context.StateAbbreviation(rec));
    case ConditionKind::County: return PatternTest(c.text, context.CountyName(rec));
    case ConditionKind::Grid: return PatternTest(c.text, rec.Grid.view());
    case ConditionKind::CallNote: return PatternTest(c.text, context.CallNote(rec));
    case ConditionKind::Manager: return PatternTest(c.text, context.Manager(rec));
    case ConditionKind::QsoNote: return PatternTest(c.text, rec.QsoNote.text());
    case ConditionKind::Iota: return PatternTest(c.text, rec.Iota.view());
    case ConditionKind::Flag: return (rec.QslFlags & c.number) != 0;
    case ConditionKind::QslDate: return c.number == 0 ? rec.QslDate == 0 : rec.QslDate >= c.number;
    case ConditionKind::Method: return rec.QslMethod == c.number;
    case ConditionKind::Satellite: return rec.Satellite == c.number;
    case ConditionKind::CustAwd: return c.text.empty() ? rec.CustAwd.empty() : PatternTest(c.text, rec.CustAwd.view());
    case ConditionKind::CustValue: return PatternTest(c.text, rec.CustValue.view());
    case ConditionKind::AwardBits: return (rec.AwdFlags & c.number) != 0;
    case ConditionKind::Group: return rec.Group == c.number;
    case ConditionKind::WpxEqual: return rec.WpxPfx.view() == c.text;
    case ConditionKind::ModeGroupEqual: return static_cast<std::uint32_t>(ModeGroupOf(rec.Mode)) == c.number;
    }
    return false;
}

std::vector<SearchCondition> BuildConditions(const SearchFields &f)
{
    std::vector<SearchCondition> out;
    auto text = [&out](int field, ConditionKind kind, const std::string &value) {
        if (!value.empty())
            out.push_back({field, false, kind, 0, value});
    };
    auto number = [&out](int field, ConditionKind kind, const auto &value) {
        if (value)
            out.push_back({field, false, kind, static_cast<std::uint32_t>(*value), {}});
    };
    auto flag = [&out](int field, const std::optional<bool> &value, std::uint8_t bit) {
        if (value)
            out.push_back({field, !*value, ConditionKind::Flag, bit, {}});
    };
    auto dayOrNone = [](const std::optional<std::uint16_t> &day) -> std::optional<std::uint16_t> {
        if (day && *day == NoDateMarker)
            return 0;
        return day;
    };
    text(0, ConditionKind::Call, f.call);
    text(1, ConditionKind::CountryPrefix, f.prefix);
    number(2, ConditionKind::Date, dayOrNone(f.date));
    number(3, ConditionKind::Time, f.time);
    number(4, ConditionKind::Mode, f.mode);
    number(5, ConditionKind::Band, f.band);
    number(6, ConditionKind::RstSent, f.rstSent);
    number(7, ConditionKind::RstRcvd, f.rstRcvd);
    text(8, ConditionKind::Recvd, f.recvd);
    number(9, ConditionKind::Zone, f.zone);
    text(10, ConditionKind::State, f.state);
    text(11, ConditionKind::County, f.county);
    text(12, ConditionKind::Grid, f.grid);
    text(13, ConditionKind::CallNote, f.callNote.empty() ? f.callNote : SubstringPattern(f.callNote));
    text(14, ConditionKind::Manager, f.manager);
    text(15, ConditionKind::QsoNote, f.qsoNote.empty() ? f.qsoNote : SubstringPattern(f.qsoNote));
    text(16, ConditionKind::Iota, f.iota);
    flag(17, f.label, QslFlag::Label);
    number(18, ConditionKind::QslDate, dayOrNone(f.qslDate));
    number(19, ConditionKind::Method, f.method);
    flag(20, f.confirmed, QslFlag::Cnfm);
    flag(21, f.qrp, QslFlag::QRP);
    flag(22, f.yl, QslFlag::YLop);
    number(23, ConditionKind::Satellite, f.satellite);
    if (f.custAwdChosen)
        out.push_back({24, false, ConditionKind::CustAwd, 0, f.custAwd});
    text(25, ConditionKind::CustValue, f.custValue);
    for (const auto &[award, state] : f.awardWheels) {
        if (!state)
            continue;
        int field = -1;
        for (const AwardWheel &wheel : AwardWheelTable)
            if (award == wheel.award)
                field = wheel.tabOrder;
        for (const auto &pair : AwardFlagTable) {
            if (award != pair.name)
                continue;
            std::uint32_t bits = *state == 1 ? pair.submitted : *state == 2 ? pair.checked : pair.submitted | pair.checked;
            out.push_back({field, *state == 0, ConditionKind::AwardBits, bits, {}});
        }
    }
    number(41, ConditionKind::Group, f.group);
    flag(44, f.validDx, QslFlag::ValidDX);
    return out;
}

} // namespace vellum
