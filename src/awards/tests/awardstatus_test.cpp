// Status of one QSO, cells and the questions asked of a block and of a setup.

#include "awards/awardstatus.h"

#include "logstore/daytime.h"
#include "logstore/qsotables.h"
#include "testsupport/qsobuilder.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

const std::uint16_t Today = *DayNumber(2024, 6, 1);

TQsoRec qso(std::uint16_t date, bool confirmed = false, std::uint16_t qslDate = 0)
{
    return test::QsoBuilder("DL1ABC")
        .day(date)
        .band(5)
        .mode(4)
        .reports(599, 0)
        .qslDate(qslDate)
        .qslFlags(confirmed ? QslFlag::Cnfm : 0)
        .build();
}

TEST(QsoAwardStatus, CutoffsCountBackFromTodayAndNeverWrap)
{
    TConfigRecord config = BuiltInConfig();
    ASSERT_EQ(config.WorkedCutoff, 10000);
    TSelection all = AllQsosSelection();
    auto status = [&](const TQsoRec &rec, std::uint16_t today = Today) {
        return QsoAwardStatus(rec, all, config, today);
    };

    EXPECT_EQ(status(qso(Today - 10000)), asWorked) << "exactly at the cutoff still counts";
    EXPECT_EQ(status(qso(Today - 10001)), asNotWorked);
    // A QSL sent moves the QSO to the mailed window.
    config.MailedCutoff = 20000;
    EXPECT_EQ(status(qso(Today - 15000, false, Today - 14000)), asQslSent);
    EXPECT_EQ(status(qso(Today - 15000)), asNotWorked);
    config.MailedCutoff = 100;
    EXPECT_EQ(status(qso(Today - 101, false, Today - 50)), asNotWorked);
    // Confirmed QSOs know no cutoff.
    EXPECT_EQ(status(qso(100, true)), asConfirmed);

    // A cutoff longer than the days since 1900 keeps every date, also the first day.
    config.WorkedCutoff = 65535;
    EXPECT_EQ(TQsoStatusRule::CutoffDate(Today, 65535), 0);
    EXPECT_EQ(status(qso(1)), asWorked);
    EXPECT_EQ(status(qso(1), 5), asWorked);
}

TEST(QsoAwardStatus, EmptyReportSelectionAndFlags)
{
    TConfigRecord config = BuiltInConfig();
    TSelection all = AllQsosSelection();
    TQsoRec confirmed = qso(Today - 10, true);
    EXPECT_EQ(QsoAwardStatus(confirmed, all, config, Today), asConfirmed);

    TQsoRec noReport = confirmed;
    noReport.RstRcvd = 0;
    EXPECT_EQ(QsoAwardStatus(noReport, all, config, Today), asNotWorked);

    TSelection qrpOnly = all;
    qrpOnly.SetQrpOnly(true);
    EXPECT_EQ(QsoAwardStatus(confirmed, qrpOnly, config, Today), asNotWorked);

    // Confirmed with only the DXCC band submitted bit: 4 there, 3 at every other level.
    TQsoRec flagged = confirmed;
    flagged.AwdFlags = 0x00000040;
    EXPECT_EQ(QsoAwardStatus(flagged, all, config, Today), asSubmitted);
    StatusTriple dxcc = AwardTriple(flagged, asSubmitted, AwardDXCC);
    EXPECT_EQ(dxcc.band, asSubmitted);
    EXPECT_EQ(dxcc.mode, asConfirmed);
    EXPECT_EQ(dxcc.mixed, asConfirmed);
    for (AwardIndex award : {AwardWAZ, AwardWAS, AwardWPX}) {
        StatusTriple other = AwardTriple(flagged, asSubmitted, award);
        EXPECT_EQ(other.mixed + other.mode + other.band, 3 * asConfirmed) << AwardNames[award];
    }

    // Checked alone gives 5; submitted and checked together give 4.
    flagged.AwdFlags = 0x00000080;
    EXPECT_EQ(QsoLevelStatus(flagged, 0x40), asChecked);
    flagged.AwdFlags = 0x000000C0;
    EXPECT_EQ(QsoLevelStatus(flagged, 0x40), asSubmitted);
}

TEST(StatusBlock, MergeSaturatesAndUnmergeRefusesToEmptyTheBest)
{
    TStatusBlockBytes bytes{};
    TAwardStatusBlock block(bytes);
    block.Merge(7, asWorked);
    block.Merge(7, asConfirmed);
    EXPECT_EQ(block.Best(7), asConfirmed);
    EXPECT_EQ(block.Count(7), 1);
    block.Merge(7, asWorked);
    EXPECT_EQ(block.Count(7), 1) << "a lower status changes nothing";
    for (int i = 0; i < 300; ++i)
        block.Merge(7, asConfirmed);
    EXPECT_EQ(block.Count(7), 255);

    EXPECT_TRUE(block.Unmerge(7, asWorked)) << "a status below the best was never counted";
    EXPECT_TRUE(block.Unmerge(7, asConfirmed));
    EXPECT_EQ(block.Count(7), 254);

    TStatusBlockBytes single{};
    TAwardStatusBlock one(single);
    one.Merge(0, asQslSent);
    EXPECT_FALSE(one.Unmerge(0, asQslSent));
    EXPECT_EQ(one.Cell(0).Count, 1) << "left as it was";
    // Cells sit at 2 * index, the five-band flags after the 49 cells.
    one.SetFiveBandUsed(15, true);
    EXPECT_EQ(single[0], asQslSent);
    EXPECT_EQ(single[112], 1);
}

TEST(StatusBlock, Queries)
{
    TStatusBlockBytes bytes{};
    TAwardStatusBlock block(bytes);
    EXPECT_FALSE(AnyModeGroupWorked(block));
    block.SetCell(BandCell(5, mgCW), {asConfirmed, 1});
    block.SetCell(BandCell(5, mgPhone), {asWorked, 2});
    block.SetCell(BandCell(5, mgDigital), {asChecked, 0}); // a best without a count does not count
    block.SetCell(mgCW, {asConfirmed, 1});
    block.SetCell(0, {asConfirmed, 1});
    EXPECT_EQ(BandStatus(block, 5), asConfirmed);
    EXPECT_EQ(BandStatus(block, 0), asNotWorked);
    EXPECT_EQ(BandStatus(block, 16), asNotWorked);
    EXPECT_EQ(BandGroupStatus(block, 5, mgPhone), asWorked);
    EXPECT_EQ(BandGroupStatus(block, 5, mgMixed), asConfirmed);
    EXPECT_EQ(ModeGroupStatus(block, mgCW), asConfirmed);
    EXPECT_EQ(ModeGroupStatus(block, mgPhone), asNotWorked);
    EXPECT_EQ(MixedStatus(block), asConfirmed);
    EXPECT_TRUE(AnyModeGroupWorked(block));
}

TEST(AwardSetup, CountsBandModeAndGroup)
{
    TConfigRecord config = BuiltInConfig();
    const TAwardSetup &wpx = AwardSetupOf(config, AwardWPX);
    // WPX counts CW and SSB only, on 160, 80, 40, 20, 15, 10 m and Sat.
    EXPECT_TRUE(CountsBand(config, wpx, 5));
    EXPECT_FALSE(CountsBand(config, wpx, 4));
    EXPECT_FALSE(CountsBand(config, wpx, 0));
    EXPECT_FALSE(CountsBand(config, wpx, AllBandCount));
    EXPECT_TRUE(CountsBand(config, wpx, 19)) << "60m takes the flags of 80m";
    EXPECT_FALSE(IsBandAward(config, wpx, 19)) << "no band cells beyond the fifteen";
    EXPECT_FALSE(CountsBand(config, wpx, 20)) << "8m takes the flags of 6m";
    EXPECT_TRUE(CountsMode(config, wpx, 30)) << "digital voice takes the flags of SSB";
    EXPECT_FALSE(CountsMode(config, wpx, 16)) << "FT8 takes the flags of RTTY";
    EXPECT_TRUE(IsBandAward(config, wpx, 5));
    EXPECT_TRUE(CountsMode(config, wpx, 4));
    EXPECT_FALSE(CountsMode(config, wpx, 13));
    EXPECT_TRUE(CountsModeGroup(config, wpx, mgPhone));
    EXPECT_FALSE(CountsModeGroup(config, wpx, mgDigital));

    config.StationBands[5] = false;
    EXPECT_FALSE(CountsBand(config, wpx, 5)) << "a band the station does not use";
    EXPECT_FALSE(IsBandAward(config, wpx, 5));
    config.AwardSetup[AwardWPX].Mixed = false;
    EXPECT_FALSE(CountsMode(config, wpx, 0));
    EXPECT_FALSE(CountsModeGroup(config, wpx, mgMixed));
    config.StationModes[4] = false;
    config.StationModes[14] = false;
    EXPECT_FALSE(CountsModeGroup(config, wpx, mgPhone));
}

} // namespace
} // namespace vellum
