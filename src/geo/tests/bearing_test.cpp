#include "geo/bearing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vellum {
namespace {

TEST(Grid, ChecksFormatsAndCentres)
{
    EXPECT_TRUE(ValidGrid("JO62"));
    EXPECT_TRUE(ValidGrid("jo62qm"));
    EXPECT_TRUE(ValidGrid("RR99XX"));
    EXPECT_TRUE(ValidGrid("AA"));
    EXPECT_FALSE(ValidGrid("SA00"));
    EXPECT_FALSE(ValidGrid("JO6"));
    EXPECT_FALSE(ValidGrid("JO62QY"));
    EXPECT_FALSE(ValidGrid("J062"));
    EXPECT_EQ(FormatGrid("jo62QM"), "JO62qm");
    auto centre = GridCentre("JO62");
    ASSERT_TRUE(centre);
    EXPECT_DOUBLE_EQ(centre->longitude, 13.0);
    EXPECT_DOUBLE_EQ(centre->latitude, 52.5);
    auto fine = GridCentre("JO62QM");
    ASSERT_TRUE(fine);
    EXPECT_NEAR(fine->longitude, 13.375, 1e-9);
    EXPECT_NEAR(fine->latitude, 52.5208, 1e-3);
    EXPECT_FALSE(GridCentre("JO")) << "2-character grids give no point";
    auto north = GridCentre("AR09XX");
    ASSERT_TRUE(north);
    EXPECT_LT(north->latitude, 90.0) << "latitude 90 stays inside the last square";
}

TEST(GreatCircle, BearingsAndDistancesOfKnownPaths)
{
    GeoPoint berlin{52.52, 13.405};
    GeoPoint newYork{40.71, -74.01};
    auto r = GreatCircle(berlin, newYork);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->bearing, 296);
    EXPECT_NEAR(r->distanceKm, 6385, 10);
    auto same = GreatCircle(berlin, berlin);
    ASSERT_TRUE(same);
    EXPECT_NEAR(same->distanceKm, 0, 1e-3);
    auto antipode = GreatCircle({0, 0}, {0, 180});
    ASSERT_TRUE(antipode);
    EXPECT_NEAR(antipode->distanceKm, 20015, 1);
    auto south = GreatCircle({10, 20}, {-10, 20});
    ASSERT_TRUE(south);
    EXPECT_EQ(south->bearing, 180);
    auto east = GreatCircle({0, 0}, {0, 10});
    ASSERT_TRUE(east);
    EXPECT_EQ(east->bearing, 90);
    EXPECT_FALSE(GreatCircle({std::numeric_limits<double>::quiet_NaN(), 0}, {0, 0}));
    EXPECT_EQ(DirDistText("JO62", *r, false), "JO62: 296\xB0 6,385Km");
    EXPECT_EQ(DirDistText("K", {10, 1000.4}, true), "K: 10\xB0 621Mi");
}

TEST(Grid, LocatorOfAPosition)
{
    EXPECT_EQ(LatLongToGrid(0, 0), "JJ00aa");
    EXPECT_EQ(LatLongToGrid(52.52, 13.40), "JO62qm");
    EXPECT_EQ(LatLongToGrid(-33.87, 151.21), "QF56od");
    EXPECT_EQ(LatLongToGrid(10, 180)[0], 'A');
    EXPECT_EQ(LatLongToGrid(10, 180), LatLongToGrid(10, -180));
    // The poles stay inside the locator field system.
    EXPECT_EQ(LatLongToGrid(90, 0).substr(0, 2), "JR");
    EXPECT_EQ(LatLongToGrid(-90, 0).substr(0, 2), "JA");
    for (double bad : {std::nan(""), HUGE_VAL, 91.0})
        EXPECT_EQ(LatLongToGrid(bad, 0), "");
    // Every locator's centre gives the locator back.
    for (const char *grid : {"JO62qm", "FN31pr", "AA00aa", "RR99xx"})
        EXPECT_EQ(LatLongToGrid(GridCentre(grid)->latitude, GridCentre(grid)->longitude), grid);
}

} // namespace
} // namespace vellum

namespace vellum {
namespace {

TEST(GreatCircle, DueWestAndTheReciprocal)
{
    auto west = GreatCircle({0, 10}, {0, 0});
    ASSERT_TRUE(west);
    EXPECT_EQ(west->bearing, 270) << "due west along the equator";
    auto northWest = GreatCircle({40, 10}, {40, -80});
    ASSERT_TRUE(northWest);
    EXPECT_GT(northWest->bearing, 270);
    EXPECT_EQ(GreatCircle({0, 0}, {10, 0})->bearing, 0);
    GeoPoint berlin{52.52, 13.405}, newYork{40.71, -74.01};
    auto reciprocal = BearingDistanceOf(berlin, newYork, false);
    ASSERT_TRUE(reciprocal);
    EXPECT_EQ(reciprocal->bearing, GreatCircle(newYork, berlin)->bearing);
    EXPECT_NEAR(reciprocal->distanceKm, 6385, 10);
    EXPECT_EQ(BearingDistanceOf(berlin, newYork, true)->bearing, 296);
    // Across the date line the short way is taken.
    auto overDateLine = GreatCircle({0, 179}, {0, -179});
    ASSERT_TRUE(overDateLine);
    EXPECT_EQ(overDateLine->bearing, 90);
    EXPECT_NEAR(overDateLine->distanceKm, 222.4, 0.5);
}

TEST(Grid, PositionsOfLocatorsAtThePolesAndTheDateLine)
{
    auto field = GridToLatLong("JO");
    ASSERT_TRUE(field);
    EXPECT_DOUBLE_EQ(field->longitude, 10.0);
    EXPECT_DOUBLE_EQ(field->latitude, 55.0);
    EXPECT_DOUBLE_EQ(GridToLatLong("JO62qm")->latitude, GridCentre("JO62qm")->latitude);
    EXPECT_FALSE(GridToLatLong("JO6"));
    EXPECT_FALSE(GridToLatLong("ZZ"));
    EXPECT_EQ(LatLongToGrid(90, 180), "AR09ax");
    EXPECT_EQ(LatLongToGrid(-90, -180), "AA00aa");
    EXPECT_EQ(LatLongToGrid(89.999, 179.999), "RR99xx");
    EXPECT_EQ(LatLongToGrid(90, 179.999), "RR99xx");
}

} // namespace
} // namespace vellum
