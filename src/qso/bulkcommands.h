#pragma once
// The commands of the QSO window that act on many QSOs at once: the menu
// "Multiple QSOs operations" (confirmed, USA states, QSL date, delete), the
// label commands of the "&Labels" menu (setting and clearing the Label flags,
// the label sequence and the SWL records, and what follows a label run) and
// "Confirm SWL". They ask and report through the entry's notifier, change the
// log through its operations (journaled, re-sorted, award tables out of date,
// the log modified; nothing reaches the log file before the user saves) and
// show the progress window over many QSOs.

#include "labels/printlist.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vellum {

class QsoEntry;
class TQsoData;
class UserNotifier;
struct TQsoRec;

namespace BulkText {
inline constexpr const char *AreYouSure = "\rAre you sure";
inline constexpr const char *UpdateQslDates = "Update QSL Date for printed labels and\rclear the print flags?";
inline constexpr const char *DeletePrintedSwl = "Delete SWL records that were printed";
inline constexpr const char *ClearSequenced = "Clear all sequenced print flags?";
inline constexpr const char *ClearSwl = "Clear all SWL labels";
inline constexpr const char *SwlExists = "An SWL entry exists already\rdo you want to remove it?";
inline constexpr const char *UsaCall = "W1AW"; ///< a call of the United States, to find its country
} // namespace BulkText

class BulkCommands {
public:
    explicit BulkCommands(QsoEntry &entry);

    // --- "Multiple QSOs operations" ---
    /// "Set confirmed": the Cnfm flag on every QSO in scope; the number changed.
    std::int64_t SetConfirmed();
    /// "Set USA states": QSOs of the United States without a state take the state
    /// and county of the call's latest earlier QSO that has one (the whole log).
    std::int64_t SetUsaStates(std::uint16_t today);
    /// "Set QSL Date": QSOs in scope without a QSL date get their own date.
    std::int64_t SetQslDate();
    /// "Delete QSOs": every QSO in scope leaves the log.
    std::int64_t DeleteQsos();

    // --- "&Labels" ---
    /// "Set Print Flags" (set) and "Clear Print Flags": the Label flag of the QSOs shown.
    std::int64_t SetPrintFlags(bool set);
    /// "Clear Sequenced Print": the label numbers of the QSOs the selection admits.
    std::int64_t ClearSequencedPrint();
    /// "Clear SWL labels": empties the SWL list.
    bool ClearSwlLabels();
    /// Before a label run: the printed marks of the run's kind are cleared.
    void BeforeLabelRun(LabelKind kind);
    /// After the label dialog closed: the QSL dates of printed QSOs and their
    /// flags (QSL and sequence runs) or the printed SWL records (SWL runs), as the
    /// user agrees. The number of QSOs or records changed.
    std::int64_t AfterLabelRun(LabelKind kind, std::uint16_t today);

    // --- "Confirm SWL" ---
    /// Whether the command applies: browsing with a QSO shown.
    bool CanConfirmSwl() const;
    /// An SWL record for the listener on the QSO shown, or the removal of the
    /// one made before; then on as F_F2_NextQSO says.
    void ConfirmSwl(std::string_view listener);

private:
    UserNotifier &notifier() const;
    bool agree(const std::string &question) const;
    /// Changes the QSOs in scope with the progress window; the number changed.
    std::int64_t changeInScope(const std::string &caption, const std::function<bool(TQsoRec &)> &change);
    std::int64_t changeQsos(const std::string &caption, const std::function<bool(TQsoRec &)> &change);
    void refresh(std::int64_t changed);

    QsoEntry &m_entry;
    TQsoData &m_log;
};

} // namespace vellum
