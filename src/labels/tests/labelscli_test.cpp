// vellum-cli labels on a log written here, with the shipped layouts, and the shipped layouts themselves.
#include "labels/labellayout.h"

#include "logstore/qsodata.h"
#include "testsupport/command.h"
#include "testsupport/qsobuilder.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum {
namespace {

const std::string ShippedLayouts = std::string(VELLUM_DEFAULT_DATA_DIR) + "/SAVE/VELLUM.LAB";

class LabelsCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(dir.file("SAVE"));
        std::filesystem::copy_file(ShippedLayouts, dir.file("SAVE/VELLUM.LAB"));
        TQsoData log;
        for (int i = 1; i <= 30; ++i)
            test::QsoBuilder("DL" + std::to_string(i) + "ABC").date(2020, 1, 1).time(10, i).band(5).mode(4)
                .qslMethod(1).qslFlags(QslFlag::Label).addTo(log);
        test::QsoBuilder("DL9XYZ").date(2020, 1, 2).band(5).mode(4).addTo(log); // not queued
        log.LogFileName = dir.file("T.VLL");
        log.WriteLog(true);
    }
    test::CommandRun cli(const std::string &arguments) const
    {
        return test::RunCommand(std::string(VELLUM_CLI) + " --dir " + dir.path() + " " + arguments + " 2>/dev/null");
    }
    int markedQsos() const
    {
        TQsoData log;
        EXPECT_TRUE(log.ReadLog(dir.file("T.VLL"), LoadMode::Load, DuplicateMode::EmptyLog));
        int marked = 0;
        for (const TQsoRec *q : log)
            marked += (q->QslFlags & QslFlag::Mark) != 0;
        return marked;
    }

    test::TempDir dir{"labelscli"};
};

TEST(ShippedLayouts, CommonSheetsArePrintableOnTheirPaper)
{
    LabelFileContents shipped = ReadLabelFile(ShippedLayouts);
    ASSERT_EQ(shipped.error, "");
    ASSERT_GE(shipped.layouts.size(), 3u);
    bool a4x8 = false, a4x7 = false, letter3x10 = false;
    for (const LabelLayout &layout : shipped.layouts) {
        bool a4 = layout.PaperName == std::string_view("A4");
        EXPECT_EQ(CheckLayoutOnPage(layout, a4 ? 8.27 : 8.5, a4 ? 11.69 : 11.0), "") << layout.LabelID.str();
        // The whole sheet lies on the paper.
        EXPECT_LE(layout.SpacingTop + (layout.NumDown - 1) * layout.SpacingHeight + layout.LabelHeight,
                  (a4 ? 11.69 : 11.0) + 1e-3);
        EXPECT_LE(layout.SpacingLeft + (layout.NumAcross - 1) * layout.SpacingWidth + layout.LabelWidth,
                  (a4 ? 8.27 : 8.5) + 1e-3);
        a4x8 = a4x8 || (a4 && layout.NumAcross == 3 && layout.NumDown == 8);
        a4x7 = a4x7 || (a4 && layout.NumAcross == 3 && layout.NumDown == 7);
        letter3x10 = letter3x10 || (layout.PaperName == std::string_view("Letter") && layout.NumDown == 10);
    }
    EXPECT_TRUE(a4x8 && a4x7 && letter3x10);
}

TEST_F(LabelsCliTest, PrintsTheQueuedQsosWithoutChangingTheLog)
{
    std::string pdf = dir.file("labels.pdf");
    auto before = test::ReadFile(dir.file("T.VLL"));
    test::CommandRun run = cli("labels " + dir.file("T.VLL") + " --layout 'L7159 3x8' --pdf " + pdf);
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\"printed\":30"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"pages\":2"), std::string::npos) << run.out;
    std::string text = test::PdfText(pdf);
    EXPECT_NE(text.find("DL1ABC"), std::string::npos);
    EXPECT_NE(text.find("DL30ABC"), std::string::npos);
    EXPECT_EQ(text.find("DL9XYZ"), std::string::npos);
    EXPECT_NE(text.find("01-Jan-2020"), std::string::npos);
    EXPECT_EQ(test::ReadFile(dir.file("T.VLL")), before);
}

TEST_F(LabelsCliTest, MarkSavesTheMarksOnlyAfterThePdfWasWritten)
{
    std::string pdf = dir.file("labels.pdf");
    ASSERT_EQ(cli("labels " + dir.file("T.VLL") + " --layout '5160 3x10' --pdf " + pdf + " --mark").status, 0);
    EXPECT_EQ(markedQsos(), 30);

    // A layout that cannot print: no PDF, no marks.
    std::filesystem::remove(pdf);
    test::CommandRun refused = cli("labels " + dir.file("T.VLL") + " --layout Custom1 --pdf " + pdf + " --kind sequence --mark");
    EXPECT_NE(refused.status, 0);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(markedQsos(), 30);
    EXPECT_NE(cli("labels " + dir.file("T.VLL") + " --layout Nothing --pdf " + pdf).status, 0);
}

} // namespace
} // namespace vellum
