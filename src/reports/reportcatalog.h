#pragma once
// Every report of the "Reports" menu: where it sits (submenu and item), what
// it asks for first, and how it is produced. The report window and
// vellum-cli produce reports through here.

#include "awardlistings.h"
#include "itemreports.h"
#include "ratesheet.h"
#include "submissionreport.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vellum {

class TCustAward;

struct ListingReportSpec {
    ListingKind kind;
};
struct SummaryReportSpec {
    SummaryKind kind;
};
struct SubmissionReportSpec {
    AwardIndex award;
    bool fiveBand;
};
struct ItemReportSpec {
    ItemAward award;
    ItemReportKind kind;
};
struct RateReportSpec {};

struct ReportSpec {
    std::string menu;       ///< the submenu of "Reports": "DXCC", "WAS", ..., "Contest"
    std::string item;       ///< "Listing", "Summary (include deleted)", ...
    std::variant<ListingReportSpec, SummaryReportSpec, SubmissionReportSpec, ItemReportSpec, RateReportSpec> what;

    /// "DXCC Listing": how vellum-cli names it.
    std::string Name() const { return menu + " " + item; }
    /// Listings and summaries ask "Select Band/Mode" first.
    bool AsksModeBand() const;
    /// Custom-award reports ask which award first.
    bool AsksCustomAward() const;
    /// Submissions (and item submissions) mark QSOs once produced.
    bool Marks() const;
    /// "listing", "summary", "submission", "item", "rate".
    std::string_view Family() const;
};

/// Every report in menu order.
const std::vector<ReportSpec> &ReportCatalog();
/// The report of a name (ignoring case), or null.
const ReportSpec *FindReport(std::string_view name);

/// What producing a report reads and asks.
struct ReportInputs {
    TAwardModel &model;
    TQsoData &log;
    UserNotifier &notifier;
    ModeBandChoice choice{};
    const TCustAward *custom = nullptr;
    ContestStart contest{};
};

struct ProducedReport {
    ReportTable table;
    /// The QSO each line stands for (item reports with an entry list: the best
    /// QSO or null; submissions); empty for reports whose lines are no QSOs.
    std::vector<const TQsoRec *> lineQsos;
    std::optional<ListingCells> listing; ///< listings: what their cells stand for
    SubmissionPlan plan;                 ///< the marks a submission sets when committed
};

ProducedReport ProduceReport(const ReportSpec &spec, ReportInputs inputs);
/// Sets the marks of a produced submission; returns the QSOs changed.
std::int64_t CommitReport(TQsoData &log, const ProducedReport &report);

} // namespace vellum
