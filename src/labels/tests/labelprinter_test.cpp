#include "labels/labeljob.h"
#include "labels/labelprinter.h"

#include "sheetsurface.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vellum {
namespace {

using test::SheetSurface;

/// A 3 x 8 sheet of 70 x 36 mm labels on A4.
LabelLayout a4Sheet()
{
    LabelLayout layout{};
    layout.LabelID = "3x8";
    layout.SpacingTop = 0.1772;
    layout.SpacingLeft = 0;
    layout.SpacingHeight = 1.4173;
    layout.SpacingWidth = 2.7559;
    layout.LabelHeight = 1.4173;
    layout.LabelWidth = 2.7559;
    layout.NumAcross = 3;
    layout.NumDown = 8;
    layout.PaperName = "A4";
    layout.Portrait = true;
    return layout;
}

LabelOptions options()
{
    LabelOptions o;
    o.head = {"Arial", 12, true, false, 0}; // line height 0.2 inch on the recording surface
    o.body = {"Arial", 8, false, false, 0}; // 0.1333 inch
    o.greeting1 = "@@ 73";
    return o;
}

LabelItem qso(const std::string &call, int day, bool confirmed = false)
{
    LabelItem item;
    item.call = call;
    item.date = static_cast<std::uint16_t>(40000 + day);
    item.time = 3600 * 12;
    item.band = 5;
    item.mode = 1;
    item.rstSent = 599;
    item.method = 1;
    item.confirmed = confirmed;
    return item;
}

struct LabelRun {
    SheetSurface surface;
    PrintEngine engine;
    TMyLabPr printer;
    LabelRun(LabelKind kind, const LabelOptions &o, const LabelLayout &layout, int missing = 0, PageRange pages = {})
        : surface(a4Surface()), engine(surface, pages), printer(engine, kind, o, layout, missing)
    {
    }
    static SheetSurface a4Surface() { return {}; }
    LabelJobResult run(const std::vector<LabelItem> &items) { return RunLabelPass(printer, items, {}); }
    std::vector<const SheetSurface::Placed *> all(const std::string &text) const
    {
        std::vector<const SheetSurface::Placed *> found;
        for (const auto &d : surface.texts)
            if (d.text == text)
                found.push_back(&d);
        return found;
    }
};

std::vector<LabelItem> stations(int count)
{
    std::vector<LabelItem> items;
    for (int i = 1; i <= count; ++i)
        items.push_back(qso("C" + std::to_string(i), i));
    return items;
}

TEST(LabelPlacement, LabelsRunDownEachColumnThenAcrossThenOnANewPage)
{
    LabelRun run(LabelKind::Qsl, options(), a4Sheet());
    LabelJobResult result = run.run(stations(25));
    ASSERT_EQ(result.problem, "");
    EXPECT_EQ(result.pages, 2);
    EXPECT_EQ(result.labels, 25);
    const auto *first = run.surface.Find("C1");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->page, 1);
    EXPECT_NEAR(first->x, 0.06, 1e-9);
    EXPECT_NEAR(first->y, 0.1772 + 0.06, 1e-9);
    const auto *second = run.surface.Find("C2"); // one row down, same column
    EXPECT_NEAR(second->x, 0.06, 1e-9);
    EXPECT_NEAR(second->y, 0.1772 + 1.4173 + 0.06, 1e-9);
    const auto *ninth = run.surface.Find("C9"); // top of the second column
    EXPECT_NEAR(ninth->x, 2.7559 + 0.06, 1e-9);
    EXPECT_NEAR(ninth->y, 0.1772 + 0.06, 1e-9);
    const auto *last = run.surface.Find("C24"); // last row of the last column
    EXPECT_EQ(last->page, 1);
    EXPECT_NEAR(last->x, 2 * 2.7559 + 0.06, 1e-9);
    EXPECT_NEAR(last->y, 0.1772 + 7 * 1.4173 + 0.06, 1e-9);
    const auto *next = run.surface.Find("C25");
    EXPECT_EQ(next->page, 2);
    EXPECT_NEAR(next->x, 0.06, 1e-9);
    EXPECT_NEAR(next->y, 0.1772 + 0.06, 1e-9);
}

TEST(LabelPlacement, ShiftsMoveThePrintingWithinEachLabel)
{
    LabelLayout layout = a4Sheet();
    layout.RightShift = 0.1;
    layout.DownShift = 0.05;
    LabelRun run(LabelKind::Qsl, options(), layout);
    run.run(stations(1));
    EXPECT_NEAR(run.surface.Find("C1")->x, 0.16, 1e-9);
    EXPECT_NEAR(run.surface.Find("C1")->y, 0.1772 + 0.11, 1e-9);
}

TEST(LabelPlacement, MissingPositionsOfAPartlyUsedSheetStayEmpty)
{
    LabelLayout layout = a4Sheet();
    layout.NumDown = 7; // 3 x 11 would need smaller labels; the rule is the same
    LabelRun run(LabelKind::Qsl, options(), layout, 3);
    run.run(stations(1));
    const auto *first = run.surface.Find("C1");
    EXPECT_NEAR(first->x, 0.06, 1e-9);
    EXPECT_NEAR(first->y, 0.1772 + 3 * 1.4173 + 0.06, 1e-9); // the fourth position of the first column
}

TEST(LabelPlacement, PreviewOutlinesEveryPositionOfEachPage)
{
    LabelRun run(LabelKind::Qsl, options(), a4Sheet());
    run.surface.preview = true;
    run.run(stations(25));
    ASSERT_EQ(run.surface.roundRects.size(), 48u);
    EXPECT_NEAR(run.surface.roundRects[23].left, 2 * 2.7559, 1e-9);
    EXPECT_NEAR(run.surface.roundRects[23].top, 0.1772 + 7 * 1.4173, 1e-9);
    LabelRun printed(LabelKind::Qsl, options(), a4Sheet());
    printed.run(stations(2));
    EXPECT_TRUE(printed.surface.roundRects.empty());
}

TEST(LabelCapacity, ReservedHeightAndLinesFollowFontsAndGreetings)
{
    LabelRun run(LabelKind::Qsl, options(), a4Sheet());
    ASSERT_EQ(run.printer.Prepare(), "");
    const double h = 8 * 1.2 / 72;
    // header 0.8 x 0.2, the titles, greeting 1, less 0.2 of a line for the greetings
    EXPECT_NEAR(run.printer.Reserved(), 0.16 + h + h - 0.2 * h, 1e-4);
    ASSERT_TRUE(run.printer.StartLabel("X"));
    EXPECT_EQ(run.printer.LinesFit(), static_cast<int>((1.4173 - 0.12 - 0.06 - run.printer.Reserved()) / h));
    LabelOptions limited = options();
    limited.maxQsos = 2;
    LabelRun small(LabelKind::Qsl, limited, a4Sheet());
    ASSERT_EQ(small.printer.Prepare(), "");
    ASSERT_TRUE(small.printer.StartLabel("X"));
    EXPECT_EQ(small.printer.LinesFit(), 2);
}

TEST(LabelCapacity, AQsoTableLongerThanALabelGoesOnToTheNextLabel)
{
    std::vector<LabelItem> items;
    for (int i = 0; i < 8; ++i)
        items.push_back(qso("DL1ABC", i));
    LabelRun run(LabelKind::Qsl, options(), a4Sheet());
    LabelJobResult result = run.run(items);
    ASSERT_EQ(result.problem, "");
    const int fit = 6;
    EXPECT_EQ(result.labels, 2);
    auto headers = run.all("DL1ABC");
    ASSERT_EQ(headers.size(), 2u);
    EXPECT_NEAR(headers[1]->y, 0.1772 + 1.4173 + 0.06, 1e-9);
    auto titles = run.all("Date");
    ASSERT_EQ(titles.size(), 2u);
    // The greeting stands at the foot of each label: below the titles and the lines that fit.
    auto greetings = run.all("Pse QSL 73");
    ASSERT_EQ(greetings.size(), 2u);
    const double h = 8 * 1.2 / 72;
    EXPECT_NEAR(greetings[0]->y, titles[0]->y + (1 + fit) * h, 1e-9);
    EXPECT_NEAR(greetings[1]->y, titles[1]->y + (1 + fit) * h, 1e-9);
    int firstLabelLines = 0, secondLabelLines = 0;
    for (const auto &d : run.surface.texts)
        if (d.text == "599")
            ++(d.y < headers[1]->y ? firstLabelLines : secondLabelLines);
    EXPECT_EQ(firstLabelLines, fit);
    EXPECT_EQ(secondLabelLines, 2);
}

TEST(LabelCapacity, SixQsosWithMaxFourMakeTwoLabelsOfFourAndTwoLines)
{
    LabelOptions o = options();
    o.maxQsos = 4;
    std::vector<LabelItem> items;
    for (int i = 0; i < 6; ++i)
        items.push_back(qso("W1AW", i));
    LabelRun run(LabelKind::Qsl, o, a4Sheet());
    EXPECT_EQ(run.run(items).labels, 2);
    EXPECT_EQ(run.all("W1AW").size(), 2u);
    EXPECT_EQ(run.all("599").size(), 6u);
}

TEST(LabelCapacity, LayoutsThatCannotPrintAreRefusedBeforeAnythingIsDrawn)
{
    LabelLayout tiny = a4Sheet();
    tiny.LabelHeight = 0.3;
    LabelRun small(LabelKind::Qsl, options(), tiny);
    LabelJobResult result = small.run(stations(3));
    EXPECT_EQ(result.problem, LabelText::NoQsoFits);
    EXPECT_EQ(small.surface.pages, 0);

    LabelLayout none = a4Sheet();
    none.NumAcross = 0;
    LabelRun zero(LabelKind::Qsl, options(), none);
    EXPECT_NE(zero.run(stations(3)).problem.find("across and down"), std::string::npos);
    EXPECT_EQ(zero.surface.pages, 0);

    LabelLayout wide = a4Sheet();
    wide.LabelWidth = 9;
    LabelRun big(LabelKind::Qsl, options(), wide);
    EXPECT_NE(big.run(stations(1)).problem.find("larger than the page"), std::string::npos);
}

TEST(LabelCapacity, APageWhoseMarginsLeaveNoLabelRoomEndsTheJob)
{
    LabelRun run(LabelKind::Qsl, options(), a4Sheet());
    run.surface.unprintable.top = 11.6; // every label lies in the printer's unprintable part
    LabelJobResult result = run.run(stations(3));
    EXPECT_EQ(result.problem, LabelText::PageFitsNoLabel);
    EXPECT_EQ(run.surface.pages, 0);
    EXPECT_TRUE(result.printed.empty());
}

TEST(LabelCapacity, PositionsInTheUnprintablePartArePassedOver)
{
    LabelRun run(LabelKind::Qsl, options(), a4Sheet());
    run.surface.unprintable.top = 1.3; // the first row has no room for a line
    run.run(stations(1));
    EXPECT_NEAR(run.surface.Find("C1")->y, 0.1772 + 1.4173 + 0.06, 1e-9);
}

TEST(LabelContent, HeaderTitlesAndQsoLineInTheirColumns)
{
    LabelOptions o = options();
    o.callRightAligned = true;
    LabelRun run(LabelKind::Qsl, o, a4Sheet());
    LabelItem item = qso("DL1ABC", 0);
    item.date = 36100; // 1 January 1999
    item.time = 3 * 3600 + 25 * 60 + 45;
    run.run({item});
    const auto *header = run.surface.Find("DL1ABC");
    EXPECT_EQ(header->align, PrintAlign::Right);
    EXPECT_NEAR(header->x, 2.7559 - 0.06, 1e-9);
    for (const char *text : {"Date", "UTC", "Band", "RST", "2X", "01-Jan-1999", "03:25", "599"})
        EXPECT_TRUE(run.surface.Find(text)) << text;
    EXPECT_LT(run.surface.Find("Date")->x, run.surface.Find("UTC")->x);
    EXPECT_EQ(run.surface.Find("01-Jan-1999")->y, run.surface.Find("599")->y);
}

TEST(LabelContent, SwlLabelsHaveNoReportColumnAndTheirOwnGreeting)
{
    LabelOptions o = options();
    o.greeting3 = "Tnx SWL report";
    LabelRun run(LabelKind::Swl, o, a4Sheet());
    run.run({qso("ONL383", 0)});
    EXPECT_TRUE(run.surface.Find("SWL: ONL383"));
    EXPECT_TRUE(run.surface.Find("Mode"));
    EXPECT_FALSE(run.surface.Find("RST"));
    EXPECT_FALSE(run.surface.Find("599"));
    EXPECT_TRUE(run.surface.Find("Tnx SWL report"));
    EXPECT_FALSE(run.surface.Find("Pse QSL 73"));
}

TEST(LabelContent, ConfirmedAndUnconfirmedQsosGoOnSeparateLabels)
{
    LabelRun run(LabelKind::Qsl, options(), a4Sheet());
    run.run({qso("DL1ABC", 0, true), qso("DL1ABC", 1, true), qso("DL1ABC", 2, false)});
    auto thanks = run.all("Tnx QSL 73");
    auto please = run.all("Pse QSL 73");
    ASSERT_EQ(thanks.size(), 1u);
    ASSERT_EQ(please.size(), 1u);
    EXPECT_LT(thanks[0]->y, please[0]->y);
}

TEST(LabelContent, ManagerHeaderAddressLabelAndMethodLabels)
{
    LabelOptions o = options();
    o.printMethod = true;
    LabelRun run(LabelKind::Qsl, o, a4Sheet());
    LabelItem viaManager = qso("3B8XX", 0);
    viaManager.manager = "DL1XX";
    viaManager.method = 3; // Direct
    LabelItem second = viaManager;
    second.date++;
    LabelItem buro = qso("ON4AA", 2);
    LabelJobLookups lookups;
    lookups.addressOf = [](std::string_view manager) {
        return manager == "DL1XX" ? std::vector<std::string>{"Hans", "!private", "", "Berlin"} : std::vector<std::string>{};
    };
    LabelJobResult result = RunLabelPass(run.printer, {viaManager, second, buro}, lookups);
    std::vector<std::string> texts = run.surface.TextsOn(1);
    auto at = [&](const std::string &text) { return std::find(texts.begin(), texts.end(), text) - texts.begin(); };
    EXPECT_LT(at("Method = Direct"), at("3B8XX via DL1XX"));
    EXPECT_LT(at("3B8XX via DL1XX"), at("Hans"));
    EXPECT_LT(at("Berlin"), at("Method = Buro"));
    EXPECT_LT(at("Method = Buro"), at("ON4AA"));
    EXPECT_EQ(run.all("3B8XX via DL1XX").size(), 1u);
    EXPECT_FALSE(run.surface.Find("!private"));
    EXPECT_EQ(result.labels, 2);
    EXPECT_EQ(result.printed.size(), 3u);
}

/// A printer whose output fails when the second page starts.
class FailingSurface : public SheetSurface {
public:
    bool BeginPage() override { return ++pages < 2; }
};

TEST(LabelMarks, OnlyAJobThatFinishedMarksWhatItPrinted)
{
    std::vector<LabelItem> items = stations(30);
    std::vector<TQsoRec> qsos(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i].qso = &qsos[i];
    auto marked = [&] {
        int n = 0;
        for (const TQsoRec &q : qsos)
            n += (q.QslFlags & QslFlag::Mark) != 0;
        return n;
    };

    FailingSurface failing;
    PrintEngine failingEngine(failing);
    TMyLabPr failingPrinter(failingEngine, LabelKind::Qsl, options(), a4Sheet());
    LabelJobResult failed = RunLabelPass(failingPrinter, items, {});
    EXPECT_TRUE(failed.aborted);
    MarkPrinted(items, failed);
    EXPECT_EQ(marked(), 0);

    class Aborting : public JobMonitor {
    public:
        bool Advance(std::int64_t done) override { return done < 5; }
    } user;
    SheetSurface surface = LabelRun::a4Surface();
    PrintEngine cancelledEngine(surface, {}, &user);
    TMyLabPr cancelledPrinter(cancelledEngine, LabelKind::Qsl, options(), a4Sheet());
    LabelJobResult cancelled = RunLabelPass(cancelledPrinter, items, {});
    EXPECT_TRUE(cancelled.aborted);
    EXPECT_EQ(cancelled.printed.size(), 5u);
    MarkPrinted(items, cancelled);
    EXPECT_EQ(marked(), 0);

    LabelRun second(LabelKind::Qsl, options(), a4Sheet(), 0, {2, 2});
    LabelJobResult range = second.run(items);
    EXPECT_FALSE(range.aborted);
    MarkPrinted(items, range);
    EXPECT_EQ(marked(), 6); // the labels of page 2 only
    EXPECT_EQ(qsos[23].QslFlags & QslFlag::Mark, 0);
    EXPECT_NE(qsos[24].QslFlags & QslFlag::Mark, 0);
}

} // namespace
} // namespace vellum
