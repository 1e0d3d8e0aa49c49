// Need classes of spots, "contributes", item blocks and the standing counts.

#include "awardfixture.h"

#include "awards/awardqueries.h"

namespace vellum::test {
namespace {

class AwardQueryTest : public AwardTest {
protected:
    int Need(const std::string &call, int band, int mode, AwardIndex award = AwardDXCC)
    {
        SpotInfo spot;
        spot.call = call;
        spot.band = band;
        spot.mode = mode;
        spot.date = Today;
        spot.country = resolver.CountryOfCall(call, Today);
        return NeedClass(model, log.get(), spot, award);
    }
};

TEST_F(AwardQueryTest, NeedClassesOfSpots)
{
    // 40m (band 3) is a DXCC band award; 20m (band 5) counts but is not a separate award.
    Add({.call = "DL1ABC", .band = 3, .mode = 4, .confirmed = true});
    Add({.call = "DL2XYZ", .band = 7, .mode = 4});
    Add({.call = "JA1ABC", .band = 5, .mode = 4});

    EXPECT_EQ(Need("VK2ABC", 5, 4), ncNewCountry);
    EXPECT_EQ(Need("DL5AA", 5, 14), ncNewMode) << "Germany was never worked in phone";
    EXPECT_EQ(Need("DL1ABC", 3, 13), ncNewMode) << "nor in digital modes";
    EXPECT_EQ(Need("DL1ABC", 3, 4), ncNoInterest) << "this call on this band and mode group is in the log";
    EXPECT_EQ(Need("JA1ABC", 5, 4), ncNoInterest) << "whatever the confirmation";
    EXPECT_EQ(Need("DL5AA", 3, 4), ncNothingSpecial) << "another call, confirmed on the band";
    EXPECT_EQ(Need("DL5AA", 7, 4), ncNotConfirmed) << "another call, only worked on the band";
    EXPECT_EQ(Need("DL5AA", 1, 4), ncNewBandMode) << "160m is a band award Germany lacks";
    EXPECT_EQ(Need("JA2XX", 7, 4), ncNotConfirmed) << "15m is no separate award: rule 1 holds on the mode";

    config.Packet_EndorsedBM = 3; // held only when the band's cell of the group is worked
    EXPECT_EQ(Need("JA2XX", 7, 4), ncNewBandMode);
    config.Packet_EndorsedBM = 0; // always held
    EXPECT_EQ(Need("DL5AA", 1, 4), ncNotConfirmed);
    config.Packet_EndorsedBM = 2; // band and mode group each worked somewhere
    EXPECT_EQ(Need("DL5AA", 1, 4), ncNewBandMode);
}

TEST_F(AwardQueryTest, NeedClassOfBandsModesAndUnknownEntities)
{
    Add({.call = "DL1ABC", .confirmed = true});
    EXPECT_EQ(Need("VK2ABC", 4, 4), ncNoInterest) << "30m does not count for DXCC";
    config.StationBands[5] = false;
    EXPECT_EQ(Need("VK2ABC", 5, 4), ncNoInterest) << "a band the station does not use";
    config.StationBands[5] = true;
    EXPECT_EQ(Need("VK2ABC", 5, 0), ncNewCountry) << "no mode: the mixed award counts it";
    EXPECT_EQ(Need("DL5AA", 5, 0), ncNothingSpecial);
    EXPECT_EQ(Need("QQ0QQQ", 5, 4), ncNothingSpecial) << "a call of no country";
    EXPECT_EQ(NeedClass(model, nullptr, {"VK2ABC", 1, 5, 4, Today}, AwardDXCC), ncNothingSpecial) << "no log open";

    model.AlwaysAlert = [](std::string_view call) { return call == "VK2ABC"; };
    EXPECT_EQ(Need("VK2ABC", 4, 4), ncNewCountry) << "the always-alert list wins";

    // WAZ judges the zone of the call, WPX its prefix (a new prefix against an empty block).
    EXPECT_EQ(Need("DK7ZZ", 5, 4, AwardWAZ), ncNothingSpecial);
    EXPECT_EQ(Need("JA1ABC", 5, 4, AwardWAZ), ncNewCountry);
    EXPECT_EQ(Need("DL1XYZ", 5, 4, AwardWPX), ncNothingSpecial);
    EXPECT_EQ(Need("DL7XYZ", 5, 4, AwardWPX), ncNewCountry);
}

TEST_F(AwardQueryTest, ContributesTo)
{
    TQsoRec *worked = Add({.call = "DL1ABC", .band = 3});
    for (auto level : {AwardLevel::Mixed, AwardLevel::Mode, AwardLevel::Band})
        EXPECT_TRUE(ContributesTo(model, *log, *worked, AwardDXCC, level)) << AwardLevelNames[int(level)];
    TQsoRec *on20 = Add({.call = "DL1ABC", .band = 5});
    EXPECT_FALSE(ContributesTo(model, *log, *on20, AwardDXCC, AwardLevel::Band)) << "20m is no band award";

    Add({.call = "DL2XYZ", .band = 7, .confirmed = true, .awdFlags = 0x00000004});
    EXPECT_FALSE(ContributesTo(model, *log, *worked, AwardDXCC, AwardLevel::Mixed)) << "mixed is submitted";
    EXPECT_TRUE(ContributesTo(model, *log, *worked, AwardDXCC, AwardLevel::Mode));

    config.AwardSetup[AwardDXCC].ModeAwards = false;
    EXPECT_FALSE(ContributesTo(model, *log, *worked, AwardDXCC, AwardLevel::Mode)) << "level not enabled";
    TQsoRec *unknown = Add({.call = "QQ0QQQ"});
    EXPECT_FALSE(ContributesTo(model, *log, *unknown, AwardDXCC, AwardLevel::Mixed));
    EXPECT_TRUE(ContributesTo(model, *log, *worked, AwardWPX, AwardLevel::Mixed));
    EXPECT_FALSE(ContributesTo(model, *log, *worked, AwardWAS, AwardLevel::Mixed)) << "no state";
}

TEST_F(AwardQueryTest, ItemBlocks)
{
    auto add = [this](QsoSpec spec, const std::string &iota, const std::string &grid) {
        auto rec = std::make_unique<TQsoRec>(Make(spec));
        rec->Iota = iota;
        rec->Grid = grid;
        rec->County = 12;
        log->AddQso(std::move(rec));
    };
    add({.call = "G3ABC", .band = 5, .mode = 4, .confirmed = true, .awdFlags = 0x00100000}, "EU005", "");
    add({.call = "G3ABD", .band = 5, .mode = 14}, "EU005", "");
    add({.call = "G3ABE", .band = 7, .mode = 14, .rstRcvd = 0}, "EU005", "");
    add({.call = "G3ABF", .band = 9, .mode = 13, .group = 3}, "EU005", "");
    add({.call = "K1ABG", .band = 10, .mode = 14, .confirmed = true, .state = "CT"}, "", "JO62");
    add({.call = "G3ABH", .band = 5, .mode = 14, .confirmed = true}, "", "JO62");

    TSelection noGroup3 = AllQsosSelection();
    noGroup3.GroupActive = 1;
    for (int g = 0; g < 3; ++g)
        noGroup3.SetGroup(g, true);
    log->Selections.push_back(noGroup3);
    SetCurrentSelection(*log, 1);

    TStatusBlockBytes iotaBytes = ItemStatusBlock(model, *log, {ItemKind::Iota, "EU005"});
    TConstStatusBlock iota(iotaBytes);
    EXPECT_EQ(iota.Cell(BandCell(5, mgCW)).Best, asSubmitted);
    EXPECT_EQ(iota.Cell(BandCell(5, mgPhone)).Best, asSubmitted) << "the group-1 cell carries the band's best";
    EXPECT_EQ(iota.Cell(BandCell(5, mgPhone)).Count, 1) << "with its own count";
    EXPECT_EQ(iota.Best(BandCell(7, mgPhone)), asNotWorked) << "empty report";
    EXPECT_EQ(iota.Best(BandCell(9, mgDigital)), asNotWorked) << "outside the selection";
    EXPECT_EQ(iota.Best(0), 0) << "item blocks fill band cells only";

    TStatusBlockBytes gridBytes = ItemStatusBlock(model, *log, {ItemKind::Grid, "JO"});
    EXPECT_EQ(TConstStatusBlock(gridBytes).Best(BandCell(10, mgPhone)), asConfirmed);
    EXPECT_EQ(TConstStatusBlock(gridBytes).Best(BandCell(5, mgPhone)), asNotWorked) << "grids count from 6m up";

    ItemKey county{ItemKind::County, "", static_cast<std::uint8_t>(countries.StateIndex("CT")), 12};
    TStatusBlockBytes countyBytes = ItemStatusBlock(model, *log, county);
    EXPECT_EQ(TConstStatusBlock(countyBytes).Best(BandCell(10, mgPhone)), asConfirmed);

    config.StationBands[10] = false;
    countyBytes = ItemStatusBlock(model, *log, county);
    EXPECT_EQ(TConstStatusBlock(countyBytes).Best(BandCell(10, mgPhone)), asNotWorked);
}

TEST_F(AwardQueryTest, StandingCountsEntitiesAtEachLevel)
{
    Add({.call = "DL1ABC", .band = 3, .confirmed = true});
    Add({.call = "JA1ABC", .band = 3, .mode = 14});
    Add({.call = "VK2ABC", .band = 5, .confirmed = true, .awdFlags = 0x00000004});
    model.EnsureAwardTables(*log);
    AwardStanding dxcc = CountStanding(model, *log, AwardDXCC);
    EXPECT_EQ(dxcc.entities, countries.CountryCount() - 1);
    EXPECT_EQ(dxcc.mixed[asConfirmed], 1);
    EXPECT_EQ(dxcc.mixed[asSubmitted], 1);
    EXPECT_EQ(dxcc.mixed[asWorked], 1);
    EXPECT_EQ(dxcc.groups[mgCW][asConfirmed], 2);
    EXPECT_EQ(dxcc.groups[mgPhone][asWorked], 1);
    EXPECT_EQ(dxcc.bandsInGroup[mgCW][3][asConfirmed], 1);
    EXPECT_EQ(dxcc.bandsInGroup[mgPhone][3][asWorked], 1);
    EXPECT_EQ(dxcc.bandsInGroup[mgCW][5][asConfirmed], 1);
    AwardStanding waz = CountStanding(model, *log, AwardWAZ);
    EXPECT_EQ(waz.entities, 40);
    EXPECT_EQ(waz.mixed[asNotWorked], 37);
}

} // namespace
} // namespace vellum::test
