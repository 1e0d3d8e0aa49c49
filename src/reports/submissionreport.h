#pragma once
// The submission reports of DXCC, WAZ, WAS and WPX, and the five-band
// submissions of DXCC, WAZ and WAS. A normal submission works its marks out
// first, lists the QSOs that carry (or will carry) the award's submitted bits,
// and sets the marks only when the caller commits the report it produced.

#include "awards/submission.h"
#include "reporttable.h"

namespace vellum {

struct SubmissionReport {
    ReportTable table;
    SubmissionPlan plan; ///< the marks of a normal submission; empty for a five-band one
    std::vector<const TQsoRec *> qsos; ///< the QSO of each line
};

/// Produces the report; the log's award flags are unchanged until CommitSubmission.
SubmissionReport MakeSubmissionReport(TAwardModel &model, TQsoData &log, AwardIndex award, bool fiveBand,
                                      UserNotifier &notifier);
/// Sets the marks of the produced report; returns the QSOs changed.
std::int64_t CommitSubmission(TQsoData &log, const SubmissionReport &report);

} // namespace vellum
