#include "print/printengine.h"

#include "recordingsurface.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

using test::RecordingSurface;

TEST(PrintEngine, MarginsAreAtLeastTheUnprintablePart)
{
    RecordingSurface surface;
    surface.unprintable = {0.25, 0.3, 0.2, 0.6};
    PrintEngine engine(surface);
    engine.SetMargins({0.1, 1, 0.5, 0.5});
    EXPECT_DOUBLE_EQ(engine.Margins().left, 0.25);
    EXPECT_DOUBLE_EQ(engine.Margins().top, 1);
    EXPECT_DOUBLE_EQ(engine.Margins().right, 0.5);
    EXPECT_DOUBLE_EQ(engine.Margins().bottom, 0.6);
    EXPECT_DOUBLE_EQ(engine.PrintableWidth(), 8.5 - 0.75);
}

TEST(PrintEngine, TabLinePutsCellsInTheirStopsWithAlignmentBoxesAndShade)
{
    RecordingSurface surface;
    PrintEngine engine(surface);
    engine.SetMargins({1, 1, 1, 1});
    ASSERT_TRUE(engine.NewPage());
    engine.SetTabs({{1.0, PrintAlign::Left, 0.05, BoxSides::All(), 0},
                    {0.5, PrintAlign::Right, 0.05, {true, false, true, false}, 5},
                    {0.8, PrintAlign::Center, 0, {}, 0}});
    double y = engine.Y();
    engine.PrintTabLine("DL1ABC\t599");
    ASSERT_EQ(surface.texts.size(), 2u); // the missing third cell is empty
    EXPECT_DOUBLE_EQ(surface.texts[0].x, 1.05);
    EXPECT_EQ(surface.texts[0].align, PrintAlign::Left);
    EXPECT_NEAR(surface.texts[1].x, 2.45, 1e-9); // right edge of the second stop less its padding
    EXPECT_EQ(surface.texts[1].align, PrintAlign::Right);
    EXPECT_NEAR(surface.texts[1].clip, 0.4, 1e-9);
    EXPECT_EQ(surface.lines.size(), 4u + 2u);
    ASSERT_EQ(surface.shades.size(), 1u);
    EXPECT_DOUBLE_EQ(surface.shades[0].rect.left, 2.0);
    EXPECT_DOUBLE_EQ(engine.Y(), y + 10 * 1.2 / 72);
}

TEST(PrintEngine, PagesOutsideTheRangeAreLaidOutButNotDrawn)
{
    RecordingSurface surface;
    PrintEngine engine(surface, {2, 3});
    for (int page = 1; page <= 3; ++page) {
        ASSERT_TRUE(engine.NewPage());
        engine.PrintLeft("page " + std::to_string(page), 1);
    }
    EXPECT_FALSE(engine.NewPage()) << "the range ends at page 3";
    EXPECT_EQ(surface.pages, 2);
    EXPECT_EQ(surface.TextsOn(1), std::vector<std::string>{"page 2"});
    EXPECT_EQ(surface.TextsOn(2), std::vector<std::string>{"page 3"});
}

TEST(PrintEngine, ColumnsAndRoundRectanglesForThePreviewOnly)
{
    RecordingSurface surface;
    PrintEngine engine(surface);
    engine.SetMargins({0.5, 0.5, 0.5, 0.5});
    ASSERT_TRUE(engine.NewPage());
    engine.SetColumns(3, 0.25);
    EXPECT_DOUBLE_EQ(engine.ColumnWidth(), (7.5 - 0.5) / 3);
    EXPECT_TRUE(engine.NextColumn(2));
    EXPECT_DOUBLE_EQ(engine.ColumnLeft(), 0.5 + (7.0 / 3) + 0.25);
    EXPECT_DOUBLE_EQ(engine.Y(), 2);
    EXPECT_TRUE(engine.NextColumn(2));
    EXPECT_FALSE(engine.NextColumn(2));
    engine.RoundRect({1, 1, 2, 1}, 0.2, true);
    EXPECT_TRUE(surface.roundRects.empty());
    surface.preview = true;
    engine.RoundRect({1, 1, 2, 1}, 0.2, true);
    EXPECT_EQ(surface.roundRects.size(), 1u);
}

class AbortingMonitor : public JobMonitor {
public:
    bool Advance(std::int64_t done) override { return done < 3; }
};

TEST(PrintEngine, TheMonitorAbortsTheJob)
{
    RecordingSurface surface;
    AbortingMonitor monitor;
    PrintEngine engine(surface, {}, &monitor);
    ASSERT_TRUE(engine.NewPage());
    EXPECT_TRUE(engine.Progress(2));
    EXPECT_FALSE(engine.Progress(3));
    EXPECT_TRUE(engine.Aborted());
    EXPECT_FALSE(engine.NewPage());
}

TEST(PrintEngine, SplitTabsKeepsEmptyCells)
{
    EXPECT_EQ(SplitTabs("a\t\tb\t"), (std::vector<std::string_view>{"a", "", "b", ""}));
    EXPECT_EQ(SplitTabs(""), (std::vector<std::string_view>{""}));
}

} // namespace
} // namespace vellum
