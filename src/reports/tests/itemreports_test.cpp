// Item-award reports, the rate sheet and CSV output against counts made by
// hand from the constructed log.

#include "reportfixture.h"

#include "awards/customaward.h"
#include "print/tablecsv.h"
#include "reports/itemreports.h"
#include "reports/ratesheet.h"
#include "testsupport/tempdir.h"

namespace vellum::test {
namespace {

constexpr std::uint8_t B20 = 5, B15 = 7, B6 = 10, B2 = 11, SAT = 15, CW = 4, SSB = 14;

class ItemReportTest : public ReportTest {
protected:
    ItemReport Report(ItemAward award, ItemReportKind kind, const TCustAward *custom = nullptr)
    {
        return MakeItemReport(countries, config, *log, {award, custom}, kind);
    }
    /// EU005 worked on 20m CW and confirmed on 15m SSB; EU999 (not in the list)
    /// QSL sent on 20m; EU777 only by satellite; OC001 without received report.
    void AddIslands()
    {
        Add(Qso("XX1A", "XX").with(&TQsoRec::Iota, "EU005"));
        Add(Qso("XX1B", "XX").band(B15).mode(SSB).with(&TQsoRec::Iota, "EU005").qslFlags(QslFlag::Cnfm));
        Add(Qso("XX1C", "XX").with(&TQsoRec::Iota, "EU999").qslDate(Day(2022, 7, 1)));
        Add(Qso("XX1D", "XX").band(SAT).with(&TQsoRec::Iota, "EU777").qslFlags(QslFlag::Cnfm));
        Add(Qso("XX1E", "XX").reports(0, 599).with(&TQsoRec::Iota, "OC001"));
    }
};

TEST_F(ItemReportTest, IotaListingWorkedAndFullListing)
{
    AddIslands();
    ItemReport worked = Report(ItemAward::Iota, ItemReportKind::Listing);
    EXPECT_EQ(worked.table.title, "IOTA Listing");
    EXPECT_EQ(ColumnNames(worked.table),
              (std::vector<std::string>{"Nr", "IOTA", "Name", "Callsign", "Date", "Band", "Status"}));
    ASSERT_EQ(worked.table.lines.size(), 2u); // no satellite island, no island without report
    EXPECT_EQ(worked.table.lines[0], "1\tEU005\tGreat Britain\tXX1B\t01-May-2022\t15m\tC");
    EXPECT_EQ(worked.table.lines[1], "2\tEU999\t** UNKNOWN **\tXX1C\t01-May-2022\t20m\tM");

    ItemReport full = Report(ItemAward::Iota, ItemReportKind::FullListing);
    ASSERT_EQ(full.table.lines.size(), 3u); // + OC001, worked without report
    EXPECT_EQ(full.table.lines[2], "3\tOC001\t** UNKNOWN **\t\t\t\t\xB7");
    EXPECT_EQ(full.entries.size(), 3u);

    // Needed: the full set and worked items whose best is below confirmed.
    ItemReport needed = Report(ItemAward::Iota, ItemReportKind::NeededListing);
    ASSERT_EQ(needed.table.lines.size(), 2u);
    EXPECT_EQ(Cells(needed.table.lines[0])[1], "EU999");
    EXPECT_EQ(Cells(needed.table.lines[1])[1], "OC001");
}

TEST_F(ItemReportTest, FullListingIncludesReferencesNeverWorked)
{
    ItemReport full = Report(ItemAward::Iota, ItemReportKind::FullListing);
    ASSERT_EQ(full.table.lines.size(), 1u); // the list's placeholder entry is left out
    EXPECT_EQ(full.table.lines[0], "1\tEU005\tGreat Britain\t\t\t\t\xB7");
    EXPECT_TRUE(Report(ItemAward::Iota, ItemReportKind::Listing).table.lines.empty());
}

TEST_F(ItemReportTest, BandAndModeSummariesCountEachEntryOnce)
{
    AddIslands();
    ItemReport bands = Report(ItemAward::Iota, ItemReportKind::BandSummary);
    EXPECT_EQ(ColumnNames(bands.table), (std::vector<std::string>{"Band", "Worked", "QSL sent", "Confirmed",
                                                                  "Submitted", "Checked", "Total"}));
    EXPECT_EQ(LineStartingWith(bands.table, "20m"), "20m\t1\t1\t.\t.\t.\t2");
    EXPECT_EQ(LineStartingWith(bands.table, "15m"), "15m\t.\t.\t1\t.\t.\t1");
    EXPECT_EQ(LineStartingWith(bands.table, "Sat"), ""); // never counted
    // EU005 at its best (confirmed), EU999 mailed; OC001 counts as never worked.
    EXPECT_EQ(bands.table.lines.back(), "Total\t.\t1\t1\t.\t.\t2");
    EXPECT_TRUE(bands.entries.empty());

    ItemReport modes = Report(ItemAward::Iota, ItemReportKind::ModeSummary);
    EXPECT_EQ(LineStartingWith(modes.table, "PHO"), "PHO\t.\t.\t1\t.\t.\t1");
    EXPECT_EQ(LineStartingWith(modes.table, "CW"), "CW\t1\t1\t.\t.\t.\t2");
    EXPECT_EQ(modes.table.lines.back(), "Total\t.\t1\t1\t.\t.\t2");
}

TEST_F(ItemReportTest, BandAndModeListingsShowLetters)
{
    AddIslands();
    ItemReport bands = Report(ItemAward::Iota, ItemReportKind::BandListing);
    EXPECT_EQ(bands.table.columns[0].name, "IOTA");
    std::string line = LineStartingWith(bands.table, "EU005");
    EXPECT_EQ(Cell(bands.table, line, "20m"), "W");
    EXPECT_EQ(Cell(bands.table, line, "15m"), "C");
    EXPECT_EQ(Cell(bands.table, line, "40m"), "\xB7");
    ItemReport modes = Report(ItemAward::Iota, ItemReportKind::ModeListing);
    EXPECT_EQ(LineStartingWith(modes.table, "EU005"), "EU005\tC\tW\t\xB7");
    EXPECT_EQ(modes.entries.size(), 3u);
}

TEST_F(ItemReportTest, SubmissionMarksEachBestQsoOnce)
{
    AddIslands();
    log->MarkSaved();
    ItemReport report = Report(ItemAward::Iota, ItemReportKind::Submission);
    ASSERT_EQ(report.table.lines.size(), 1u);
    EXPECT_EQ(report.table.lines[0], "1\tEU005\tGreat Britain\tXX1B\t01-May-2022\t15m");
    EXPECT_FALSE(log->IsModified());
    EXPECT_EQ(CommitItemSubmission(*log, report), 1);
    EXPECT_TRUE(log->IsModified());
    std::int64_t marked = 0;
    for (const TQsoRec *qso : *log)
        marked += (qso->AwdFlags & ItemMask::Iota) != 0;
    EXPECT_EQ(marked, 1);
    // Submitted now (status 4): listed again, nothing more to mark.
    ItemReport again = Report(ItemAward::Iota, ItemReportKind::Submission);
    EXPECT_EQ(again.table.lines.size(), 1u);
    EXPECT_EQ(CommitItemSubmission(*log, again), 0);
}

TEST_F(ItemReportTest, CountyAndVuccKeys)
{
    auto ny = static_cast<std::uint8_t>(countries.StateIndex("NY"));
    Add(Qso("K2A", "K").state(ny).with(&TQsoRec::County, std::uint16_t{47}));
    Add(Qso("K2B", "K").band(SAT).state(ny).with(&TQsoRec::County, std::uint16_t{61}));
    ItemReport counties = Report(ItemAward::County, ItemReportKind::FullListing);
    std::vector<std::string> keys;
    for (const std::string &line : counties.table.lines)
        keys.push_back(Cells(line)[1]);
    EXPECT_EQ(keys, (std::vector<std::string>{"CA Kings", "CA Los Angeles", "NY Kings", "NY New York"}));
    EXPECT_EQ(Cell(counties.table, counties.table.lines[2], "Status"), "W");
    EXPECT_EQ(Cell(counties.table, counties.table.lines[3], "Status"), "\xB7"); // by satellite only

    config.VuccGridLength = 4;
    Add(Qso("K3A", "K").band(B6).with(&TQsoRec::Grid, "FN20xa"));
    Add(Qso("K3B", "K").band(B2).with(&TQsoRec::Grid, "FN20ab").qslFlags(QslFlag::Cnfm));
    Add(Qso("K3C", "K").band(B20).with(&TQsoRec::Grid, "FN31"));
    ItemReport vucc = Report(ItemAward::Vucc, ItemReportKind::BandListing);
    ASSERT_EQ(vucc.table.lines.size(), 1u); // HF grids do not count
    EXPECT_EQ(Cell(vucc.table, vucc.table.lines[0], "Grid"), "FN20");
    EXPECT_EQ(Cell(vucc.table, vucc.table.lines[0], "6m"), "W");
    EXPECT_EQ(Cell(vucc.table, vucc.table.lines[0], "2m"), "C");
}

TEST_F(ItemReportTest, CustomAwardReportsItsValuesOnItsBands)
{
    TCustAward award("1010");
    award.Name = "Ten-Ten number";
    award.SetBands("000000001"); // 10m only among bands 1..9
    award.AddValue("123", "Member one");
    award.AddValue("456", "Member two");
    Add(Qso("K1A", "K").band(9).with(&TQsoRec::CustAwd, "1010").with(&TQsoRec::CustValue, "123"));
    Add(Qso("K1B", "K").band(B20).with(&TQsoRec::CustAwd, "1010").with(&TQsoRec::CustValue, "456"));
    Add(Qso("K1C", "K").band(9).with(&TQsoRec::CustAwd, "OTHR").with(&TQsoRec::CustValue, "456"));
    Add(Qso("K1D", "K").band(9).with(&TQsoRec::CustAwd, "1010").with(&TQsoRec::CustValue, "999"));
    ItemReport full = Report(ItemAward::Custom, ItemReportKind::FullListing, &award);
    EXPECT_EQ(full.table.title, "Ten-Ten number Full listing");
    ASSERT_EQ(full.table.lines.size(), 3u);
    EXPECT_EQ(full.table.lines[0], "1\t123\tMember one\tK1A\t01-May-2022\t10m\tW");
    EXPECT_EQ(full.table.lines[1], "2\t456\tMember two\t\t\t\t\xB7"); // its 20m QSO does not count
    EXPECT_EQ(full.table.lines[2], "3\t999\t** UNKNOWN **\tK1D\t01-May-2022\t10m\tW");
}

TEST_F(ItemReportTest, RateSheetCountsHoursFromTheContestStart)
{
    config.StationBands = {};
    config.StationBands[B20] = config.StationBands[B15] = true;
    ContestStart start{Day(2023, 11, 25), 0};
    Add(Qso("XX1A", "XX").date(2023, 11, 24).time(23, 0)); // before the start
    Add(Qso("XX1B", "XX").date(2023, 11, 25).time(3, 10));
    Add(Qso("XX1C", "XX").date(2023, 11, 25).time(3, 50).band(B15).mode(SSB));
    Add(Qso("XX1D", "XX").date(2023, 11, 25).time(5, 0));
    Add(Qso("XX1E", "XX").date(2023, 11, 27).time(0, 0)); // hour 49: the scan ends
    ReportTable table = MakeRateSheet(config, *log, start);
    EXPECT_EQ(table.title, "Rate Sheet");
    EXPECT_EQ(ColumnNames(table), (std::vector<std::string>{"Hour", "Total", "PHO", "CW", "RTTY", "20m", "15m"}));
    EXPECT_EQ(table.lines, (std::vector<std::string>{"1\t.\t.\t.\t.\t.\t.", "4\t2\t1\t1\t.\t1\t1",
                                                     "6\t1\t.\t1\t.\t1\t.", "Total\t3\t1\t2\t.\t2\t1"}));
}

TEST_F(ItemReportTest, CsvQuotesACellWithAComma)
{
    ReportTable table;
    table.AddColumn("IOTA", 5);
    table.AddColumn("Name", 38);
    table.AddColumn("Status", 3, PrintAlign::Center);
    table.lines.push_back("EU005\tIsle, the\t.");
    TempDir dir;
    std::string file = dir.path() + "/out/report.csv";
    TextRows rows = table.Rows();
    ASSERT_TRUE(WriteTableCsv(file, table.columns, rows).Ok());
    std::vector<std::uint8_t> bytes = ReadFile(file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "IOTA,Name,Status\r\nEU005,\"Isle, the\",.\r\n");
}

} // namespace
} // namespace vellum::test
