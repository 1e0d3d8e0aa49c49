#include "submissionreport.h"

#include "logstore/qsotables.h"

#include <algorithm>
#include <tuple>

namespace vellum {

namespace {

/// The QSOs a normal submission lists: those in the selection that carry one of
/// the award's submitted bits once the plan is set.
std::vector<const TQsoRec *> listedQsos(const TQsoData &log, AwardIndex award, const SubmissionPlan &plan)
{
    const AwardMasks &masks = AwardFlagMasks[static_cast<std::size_t>(award)];
    std::uint32_t any = masks.mixed | masks.mode | masks.band;
    std::vector<const TQsoRec *> list;
    auto next = plan.changes.begin();
    for (std::int32_t position = 0; position < log.Count(); ++position) {
        const TQsoRec *qso = log.Get(position);
        std::uint32_t flags = qso->AwdFlags;
        if (next != plan.changes.end() && next->position == position)
            flags = (next++)->after;
        if ((flags & any) && InSelection(log, *qso))
            list.push_back(qso);
    }
    return list;
}

void sortForAward(std::vector<const TQsoRec *> &qsos, AwardIndex award)
{
    auto key = [award](const TQsoRec *q) {
        std::string_view call = q->Call.view();
        switch (award) {
        case AwardDXCC: return std::tuple(0, std::string_view(), int(q->Band), int(q->Mode), 0, call, 0, 0, 0);
        case AwardWAZ:
            return std::tuple(int(q->Zone), std::string_view(), int(q->Band), int(q->Country), 0, call, int(q->Date),
                              int(q->Time), int(q->Mode));
        case AwardWAS:
            return std::tuple(int(q->State), std::string_view(), int(q->Band), int(q->Country), 0, call, int(q->Date),
                              int(q->Time), int(q->Mode));
        default:
            return std::tuple(0, q->WpxPfx.view(), 0, 0, 0, call, int(q->Date), int(q->Time),
                              int(q->Band) * 64 + int(q->Mode));
        }
    };
    std::stable_sort(qsos.begin(), qsos.end(), [&](const TQsoRec *a, const TQsoRec *b) { return key(a) < key(b); });
}

void addColumns(ReportTable &table, AwardIndex award)
{
    if (award == AwardWPX) {
        table.AddColumn("Nr", -4);
        table.AddColumn("Call", 12);
        return;
    }
    table.AddColumn("Nr", -3);
    if (award == AwardWAZ)
        table.AddColumn("Zone", -2);
    if (award == AwardWAS)
        table.AddColumn("State", 15);
    table.AddColumn("Call", 12);
    table.AddColumn("Date", 11);
    table.AddColumn("Band", -4);
    table.AddColumn("Mode", 3);
    if (award != AwardWAS)
        table.AddColumn("Country", 28);
}

std::string qsoLine(const TAwardModel &model, const TQsoRec &qso, AwardIndex award, std::int64_t number)
{
    ReportLine line;
    if (award == AwardWPX) {
        line.Add(number == 1 || number % 10 == 0 ? std::to_string(number) : std::string());
        return line.Add(qso.Call.view()).Take();
    }
    line.Number(number);
    if (award == AwardWAZ)
        line.Number(qso.Zone);
    if (award == AwardWAS)
        line.Add(model.Countries().StateAbbreviation(qso.State));
    line.Add(qso.Call.view()).Add(ReportDate(qso.Date)).Add(BandInfoOf(qso.Band).shortName).Add(ModeName(qso.Mode));
    if (award != AwardWAS)
        line.Add(model.Countries().CountryName(qso.Country));
    return line.Take();
}

} // namespace

SubmissionReport MakeSubmissionReport(TAwardModel &model, TQsoData &log, AwardIndex award, bool fiveBand,
                                      UserNotifier &notifier)
{
    SubmissionReport report;
    std::vector<const TQsoRec *> &qsos = report.qsos;
    if (fiveBand) {
        SelectFiveBand(model, log, award, notifier);
        qsos = MarkedQsos(log);
    } else {
        report.plan = PlanSubmission(model, log, award, notifier);
        qsos = listedQsos(log, award, report.plan);
    }
    log.InvalidateAwardTables();
    sortForAward(qsos, award);
    ReportTable &table = report.table;
    table.title = std::string(fiveBand ? "Five Band " : "") + AwardNames[static_cast<std::size_t>(award)] + " Submission";
    table.multiColumn = award == AwardWPX;
    addColumns(table, award);
    std::int64_t number = 0;
    for (const TQsoRec *qso : qsos)
        table.lines.push_back(qsoLine(model, *qso, award, ++number));
    return report;
}

std::int64_t CommitSubmission(TQsoData &log, const SubmissionReport &report)
{
    return ApplySubmissionPlan(log, report.plan);
}

} // namespace vellum
