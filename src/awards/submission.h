#pragma once
// Award submissions: marking the QSOs of a DXCC, WAZ, WAS or WPX submission as
// submitted, choosing the QSOs of a five-band submission, and changing award
// flags in bulk ("Change award flags").

#include "awardmodel.h"

#include "logstore/services.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vellum {

namespace SubmissionText {
inline constexpr const char *DoubleSubmission = "Logic Error: Double submission";
inline constexpr const char *NoFiveBand = "You cannot submit for a five band award";
inline constexpr const char *BandsExcluded = "Band(s) not included because\rthey were submitted already\r";
} // namespace SubmissionText

/// The rules of one award's submission.
struct SubmissionParams {
    AwardIndex Award;
    int Code;                  ///< the award code of its start dates (AwardStartDate)
    int Minimum;               ///< entities a level needs
    std::uint16_t FiveBandSet; ///< bands of the five-band award, bit = band; 0 = none
};
/// DXCC 1/100/684, WAZ 2/40/684, WAS 3/50/65198, WPX 3/400/none.
const SubmissionParams &SubmissionParamsOf(AwardIndex award);

/// How many entities of an award reach confirmed, submitted and checked at one level.
struct SubmissionCounter {
    std::int32_t confirmed = 0;
    std::int32_t submitted = 0;
    std::int32_t checked = 0;
    bool eligible = false;
    std::int32_t Total() const { return confirmed + submitted + checked; }
    void Count(TAwardStatus status);
};

/// The counters of every level: mixed, mode groups 1..3 ([0] unused), bands 1..15 ([0] unused).
struct SubmissionCounters {
    SubmissionCounter mixed;
    std::array<SubmissionCounter, 4> groups;
    std::array<SubmissionCounter, 16> bands;
};

/// Counts every entity of the award at every level from the tables as they
/// are (mixed: MixedStatus, groups: ModeGroupStatus, bands: BandStatus).
SubmissionCounters CountSubmissionLevels(TAwardModel &model, TQsoData &log, AwardIndex award);

struct SubmissionResult {
    std::int64_t marks = 0; ///< levels marked, over all QSOs
    std::int64_t qsos = 0;  ///< QSOs that got at least one mark
};

/// Marks a normal submission: the tables are rebuilt with the award's start
/// date; per entity and eligible level the most recent confirmed QSO (in log
/// order) gets the level's submitted bit, preferring QSOs that serve the band,
/// mode and mixed levels at once. Afterwards the tables are out of date and,
/// when anything was marked, the log is modified. A level whose cell is
/// already submitted or checked is reported ("Logic Error: Double submission").
SubmissionResult MarkSubmission(TAwardModel &model, TQsoData &log, AwardIndex award, UserNotifier &notifier);

/// A submission worked out without changing the log: the award flags each QSO
/// (by its position in master order) would get.
struct SubmissionPlan {
    struct Change {
        std::int32_t position;
        std::uint32_t before;
        std::uint32_t after;
    };
    SubmissionResult result;
    std::vector<Change> changes; ///< in master order
    std::int32_t logCount = 0;   ///< the log's size when planned
};
/// MarkSubmission's marks, worked out and left unset: the log's flags are as
/// before and it is not marked modified (the tables are out of date afterwards).
SubmissionPlan PlanSubmission(TAwardModel &model, TQsoData &log, AwardIndex award, UserNotifier &notifier);
/// Sets the planned flags (journaled, the log modified, the tables out of date).
/// Nothing is set when the log changed size since the plan; a QSO whose flags
/// changed since then keeps them. Returns the QSOs changed.
std::int64_t ApplySubmissionPlan(TQsoData &log, const SubmissionPlan &plan);
/// The QSOs a submission report lists: in the selection in force, carrying any
/// of the award's three submitted bits, in log order.
std::vector<const TQsoRec *> SubmittedQsos(const TQsoData &log, AwardIndex award);

struct FiveBandResult {
    bool allowed = false;
    std::vector<int> excludedBands;     ///< bands left out because they were submitted already
    std::array<std::int32_t, 16> selected{}; ///< QSOs chosen per band
};

/// Chooses the QSOs of a five-band DXCC, WAZ or WAS submission: clears the
/// transient mark of every QSO, checks the five-band condition (else the
/// warning "You cannot submit for a five band award" and nothing is chosen),
/// and marks, from the newest QSO back, up to minimum + 5 confirmed QSOs per
/// eligible band of the set, never two of one entity on one band. Award flags
/// are not changed.
FiveBandResult SelectFiveBand(TAwardModel &model, TQsoData &log, AwardIndex award, UserNotifier &notifier);

/// The QSOs carrying the transient mark, in log order.
std::vector<const TQsoRec *> MarkedQsos(const TQsoData &log);

// --- "Change award flags" --------------------------------------------------------------

enum class FlagAction : int { ClearSubmitted = 0, ClearChecked = 1, ClearBoth = 2, SubmittedToChecked = 3 };
/// "Clear Submitted", "Clear Checked", "Clear Subm && Checked", "Submitted -> Checked".
extern const std::array<const char *, 4> FlagActionNames;

/// Applies the action to one flag pair (an index of AwardFlagTable) of every QSO
/// in the selection in force. Returns the number of QSOs changed; when above 0
/// the award tables are out of date and the log is modified. A pair index
/// outside the table changes nothing.
std::int64_t ChangeAwardFlags(TQsoData &log, int pair, FlagAction action);

} // namespace vellum
