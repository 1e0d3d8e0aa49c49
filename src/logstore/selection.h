#pragma once
// Selections: the stored selection record (64 bytes), a named filter over the
// log; the selection test; group names; and the rules of the dialogs that edit
// selections, group names, and the group or mode of many QSOs at once.

#include "daytime.h"
#include "qsorec.h"
#include "shortstring.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

class TQsoData;

struct TSelection {
    ShortString<25> Name;
    std::uint8_t DateActive = 0;  ///< the date filter is on (0/1)
    std::uint16_t FirstDate = 0;  ///< 0 = no lower bound
    std::uint16_t LastDate = 0xFFFF; ///< 0xFFFF = no upper bound
    std::uint8_t GroupActive = 0; ///< the group filter is on (0/1)
    /// The 256-bit group set; bits 6 and 7 of byte 31 double as the QRP and YLop filters.
    std::array<std::uint8_t, 32> Groups{};

    bool HasGroup(int group) const { return (Groups[group / 8] >> (group % 8)) & 1; }
    void SetGroup(int group, bool on)
    {
        auto bit = static_cast<std::uint8_t>(1u << (group % 8));
        Groups[group / 8] = on ? (Groups[group / 8] | bit) : (Groups[group / 8] & ~bit);
    }
    bool QrpOnly() const { return Groups[31] & 0x40; }
    bool YlOnly() const { return Groups[31] & 0x80; }
    void SetQrpOnly(bool on) { SetGroup(254, on); }
    void SetYlOnly(bool on) { SetGroup(255, on); }
};

inline constexpr std::size_t SelectionStoredSize = 64;
inline constexpr std::size_t SelectionNameCapacity = 25;

/// The built-in selection "All QSOs": every filter off, last date open.
TSelection AllQsosSelection();
void StoreSelection(const TSelection &selection, std::span<std::uint8_t, SelectionStoredSize> out);
void LoadSelection(std::span<const std::uint8_t, SelectionStoredSize> in, TSelection &selection);

/// Whether the selection admits the QSO: its date within the range (both ends
/// included), its group's bit set, and the QRP and YLop flags, each test only
/// while its filter is on.
inline bool InSelection(const TSelection &s, const TQsoRec &qso)
{
    if (s.DateActive && (qso.Date < s.FirstDate || qso.Date > s.LastDate))
        return false;
    if (s.GroupActive && !s.HasGroup(qso.Group))
        return false;
    if (s.QrpOnly() && !(qso.QslFlags & QslFlag::QRP))
        return false;
    if (s.YlOnly() && !(qso.QslFlags & QslFlag::YLop))
        return false;
    return true;
}

/// Whether the selection in force in the log (CurSelection) admits the QSO.
bool InSelection(const TQsoData &log, const TQsoRec &qso);

/// The name of a group number: empty for group 0 and for numbers without a name.
std::string GroupName(const std::vector<std::string> &groupNames, int group);
/// The name of the QSO's group in the log.
std::string GroupName(const TQsoData &log, const TQsoRec &qso);

/// "No QSO ", "One QSO ", "5 QSOs ": the counted noun, always followed by one blank.
std::string CountedNoun(std::int64_t n, std::string_view noun);

/// Puts the log's selection at index in force (CurSelIndex, CurSelection) and
/// marks the award tables out of date. Returns false, changing nothing, when
/// index is not a position in Selections.
bool SetCurrentSelection(TQsoData &log, int index);

/// The position of the selection with this name in the log (exact match), -1 when none.
int SelectionIndexOfName(const TQsoData &log, std::string_view name);

// --- "Selection Editor / Select" --------------------------------------------

namespace SelectionText {
inline constexpr const char *CheckDates = "Please check your dates";
inline constexpr const char *NewName = "Replace this name";
} // namespace SelectionText

/// What the selection editor's "Update" reads from the form. Dates are texts
/// in the configured date format; an empty first date means no lower bound and
/// an empty last date no upper bound.
struct SelectionFields {
    std::string name; ///< cp1252, cut to 25 characters when stored
    bool dateActive = false;
    bool groupActive = false;
    std::string firstDate;
    std::string lastDate;
    bool qrpOnly = false;
    bool ylOnly = false;
};

/// The working state of the selection editor: copies of every selection
/// record (entry 0, "All QSOs", included), the entry shown with its unsaved
/// group edits, and whether the list changed. Nothing reaches the log before
/// Commit.
class TSelectionEditor {
public:
    explicit TSelectionEditor(const TQsoData &log);

    const std::vector<TSelection> &List() const { return m_list; }
    int Shown() const { return m_shown; }
    /// The record as shown, with group toggles not yet stored by Update.
    const TSelection &ShownRecord() const { return m_edit; }
    bool Changed() const { return m_changed; }
    /// Entry 0 cannot be edited or deleted.
    bool ShownIsBuiltIn() const { return m_shown == 0; }

    /// Shows entry index (unsaved edits of the entry shown are dropped); an index
    /// outside the list changes nothing.
    void Show(int index);
    /// Toggles a group's bit in the shown record (kept only by Update); nothing for entry 0.
    void ToggleGroup(int group);

    enum class UpdateResult { Stored, BadDates, BuiltIn };
    /// Stores the fields into the shown entry. A last date before the first, or
    /// a date that is not a date, gives BadDates and stores nothing (the caller
    /// shows SelectionText::CheckDates); entry 0 gives BuiltIn.
    UpdateResult Update(const SelectionFields &fields, DateFormat format);
    /// Appends a copy of "All QSOs" named "Replace this name" and shows it.
    void Add();
    /// Removes the shown entry (never entry 0) and shows the entry now at its
    /// position, or the last one.
    void Delete();

    enum class Outcome { Cancelled, Switched, ListChanged };
    /// "OK": a changed list replaces the log's selections and the log is marked
    /// modified; unless nothing changed and the entry shown is the one in force
    /// (Cancelled), the entry shown is put in force and the award tables are
    /// marked out of date.
    Outcome Commit(TQsoData &log) const;

    /// The group list row of a group: "x" when its bit is set in the record (else
    /// a blank), two blanks, the number as three digits, two blanks, the name.
    static std::string GroupRow(const TSelection &record, int group, std::string_view name);

private:
    std::vector<TSelection> m_list;
    TSelection m_edit;
    int m_shown = 0;
    int m_inForce = 0;
    bool m_changed = false;
};

// --- "Editing group names" --------------------------------------------------

inline constexpr std::size_t GroupNameCapacity = 25;

/// The working copy of the group name editor. Current() is -1 when no row is current.
class TGroupNameEditor {
public:
    explicit TGroupNameEditor(std::vector<std::string> names);

    const std::vector<std::string> &Names() const { return m_names; }
    int Current() const { return m_current; }
    /// The name of the current row, empty when none.
    std::string CurrentName() const;
    /// Makes a row current; a row outside the list makes none current.
    void Select(int row);
    /// Appends the name (cut to 25 characters); the new row becomes current.
    void Add(std::string_view name);
    /// Renames the current row; nothing when no row is current.
    void Change(std::string_view name);
    /// Inserts the name before the current row, which stays current (as Add
    /// when the list is empty or no row is current).
    void Insert(std::string_view name);
    /// Removes the current row; the row after it, or the last row, becomes current.
    void Delete();
    /// "OK": the log's group names become the edited list; the log is marked modified.
    void Commit(TQsoData &log) const;

    /// A list row: the number as three digits, a blank, the name.
    static std::string Row(int number, std::string_view name);

private:
    std::vector<std::string> m_names;
    int m_current = -1;
};

// --- "Set Group Number", "Set New Mode" ----------------------------------------

/// Which QSOs a bulk command touches; an empty filter means the selection in force.
using QsoScope = std::function<bool(const TQsoRec &)>;

/// The number of QSOs in scope.
std::int64_t CountInScope(const TQsoData &log, const QsoScope &scope = {});
/// Gives every QSO in scope whose Group differs the new group, in place. When
/// any changed: the orders that use the group are sorted again, the award tables
/// are marked out of date and the log is marked modified. Returns the number changed.
std::int64_t SetGroupOfQsos(TQsoData &log, std::uint8_t group, const QsoScope &scope = {});
/// As SetGroupOfQsos, for Mode (1..15; any other mode changes nothing). The
/// master order and the call order use the mode, so they are sorted again when
/// a change broke them.
std::int64_t SetModeOfQsos(TQsoData &log, std::uint8_t mode, const QsoScope &scope = {});
/// "Changing up to " + CountedNoun(inScope, "QSO"), and "Changed " + CountedNoun(changed, "QSO").
std::string ChangingUpToText(std::int64_t inScope);
std::string ChangedText(std::int64_t changed);

// --- "Get date range" ---------------------------------------------------------

/// The end date the range dialog opens with: the start when the end lies before it.
std::uint16_t InitialRangeEnd(std::uint16_t start, std::uint16_t end);
/// A date moved by days (the up and down keys), kept within 2 March 1900 ..
/// 5 June 2079; an empty date (0) stays empty.
std::uint16_t StepDate(std::uint16_t day, int days);

} // namespace vellum
