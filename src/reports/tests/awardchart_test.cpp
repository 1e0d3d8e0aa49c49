// The award chart against rebuilds of the award tables at month ends, the
// band-by-year grid against a hand count, and the SVG picture.

#include "reportfixture.h"

#include "awards/awardqueries.h"
#include "reports/awardchart.h"
#include "reports/chartdrawing.h"

#include <random>

namespace vellum::test {
namespace {

class AwardChartTest : public ReportTest {
protected:
    /// Three years of QSOs over every country, zone, state and a few prefixes,
    /// some confirmed, some with QSL sent, some without report, some on modes
    /// DXCC does not count.
    void AddRandomLog()
    {
        std::mt19937 random(7);
        const char *prefixes[] = {"K", "KH6", "KL", "QQ", "XX", "YY", "OLD"};
        const char *states[] = {"AK", "CA", "HI", "NY"};
        for (int i = 0; i < 400; ++i) {
            std::string country = prefixes[random() % 7];
            QsoBuilder qso = Qso(country.substr(0, 2) + std::to_string(random() % 9) + "A" + std::to_string(i % 17),
                                 country);
            qso.day(static_cast<std::uint16_t>(Day(2021, 1, 1) + random() % (3 * 365)))
                .band(static_cast<std::uint8_t>(1 + random() % 15))
                .mode(static_cast<std::uint8_t>(std::array{4, 13, 14, 1, 10}[random() % 5]))
                .state(static_cast<std::uint8_t>(countries.StateIndex(states[random() % 4])))
                .country(countries.CountryIndexOfPrefix(country), static_cast<std::uint8_t>(1 + random() % 40));
            std::uint8_t flags = random() % 4 == 0 ? 0 : QslFlag::ValidDX;
            if (random() % 3 == 0)
                flags |= QslFlag::Cnfm;
            qso.qslFlags(flags);
            if (random() % 5 == 0)
                qso.qslDate(Day(2024, 1, 1));
            if (random() % 11 == 0)
                qso.reports(0, 599);
            Add(qso);
        }
    }

    /// Entities at or above a status at a level after a rebuild over the QSOs up to day.
    std::array<std::int32_t, 2> RebuiltAt(AwardIndex award, int level, std::uint16_t day)
    {
        TSelection upTo = AllQsosSelection();
        upTo.DateActive = 1;
        upTo.LastDate = day;
        log->CurSelection = upTo;
        log->InvalidateAwardTables();
        model.EnsureAwardTables(*log);
        AwardStanding standing = CountStanding(model, *log, award);
        const LevelStanding &counts = level == 0 ? standing.mixed : standing.groups[static_cast<std::size_t>(level)];
        log->CurSelection = AllQsosSelection();
        return {counts[1] + counts[2] + counts[3] + counts[4] + counts[5], counts[3] + counts[4] + counts[5]};
    }
};

TEST_F(AwardChartTest, EveryMonthEndAgreesWithARebuildUpToThatDay)
{
    AddRandomLog();
    for (AwardIndex award : {AwardDXCC, AwardWAZ, AwardWAS, AwardWPX}) {
        AwardChart chart = ComputeAwardChart(model, *log, award);
        ASSERT_EQ(chart.firstMonth, 2021 * 12);
        ASSERT_GE(chart.months, 34);
        for (int month = 0; month < chart.months; month += 5) {
            MonthIndex index = chart.firstMonth + month;
            std::uint16_t monthEnd = static_cast<std::uint16_t>(
                *DayNumber((index + 1) / 12, (index + 1) % 12 + 1, 1) - 1);
            for (int level = 0; level < 4; ++level) {
                std::array<std::int32_t, 2> rebuilt = RebuiltAt(award, level, monthEnd);
                const StandingSeries &series = chart.levels[static_cast<std::size_t>(level)];
                EXPECT_EQ(series.worked[static_cast<std::size_t>(month)], rebuilt[0])
                    << AwardNames[award] << " level " << level << " " << MonthText(index);
                EXPECT_EQ(series.confirmed[static_cast<std::size_t>(month)], rebuilt[1])
                    << AwardNames[award] << " level " << level << " " << MonthText(index);
            }
        }
    }
}

TEST_F(AwardChartTest, AQsoCountsFromItsMonthOn)
{
    Add(Qso("XX1A", "XX").date(2022, 3, 31));
    Add(Qso("K1A", "K").date(2022, 5, 1).qslFlags(QslFlag::ValidDX | QslFlag::Cnfm));
    Add(Qso("XX1B", "XX").date(2022, 6, 2).qslFlags(QslFlag::ValidDX | QslFlag::Cnfm));
    AwardChart chart = ComputeAwardChart(model, *log, AwardDXCC);
    EXPECT_EQ(chart.months, 4);
    EXPECT_EQ(chart.levels[0].worked, (std::vector<std::int32_t>{1, 1, 2, 2}));
    EXPECT_EQ(chart.levels[0].confirmed, (std::vector<std::int32_t>{0, 0, 1, 2}));
    EXPECT_EQ(chart.levels[2].worked, (std::vector<std::int32_t>{1, 1, 2, 2})); // CW
    EXPECT_EQ(chart.levels[1].worked, (std::vector<std::int32_t>{0, 0, 0, 0}));
}

TEST_F(AwardChartTest, BandYearGridCountsQsosInTheSelection)
{
    Add(Qso("XX1A", "XX").date(2020, 3, 1));
    Add(Qso("XX1B", "XX").date(2020, 4, 1));
    Add(Qso("XX1C", "XX").date(2022, 4, 1).band(7));
    Add(Qso("XX1D", "XX").date(2022, 4, 1).band(7).group(3));
    TSelection groupZero = AllQsosSelection();
    groupZero.GroupActive = 1;
    groupZero.SetGroup(0, true);
    log->CurSelection = groupZero;
    BandYearGrid grid = ComputeBandYearGrid(*log);
    EXPECT_EQ(grid.firstYear, 2020);
    ASSERT_EQ(grid.years.size(), 3u);
    EXPECT_EQ(grid.years[0][5], 2);
    EXPECT_EQ(grid.years[1][5], 0);
    EXPECT_EQ(grid.years[2][7], 1);
    EXPECT_TRUE(grid.bandUsed[5] && grid.bandUsed[7] && !grid.bandUsed[3]);
}

TEST_F(AwardChartTest, SvgHoldsALinePerCountedSeriesAndTheLegendFigures)
{
    Add(Qso("XX1A", "XX").date(2022, 3, 31));
    Add(Qso("K1A", "K").date(2022, 5, 1).qslFlags(QslFlag::ValidDX | QslFlag::Cnfm));
    AwardChart chart = ComputeAwardChart(model, *log, AwardDXCC);
    SvgCanvas canvas(720, 420);
    DrawAwardChart(canvas, chart, 720, 420);
    std::string svg = canvas.Finish();
    EXPECT_TRUE(svg.starts_with("<?xml"));
    EXPECT_TRUE(svg.ends_with("</svg>\n"));
    std::size_t polylines = 0;
    for (std::size_t at = svg.find("<polyline"); at != std::string::npos; at = svg.find("<polyline", at + 1))
        ++polylines;
    EXPECT_EQ(polylines, 8u); // worked and confirmed of MIX, PHO, CW, RTTY
    EXPECT_NE(svg.find("MIX wkd 2"), std::string::npos);
    EXPECT_NE(svg.find("MIX cfm 1"), std::string::npos);
    EXPECT_NE(svg.find("DXCC standing over time"), std::string::npos);
}

} // namespace
} // namespace vellum::test
