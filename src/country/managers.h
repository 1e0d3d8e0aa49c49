#pragma once
// QSL managers: the manager table of the country data (which station handles
// the QSL cards of a call, from which date on), the manager in force for a QSO,
// the QSL routing class of a QSO, and the working copy that the manager editor
// edits, with its text import and export.

#include "countrydata.h"
#include "sortedrows.h"
#include "textimport.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

class CountryResolver;
struct TQsoRec;

/// A manager record taken apart (strings cut to 12 characters on encoding).
struct ManagerInfo {
    std::string call;
    std::uint16_t date = 0; ///< day from which the manager applies; 0 = always
    std::string manager;    ///< empty = no manager from date on

    std::array<std::uint8_t, ManagerField::Size> Encode() const;
    static ManagerInfo Decode(const std::uint8_t *record);
};

/// The manager in force for call on date: of the records of exactly this call
/// whose date is not after date, the one with the latest date; of several
/// records with that date the one added last. Empty when there is none, for an
/// empty call and for a call longer than 12 characters.
std::string ManagerOf(const TCountryData &data, std::string_view call, std::uint16_t date);
/// ManagerOf the QSO's Call on its Date.
std::string ManagerOf(const TCountryData &data, const TQsoRec &rec);

/// Records that the QSO's call uses manager (upper-cased, cut to 12) from the
/// QSO's date on, unless that manager is already in force, and marks the country
/// data modified either way. A QSO without a call changes nothing.
void SetManager(TCountryData &data, const TQsoRec &rec, std::string_view manager);

/// QSL routing classes of a QSO.
enum class QslRoute : int { NoBuro = 0, NoManager = 1, UsaManager = 2, OtherManager = 3 };
/// "No buro", "No manager", "USA manager", "Other mgr".
std::string_view QslRouteName(QslRoute route);

/// The routing class of a QSO: NoBuro when it is to go by bureau (QslMethod 1)
/// and no bureau route exists, else NoManager when no manager is in force (or
/// useManager is off), else UsaManager when the manager lives in the country
/// "K", else OtherManager.
QslRoute QslRouteClass(const CountryResolver &resolver, const TQsoRec &rec, bool useManager);

/// A row of the manager editor.
struct ManagerRow {
    std::string call;
    std::uint16_t date = 0;
    std::string manager;
};
/// The table's order: call (exact bytes), then date.
int CompareManagerRows(const ManagerRow &a, const ManagerRow &b);

namespace ManagerText {
inline constexpr const char *NewCall = "??CALL??";
inline constexpr const char *NewManager = "??MANAGER??";
inline constexpr const char *DeleteQuestion = "Do you want to DELETE existing QSL manager information";
inline constexpr const char *Noun = "Manager";
} // namespace ManagerText

/// The working copy of the manager table.
class ManagerRows : public SortedRows<ManagerRow, CompareManagerRows> {
public:
    /// Takes the rows of the manager table, in its order.
    void Load(const TCountryData &data);
    /// Replaces the manager table by the rows. Does not mark the data modified.
    void Apply(TCountryData &data) const;

    /// The row the editor's Insert adds: "??CALL??", no date, "??MANAGER??".
    static ManagerRow NewRow() { return {ManagerText::NewCall, 0, ManagerText::NewManager}; }
    /// The first row whose call is not less than text (Count() when none is).
    std::int32_t FindKey(std::string_view text) const;

    /// One line per row: call, ",", date as dd/mm/yyyy (empty without a date), ",", manager.
    std::string ExportText() const;
    /// Imports lines "call,dd/mm/yyyy,manager" (or "call,,manager"). A row of the
    /// same call and date is replaced when its manager differs, else skipped;
    /// others are added. Afterwards a row that names the same manager as the
    /// row before it of the same call, or that has the date of that row, is
    /// removed (it is never the one in force). Lines without two commas, with
    /// an impossible date, without a call or without a manager are errors.
    ImportReport Import(std::string_view text, bool deleteExisting, ProgressService *progress = nullptr);

    static const std::vector<ImportCount> &ReportCounts();
    static constexpr const char *DeleteQuestion = ManagerText::DeleteQuestion;
    static constexpr const char *Noun = ManagerText::Noun;
};

/// Parses "dd/mm/yyyy" (day, month and year at character positions 1-2, 4-5
/// and 7-10, any separators); nothing when the text is not a possible date.
std::optional<std::uint16_t> ParseManagerDate(std::string_view field);
/// "dd/mm/yyyy"; empty for day 0.
std::string FormatManagerDate(std::uint16_t day);

} // namespace vellum
