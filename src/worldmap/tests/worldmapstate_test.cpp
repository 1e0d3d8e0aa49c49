// The map window's rules without widgets: the propagation window, the clock's
// redraw rule, the options and the panel, the settings in the configuration,
// the read-out, and what a drawing shows.

#include "worldmap/mapgeometry.h"
#include "worldmap/worldmapstate.h"

#include "config/configrecord.h"
#include "logstore/daytime.h"

#include <gtest/gtest.h>

namespace vellum::worldmap {
namespace {

const std::uint16_t Day = *DayNumber(2024, 6, 1);

TEST(Propagation, WindowOfMinutesOnABand)
{
    int now = 12 * 60;
    std::vector<SpotMark> spots = {{230, 5, Day, now - 19}, {281, 5, Day, now - 21}, {150, 7, Day, now - 5},
                                   {230, 5, Day, now - 2},  {0, 5, Day, now - 1}};
    EXPECT_EQ(PropagationCountries(spots, 0, Day, now, 20), (std::vector<std::int16_t>{230, 150}));
    EXPECT_EQ(PropagationCountries(spots, 7, Day, now, 20), (std::vector<std::int16_t>{150}));
    EXPECT_EQ(PropagationCountries(spots, 0, Day, now, 30), (std::vector<std::int16_t>{230, 281, 150}));
    // A spot after the map's time (the user set the panel back) is not drawn.
    EXPECT_TRUE(PropagationCountries(spots, 0, Day, now - 30, 5).empty());
}

TEST(Propagation, WindowReachesIntoThePreviousDay)
{
    std::vector<SpotMark> spots = {{1, 0, static_cast<std::uint16_t>(Day - 1), 23 * 60 + 50},
                                   {2, 0, static_cast<std::uint16_t>(Day - 1), 23 * 60 + 49},
                                   {3, 0, Day, 5}};
    EXPECT_EQ(PropagationCountries(spots, 0, Day, 10, 20), (std::vector<std::int16_t>{1, 3}));
}

TEST(RedrawRule, MinuteOrDayWithUpdateDayAndNight)
{
    DrawStamp stamp{Day, 600};
    EXPECT_FALSE(stamp.RedrawDue(Day, 600, true, true));
    EXPECT_TRUE(stamp.RedrawDue(Day, 601, false, true));
    EXPECT_FALSE(stamp.RedrawDue(Day + 1, 600, false, true));
    EXPECT_TRUE(stamp.RedrawDue(Day + 1, 600, true, true));
    EXPECT_FALSE(stamp.RedrawDue(Day + 1, 600, true, false)); // not shown yet
}

TEST(MapOptions, RulesBetweenOptionsAndThePanel)
{
    WorldMapState state;
    state.SetOption(MapOption::DayAndNight, true);
    EXPECT_TRUE(state.updateEnabled);
    EXPECT_TRUE(state.PanelVisible());
    state.SetOption(MapOption::UpdateDayAndNight, true);
    EXPECT_FALSE(state.PanelVisible()); // day and night follow the clock
    state.SetPropagation(true);
    EXPECT_FALSE(state.Option(MapOption::UpdateDayAndNight));
    EXPECT_EQ(state.propagationMinutes, 20);
    EXPECT_EQ(state.propagationBand, 0);
    EXPECT_TRUE(state.PropagationLayerVisible());
    state.SetOption(MapOption::UpdateDayAndNight, true);
    EXPECT_FALSE(state.propagation);
    state.SetOption(MapOption::DayAndNight, false);
    EXPECT_FALSE(state.Option(MapOption::UpdateDayAndNight));
    EXPECT_FALSE(state.updateEnabled);
    EXPECT_FALSE(state.PanelVisible());
}

TEST(MapOptions, DateAndTimeMovesCarryIntoTheDate)
{
    WorldMapState state;
    state.mapDay = Day;
    state.mapMinute = 23 * 60 + 57;
    state.MoveDateTime(0, 5);
    EXPECT_EQ(state.mapDay, Day + 1);
    EXPECT_EQ(state.mapMinute, 2);
    state.MoveDateTime(0, -5);
    EXPECT_EQ(state.mapDay, Day);
    EXPECT_EQ(state.mapMinute, 23 * 60 + 57);
    state.MoveDateTime(-1, 0);
    EXPECT_EQ(state.mapDay, Day - 1);
}

TEST(MapSettings, KeptInTheConfiguration)
{
    TConfigRecord config = BuiltInConfig();
    MapSettings fresh = MapSettings::FromConfig(config);
    EXPECT_FALSE(fresh.projection);
    EXPECT_FALSE(fresh.view);
    EXPECT_EQ(fresh.water, DefaultWater);
    EXPECT_TRUE(fresh.layers[0]);
    EXPECT_FALSE(fresh.layers[5]);
    MapSettings settings = fresh;
    settings.projection = ProjectionKind::Sinusoidal;
    settings.view = MapView{{-100, 40}, 2.8};
    settings.land = 0x123456;
    settings.layers[1] = false;
    settings.options[static_cast<std::size_t>(MapOption::GridInFront)] = true;
    settings.Store(config);
    EXPECT_EQ(config.Projection, 7);
    MapSettings read = MapSettings::FromConfig(config);
    EXPECT_EQ(read.projection, ProjectionKind::Sinusoidal);
    ASSERT_TRUE(read.view);
    EXPECT_NEAR(read.view->centre.lon, -100, 1e-6);
    EXPECT_DOUBLE_EQ(read.view->zoom, 2.8);
    EXPECT_EQ(read.land, 0x123456u);
    EXPECT_FALSE(read.layers[1]);
    EXPECT_TRUE(read.options[static_cast<std::size_t>(MapOption::GridInFront)]);
}

TEST(Readout, TitlePositionDistanceAndBearing)
{
    LonLat home{13.40, 52.52};
    EXPECT_EQ(ReadoutText("France", {2.35, 48.86}, home, false),
              "France 48\xB0" "52'N 2\xB0" "21'E, Dist = 877 Km, 247 degrees");
    EXPECT_EQ(ReadoutText("", {-0.5, -10.25}, {-0.5, 0}, true), "10\xB0" "15'S 0\xB0" "30'W, Dist = 708 Mi, 180 degrees");
}

TEST(Graticule, EquidistantRingsEveryThousandMilesOrTwoThousandKm)
{
    LonLat home{13.4, 52.5};
    auto miles = GraticuleLines(ProjectionKind::EquiDistant, home, true);
    double firstRingKm = ArcRadians(home, miles.front().front()) * 6371.0;
    EXPECT_NEAR(firstRingKm / 1.609344, 1000, 1.5);
    auto km = GraticuleLines(ProjectionKind::EquiDistant, home, false);
    EXPECT_NEAR(ArcRadians(home, km.front().front()) * 6371.0, 2000, 1.5);
    // Nine rings of 2000 km and 24 lines of bearing.
    EXPECT_EQ(km.size(), 10u + 24u);
}

TEST(Scene, GreatCirclePropagationAndNight)
{
    WorldMapState state;
    state.home = {13.4, 52.5};
    state.targetKey = "FN20";
    state.target = {-75, 40.5};
    state.mapDay = Day;
    state.mapMinute = 600;
    state.SetOption(MapOption::DayAndNight, true);
    MapScene scene = state.Scene(nullptr, {}, 1200, {{139.7, 35.7}});
    ASSERT_EQ(scene.lines.size(), 2u); // no propagation without "Propagation"
    EXPECT_EQ(scene.lines[0].color, Red);
    EXPECT_EQ(scene.lines[0].width, 2);
    EXPECT_EQ(scene.lines[1].color, Black);
    ASSERT_EQ(scene.labels.size(), 1u);
    EXPECT_EQ(scene.labels[0].text, " FN20 ");
    ASSERT_TRUE(scene.subsolar);
    EXPECT_NEAR(scene.subsolar->lat, 22.0, 0.3);
    state.SetPropagation(true);
    scene = state.Scene(nullptr, {}, 800, {{139.7, 35.7}});
    ASSERT_EQ(scene.lines.size(), 3u);
    EXPECT_EQ(scene.lines[2].width, 1);
    EXPECT_EQ(scene.lines[0].width, 1); // a narrow window draws thin lines
    state.targetKey.clear();
    EXPECT_EQ(state.Scene(nullptr, {}, 800, {}).lines.size(), 0u);
}

} // namespace
} // namespace vellum::worldmap
