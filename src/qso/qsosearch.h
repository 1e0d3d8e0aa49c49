#pragma once
// The QSO search: conditions built from the fields of the QSO window, and the
// tests that decide whether a QSO matches them.

#include "logstore/qsorec.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

/// Same length, character by character, "?" in either text matching any character.
bool ExactTest(std::string_view a, std::string_view b);
/// The pattern test: upper case, "*" wildcards, a leading "!" inverting the result.
bool PatternTest(std::string_view pattern, std::string_view text);
/// Fuzzy call match: one changed character, two swapped neighbours, or one missing at the end.
bool FuzzyTest(std::string_view pattern, std::string_view text);
/// "*" + text + "*" unless the text already begins or ends with "*".
std::string SubstringPattern(std::string_view text);

/// The award wheels of the QSO window in tab order (27 to 40, 42, 43): control name and award.
struct AwardWheel {
    const char *control;
    const char *award; ///< the name in AwardFlagTable
    int tabOrder;
};
extern const AwardWheel AwardWheelTable[16];

enum class CallSearch : std::uint8_t { Exact = 1, Pattern = 2, Fuzzy = 3, Substring = 4 };
enum class DateSearch : std::uint8_t { Exact = 1, GreaterEqual = 2, Range = 3 };

enum class ConditionKind {
    Call, CountryPrefix, Date, Time, Mode, Band, RstSent, RstRcvd, Recvd, Zone, State, County, Grid, CallNote,
    Manager, QsoNote, Iota, Flag, QslDate, Method, Satellite, CustAwd, CustValue, AwardBits, Group,
    WpxEqual, ModeGroupEqual,
};

struct SearchCondition {
    int field = -1; ///< tab order of the field it came from; -1 for conditions of other windows
    bool negate = false;
    ConditionKind kind = ConditionKind::Call;
    std::uint32_t number = 0;
    std::string text;
};

/// The texts a match needs that the QSO record does not hold.
class SearchContext {
public:
    virtual ~SearchContext() = default;
    virtual std::string CountryPrefix(const TQsoRec &rec) const = 0;
    virtual std::string StateAbbreviation(const TQsoRec &rec) const = 0;
    virtual std::string CountyName(const TQsoRec &rec) const = 0;
    virtual std::string CallNote(const TQsoRec &rec) const = 0;
    virtual std::string Manager(const TQsoRec &rec) const = 0;
    /// The date range of a Range date search, asked once around the condition's date.
    virtual std::pair<std::uint16_t, std::uint16_t> DateRange(std::uint16_t around) = 0;
};

/// A list of conditions; a QSO matches when every one holds.
class QsoFilter {
public:
    std::vector<SearchCondition> Conditions;
    CallSearch CallKind = CallSearch::Exact;
    DateSearch DateKind = DateSearch::Exact;
    /// A window's own test; while set it decides alone.
    std::function<bool(const TQsoRec &)> OwnTest;

    bool Matches(const TQsoRec &rec, SearchContext &context);
    bool Matches(const TQsoRec &rec, SearchContext &context) const { return const_cast<QsoFilter *>(this)->Matches(rec, context); }
    void Clear()
    {
        Conditions.clear();
        OwnTest = nullptr;
        m_range.reset();
    }
    /// Forgets the date range asked for, so the next Range search asks again.
    void ForgetDateRange() { m_range.reset(); }

private:
    bool holds(const SearchCondition &c, const TQsoRec &rec, SearchContext &context);
    std::optional<std::pair<std::uint16_t, std::uint16_t>> m_range;
};

/// The field texts of the QSO window in search entry, by tab order, with what
/// the window resolved from its lists.
struct SearchFields {
    std::string call, prefix, recvd, state, county, grid, callNote, manager, qsoNote, iota, custAwd, custValue;
    std::optional<std::uint16_t> date, qslDate;
    std::optional<std::int32_t> time;
    std::optional<std::uint8_t> mode, band, zone, method, satellite, group;
    std::optional<std::uint16_t> rstSent, rstRcvd;
    /// Y/N wheels (Label, Cnfm, QRP, YLop, ValidDX): nothing = blank.
    std::optional<bool> label, confirmed, qrp, yl, validDx;
    bool custAwdChosen = false; ///< the award list is not blank ("---" counts: no award)
    /// Award wheels by award name: 0 "--", 1 "Subm", 2 "Chkd"; nothing = blank.
    std::vector<std::pair<std::string, std::optional<int>>> awardWheels;
};

/// The conditions of a search entry; a date or QSL date of 1 January 1901 stands for "none".
std::vector<SearchCondition> BuildConditions(const SearchFields &fields);

} // namespace vellum
