// Listings, summaries and submissions of the big awards against counts made
// by hand from the constructed log.

#include "reportfixture.h"

#include "awards/submission.h"
#include "reports/awardlistings.h"
#include "reports/submissionreport.h"

namespace vellum::test {
namespace {

constexpr std::uint8_t B40 = 3, B20 = 5, B15 = 7, CW = 4, RTTY = 13, SSB = 14;

std::variant<EntityQsos, CellRefusal> QsosOf(const ListingReport &listing, std::size_t row, std::size_t column)
{
    return QsosOfCell(listing.table, listing.cells, row, column);
}

class AwardReportTest : public ReportTest {
protected:
    /// K: worked on 20m CW, confirmed on 40m SSB; XX: QSL sent on 20m CW; QQ:
    /// confirmed on 15m RTTY; YY: only a QSO without received report; OLD
    /// (deleted): confirmed on 20m CW.
    void AddStandingLog()
    {
        Add(Qso("K1AA", "K"));
        Add(Qso("K1AB", "K").band(B40).mode(SSB).qslFlags(QslFlag::ValidDX | QslFlag::Cnfm));
        Add(Qso("XX1A", "XX").qslDate(Day(2022, 6, 1)));
        Add(Qso("QQ1A", "QQ").band(B15).mode(RTTY).qslFlags(QslFlag::ValidDX | QslFlag::Cnfm));
        Add(Qso("YY1A", "YY").reports(0, 599));
        Add(Qso("QQ8OLD", "OLD").date(2000, 1, 1).qslFlags(QslFlag::ValidDX | QslFlag::Cnfm));
    }
};

TEST_F(AwardReportTest, SummaryCountsEachStatusPerLevelAndLeavesTheTablesOutOfDate)
{
    AddStandingLog();
    ReportTable table = MakeSummary(model, *log, SummaryKind::Countries, {});
    EXPECT_EQ(table.title, "Current Countries  Summary (ALL modes, ALL bands)");
    EXPECT_EQ(ColumnNames(table), (std::vector<std::string>{" Band/Mode", "Worked", "QSL Mailed", "Confirmed", "Submit",
                                                            "Checked", "Totals", "CnfTotal"}));
    // Six current countries; K and QQ confirmed, XX mailed, YY without report does not count.
    EXPECT_EQ(table.lines[0], "Available\t.\t.\t.\t.\t.\t6");
    EXPECT_EQ(LineStartingWith(table, "MIX"), "MIX\t.\t1\t2\t.\t.\t3\t2");
    EXPECT_EQ(LineStartingWith(table, "PHO"), "PHO\t.\t.\t1\t.\t.\t1\t1");
    EXPECT_EQ(LineStartingWith(table, "CW"), "CW\t1\t1\t.\t.\t.\t2\t.");
    EXPECT_EQ(LineStartingWith(table, "RTTY"), "RTTY\t.\t.\t1\t.\t.\t1\t1");
    EXPECT_EQ(LineStartingWith(table, "Mode Total"), "Mode Total\t1\t1\t2\t.\t.\t4\t2");
    EXPECT_EQ(LineStartingWith(table, "20m"), "20m\t1\t1\t.\t.\t.\t2\t.");
    EXPECT_EQ(LineStartingWith(table, "40m"), "40m\t.\t.\t1\t.\t.\t1\t1");
    EXPECT_EQ(LineStartingWith(table, "Band Total"), "Band Total\t1\t1\t2\t.\t.\t4\t2");
    // Available, MIX, three groups, Mode Total, every counted band, Band Total.
    int bands = 0;
    for (int band = 1; band <= 15; ++band)
        bands += CountsBand(config, model.Setup(AwardDXCC), band);
    EXPECT_EQ(table.lines.size(), static_cast<std::size_t>(6 + bands + 1));
    EXPECT_FALSE(log->AwardTablesValid());

    ReportTable withDeleted = MakeSummary(model, *log, SummaryKind::CountriesWithDeleted, {});
    EXPECT_EQ(withDeleted.lines[0], "Available\t.\t.\t.\t.\t.\t7");
    EXPECT_EQ(LineStartingWith(withDeleted, "MIX"), "MIX\t.\t1\t3\t.\t.\t4\t3");
}

TEST_F(AwardReportTest, SummaryOfABandOrAModeGroupShowsOnlyThoseRows)
{
    AddStandingLog();
    ModeBandChoice band20;
    band20.ChooseBand(B20);
    ReportTable byBand = MakeSummary(model, *log, SummaryKind::Countries, band20);
    EXPECT_EQ(byBand.title, "Current Countries  Summary (ALL modes, Band = 20m)");
    EXPECT_EQ(LineStartingWith(byBand, "MIX"), "");
    EXPECT_EQ(LineStartingWith(byBand, "CW"), "CW\t1\t1\t.\t.\t.\t2\t.");
    EXPECT_EQ(LineStartingWith(byBand, "PHO"), "PHO\t.\t.\t.\t.\t.\t.\t.");
    EXPECT_EQ(byBand.lines.back(), "20m\t1\t1\t.\t.\t.\t2\t.");

    ModeBandChoice phone;
    phone.ChooseGroup(1);
    ReportTable byMode = MakeSummary(model, *log, SummaryKind::Countries, phone);
    EXPECT_EQ(byMode.lines[1], "PHO\t.\t.\t1\t.\t.\t1\t1");
    EXPECT_EQ(LineStartingWith(byMode, "40m"), "40m\t.\t.\t1\t.\t.\t1\t1");
    EXPECT_EQ(LineStartingWith(byMode, "20m"), "20m\t.\t.\t.\t.\t.\t.\t.");
}

TEST_F(AwardReportTest, ListingShowsTheLetterOfEachLevel)
{
    AddStandingLog();
    ModeBandChoice choice;
    choice.ChooseGroup(2);
    choice.ChooseBand(B20); // a band resets the mode group to all
    EXPECT_EQ(choice.group, 0);
    ReportTable table = MakeListing(model, *log, ListingKind::Countries, choice).table;
    EXPECT_EQ(table.title, "Countries listing (ALL modes, Band = 20m)");
    EXPECT_EQ(ColumnNames(table), (std::vector<std::string>{"Prefix", "Country", "PHO", "CW", "RTTY", "20"}));
    EXPECT_EQ(LineStartingWith(table, "K"), "K\tUnited States\t\xB7\tW\t\xB7\tW");
    EXPECT_EQ(LineStartingWith(table, "XX"), "XX\tEx Land\t\xB7\tM\t\xB7\tM");
    EXPECT_EQ(LineStartingWith(table, "OLD"), ""); // deleted
    EXPECT_EQ(table.lines.size(), 6u);

    ReportTable all = MakeListing(model, *log, ListingKind::CountriesWithDeleted, {}).table;
    EXPECT_EQ(all.columns[0].name, "Del");
    EXPECT_EQ(all.lines.back().substr(0, 6), "D\tOLD\t");
    EXPECT_EQ(Cell(all, LineStartingWith(all, "\tK"), "MIX"), "C");
    EXPECT_EQ(Cell(all, LineStartingWith(all, "\tK"), "40"), "C");
    EXPECT_EQ(Cell(all, LineStartingWith(all, "\tK"), "20"), "W");
}

TEST_F(AwardReportTest, ListingCellsNameTheQsosBehindThem)
{
    AddStandingLog();
    auto qsosOf = [](const ListingReport &listing, const std::string &start, std::size_t column) {
        for (std::size_t row = 0; row < listing.table.lines.size(); ++row)
            if (listing.table.lines[row].starts_with(start))
                return QsosOf(listing, row, column);
        return std::variant<EntityQsos, CellRefusal>(CellRefusal::NotAStatusColumn);
    };
    // With 20m chosen the mode-group columns are the band's cells of each group.
    ModeBandChoice band20;
    band20.ChooseBand(B20);
    ListingReport byBand = MakeListing(model, *log, ListingKind::Countries, band20);
    auto cw = std::get<EntityQsos>(qsosOf(byBand, "K\t", 3)); // PHO, CW, RTTY, 20
    EXPECT_EQ(cw.entity, "K");
    EXPECT_EQ(std::tuple(cw.band, cw.group, cw.status, cw.level), std::tuple(int(B20), 2, asWorked, AwardLevel::Band));
    EXPECT_EQ(std::get<CellRefusal>(qsosOf(byBand, "K\t", 2)), CellRefusal::NeverWorked); // PHO on 20m
    EXPECT_EQ(std::get<CellRefusal>(qsosOf(byBand, "K\t", 1)), CellRefusal::NotAStatusColumn);

    // With a mode group chosen the band columns are that group's cells.
    ModeBandChoice phone;
    phone.ChooseGroup(1);
    ListingReport byGroup = MakeListing(model, *log, ListingKind::Zones, phone);
    std::vector<std::string> names = ColumnNames(byGroup.table);
    ASSERT_EQ(names[1], "PHO");
    auto column40 = static_cast<std::size_t>(std::find(names.begin(), names.end(), "40") - names.begin());
    ASSERT_LT(column40, names.size());
    auto forty = std::get<EntityQsos>(QsosOf(byGroup, 4, column40)); // zone 5
    EXPECT_EQ(std::tuple(forty.award, forty.entity, forty.band, forty.group, forty.status, forty.level),
              std::tuple(AwardWAZ, std::string("5"), int(B40), 1, asConfirmed, AwardLevel::Band));
    auto mode = std::get<EntityQsos>(QsosOf(byGroup, 4, 1));
    EXPECT_EQ(std::tuple(mode.band, mode.group, mode.level), std::tuple(0, 1, AwardLevel::Mode));
}

TEST_F(AwardReportTest, NeededListingLeavesOutConfirmedCountries)
{
    AddStandingLog();
    ReportTable table = MakeListing(model, *log, ListingKind::NeededCountries, {}).table;
    std::vector<std::string> prefixes;
    for (const std::string &line : table.lines)
        prefixes.push_back(Cells(line)[0]);
    EXPECT_EQ(prefixes, (std::vector<std::string>{"KH6", "KL", "XX", "YY"}));
}

TEST_F(AwardReportTest, ZoneStateAndWpxListings)
{
    AddStandingLog();
    Add(Qso("K2NY", "K").state(static_cast<std::uint8_t>(countries.StateIndex("NY"))));
    ReportTable zones = MakeListing(model, *log, ListingKind::Zones, {}).table;
    ASSERT_EQ(zones.lines.size(), 40u);
    EXPECT_EQ(zones.columns[0].align, PrintAlign::Right);
    EXPECT_EQ(Cell(zones, zones.lines[4], "MIX"), "C"); // zone 5: K confirmed
    EXPECT_EQ(Cell(zones, zones.lines[19], "MIX"), "M"); // zone 20: XX
    ReportTable states = MakeListing(model, *log, ListingKind::States, {}).table;
    ASSERT_EQ(states.lines.size(), 50u);
    EXPECT_EQ(LineStartingWith(states, "NY\tNew York").substr(0, 13), "NY\tNew York\tW");
    ReportTable wpx = MakeListing(model, *log, ListingKind::Wpx, {}).table;
    std::vector<std::string> prefixes;
    for (const std::string &line : wpx.lines)
        prefixes.push_back(Cells(line)[0]);
    // YY1 has no report; QQ1 was worked in RTTY, which the built-in WPX setup does not count.
    EXPECT_EQ(prefixes, (std::vector<std::string>{"K1", "K2", "QQ8", "XX1"}));
}

TEST_F(AwardReportTest, EmptySelectionShowsOnlyHeadingRows)
{
    AddStandingLog();
    TSelection none = AllQsosSelection();
    none.DateActive = 1;
    none.FirstDate = Day(2030, 1, 1);
    none.LastDate = Day(2030, 1, 2);
    log->CurSelection = none;
    ReportTable summary = MakeSummary(model, *log, SummaryKind::Zones, {});
    EXPECT_EQ(summary.lines[0], "Available\t.\t.\t.\t.\t.\t40");
    for (std::size_t i = 1; i < summary.lines.size(); ++i)
        EXPECT_TRUE(summary.lines[i].ends_with("\t.\t.\t.\t.\t.\t.\t.")) << summary.lines[i];
    SubmissionReport submission = MakeSubmissionReport(model, *log, AwardWAZ, false, notifier);
    EXPECT_TRUE(submission.table.lines.empty());
    EXPECT_TRUE(submission.plan.changes.empty());
}

/// 100 confirmed countries are more than the test data has: DXCC is tested with
/// WAZ, whose minimum of 40 zones is reachable through the zone field alone.
class SubmissionReportTest : public ReportTest {
protected:
    void AddFortyConfirmedZones()
    {
        for (int zone = 1; zone <= 40; ++zone) {
            QsoBuilder qso = Qso("XX" + std::to_string(zone) + "Z", "XX");
            qso.country(countries.CountryIndexOfPrefix("XX"), static_cast<std::uint8_t>(zone))
                .day(static_cast<std::uint16_t>(Day(2021, 1, 1) + zone))
                .qslFlags(QslFlag::ValidDX | QslFlag::Cnfm);
            Add(qso);
        }
    }
    std::int64_t FlaggedQsos(std::uint32_t mask) const
    {
        std::int64_t count = 0;
        for (const TQsoRec *qso : *log)
            count += (qso->AwdFlags & mask) != 0;
        return count;
    }
};

TEST_F(SubmissionReportTest, MarksOnlyWhenTheProducedReportIsCommitted)
{
    AddFortyConfirmedZones();
    log->MarkSaved();
    const AwardMasks &masks = AwardFlagMasks[AwardWAZ];
    std::uint32_t any = masks.mixed | masks.mode | masks.band;

    SubmissionReport report = MakeSubmissionReport(model, *log, AwardWAZ, false, notifier);
    EXPECT_EQ(report.table.title, "WAZ Submission");
    EXPECT_EQ(ColumnNames(report.table),
              (std::vector<std::string>{"Nr", "Zone", "Call", "Date", "Band", "Mode", "Country"}));
    ASSERT_EQ(report.table.lines.size(), 40u);
    EXPECT_EQ(report.table.lines[0], "1\t1\tXX1Z\t02-Jan-2021\t20\tCW\tEx Land");
    EXPECT_EQ(Cells(report.table.lines[39])[1], "40");
    // Produced, not committed: nothing is marked and the log is unchanged.
    EXPECT_EQ(FlaggedQsos(any), 0);
    EXPECT_FALSE(log->IsModified());

    EXPECT_EQ(CommitSubmission(*log, report), 40);
    EXPECT_EQ(FlaggedQsos(masks.mixed), 40);
    EXPECT_EQ(FlaggedQsos(masks.mode), 40);
    EXPECT_EQ(FlaggedQsos(masks.band), 40);
    EXPECT_TRUE(log->IsModified());
    EXPECT_FALSE(log->AwardTablesValid());

    // A second submission lists the submitted QSOs again and marks nothing new.
    SubmissionReport again = MakeSubmissionReport(model, *log, AwardWAZ, false, notifier);
    EXPECT_EQ(again.table.lines.size(), 40u);
    EXPECT_TRUE(again.plan.changes.empty());
}

TEST_F(SubmissionReportTest, ACancelledReportOrAChangedLogMarksNothing)
{
    AddFortyConfirmedZones();
    SubmissionReport report = MakeSubmissionReport(model, *log, AwardWAZ, false, notifier);
    ASSERT_FALSE(report.plan.changes.empty());
    // The log grew after the report was made: the plan's positions no longer hold.
    Add(Qso("K1NEW", "K"));
    EXPECT_EQ(CommitSubmission(*log, report), 0);
    EXPECT_EQ(FlaggedQsos(AwardFlagMasks[AwardWAZ].mixed), 0);
}

TEST_F(SubmissionReportTest, WpxSubmissionNumbersTheFirstAndEveryTenthLine)
{
    for (int i = 0; i < 25; ++i) {
        TQsoRec *qso = Add(Qso("XX" + std::to_string(i + 1) + "A", "XX").qslFlags(QslFlag::ValidDX | QslFlag::Cnfm));
        qso->AwdFlags = AwardFlagMasks[AwardWPX].mixed; // submitted before
    }
    SubmissionReport report = MakeSubmissionReport(model, *log, AwardWPX, false, notifier);
    EXPECT_TRUE(report.table.multiColumn);
    ASSERT_EQ(report.table.lines.size(), 25u);
    std::vector<std::string> numbers;
    for (const std::string &line : report.table.lines)
        if (!Cells(line)[0].empty())
            numbers.push_back(Cells(line)[0]);
    EXPECT_EQ(numbers, (std::vector<std::string>{"1", "10", "20"}));
    // Sorted by prefix: XX1, XX10, XX11, ...
    EXPECT_EQ(Cells(report.table.lines[0])[1], "XX1A");
    EXPECT_EQ(Cells(report.table.lines[1])[1], "XX10A");
}

TEST_F(SubmissionReportTest, FiveBandSubmissionThatFailsListsNothing)
{
    AddFortyConfirmedZones();
    SubmissionReport report = MakeSubmissionReport(model, *log, AwardWAZ, true, notifier);
    EXPECT_EQ(report.table.title, "Five Band WAZ Submission");
    EXPECT_TRUE(report.table.lines.empty());
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].text, SubmissionText::NoFiveBand);
}

} // namespace
} // namespace vellum::test
