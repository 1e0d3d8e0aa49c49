// The extended bands and modes beside the classic tables, and reports in dB.

#include "logstore/qsotables.h"
#include "logstore/report.h"

#include <gtest/gtest.h>

#include <string>

namespace vellum {
namespace {

TEST(ExtendedBands, EachBandIsFoundAtItsEdgesAndTheClassicOnesStay)
{
    // The classic fifteen map every frequency as before: each edge, widened by 5 kHz.
    for (int band = 1; band < BandCount; ++band) {
        const BandInfo &info = BandTable[static_cast<std::size_t>(band)];
        EXPECT_EQ(BandOfFreq(info.lowKHz - 5), band) << info.name;
        EXPECT_EQ(BandOfFreq(info.highKHz + 5), band) << info.name;
        EXPECT_EQ(ParseBand(info.name), band) << info.name;
    }
    // The extended bands at both edges, unless the classic "Sat" range holds them.
    int shadowed = 0;
    for (int band = BandCount; band < AllBandCount; ++band) {
        const BandInfo &info = BandInfoOf(band);
        EXPECT_EQ(ParseBand(info.name), band) << info.name;
        EXPECT_EQ(BandOfName(std::string(info.name) == "submm" ? "SUBMM" : info.name), band);
        EXPECT_EQ(BandLabel(band, false), info.name);
        EXPECT_TRUE(BandHoldsFreq(band, info.lowKHz - 5) && BandHoldsFreq(band, info.highKHz + 5)) << info.name;
        EXPECT_FALSE(BandHoldsFreq(band, info.lowKHz - 6) || BandHoldsFreq(band, info.highKHz + 6)) << info.name;
        int expected = BandHoldsFreq(15, info.lowKHz) ? 15 : band;
        shadowed += expected == 15;
        EXPECT_EQ(BandOfFreq((info.lowKHz + info.highKHz) / 2), expected) << info.name;
        EXPECT_GE(SettingsBandOf(band), 1);
        EXPECT_LT(SettingsBandOf(band), BandCount);
    }
    EXPECT_EQ(shadowed, 3) << "13cm, 9cm and 6cm lie inside the Sat range";
    EXPECT_EQ(BandOfFreq(5357), 19);
    EXPECT_EQ(BandOfFreq(475), 17);
    EXPECT_EQ(BandOfFreq(5000), 0);
    EXPECT_EQ(BandOfFreq(54003), 10) << "the 6m margin wins over 5m";
    EXPECT_EQ(ParseBand("1.25cm"), 28) << "not the 1.2 of 1.2m";
    EXPECT_EQ(ParseBand("6CM"), 26);
    EXPECT_EQ(ParseBand("60"), 19);
    EXPECT_EQ(ParseBand("6"), 10);
    EXPECT_EQ(BandLabel(19, true), "5MHz");
    EXPECT_EQ(BandLabel(AllBandCount, false), "xxxm");
}

TEST(ExtendedModes, NamesGroupsReportsAndSettingsSlots)
{
    for (int mode = 1; mode < ModeCount; ++mode)
        EXPECT_EQ(ModeInfoOf(mode).name, ModeTable[static_cast<std::size_t>(mode)].name);
    EXPECT_EQ(ModeOfName("ft8"), 16);
    EXPECT_EQ(ModeOfName("DV"), 30);
    EXPECT_EQ(ModeName(AllModeCount), "");
    for (int mode = ModeCount; mode < AllModeCount; ++mode) {
        int group = ModeGroupOf(mode);
        EXPECT_EQ(group, ModeName(mode) == "DV" ? 1 : 3) << ModeName(mode);
        EXPECT_EQ(ModeGroupOf(SettingsModeOf(mode)), group) << "the stand-in is of the same group";
        EXPECT_LT(SettingsModeOf(mode), ModeCount);
        EXPECT_LT(RadioModeOf(mode), ModeCount);
    }
    EXPECT_EQ(DefaultReport(16), 0) << "a dB report is measured, never assumed";
    EXPECT_EQ(DefaultReport(25), 599) << "MFSK takes RST";
    EXPECT_EQ(DefaultReport(30), 59);
}

TEST(Reports, DbReportsEncodeDecodeAndCheckPerMode)
{
    const int ft8 = 16, cw = 4, ssb = 14;
    EXPECT_EQ(DecodeRst(*EncodeRst("-12")), "-12");
    EXPECT_EQ(DecodeRst(*EncodeRst("+5")), "+05");
    EXPECT_EQ(DecodeRst(*EncodeRst("-0")), "+00");
    EXPECT_EQ(DbOfReport(*EncodeRst("+50")), 50);
    EXPECT_FALSE(EncodeRst("-"));
    EXPECT_FALSE(EncodeRst("+123"));
    EXPECT_FALSE(EncodeRst("-1A"));
    for (int dB = -99; dB <= 99; ++dB) {
        std::uint16_t value = *EncodeRst((dB < 0 ? "-" : "+") + std::to_string(dB < 0 ? -dB : dB));
        ASSERT_TRUE(IsDbReport(value));
        ASSERT_FALSE(value >= 1 && value <= 1999) << "no RST or aurora value";
        EXPECT_EQ(ReportInRange(value, ft8), dB >= -50 && dB <= 50) << dB;
        EXPECT_FALSE(ReportInRange(value, cw));
        EXPECT_FALSE(ReportInRange(value, ssb));
    }
    EXPECT_FALSE(ReportInRange(599, ft8)) << "an RST in a dB mode";
    EXPECT_TRUE(ReportInRange(599, 25));
    EXPECT_TRUE(ReportInRange(59, 30));
}

} // namespace
} // namespace vellum
