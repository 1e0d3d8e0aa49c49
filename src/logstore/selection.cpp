#include "selection.h"

#include "bytes.h"
#include "qsodata.h"
#include "qsotables.h"
#include "trim.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace vellum {

TSelection AllQsosSelection()
{
    TSelection all;
    all.Name = "All QSOs";
    return all;
}

void StoreSelection(const TSelection &s, std::span<std::uint8_t, SelectionStoredSize> out)
{
    std::uint8_t *p = out.data();
    std::memset(p, 0, SelectionStoredSize);
    p[0] = static_cast<std::uint8_t>(s.Name.size());
    std::memcpy(p + 1, s.Name.data(), s.Name.size());
    p[26] = s.DateActive;
    storeU16(p + 27, s.FirstDate);
    storeU16(p + 29, s.LastDate);
    p[31] = s.GroupActive;
    std::copy(s.Groups.begin(), s.Groups.end(), p + 32);
}

void LoadSelection(std::span<const std::uint8_t, SelectionStoredSize> in, TSelection &s)
{
    const std::uint8_t *p = in.data();
    s.Name.assign(std::string_view(reinterpret_cast<const char *>(p + 1), std::min<std::size_t>(p[0], 25)));
    s.DateActive = p[26];
    s.FirstDate = loadU16(p + 27);
    s.LastDate = loadU16(p + 29);
    s.GroupActive = p[31];
    std::copy(p + 32, p + 64, s.Groups.begin());
}

bool InSelection(const TQsoData &log, const TQsoRec &qso) { return InSelection(log.CurSelection, qso); }

std::string GroupName(const std::vector<std::string> &groupNames, int group)
{
    if (group <= 0 || static_cast<std::size_t>(group) >= groupNames.size())
        return {};
    return groupNames[static_cast<std::size_t>(group)];
}

std::string GroupName(const TQsoData &log, const TQsoRec &qso) { return GroupName(log.GroupNames, qso.Group); }

std::string CountedNoun(std::int64_t n, std::string_view noun)
{
    if (n == 0)
        return "No " + std::string(noun) + " ";
    if (n == 1)
        return "One " + std::string(noun) + " ";
    return std::to_string(n) + " " + std::string(noun) + "s ";
}

bool SetCurrentSelection(TQsoData &log, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= log.Selections.size())
        return false;
    log.CurSelIndex = index;
    log.CurSelection = log.Selections[static_cast<std::size_t>(index)];
    // Awards count only the QSOs the selection admits.
    log.InvalidateAwardTables();
    return true;
}

int SelectionIndexOfName(const TQsoData &log, std::string_view name)
{
    for (std::size_t i = 0; i < log.Selections.size(); ++i)
        if (log.Selections[i].Name.view() == name)
            return static_cast<int>(i);
    return -1;
}

// --- TSelectionEditor ----------------------------------------------------------

TSelectionEditor::TSelectionEditor(const TQsoData &log) : m_list(log.Selections), m_inForce(log.CurSelIndex)
{
    if (m_list.empty())
        m_list.push_back(AllQsosSelection());
    if (m_inForce < 0 || static_cast<std::size_t>(m_inForce) >= m_list.size())
        m_inForce = 0;
    Show(m_inForce);
}

void TSelectionEditor::Show(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_list.size())
        return;
    m_shown = index;
    m_edit = m_list[static_cast<std::size_t>(index)];
}

void TSelectionEditor::ToggleGroup(int group)
{
    if (ShownIsBuiltIn() || group < 0 || group > 255)
        return;
    m_edit.SetGroup(group, !m_edit.HasGroup(group));
}

namespace {
/// A date field: empty gives emptyValue, a text that is not a date gives nothing.
std::optional<std::uint16_t> dateField(std::string_view text, std::uint16_t emptyValue, DateFormat format)
{
    if (Trim(text).empty())
        return emptyValue;
    return ParseDate(text, format);
}
} // namespace

TSelectionEditor::UpdateResult TSelectionEditor::Update(const SelectionFields &fields, DateFormat format)
{
    if (ShownIsBuiltIn())
        return UpdateResult::BuiltIn;
    auto first = dateField(fields.firstDate, 0, format);
    auto last = dateField(fields.lastDate, OpenEndDate, format);
    if (!first || !last || *last < *first)
        return UpdateResult::BadDates;
    TSelection record = m_edit;
    record.DateActive = fields.dateActive ? 1 : 0;
    record.GroupActive = fields.groupActive ? 1 : 0;
    record.FirstDate = *first;
    record.LastDate = *last;
    record.Name = std::string_view(fields.name).substr(0, SelectionNameCapacity);
    record.SetQrpOnly(fields.qrpOnly);
    record.SetYlOnly(fields.ylOnly);
    m_list[static_cast<std::size_t>(m_shown)] = record;
    m_changed = true;
    Show(m_shown);
    return UpdateResult::Stored;
}

void TSelectionEditor::Add()
{
    TSelection fresh = AllQsosSelection();
    fresh.Name = SelectionText::NewName;
    m_list.push_back(fresh);
    m_changed = true;
    Show(static_cast<int>(m_list.size()) - 1);
}

void TSelectionEditor::Delete()
{
    if (ShownIsBuiltIn())
        return;
    m_list.erase(m_list.begin() + m_shown);
    m_changed = true;
    Show(std::min(m_shown, static_cast<int>(m_list.size()) - 1));
}

TSelectionEditor::Outcome TSelectionEditor::Commit(TQsoData &log) const
{
    if (!m_changed && m_shown == m_inForce)
        return Outcome::Cancelled;
    if (m_changed)
        log.SetSelections(m_list);
    SetCurrentSelection(log, m_shown);
    return m_changed ? Outcome::ListChanged : Outcome::Switched;
}

std::string TSelectionEditor::GroupRow(const TSelection &record, int group, std::string_view name)
{
    char number[8];
    std::snprintf(number, sizeof number, "%03d", group & 0xFF);
    return std::string(record.HasGroup(group & 0xFF) ? "x" : " ") + "  " + number + "  " + std::string(name);
}

// --- TGroupNameEditor -------------------------------------------------------------

namespace {
std::string groupNameText(std::string_view name) { return std::string(name.substr(0, GroupNameCapacity)); }
} // namespace

TGroupNameEditor::TGroupNameEditor(std::vector<std::string> names) : m_names(std::move(names))
{
    if (!m_names.empty())
        m_current = 0;
}

std::string TGroupNameEditor::CurrentName() const
{
    return m_current >= 0 ? m_names[static_cast<std::size_t>(m_current)] : std::string();
}

void TGroupNameEditor::Select(int row)
{
    m_current = (row >= 0 && static_cast<std::size_t>(row) < m_names.size()) ? row : -1;
}

void TGroupNameEditor::Add(std::string_view name)
{
    m_names.push_back(groupNameText(name));
    m_current = static_cast<int>(m_names.size()) - 1;
}

void TGroupNameEditor::Change(std::string_view name)
{
    if (m_current >= 0)
        m_names[static_cast<std::size_t>(m_current)] = groupNameText(name);
}

void TGroupNameEditor::Insert(std::string_view name)
{
    if (m_current < 0) {
        Add(name);
        return;
    }
    m_names.insert(m_names.begin() + m_current, groupNameText(name));
}

void TGroupNameEditor::Delete()
{
    if (m_current < 0)
        return;
    m_names.erase(m_names.begin() + m_current);
    m_current = std::min(m_current, static_cast<int>(m_names.size()) - 1);
}

void TGroupNameEditor::Commit(TQsoData &log) const
{
    log.SetGroupNames(m_names);
}

std::string TGroupNameEditor::Row(int number, std::string_view name)
{
    char text[8];
    std::snprintf(text, sizeof text, "%03d", number & 0xFFFF);
    return std::string(text) + " " + std::string(name);
}

// --- bulk changes ------------------------------------------------------------------

namespace {

bool inScope(const TQsoData &log, const QsoScope &scope, const TQsoRec &qso)
{
    return scope ? scope(qso) : InSelection(log, qso);
}

template <typename Field>
std::int64_t setFieldOfQsos(TQsoData &log, std::uint8_t value, const QsoScope &scope, Field field)
{
    return log.ChangeQsos([&](TQsoRec &qso) {
        if (field(qso) == value || !inScope(log, scope, qso))
            return false;
        field(qso) = value;
        return true;
    });
}

} // namespace

std::int64_t CountInScope(const TQsoData &log, const QsoScope &scope)
{
    return std::count_if(log.begin(), log.end(), [&](const TQsoRec *qso) { return inScope(log, scope, *qso); });
}

std::int64_t SetGroupOfQsos(TQsoData &log, std::uint8_t group, const QsoScope &scope)
{
    return setFieldOfQsos(log, group, scope, [](TQsoRec &qso) -> std::uint8_t & { return qso.Group; });
}

std::int64_t SetModeOfQsos(TQsoData &log, std::uint8_t mode, const QsoScope &scope)
{
    if (!IsMode(mode))
        return 0;
    return setFieldOfQsos(log, mode, scope, [](TQsoRec &qso) -> std::uint8_t & { return qso.Mode; });
}

std::string ChangingUpToText(std::int64_t inScope) { return "Changing up to " + CountedNoun(inScope, "QSO"); }
std::string ChangedText(std::int64_t changed) { return "Changed " + CountedNoun(changed, "QSO"); }

// --- date range ---------------------------------------------------------------------

std::uint16_t InitialRangeEnd(std::uint16_t start, std::uint16_t end) { return end < start ? start : end; }

std::uint16_t StepDate(std::uint16_t day, int days)
{
    if (day == NoDate)
        return NoDate;
    int moved = std::clamp(static_cast<int>(day) + days, 1, static_cast<int>(LastValidDay));
    return static_cast<std::uint16_t>(moved);
}

} // namespace vellum
