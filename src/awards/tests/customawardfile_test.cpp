// Reading the custom award definition file: the examples of the format, every
// message with the line it names, what stays of the list after a message, and
// the example file the program ships.

#include "awards/customawardfile.h"

#include "logstore/fileio.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum {
namespace {

struct Read {
    TCustAwardList list;
    RecordingNotifier notes;
    bool complete = false;
    explicit Read(std::string_view text) { complete = ReadCustomAwards(text, list, notes); }
    std::vector<std::string> messages() const
    {
        std::vector<std::string> texts;
        for (const auto &shown : notes.shown)
            texts.push_back(shown.text);
        return texts;
    }
};

TEST(CustomAwardFile, TheTenTenExampleSwitchesModesAndTheFirstNineBands)
{
    Read read("  [1010]  \n"
              "awdname=Ten-Ten number\n"
              "modes=110\n"
              "bands=000000001\n");
    ASSERT_TRUE(read.complete);
    ASSERT_EQ(read.list.Count(), 1);
    const TCustAward &award = read.list.At(0);
    EXPECT_EQ(award.Ident, "1010");
    EXPECT_EQ(award.Name, "Ten-Ten number");
    EXPECT_TRUE(award.AppliesToModeGroup(1));
    EXPECT_TRUE(award.AppliesToModeGroup(2));
    EXPECT_FALSE(award.AppliesToModeGroup(3));
    for (int band = 1; band <= 8; ++band)
        EXPECT_FALSE(award.AppliesToBand(band)) << band;
    EXPECT_TRUE(award.AppliesToBand(9)) << "10m";
    for (int band = 10; band <= 15; ++band)
        EXPECT_TRUE(award.AppliesToBand(band)) << "beyond the value's length the default stays: " << band;
    EXPECT_EQ(award.Picture, "XXXXXXXX");
    EXPECT_TRUE(award.AppliesToCountry("")) << "no country list: every country";
}

TEST(CustomAwardFile, PrefixLinesAccumulateAndValuesGetLongNames)
{
    Read read("[abc]\n"
              "prefix=DL\n"
              "prefix=OE, HB9\n"
              "g1=Group one\n"
              "g2 = Group two\n"
              "pictmsk=!!99999999\n"
              "a line without an equals sign is skipped\n");
    ASSERT_TRUE(read.complete) << read.messages().front();
    const TCustAward &award = read.list.At(0);
    EXPECT_EQ(award.Countries, ",DL,,OE,HB9,");
    EXPECT_TRUE(award.AppliesToCountry("OE"));
    EXPECT_TRUE(award.AppliesToCountry("hb9")) << "prefixes compare ignoring case";
    EXPECT_FALSE(award.AppliesToCountry("HB"));
    EXPECT_FALSE(award.AppliesToCountry("")) << "a list and no prefix";
    EXPECT_EQ(award.Picture, "!!999999");
    EXPECT_EQ(read.list.LongAwdVal("ABC", "G1"), "Group one");
    EXPECT_EQ(read.list.LongAwdVal("abc", "g2"), "Group two");
    EXPECT_EQ(read.list.LongAwdVal("ABC", "G3"), "");
    EXPECT_EQ(read.list.LongAwdName("Abc"), "abc");
}

TEST(CustomAwardFile, ARepeatedIdentifierIsReportedAndDroppedAndReadingGoesOn)
{
    Read read("[abc]\n"
              "awdname=First\n"
              "[ABC]\n"
              "awdname=Second\n"
              "g1=Dropped with it\n"
              "[XYZ]\n"
              "awdname=Third\n");
    EXPECT_TRUE(read.complete);
    EXPECT_EQ(read.messages(), std::vector<std::string>{"Duplicate award = ABC\rVELLUM.AWD line 3: [ABC]"});
    ASSERT_EQ(read.list.Count(), 2);
    EXPECT_EQ(read.list.LongAwdName("abc"), "First");
    EXPECT_EQ(read.list.LongAwdName("XYZ"), "Third");
}

TEST(CustomAwardFile, EachBadLineEndsTheReadingWithItsMessageAndKeepsTheAwardsBefore)
{
    struct Case {
        std::string text, message;
    };
    const Case cases[] = {
        {"[KEPT]\n[A]\n=value\n[B]\n", "Bad key value = \rVELLUM.AWD line 3: =value"},
        {"[KEPT]\n[A]\nawdname=\n[B]\n", "Bad value pair: \rVELLUM.AWD line 3: awdname="},
        {"[KEPT]\n[A]\ng1=One\nG1=Two\n[B]\n", "Duplicate key = G1\rVELLUM.AWD line 4: G1=Two"},
        {"[KEPT]\n[A]\ng1=One\ng2=one\n[B]\n", "Duplicate value = one\rVELLUM.AWD line 4: g2=one"},
        {"[KEPT]\n[  ]\n[B]\n", "Bad award = [  ]\rVELLUM.AWD line 2: [  ]"},
    };
    for (const Case &c : cases) {
        Read read(c.text);
        EXPECT_FALSE(read.complete) << c.text;
        EXPECT_EQ(read.messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(read.list.IndexOf("KEPT"), 0) << "an award read before the message stays";
        EXPECT_EQ(read.list.IndexOf("A"), -1) << "the award being read is dropped";
        EXPECT_EQ(read.list.IndexOf("B"), -1) << "nothing after the message is read";
    }
    Read early("g1=Early\n[A]\n");
    EXPECT_EQ(early.messages(), std::vector<std::string>{"No award defined\rVELLUM.AWD line 1: g1=Early"});
    EXPECT_EQ(early.list.Count(), 0);
}

TEST(CustomAwardFile, IdentifiersAndNamesAreCut)
{
    Read read("[ABCDEFGHIJKLMNOPQRSTUVWXYZ]\n[X]\nawdname=A name longer than twenty\nwxyz1234567=Long key\n");
    ASSERT_EQ(read.list.Count(), 2);
    EXPECT_EQ(read.list.At(0).Ident, "ABCD");
    EXPECT_EQ(read.list.At(0).Name, "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(read.list.LongAwdName("X"), "A name longer than t");
    EXPECT_EQ(read.list.LongAwdVal("X", "WXYZ1234"), "Long key");
}

TEST(CustomAwardFile, LoadingAFile)
{
    TCustAwardList list;
    RecordingNotifier notes;
    list.Add(TCustAward("OLD"));
    EXPECT_TRUE(LoadCustomAwards(list, "/nonexistent/VELLUM.AWD", notes));
    EXPECT_EQ(list.Count(), 0) << "a missing file gives an empty list";
    EXPECT_TRUE(notes.shown.empty());

    test::TempDir dir("awd");
    std::string file = dir.file("MY.AWD");
    test::WriteFile(file, "[A]\n[a]\n");
    EXPECT_TRUE(LoadCustomAwards(list, file, notes));
    ASSERT_EQ(notes.shown.size(), 1u);
    EXPECT_EQ(notes.shown[0].text, "Duplicate award = a\rMY.AWD line 2: [a]") << "the message names the file";
    EXPECT_EQ(notes.shown[0].kind, MessageKind::Error);
}

TEST(CustomAwardFile, TheExampleFileReadsWithoutMessages)
{
    std::vector<std::uint8_t> bytes = ReadWholeFile(VELLUM_EXAMPLE_AWARDS);
    Read read(std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
    EXPECT_TRUE(read.complete);
    EXPECT_TRUE(read.notes.shown.empty()) << read.messages().front();
    ASSERT_EQ(read.list.Count(), 2);
    std::int32_t helvetia = read.list.IndexOf("HELV");
    ASSERT_GE(helvetia, 0);
    EXPECT_EQ(read.list.At(helvetia).Values().size(), 26u);
    EXPECT_EQ(read.list.LongAwdVal("HELV", "GR"), "Graubuenden");
    std::int32_t tenTen = read.list.IndexOf("1010");
    EXPECT_TRUE(read.list.At(tenTen).AppliesToBand(9));
    EXPECT_FALSE(read.list.At(tenTen).AppliesToBand(10));
}

} // namespace
} // namespace vellum
