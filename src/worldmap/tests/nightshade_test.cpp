// Day and night: the sun's declination at the equinoxes and solstices, where
// it stands at noon, and the shading of the map on those days.

#include "worldmap/nightshade.h"

#include <gtest/gtest.h>

namespace vellum::worldmap {
namespace {

TEST(NightShade, DeclinationAtEquinoxesAndSolstices)
{
    // 2024: equinox 20 March 03:06, solstice 20 June 20:51, equinox 22 September 12:44,
    // solstice 21 December 09:20 (UTC).
    EXPECT_NEAR(SubsolarPoint(2024, 3, 20, 3 * 60 + 6).lat, 0.0, 0.05);
    EXPECT_NEAR(SubsolarPoint(2024, 6, 20, 20 * 60 + 51).lat, 23.44, 0.05);
    EXPECT_NEAR(SubsolarPoint(2024, 9, 22, 12 * 60 + 44).lat, 0.0, 0.05);
    EXPECT_NEAR(SubsolarPoint(2024, 12, 21, 9 * 60 + 20).lat, -23.44, 0.05);
    // A day before the June solstice the sun stands a little lower.
    EXPECT_LT(SubsolarPoint(2024, 6, 10, 0).lat, 23.2);
}

TEST(NightShade, SunCrossesTheMeridianNearNoon)
{
    // The equation of time: the sun is over Greenwich about 7 minutes after 12:00 UTC
    // on 20 March, and about 14 minutes before it on 3 November.
    EXPECT_NEAR(SubsolarPoint(2024, 3, 20, 12 * 60 + 7).lon, 0.0, 0.3);
    EXPECT_NEAR(SubsolarPoint(2024, 11, 3, 12 * 60 - 16).lon, 0.0, 0.3);
    EXPECT_NEAR(SubsolarPoint(2024, 3, 20, 0).lon, -180.0 + 1.9, 0.5);
}

TEST(NightShade, ElevationAndLevels)
{
    LonLat sun{0, 0};
    EXPECT_NEAR(SunElevation(sun, {0, 0}), 90, 1e-9);
    EXPECT_NEAR(SunElevation(sun, {90, 0}), 0, 1e-9);
    EXPECT_NEAR(SunElevation(sun, {180, 0}), -90, 1e-9);
    EXPECT_EQ(NightLevel(10), 0);
    EXPECT_EQ(NightLevel(-6), 255);
    EXPECT_EQ(NightLevel(-30), 255);
    EXPECT_GT(NightLevel(-3), 100);
    EXPECT_LT(NightLevel(-3), 155);
}

std::uint8_t levelAt(const NightMask &mask, const MapProjection &projection, LonLat position)
{
    auto screen = projection.Forward(position);
    EXPECT_TRUE(screen);
    int column = static_cast<int>(std::lround(screen->x / mask.Step()));
    int row = static_cast<int>(std::lround(screen->y / mask.Step()));
    return mask.At(std::clamp(column, 0, mask.Columns() - 1), std::clamp(row, 0, mask.Rows() - 1));
}

TEST(NightShade, PolesAtTheSolstices)
{
    MapProjection map(ProjectionKind::Cartesian, {{0, 0}, 1.0}, 720, 360);
    LonLat june = SubsolarPoint(2024, 6, 20, 20 * 60 + 51);
    NightMask juneMask(map, june, 4);
    EXPECT_EQ(levelAt(juneMask, map, {0, 80}), 0);      // the midnight sun
    EXPECT_EQ(levelAt(juneMask, map, {0, -80}), 255);   // the polar night
    // The arctic circle at local midnight sees the sun on the horizon.
    double arcticCircle = 90 - june.lat;
    EXPECT_NEAR(SunElevation(june, {june.lon + 180, arcticCircle}), 0, 0.01);
    LonLat december = SubsolarPoint(2024, 12, 21, 9 * 60 + 20);
    NightMask decemberMask(map, december, 4);
    EXPECT_EQ(levelAt(decemberMask, map, {0, 80}), 255);
    EXPECT_EQ(levelAt(decemberMask, map, {0, -80}), 0);
}

TEST(NightShade, EquinoxSplitsTheEquatorInHalves)
{
    MapProjection map(ProjectionKind::Cartesian, {{0, 0}, 1.0}, 720, 360);
    LonLat sun = SubsolarPoint(2024, 3, 20, 3 * 60 + 6);
    NightMask mask(map, sun, 2);
    EXPECT_EQ(levelAt(mask, map, {WrapLongitude(sun.lon), 0}), 0);
    EXPECT_EQ(levelAt(mask, map, {WrapLongitude(sun.lon + 180), 0}), 255);
    EXPECT_EQ(levelAt(mask, map, {WrapLongitude(sun.lon + 80), 60}), 0);
    EXPECT_EQ(levelAt(mask, map, {WrapLongitude(sun.lon + 120), -60}), 255);
    // Both poles lie on the terminator: neither fully lit nor fully dark on the terminator line.
    EXPECT_NEAR(SunElevation(sun, {0, 90}), 0, 0.05);
    EXPECT_NEAR(SunElevation(sun, {0, -90}), 0, 0.05);
}

TEST(NightShade, OffTheGlobeIsNotShaded)
{
    MapProjection globe(ProjectionKind::Spherical, {{0, 0}, 1.0}, 400, 400);
    NightMask mask(globe, {180, 0}, 4); // the whole visible side in night
    EXPECT_EQ(mask.At(0, 0), 0);        // the corner lies off the globe
    EXPECT_EQ(mask.At(mask.Columns() / 2, mask.Rows() / 2), 255);
}

} // namespace
} // namespace vellum::worldmap
