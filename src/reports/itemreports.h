#pragma once
// The item-award reports: IOTA references, US counties, VUCC grid squares and
// the values of a custom award. Each scans the log once, keeps one entry per
// item key in key order, and shows it as one of eight kinds of report.

#include "awards/submission.h"
#include "reporttable.h"

#include <array>
#include <string>
#include <vector>

namespace vellum {

class TCustAward;

/// The eight kinds; the number is the kind's code.
enum class ItemReportKind : int {
    Listing = 0,       ///< items worked (best status 1..5)
    FullListing = 1,   ///< the full set and every worked item
    BandSummary = 2,
    ModeSummary = 3,
    Submission = 4,    ///< items confirmed (best 3 or 4); marks their best QSOs submitted
    BandListing = 5,
    ModeListing = 6,
    NeededListing = 7, ///< the full set and worked items whose best is 0..2
};
/// "Listing", "Full listing", "Band Summary", ... by kind.
extern const std::array<const char *, 8> ItemReportKindTitles;

enum class ItemAward { Iota, County, Vucc, Custom };

/// One item of a report: the best QSO and the best status per band and mode group.
struct ItemEntry {
    std::string key;
    const TQsoRec *best = nullptr;   ///< none for an item of the full set never worked
    std::uint8_t overall = 0;
    std::array<std::uint8_t, 16> bands{};
    std::array<std::uint8_t, 4> groups{}; ///< groups 1..3
};

/// What an item report reads: the award and, for a custom award, which one.
struct ItemReportSource {
    ItemAward award = ItemAward::Iota;
    const TCustAward *custom = nullptr;
};

/// A QSO's status for an item award (no cutoff applies): 0 without a received
/// report; confirmed: 4 with the award's submitted bit, 5 with its checked bit,
/// else 3; unconfirmed: 2 with a QSL-sent date, else 1.
std::uint8_t ItemQsoStatus(const TQsoRec &qso, std::uint32_t submittedMask);

/// The entries of the QSOs in the selection in force on the counted bands and mode groups, in key order.
std::vector<ItemEntry> CollectItemEntries(const TCountryData &countries, const TConfigRecord &config,
                                          const TQsoData &log, const ItemReportSource &source);

struct ItemReport {
    ReportTable table;
    /// Every listed entry, in the order of the lines (kinds 0, 1, 4, 6, 7): the
    /// report window calls up their best QSOs. Empty for kinds 2, 3 and 5.
    std::vector<ItemEntry> entries;
    SubmissionPlan plan; ///< kind 4: the submitted bits to set
};

ItemReport MakeItemReport(const TCountryData &countries, const TConfigRecord &config, const TQsoData &log,
                          const ItemReportSource &source, ItemReportKind kind);
/// Sets the submitted bits of a produced kind-4 report; returns the QSOs changed.
std::int64_t CommitItemSubmission(TQsoData &log, const ItemReport &report);

} // namespace vellum
