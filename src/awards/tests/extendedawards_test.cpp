// QSOs on the extended bands (60m, 630m, ...) and in the extended modes (FT8, digital
// voice): counted at the mixed and mode-group levels, never in a band cell, and
// taking the award setup's flags of their settings band and mode.

#include "awardfixture.h"

#include "awards/awardqueries.h"
#include "logstore/qsotables.h"

namespace vellum::test {
namespace {

class ExtendedAwardTest : public AwardTest {
protected:
    static constexpr std::uint8_t Band60 = 19, Band630 = 17, Band4 = 22;
    static constexpr std::uint8_t Ft8 = 16, Dv = 30;
    TConstStatusBlock Country(const std::string &prefix) { return *model.CountryBlock(CountryOf(prefix)); }
    static bool NoBandCell(TConstStatusBlock block)
    {
        for (int band = 1; band < BandCount; ++band)
            for (int group = 1; group <= 3; ++group)
                if (block.Count(BandCell(band, group)) != 0)
                    return false;
        return true;
    }
    int Need(const char *call, int band, int mode)
    {
        SpotInfo spot{call, resolver.CountryOfCall(call, Today), band, mode, Today};
        return NeedClass(model, log.get(), spot, AwardDXCC);
    }
};

TEST_F(ExtendedAwardTest, SixtyMetreQsosCountMixedAndByModeGroupOnly)
{
    model.EnsureAwardTables(*log);
    EXPECT_EQ(Need("DL1ABC", Band60, Ft8), ncNewCountry);
    TQsoRec *ft8 = Add({.call = "DL1ABC", .band = Band60, .mode = Ft8, .confirmed = true, .time = 100});
    Add({.call = "JA1ABC", .band = Band630, .mode = 4, .time = 200});
    Add({.call = "K1ABC", .band = Band4, .mode = Dv, .confirmed = true, .time = 300});

    EXPECT_EQ(MixedStatus(Country("DL")), asConfirmed);
    EXPECT_EQ(ModeGroupStatus(Country("DL"), mgDigital), asConfirmed) << "FT8 counts in the digital group";
    EXPECT_EQ(ModeGroupStatus(Country("K"), mgPhone), asConfirmed) << "digital voice counts as phone";
    EXPECT_NE(ModeGroupStatus(Country("JA"), mgCW), asNotWorked);
    EXPECT_EQ(MixedStatus(Country("JA")), ModeGroupStatus(Country("JA"), mgCW));
    for (const char *prefix : {"DL", "JA", "K"})
        EXPECT_TRUE(NoBandCell(Country(prefix))) << prefix;
    EXPECT_EQ(Snapshot(), RebuiltSnapshot()) << "adding and rebuilding agree";

    AwardStanding standing = CountStanding(model, *log, AwardDXCC);
    EXPECT_EQ(standing.mixed[asConfirmed], 2);
    EXPECT_EQ(standing.groups[mgDigital][asConfirmed], 1);
    EXPECT_EQ(standing.groups[mgPhone][asConfirmed], 1);
    EXPECT_EQ(standing.mixed[asWorked] + standing.mixed[asQslSent], 1);
    for (const auto &group : standing.bandsInGroup)
        for (const LevelStanding &band : group)
            EXPECT_EQ(band[asWorked] + band[asQslSent] + band[asConfirmed], 0);

    // Needs on an extended band are judged at the mode group.
    EXPECT_EQ(Need("DL2XYZ", Band60, Ft8), ncNothingSpecial);
    EXPECT_EQ(Need("DL2XYZ", Band60, 4), ncNewMode);
    EXPECT_EQ(Need("JA2XYZ", Band60, 4), ncNotConfirmed);

    log->DeleteQso(ft8);
    model.EnsureAwardTables(*log);
    EXPECT_EQ(MixedStatus(Country("DL")), asNotWorked) << "taken out of the cells it was counted in";
    EXPECT_EQ(Snapshot(), RebuiltSnapshot());
}

TEST_F(ExtendedAwardTest, SetupFlagsOfTheSettingsBandAndModeApply)
{
    TAwardSetup &dxcc = config.AwardSetup[AwardDXCC];
    dxcc.ValidModes[static_cast<std::size_t>(SettingsModeOf(Ft8))] = false; // RTTY stands in for FT8
    dxcc.ValidBands[static_cast<std::size_t>(SettingsBandOf(Band630))] = false; // 160m for 630m
    Add({.call = "DL1ABC", .band = 5, .mode = Ft8, .confirmed = true});
    Add({.call = "JA1ABC", .band = Band630, .mode = 4, .confirmed = true});
    Add({.call = "K1ABC", .band = Band60, .mode = 4, .confirmed = true});
    model.EnsureAwardTables(*log);
    EXPECT_EQ(MixedStatus(Country("DL")), asNotWorked) << "FT8 follows RTTY's valid-mode flag";
    EXPECT_EQ(MixedStatus(Country("JA")), asNotWorked) << "630m follows 160m's valid-band flag";
    EXPECT_EQ(MixedStatus(Country("K")), asConfirmed);
    config.StationBands[static_cast<std::size_t>(SettingsBandOf(Band60))] = false;
    EXPECT_EQ(Need("K2XYZ", Band60, 4), ncNoInterest) << "60m follows 80m's station flag";
}

} // namespace
} // namespace vellum::test
