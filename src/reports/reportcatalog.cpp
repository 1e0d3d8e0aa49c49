#include "reportcatalog.h"

#include "logstore/compare.h"

namespace vellum {

namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};

void addItemMenu(std::vector<ReportSpec> &list, const char *menu, ItemAward award,
                 std::initializer_list<std::pair<const char *, ItemReportKind>> items)
{
    for (const auto &[item, kind] : items)
        list.push_back({menu, item, ItemReportSpec{award, kind}});
}

std::vector<ReportSpec> makeCatalog()
{
    using K = ItemReportKind;
    std::vector<ReportSpec> list = {
        {"DXCC", "Listing", ListingReportSpec{ListingKind::Countries}},
        {"DXCC", "Listing (include deleted)", ListingReportSpec{ListingKind::CountriesWithDeleted}},
        {"DXCC", "Needed Listing", ListingReportSpec{ListingKind::NeededCountries}},
        {"DXCC", "Summary", SummaryReportSpec{SummaryKind::Countries}},
        {"DXCC", "Summary (include deleted)", SummaryReportSpec{SummaryKind::CountriesWithDeleted}},
        {"DXCC", "Submission", SubmissionReportSpec{AwardDXCC, false}},
        {"DXCC", "Five Band Submission", SubmissionReportSpec{AwardDXCC, true}},
        {"WAS", "Listing", ListingReportSpec{ListingKind::States}},
        {"WAS", "Summary", SummaryReportSpec{SummaryKind::States}},
        {"WAS", "Submission", SubmissionReportSpec{AwardWAS, false}},
        {"WAS", "Five Band Submission", SubmissionReportSpec{AwardWAS, true}},
        {"WAZ", "Listing", ListingReportSpec{ListingKind::Zones}},
        {"WAZ", "Summary", SummaryReportSpec{SummaryKind::Zones}},
        {"WAZ", "Submission", SubmissionReportSpec{AwardWAZ, false}},
        {"WAZ", "Five Band Submission", SubmissionReportSpec{AwardWAZ, true}},
    };
    addItemMenu(list, "IOTA", ItemAward::Iota,
                {{"Listing Worked", K::Listing}, {"Listing", K::FullListing}, {"Needed Listing", K::NeededListing},
                 {"Band Listing", K::BandListing}, {"Mode Listing", K::ModeListing}, {"Band Summary", K::BandSummary},
                 {"Mode Summary", K::ModeSummary}, {"Submission", K::Submission}});
    list.push_back({"WPX", "Listing", ListingReportSpec{ListingKind::Wpx}});
    list.push_back({"WPX", "Summary", SummaryReportSpec{SummaryKind::Wpx}});
    list.push_back({"WPX", "Summary (Honor Roll)", SummaryReportSpec{SummaryKind::WpxHonorRoll}});
    list.push_back({"WPX", "Submission", SubmissionReportSpec{AwardWPX, false}});
    addItemMenu(list, "Counties", ItemAward::County,
                {{"Listing Worked", K::Listing}, {"Listing", K::FullListing}, {"Band Listing", K::BandListing},
                 {"Mode Listing", K::ModeListing}, {"Band Summary", K::BandSummary}, {"Mode Summary", K::ModeSummary},
                 {"Submission", K::Submission}});
    addItemMenu(list, "VUCC", ItemAward::Vucc,
                {{"Listing", K::Listing}, {"Band Listing", K::BandListing}, {"Mode Listing", K::ModeListing},
                 {"Band Summary", K::BandSummary}, {"Mode Summary", K::ModeSummary}, {"Submission", K::Submission}});
    addItemMenu(list, "Custom", ItemAward::Custom,
                {{"Listing Worked", K::Listing}, {"Listing", K::FullListing}, {"Needed Listing", K::NeededListing},
                 {"Band Listing", K::BandListing}, {"Mode Listing", K::ModeListing}, {"Band Summary", K::BandSummary},
                 {"Mode Summary", K::ModeSummary}, {"Submission", K::Submission}});
    list.push_back({"Contest", "Rate Sheet", RateReportSpec{}});
    return list;
}

} // namespace

bool ReportSpec::AsksModeBand() const
{
    return std::holds_alternative<ListingReportSpec>(what) || std::holds_alternative<SummaryReportSpec>(what);
}

bool ReportSpec::AsksCustomAward() const
{
    const auto *item = std::get_if<ItemReportSpec>(&what);
    return item && item->award == ItemAward::Custom;
}

bool ReportSpec::Marks() const
{
    if (const auto *submission = std::get_if<SubmissionReportSpec>(&what))
        return !submission->fiveBand;
    const auto *item = std::get_if<ItemReportSpec>(&what);
    return item && item->kind == ItemReportKind::Submission;
}

std::string_view ReportSpec::Family() const
{
    static constexpr std::string_view names[] = {"listing", "summary", "submission", "item", "rate"};
    return names[what.index()];
}

const std::vector<ReportSpec> &ReportCatalog()
{
    static const std::vector<ReportSpec> catalog = makeCatalog();
    return catalog;
}

const ReportSpec *FindReport(std::string_view name)
{
    for (const ReportSpec &spec : ReportCatalog())
        if (CompareNoCase(spec.Name(), name) == 0)
            return &spec;
    return nullptr;
}

ProducedReport ProduceReport(const ReportSpec &spec, ReportInputs inputs)
{
    ProducedReport produced;
    std::visit(Overloaded{
                   [&](const ListingReportSpec &s) {
                       ListingReport listing = MakeListing(inputs.model, inputs.log, s.kind, inputs.choice);
                       produced.table = std::move(listing.table);
                       produced.listing = std::move(listing.cells);
                   },
                   [&](const SummaryReportSpec &s) {
                       produced.table = MakeSummary(inputs.model, inputs.log, s.kind, inputs.choice);
                   },
                   [&](const SubmissionReportSpec &s) {
                       SubmissionReport report =
                           MakeSubmissionReport(inputs.model, inputs.log, s.award, s.fiveBand, inputs.notifier);
                       produced.table = std::move(report.table);
                       produced.plan = std::move(report.plan);
                       produced.lineQsos = std::move(report.qsos);
                   },
                   [&](const ItemReportSpec &s) {
                       ItemReport report = MakeItemReport(inputs.model.Countries(), inputs.model.Config(), inputs.log,
                                                          {s.award, inputs.custom}, s.kind);
                       produced.table = std::move(report.table);
                       for (const ItemEntry &entry : report.entries)
                           produced.lineQsos.push_back(entry.best);
                       produced.plan = std::move(report.plan);
                   },
                   [&](const RateReportSpec &) {
                       produced.table = MakeRateSheet(inputs.model.Config(), inputs.log, inputs.contest);
                   },
               },
               spec.what);
    return produced;
}

std::int64_t CommitReport(TQsoData &log, const ProducedReport &report) { return ApplySubmissionPlan(log, report.plan); }

} // namespace vellum
