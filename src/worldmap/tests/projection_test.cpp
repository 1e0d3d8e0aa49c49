// The projections: screen to position and back for each, the equidistant
// projection's distances against the great circle, what is hidden, the stored
// view, and the screen paths cut at the map's edges.

#include "worldmap/mapgeometry.h"
#include "worldmap/projection.h"

#include "geo/bearing.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vellum::worldmap {
namespace {

constexpr double Width = 1920, Height = 1080;

std::vector<ProjectionKind> allKinds()
{
    std::vector<ProjectionKind> kinds;
    for (int n = 1; n <= ProjectionCount; ++n)
        kinds.push_back(*ProjectionFromNumber(n));
    return kinds;
}

TEST(Projection, NamesAndNumbers)
{
    EXPECT_EQ(ProjectionName(ProjectionKind::Spherical), "Spherical");
    EXPECT_EQ(ProjectionName(ProjectionKind::EquiDistant), "Equi-Distant");
    EXPECT_EQ(ProjectionName(ProjectionKind::Sinusoidal), "Sinusoidal");
    EXPECT_FALSE(ProjectionFromNumber(0));
    EXPECT_FALSE(ProjectionFromNumber(255));
    EXPECT_EQ(ProjectionFromNumber(6), ProjectionKind::AlbersEqualArea);
}

TEST(Projection, MapUnits)
{
    EXPECT_EQ(ToMapUnits(1.0), 5'400'000);
    EXPECT_EQ(ToMapUnits(-180.0), -972'000'000);
    EXPECT_NEAR(UnitsPerRadian, UnitsPerDegree * 180 / std::numbers::pi, 0.01);
}

TEST(Projection, PositionToScreenAndBackForEveryProjection)
{
    MapView view{{13.4, 52.5}, 1.0};
    for (ProjectionKind kind : allKinds()) {
        MapProjection projection(kind, view, Width, Height);
        int tried = 0;
        for (double lat = -80; lat <= 80; lat += 10)
            for (double lon = -175; lon <= 175; lon += 12.5) {
                auto screen = projection.Forward({lon, lat});
                if (!screen)
                    continue; // the back of the globe
                ++tried;
                auto back = projection.Inverse(*screen);
                ASSERT_TRUE(back) << ProjectionName(kind) << " " << lon << "," << lat;
                EXPECT_NEAR(back->lat, lat, 1e-6) << ProjectionName(kind);
                EXPECT_NEAR(WrapLongitude(back->lon - lon), 0, 1e-6) << ProjectionName(kind) << " at " << lat;
            }
        EXPECT_GT(tried, 150) << ProjectionName(kind);
    }
}

TEST(Projection, ScreenToPositionAndBackForEveryProjection)
{
    MapView view{{-100, 40}, 1.3};
    for (ProjectionKind kind : allKinds()) {
        MapProjection projection(kind, view, Width, Height);
        int onMap = 0;
        for (double x = 0; x <= Width; x += 60)
            for (double y = 0; y <= Height; y += 60) {
                auto position = projection.Inverse({x, y});
                if (!position)
                    continue;
                ++onMap;
                auto screen = projection.Forward(*position);
                ASSERT_TRUE(screen) << ProjectionName(kind) << " " << x << "," << y;
                EXPECT_NEAR(screen->x, x, 1e-5) << ProjectionName(kind);
                EXPECT_NEAR(screen->y, y, 1e-5) << ProjectionName(kind);
            }
        EXPECT_GT(onMap, 100) << ProjectionName(kind);
    }
}

TEST(Projection, OffTheMapIsNothing)
{
    MapProjection globe(ProjectionKind::Spherical, {{0, 0}, 1.0}, Width, Height);
    EXPECT_FALSE(globe.Forward({180, 0}));    // the far side
    EXPECT_FALSE(globe.Inverse({0, 0}));      // the corner, outside the disc
    EXPECT_FALSE(globe.Forward({NAN, 0}));
    MapProjection mercator(ProjectionKind::Mercator, {{0, 0}, 1.0}, Width, Height);
    EXPECT_FALSE(mercator.Forward({0, 89}));  // beyond its latitude limit
}

TEST(Projection, EquidistantDistancesFromTheCentreAreGreatCircleDistances)
{
    LonLat home{13.4, 52.5};
    MapProjection projection(ProjectionKind::EquiDistant, {home, 1.0}, Width, Height);
    auto centre = projection.Forward(home);
    ASSERT_TRUE(centre);
    EXPECT_NEAR(centre->x, Width / 2, 1e-9);
    EXPECT_NEAR(centre->y, Height / 2, 1e-9);
    for (LonLat target : {LonLat{-77.04, 38.9}, LonLat{139.7, 35.7}, LonLat{151.2, -33.9}, LonLat{-58.4, -34.6},
                          LonLat{13.4, -52.5}, LonLat{-166.6, -52.4}}) {
        auto screen = projection.Forward(target);
        ASSERT_TRUE(screen);
        double radians = std::hypot(screen->x - centre->x, screen->y - centre->y) / projection.Scale();
        auto expected = GreatCircle({home.lat, home.lon}, {target.lat, target.lon});
        ASSERT_TRUE(expected);
        EXPECT_NEAR(radians * 6371.0, expected->distanceKm, 0.5) << target.lon << "," << target.lat;
        // The direction on the map is the bearing: north up, east to the right.
        double bearing = std::atan2(screen->x - centre->x, centre->y - screen->y) * RadToDeg;
        EXPECT_NEAR(std::remainder(bearing - expected->bearing, 360.0), 0, 0.51);
    }
}

TEST(Projection, EquidistantAntipodeLiesOnTheOutline)
{
    LonLat home{-100, 40};
    MapProjection projection(ProjectionKind::EquiDistant, {home, 1.0}, Width, Height);
    auto antipode = projection.Forward({80, -40});
    ASSERT_TRUE(antipode);
    EXPECT_NEAR(std::hypot(antipode->x - Width / 2, antipode->y - Height / 2) / projection.Scale(), std::numbers::pi,
                1e-6);
}

TEST(Projection, ViewIsStoredInItsThirtyTwoBytes)
{
    MapView view{{-122.25, 37.5}, 2.744, 15, -40};
    auto restored = RestoreView(StoreView(view));
    ASSERT_TRUE(restored);
    EXPECT_NEAR(restored->centre.lon, -122.25, 1e-6);
    EXPECT_NEAR(restored->centre.lat, 37.5, 1e-6);
    EXPECT_DOUBLE_EQ(restored->zoom, 2.744);
    EXPECT_EQ(restored->panX, 15);
    EXPECT_EQ(restored->panY, -40);
    EXPECT_FALSE(RestoreView({})); // a configuration that never stored a view
    auto damaged = StoreView(view);
    damaged[8] = damaged[9] = damaged[10] = damaged[11] = damaged[12] = damaged[13] = damaged[14] = 0xFF;
    damaged[15] = 0x7F; // the zoom a NaN
    EXPECT_FALSE(RestoreView(damaged));
}

// --- screen paths ---------------------------------------------------------------------

double pathWidth(const ScreenPath &path)
{
    double low = 1e18, high = -1e18;
    for (ScreenPoint p : path)
        low = std::min(low, p.x), high = std::max(high, p.x);
    return high - low;
}

TEST(MapGeometry, PolygonAcrossTheMapEdgeIsCutIntoBothSides)
{
    // A square from 170 E to 190 E seen with the edge at 180: one piece at each side.
    std::vector<LonLat> square = {{170, -10}, {179.9, -10}, {179.9, 10}, {170, 10}};
    MapProjection projection(ProjectionKind::Cartesian, {{0, 0}, 1.0}, Width, Height);
    std::vector<ScreenPath> paths;
    GeometryProjector(projection).Polygon(square, paths);
    ASSERT_EQ(paths.size(), 1u);
    // Centred on 175 E, the square lies in the middle; centred on -5 it is split at the edge.
    MapProjection shifted(ProjectionKind::Cartesian, {{-5, 0}, 1.0}, Width, Height);
    paths.clear();
    GeometryProjector(shifted).Polygon(square, paths);
    ASSERT_EQ(paths.size(), 2u);
    for (const ScreenPath &path : paths)
        EXPECT_LT(pathWidth(path), Width / 2) << "a piece spans the map instead of ending at its edge";
}

TEST(MapGeometry, GlobeCullsTheBackAndClosesAlongTheRim)
{
    MapProjection globe(ProjectionKind::Spherical, {{0, 0}, 1.0}, Width, Height);
    GeometryProjector projector(globe);
    std::vector<ScreenPath> paths;
    projector.Polygon(std::vector<LonLat>{{150, -10}, {170, -10}, {170, 10}, {150, 10}}, paths);
    EXPECT_TRUE(paths.empty()); // wholly on the back
    // Half in front: every point of the piece lies on or inside the rim.
    projector.Polygon(std::vector<LonLat>{{60, -20}, {120, -20}, {120, 20}, {60, 20}}, paths);
    ASSERT_EQ(paths.size(), 1u);
    for (ScreenPoint p : paths[0])
        EXPECT_LE(std::hypot(p.x - Width / 2, p.y - Height / 2), globe.Scale() + 1e-6);
}

TEST(MapGeometry, AzimuthalPathsLieWhereTheProjectionPutsTheirPoints)
{
    std::vector<LonLat> ring = {{-20, 40}, {30, 40}, {30, 70}, {-20, 70}};
    for (ProjectionKind kind : {ProjectionKind::Spherical, ProjectionKind::EquiDistant})
        for (LonLat centre : {LonLat{10, 50}, LonLat{-120, 90}, LonLat{60, -30}}) {
            MapProjection projection(kind, {centre, 1.0}, Width, Height);
            std::vector<ScreenPath> paths;
            GeometryProjector(projection).Polygon(ring, paths);
            ASSERT_FALSE(paths.empty()) << ProjectionName(kind);
            for (LonLat corner : ring) {
                auto expected = projection.Forward(corner);
                if (!expected || (kind == ProjectionKind::Spherical &&
                                  Dot(ToVector(corner), ToVector(centre)) < 0.05))
                    continue;
                double nearest = 1e18;
                for (ScreenPoint p : paths[0])
                    nearest = std::min(nearest, std::hypot(p.x - expected->x, p.y - expected->y));
                EXPECT_LT(nearest, 1e-6) << ProjectionName(kind) << " centred on " << centre.lon << "," << centre.lat;
            }
        }
}

TEST(MapGeometry, LinesBreakAtTheEdgeInsteadOfCrossingTheMap)
{
    MapProjection projection(ProjectionKind::Mercator, {{0, 0}, 1.0}, Width, Height);
    std::vector<ScreenPath> pieces;
    GeometryProjector(projection).Line(GreatCirclePath({170, 10}, {-170, 20}, PathKind::Short), pieces);
    ASSERT_EQ(pieces.size(), 2u);
    for (const ScreenPath &piece : pieces)
        EXPECT_LT(pathWidth(piece), Width / 4);
}

TEST(MapGeometry, GreatCirclePaths)
{
    LonLat home{13.4, 52.5}, target{-77.04, 38.9};
    auto shortPath = GreatCirclePath(home, target, PathKind::Short);
    auto longPath = GreatCirclePath(home, target, PathKind::Long);
    double shortDegrees = ArcRadians(home, target) * RadToDeg;
    EXPECT_NEAR(shortPath.size(), std::ceil(shortDegrees) + 1, 0.5);
    EXPECT_NEAR(longPath.size(), std::ceil(360 - shortDegrees) + 1, 0.5);
    EXPECT_NEAR(longPath.back().lon, target.lon, 1e-9);
    // The long path leaves home in the opposite direction.
    EXPECT_NEAR(std::remainder(BearingDegrees(home, longPath[1]) - BearingDegrees(home, target) - 180, 360), 0, 0.1);
    auto whole = GreatCirclePath(home, target, PathKind::Whole);
    EXPECT_NEAR(ArcRadians(whole.front(), whole.back()), 0, 1e-9);
    EXPECT_EQ(GreatCirclePath(home, home, PathKind::Short).size(), 1u);
}

TEST(MapGeometry, DueWestIsTwoHundredSeventyDegrees)
{
    EXPECT_NEAR(BearingDegrees({10, 0}, {0, 0}), 270, 1e-9);
    EXPECT_NEAR(BearingDegrees({0, 0}, {10, 0}), 90, 1e-9);
    LonLat there = Destination({0, 0}, 270, 10);
    EXPECT_NEAR(there.lon, -10, 1e-9);
    EXPECT_NEAR(there.lat, 0, 1e-9);
}

} // namespace
} // namespace vellum::worldmap
