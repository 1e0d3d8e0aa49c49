#include "print/tableprint.h"

#include "recordingsurface.h"

#include "logstore/daytime.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vellum {
namespace {

using test::RecordingSurface;

TextRows numberedRows(int count)
{
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("row " + std::to_string(i) + "\t" + std::to_string(i * 10));
    return TextRows(lines);
}

TableStyle plainStyle()
{
    TableStyle style;
    style.fontSize = 10;
    style.dateText = "May 1, 2026";
    style.footer = "footer text";
    return style;
}

TablePrintJob jobOf(const TableRows &rows)
{
    TablePrintJob job;
    job.title = "Report: Test sorted by Date";
    job.columns = {MakeTableColumn("Callsign", 12, PrintAlign::Left), MakeTableColumn("Nr", 1, PrintAlign::Right)};
    job.rows = &rows;
    return job;
}

int pageOf(const RecordingSurface &surface, const std::string &text)
{
    const RecordingSurface::Drawn *drawn = surface.Find(text);
    return drawn ? drawn->page : 0;
}

TEST(TablePrint, ColumnsAreNeverNarrowerThanTheirNames)
{
    EXPECT_EQ(MakeTableColumn("Nr", 1, PrintAlign::Right).width, 2);
    EXPECT_EQ(MakeTableColumn("Callsign", 12, PrintAlign::Left).width, 12);
}

TEST(TablePrint, RowsBreakIntoPagesWithHeaderTitlesAndFooterOnEach)
{
    RecordingSurface surface;
    TextRows rows = numberedRows(120);
    TablePrintJob job = jobOf(rows);
    TablePrintResult result = PrintTable(surface, job, plainStyle());
    ASSERT_TRUE(result.Ok()) << result.message;
    // 10 points: 1/6 inch a line; rows from 7/6 inch below the titles to the 10-inch bottom margin.
    EXPECT_EQ(LayoutTable(surface, job, plainStyle()).rowsPerCopy, 53);
    EXPECT_EQ(result.pages, 3);
    EXPECT_EQ(surface.pages, 3);
    EXPECT_EQ(result.rows, 120);
    EXPECT_EQ(pageOf(surface, "row 53"), 1);
    EXPECT_EQ(pageOf(surface, "row 54"), 2);
    EXPECT_EQ(pageOf(surface, "row 120"), 3);
    for (int page = 1; page <= 3; ++page) {
        std::vector<std::string> texts = surface.TextsOn(page);
        EXPECT_EQ(texts[0], "Report: Test sorted by Date  May 1, 2026");
        EXPECT_EQ(texts[1], "Page " + std::to_string(page));
        EXPECT_NE(std::find(texts.begin(), texts.end(), "footer text"), texts.end());
        EXPECT_NE(std::find(texts.begin(), texts.end(), "Callsign"), texts.end()) << "titles on page " << page;
    }
    const auto *page = surface.Find("Page 1");
    EXPECT_EQ(page->align, PrintAlign::Right);
    EXPECT_DOUBLE_EQ(page->x, 8.5 - 0.5);
    EXPECT_DOUBLE_EQ(page->y, 0.5);
    EXPECT_DOUBLE_EQ(surface.Find("row 1")->x, 0.8 + 0.05);
}

TEST(TablePrint, PageRangePrintsOnlyItsPagesAndStopsAfterIt)
{
    RecordingSurface surface;
    TextRows rows = numberedRows(500);
    TablePrintJob job = jobOf(rows);
    job.setup.pages = {2, 3};
    TablePrintResult result = PrintTable(surface, job, plainStyle());
    EXPECT_EQ(result.pages, 3);
    EXPECT_EQ(surface.pages, 2);
    EXPECT_EQ(surface.Find("row 1"), nullptr);
    EXPECT_EQ(pageOf(surface, "row 54"), 1);
    EXPECT_EQ(surface.Find("row 160"), nullptr);
    EXPECT_EQ(surface.Find("Page 2")->page, 1);
}

TEST(TablePrint, LinesAndShadesBoxTheTitlesAndShadeEverySecondRow)
{
    RecordingSurface surface;
    TextRows rows = numberedRows(4);
    TablePrintJob job = jobOf(rows);
    TableStyle style = plainStyle();
    style.lines = TableLines::LinesAndShades;
    ASSERT_TRUE(PrintTable(surface, job, style).Ok());
    ASSERT_EQ(surface.shades.size(), 2u * 2u); // rows 2 and 4, two cells each
    const double titleTop = surface.Find("Callsign")->y;
    const double row2Top = surface.Find("row 2")->y;
    EXPECT_DOUBLE_EQ(surface.shades[0].rect.top, row2Top);
    EXPECT_EQ(surface.shades[0].percent, 5);
    auto horizontalAt = [&](double y) {
        return std::count_if(surface.lines.begin(), surface.lines.end(),
                             [y](const auto &l) { return l.y1 == l.y2 && std::abs(l.y1 - y) < 1e-9; });
    };
    EXPECT_EQ(horizontalAt(titleTop), 2) << "the titles are boxed";
    EXPECT_EQ(horizontalAt(surface.Find("row 1")->y), 2) << "the bottom line of the titles";
    EXPECT_EQ(horizontalAt(row2Top), 0) << "rows have lines left and right only";
    const double lastBottom = surface.Find("row 4")->y + 10 * 1.2 / 72;
    EXPECT_EQ(horizontalAt(lastBottom), 2) << "the last row closes the table";
}

TEST(TablePrint, MultiColumnPutsCopiesSideBySideWithoutTitles)
{
    RecordingSurface surface;
    TextRows rows = numberedRows(200);
    TablePrintJob job = jobOf(rows);
    job.multiColumn = true;
    TableGeometry geometry = LayoutTable(surface, job, plainStyle());
    // A copy: 12 + 2 characters of 10 points and two paddings, 1.3667 inches; 7.2 inches hold 5.
    EXPECT_EQ(geometry.copies, 5);
    EXPECT_EQ(geometry.rowsPerCopy, 54);
    ASSERT_TRUE(PrintTable(surface, job, plainStyle()).Ok());
    EXPECT_EQ(surface.Find("Callsign"), nullptr);
    EXPECT_EQ(pageOf(surface, "row 200"), 1);
    const auto *first = surface.Find("row 1");
    const auto *second = surface.Find("row 55");
    EXPECT_DOUBLE_EQ(second->y, first->y);
    EXPECT_NEAR(second->x - first->x, geometry.copyWidth + 0.05, 1e-9);
}

TEST(TablePrint, LayoutsThatCannotPrintAreRejectedOrEndTheJob)
{
    RecordingSurface surface;
    TextRows rows = numberedRows(3);
    TablePrintJob job = jobOf(rows);
    TableStyle zeroFont = plainStyle();
    zeroFont.fontSize = 0;
    EXPECT_EQ(PrintTable(surface, job, zeroFont).status, TablePrintResult::Status::Rejected);
    TablePrintJob noColumns = job;
    noColumns.columns.clear();
    EXPECT_EQ(PrintTable(surface, noColumns, plainStyle()).status, TablePrintResult::Status::Rejected);

    RecordingSurface tiny;
    tiny.height = 2; // the margins take it all
    EXPECT_EQ(PrintTable(tiny, job, plainStyle()).status, TablePrintResult::Status::NothingFits);
    EXPECT_EQ(tiny.pages, 0) << "no blank page";
    EXPECT_EQ(surface.pages, 0);
}

TEST(TablePrint, ColumnsBeyondTheRightMarginAreLeftOutWithAMessage)
{
    RecordingSurface surface;
    TextRows rows = numberedRows(2);
    TablePrintJob job = jobOf(rows);
    job.columns.insert(job.columns.begin(), MakeTableColumn("QSO Notes", 255, PrintAlign::Left));
    TablePrintResult result = PrintTable(surface, job, plainStyle());
    ASSERT_TRUE(result.Ok());
    EXPECT_NE(result.message.find("2 column(s)"), std::string::npos) << result.message;
    TableGeometry geometry = LayoutTable(surface, job, plainStyle());
    ASSERT_EQ(geometry.stops.size(), 1u);
    EXPECT_NEAR(geometry.stops[0].width, 8.5 - 0.8 - 0.5, 1e-9);
}

class CountingMonitor : public JobMonitor {
public:
    std::int64_t stopAt = 0;
    std::int64_t seen = 0;
    bool Advance(std::int64_t done) override
    {
        seen = done;
        return done < stopAt;
    }
};

TEST(TablePrint, AnAbortEndsTheJobAfterTheRowItIsOn)
{
    RecordingSurface surface;
    TextRows rows = numberedRows(300);
    TablePrintJob job = jobOf(rows);
    CountingMonitor monitor;
    monitor.stopAt = 60;
    TablePrintResult result = PrintTable(surface, job, plainStyle(), &monitor);
    EXPECT_EQ(result.status, TablePrintResult::Status::Aborted);
    EXPECT_EQ(result.rows, 60);
    EXPECT_EQ(surface.pages, 2);
    EXPECT_EQ(surface.Find("row 61"), nullptr);
}

TEST(TablePrint, LongDateText)
{
    EXPECT_EQ(LongDateText(*DayNumber(2026, 1, 5)), "January 5, 2026");
    EXPECT_EQ(LongDateText(*DayNumber(1999, 12, 31)), "December 31, 1999");
}

} // namespace
} // namespace vellum
