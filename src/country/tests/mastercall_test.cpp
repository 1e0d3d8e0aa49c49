// The master callsign file: conversion, the file layout, reading damaged
// bytes, the search rules of the window, and the window's messages.

#include "testsupport/tempdir.h"
#include "testsupport/testcountry.h"

#include "country/mastercall.h"

#include "logstore/fileio.h"
#include "logstore/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace vellum {
namespace {

std::span<const std::uint8_t> bytesOf(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t *>(text.data()), text.size()};
}

TMasterCalls callsOf(const std::vector<std::string> &calls)
{
    TMasterCalls master;
    EXPECT_TRUE(master.LoadBytes(MasterFileBytes(calls)));
    return master;
}

std::vector<std::string> search(const TMasterCalls &master, std::string_view text, bool substring = false)
{
    std::vector<std::string> found;
    for (std::string_view call : master.Search(text, substring))
        found.emplace_back(call);
    return found;
}

using Calls = std::vector<std::string>;

TEST(MasterFile, ConversionTakesRunsOfCallCharacters)
{
    std::string_view text = "dl1abc, K1A/P;xy 1234567890123456\r\n"
                            "#Release 2023 by W1AW\n"
                            "k1a/p\xE9W2AB\n";
    EXPECT_EQ(MasterCandidates(bytesOf(text), MasterSource::AnyBytes),
              (Calls{"123456789012", "2023", "DL1ABC", "K1A/P", "RELEASE", "W1AW", "W2AB"}));
    EXPECT_EQ(MasterCandidates(bytesOf(text), MasterSource::CallList),
              (Calls{"123456789012", "DL1ABC", "K1A/P", "W2AB"}))
        << "a call list's comment lines hold no calls";
}

TEST(MasterFile, LayoutMarksTheFirstCharacterOfEachCall)
{
    std::vector<std::uint8_t> bytes = MasterFileBytes({"AB1C", "K1ABCD"});
    std::vector<std::uint8_t> expected = {'V', 'E', 'L', 'L', 'M', 'A', 'S', '1', 6,
                                          'A' | 0x80, 'B', '1', 'C', 'K' | 0x80, '1', 'A', 'B', 'C', 'D', 0xFF};
    EXPECT_EQ(bytes, expected);
    TMasterCalls master;
    ASSERT_TRUE(master.LoadBytes(bytes));
    ASSERT_EQ(master.Count(), 2u);
    EXPECT_EQ(master.Call(1), "K1ABCD");
    EXPECT_EQ(master.LongestCall(), 6u);
    EXPECT_FALSE(master.LoadBytes(bytesOf("VELLMAS2\x06\xC1")));
    EXPECT_EQ(master.Count(), 0u);
}

TEST(MasterFile, DamagedBytesGiveOnlyWellFormedCalls)
{
    std::vector<std::uint8_t> good = MasterFileBytes({"AB1C", "DL1ABC", "K1A/P"});
    for (std::size_t length = 0; length <= good.size(); ++length) {
        TMasterCalls master;
        master.LoadBytes(std::span<const std::uint8_t>(good.data(), length));
        EXPECT_LE(master.Count(), 3u);
    }
    std::vector<std::uint8_t> damaged = {'V', 'E', 'L', 'L', 'M', 'A', 'S', '1', 200, 'X', 'Y', 'A' | 0x80, 'b',
                                         '1',  'D' | 0x80, 'L', '1', 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J',
                                         'K',  'L', 0xFF, 'Q' | 0x80, 'Q'};
    TMasterCalls master;
    ASSERT_TRUE(master.LoadBytes(damaged));
    ASSERT_EQ(master.Count(), 1u) << "a lower-case letter spoils a call; nothing after 0xFF counts";
    EXPECT_EQ(master.Call(0), "DL1ABCDEFGHI");
    EXPECT_EQ(master.LongestCall(), 12u) << "the stored length is recounted";

    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> bytes(MasterMagic.begin(), MasterMagic.end());
        for (int i = 0; i < 64; ++i)
            bytes.push_back(static_cast<std::uint8_t>(random()));
        master.LoadBytes(bytes);
        for (std::size_t i = 0; i < master.Count(); ++i)
            ASSERT_LE(master.Call(i).size(), MasterCallCapacity);
        (void)master.Search("?A?", true);
    }
}

TEST(MasterFile, SearchRules)
{
    TMasterCalls master = callsOf({"AB1DL", "ABAB1", "DL1ABC", "DL2ABC", "K1ABC", "W1AW"});
    EXPECT_EQ(search(master, "D"), Calls{}) << "one character lists nothing";
    EXPECT_EQ(search(master, ""), Calls{});
    EXPECT_EQ(search(master, "dl"), (Calls{"DL1ABC", "DL2ABC"})) << "calls that begin with the text";
    EXPECT_EQ(search(master, "?DL"), (Calls{"AB1DL", "DL1ABC", "DL2ABC"})) << "a leading ? finds it anywhere";
    EXPECT_EQ(search(master, "??DL"), (Calls{"AB1DL", "DL1ABC", "DL2ABC"}));
    EXPECT_EQ(search(master, "DL?ABC"), (Calls{"DL1ABC", "DL2ABC"})) << "? matches any character";
    EXPECT_EQ(search(master, "DL??"), (Calls{"DL1ABC", "DL2ABC"})) << "trailing ? are removed";
    EXPECT_EQ(search(master, "?A"), Calls{}) << "one character left after the ?";
    EXPECT_EQ(search(master, "??"), Calls{});
    EXPECT_EQ(search(master, "?AB"), (Calls{"AB1DL", "ABAB1", "DL1ABC", "DL2ABC", "K1ABC"}))
        << "each call once, in file order";
    EXPECT_EQ(search(master, "1A", true), (Calls{"DL1ABC", "K1ABC", "W1AW"})) << "the Sub string switch";
    EXPECT_EQ(search(master, "1A", false), Calls{});
    EXPECT_EQ(search(master, "W1AW/P"), Calls{}) << "a text longer than the call";
}

class MasterWindowRules : public ::testing::Test {
protected:
    void SetUp() override { SetProgramDir(dir); }
    test::TempDir temp{"master"};
    std::string dir = temp.path();
};

TEST_F(MasterWindowRules, OpeningAndConvertingTellTheUser)
{
    TMasterCalls master;
    RecordingNotifier notes;
    EXPECT_FALSE(OpenMasterFile(master, MasterFileName(), notes));
    ASSERT_EQ(notes.shown.size(), 1u);
    EXPECT_EQ(notes.shown[0].text, "Master file:\r" + dir + "/VELLUM.MAS\rnot found, no calls loaded");

    WriteWholeFile(dir + "/VELLUM.MAS", std::vector<std::uint8_t>{'Z', 'A', 'P'}, false);
    EXPECT_FALSE(OpenMasterFile(master, MasterFileName(), notes));
    EXPECT_EQ(notes.shown.back().text, "Not a VELLUM master file");

    std::string source = dir + "/log.dta";
    std::span<const std::uint8_t> log = bytesOf("dl1abc k1abc dl1abc x1\n");
    WriteWholeFile(source, log, false);
    notes.shown.clear();
    EXPECT_TRUE(RunMasterConversion(master, source, MasterFileName(), false, notes));
    ASSERT_EQ(notes.shown.size(), 1u);
    EXPECT_EQ(notes.shown[0].text, "Conversion finished\r2 Calls");
    EXPECT_EQ(master.Count(), 2u) << "the new file is loaded";

    EXPECT_FALSE(RunMasterConversion(master, dir + "/missing.dta", MasterFileName(), false, notes));
    EXPECT_EQ(notes.shown.back().kind, MessageKind::Error);
    EXPECT_EQ(master.Count(), 2u) << "a failed conversion keeps the calls";
}

TEST(MasterFile, TheDefaultFileHoldsTheActiveCallsOfHamradioFiles)
{
    const std::string scp = "/usr/share/hamradio-files/MASTER.SCP";
    if (!std::filesystem::exists(scp))
        GTEST_SKIP() << scp << " is not installed (Debian package hamradio-files)";
    test::TempDir temp("master-scp");
    const std::string &dir = temp.path();
    std::size_t count = ConvertMasterFile(scp, dir + "/VELLUM.MAS", false, MasterSource::CallList);
    TMasterCalls master;
    ASSERT_TRUE(master.LoadBytes(ReadWholeFile(dir + "/VELLUM.MAS")));
    EXPECT_EQ(master.Count(), count);
    EXPECT_GT(count, 10000u);
    EXPECT_EQ(search(master, "RELEASE"), Calls{}) << "the header comment is not a call";
    std::vector<std::uint8_t> list = ReadWholeFile(scp);
    std::string text(list.begin(), list.end());
    for (std::size_t i = 0; i < master.Count(); i += 997)
        EXPECT_NE(text.find("\n" + std::string(master.Call(i)) + "\n"), std::string::npos) << master.Call(i);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace vellum
