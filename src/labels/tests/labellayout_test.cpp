#include "labels/labellayout.h"

#include "logstore/fileio.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace vellum {
namespace {

LabelLayout sheet(const char *name, int across, int down)
{
    LabelLayout layout{};
    layout.LabelID = name;
    layout.SpacingTop = 0.5;
    layout.SpacingLeft = 0.25;
    layout.SpacingHeight = 1.25;
    layout.SpacingWidth = 2.75;
    layout.LabelHeight = 1.2;
    layout.LabelWidth = 2.7;
    layout.NumAcross = static_cast<std::uint8_t>(across);
    layout.NumDown = static_cast<std::uint8_t>(down);
    layout.PaperName = "A4";
    layout.Portrait = true;
    return layout;
}

double doubleAt(const std::array<std::uint8_t, LabelLayoutSize> &bytes, std::size_t offset)
{
    double value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

TEST(LabelLayoutBytes, FieldsLieAtTheirStoredOffsets)
{
    LabelLayout layout = sheet("Avery", 3, 8);
    layout.Metric = true;
    layout.RightShift = 0.125;
    layout.DownShift = -0.0625;
    layout.PageWidth = 8.5;
    layout.PageHeight = 11;
    auto bytes = StoreLayout(layout);
    EXPECT_EQ(bytes[0], 5);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&bytes[1]), 5), "Avery");
    EXPECT_EQ(bytes[11], 1);
    EXPECT_EQ(doubleAt(bytes, 12), 0.5);
    EXPECT_EQ(doubleAt(bytes, 20), 0.25);
    EXPECT_EQ(doubleAt(bytes, 28), 1.25);
    EXPECT_EQ(doubleAt(bytes, 36), 2.75);
    EXPECT_EQ(doubleAt(bytes, 44), 1.2);
    EXPECT_EQ(doubleAt(bytes, 52), 2.7);
    EXPECT_EQ(doubleAt(bytes, 60), 0.125);
    EXPECT_EQ(doubleAt(bytes, 68), -0.0625);
    EXPECT_EQ(bytes[76], 3);
    EXPECT_EQ(bytes[77], 8);
    EXPECT_EQ(doubleAt(bytes, 78), 8.5);
    EXPECT_EQ(doubleAt(bytes, 86), 11.0);
    EXPECT_EQ(bytes[94], 2);
    EXPECT_EQ(bytes[95], 'A');
    EXPECT_EQ(bytes[115], 1);
    LabelLayout back = LoadLayout(bytes);
    EXPECT_EQ(StoreLayout(back), bytes);
}

TEST(LabelLayoutBytes, LengthBytesAboveTheCapacityAreCutOnReading)
{
    auto bytes = StoreLayout(sheet("X", 1, 1));
    bytes[0] = 200;  // LabelID holds 10 characters
    bytes[94] = 255; // PaperName holds 20
    LabelLayout layout = LoadLayout(bytes);
    EXPECT_EQ(layout.LabelID.view().size(), 10u);
    EXPECT_EQ(layout.PaperName.view().size(), 20u);
}

TEST(LabelFile, WrittenLayoutsReadBackInFileOrder)
{
    test::TempDir dir("labels");
    std::string file = dir.file("VELLUM.LAB");
    WriteLabelFile(file, {sheet("First", 3, 8), sheet("Second", 3, 7)});
    LabelFileContents read = ReadLabelFile(file);
    ASSERT_TRUE(read.error.empty()) << read.error;
    ASSERT_EQ(read.layouts.size(), 2u);
    EXPECT_EQ(read.layouts[0].LabelID.view(), "First");
    EXPECT_EQ(read.layouts[1].NumDown, 7);
    EXPECT_TRUE(ReadLabelFile(dir.file("none.lab")).layouts.empty());
    EXPECT_TRUE(ReadLabelFile(dir.file("none.lab")).error.empty());
}

TEST(LabelFile, APartRecordIsAnErrorAndNothingIsTaken)
{
    auto bytes = StoreLayout(sheet("X", 1, 1));
    std::vector<std::uint8_t> file(bytes.begin(), bytes.end());
    file.push_back(0);
    LabelFileContents read = ReadLabelBytes(file);
    EXPECT_TRUE(read.layouts.empty());
    EXPECT_NE(read.error.find("117 bytes"), std::string::npos) << read.error;
}

TEST(LabelLayoutChecks, ZeroCountsSizesAndPitchesAreRefusedWithAMessage)
{
    EXPECT_EQ(CheckLayout(sheet("Good", 3, 8)), "");
    LabelLayout noAcross = sheet("Zero", 0, 8);
    EXPECT_NE(CheckLayout(noAcross).find("across and down"), std::string::npos);
    LabelLayout noDown = sheet("Zero", 3, 0);
    EXPECT_FALSE(CheckLayout(noDown).empty());
    LabelLayout flat = sheet("Flat", 3, 8);
    flat.LabelHeight = 0;
    EXPECT_NE(CheckLayout(flat).find("width and height"), std::string::npos);
    LabelLayout noPitch = sheet("Pitch", 3, 8);
    noPitch.SpacingWidth = 0;
    EXPECT_NE(CheckLayout(noPitch).find("pitch"), std::string::npos);
    LabelLayout single = sheet("One", 1, 1);
    single.SpacingWidth = single.SpacingHeight = 0; // one label needs no pitch
    EXPECT_EQ(CheckLayout(single), "");
    LabelLayout nan = sheet("NaN", 3, 8);
    nan.DownShift = std::nan("");
    EXPECT_FALSE(CheckLayout(nan).empty());
    LabelLayout custom = sheet("Custom", 3, 8);
    custom.PaperName = "Custom";
    EXPECT_NE(CheckLayout(custom).find("page width"), std::string::npos);
}

TEST(LabelLayoutChecks, ALabelLargerThanThePageIsRefused)
{
    LabelLayout layout = sheet("Big", 1, 1);
    EXPECT_EQ(CheckLayoutOnPage(layout, 8.27, 11.69), "");
    layout.LabelWidth = 9;
    EXPECT_NE(CheckLayoutOnPage(layout, 8.27, 11.69).find("larger than the page"), std::string::npos);
}

TEST(LabelList, CustomLayoutsComeFirstThenTheFileInOrder)
{
    TConfigRecord config{};
    config.CustLab[0] = sheet("Mine", 2, 5);
    std::vector<LabelChoice> list = LabelList(config, {sheet("A", 3, 8), sheet("B", 3, 7)});
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].name, "Custom1");
    EXPECT_EQ(list[0].custom, 1);
    EXPECT_EQ(list[0].layout.NumAcross, 2);
    EXPECT_EQ(list[1].name, "Custom2");
    EXPECT_EQ(list[3].name, "B");
    EXPECT_EQ(list[3].custom, 0);
    config.F_CurrentLabel = 3;
    EXPECT_EQ(CurrentLabelIndex(config, list.size()), 3);
    config.F_CurrentLabel = 9;
    EXPECT_EQ(CurrentLabelIndex(config, list.size()), 0);
}

TEST(LabelPaper, CustomPaperIsGivenInTenthsOfAMillimetre)
{
    LabelLayout layout = sheet("C", 1, 1);
    layout.PaperName = "user defined";
    layout.PageWidth = 4;
    layout.PageHeight = 6;
    layout.Portrait = false;
    PaperSpec paper = PaperOf(layout);
    EXPECT_TRUE(paper.IsCustom());
    EXPECT_EQ(paper.widthTenthMm, 1016);
    EXPECT_EQ(paper.heightTenthMm, 1524);
    EXPECT_FALSE(paper.portrait);
    EXPECT_EQ(PaperOf(sheet("L", 1, 1)).name, "A4");
}

} // namespace
} // namespace vellum
