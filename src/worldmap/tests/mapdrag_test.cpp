// Dragging the map: what turns and what pans in each projection, the point
// grabbed following the mouse, the pan kept inside the map, zooming about the
// window's centre and the pan in the stored view.

#include "worldmap/mapdrag.h"
#include "worldmap/worldmapstate.h"

#include <gtest/gtest.h>

namespace vellum::worldmap {
namespace {

constexpr double Width = 1000, Height = 600;

MapProjection projectionOf(ProjectionKind kind, const MapView &view) { return {kind, view, Width, Height}; }

/// Drags from `from` by (dx, dy) and checks the position grabbed lies under the mouse afterwards.
void expectGrabbedPointFollows(ProjectionKind kind, const MapView &view, ScreenPoint from, double dx, double dy)
{
    MapProjection before = projectionOf(kind, view);
    auto grabbed = before.Inverse(from);
    ASSERT_TRUE(grabbed) << ProjectionName(kind);
    MapProjection after = projectionOf(kind, DraggedView(before, dx, dy));
    auto landed = after.Forward(*grabbed);
    ASSERT_TRUE(landed) << ProjectionName(kind);
    EXPECT_NEAR(landed->x, from.x + dx, 0.5) << ProjectionName(kind);
    EXPECT_NEAR(landed->y, from.y + dy, 0.5) << ProjectionName(kind);
}

TEST(PanLimit, AMapThatFitsIsNotMovedAZoomedOneStopsAtItsEdge)
{
    for (int n = 1; n <= ProjectionCount; ++n) {
        ProjectionKind kind = *ProjectionFromNumber(n);
        MapProjection whole = projectionOf(kind, {{10, 20}, 1.0, 300, -200});
        EXPECT_EQ(whole.PanLimit().x, 0) << ProjectionName(kind);
        EXPECT_EQ(whole.PanLimit().y, 0) << ProjectionName(kind);
        EXPECT_EQ(whole.View().panX, 0) << "a stored pan is not applied to a map that fits";
        EXPECT_EQ(whole.View().panY, 0);

        MapProjection zoomed = projectionOf(kind, {{10, 20}, 3.0, 1e5, -1e5});
        ScreenPoint limit = zoomed.PanLimit();
        EXPECT_GT(limit.x, 0) << ProjectionName(kind);
        EXPECT_GT(limit.y, 0) << ProjectionName(kind);
        EXPECT_EQ(zoomed.View().panX, limit.x) << ProjectionName(kind);
        EXPECT_EQ(zoomed.View().panY, -limit.y) << ProjectionName(kind);
    }
    // Panned fully right and down on the equidistant map, its left and top edges meet the window's.
    MapProjection corner = projectionOf(ProjectionKind::EquiDistant, {{13.4, 52.5}, 2.0, 1e6, 1e6});
    ScreenPoint centre = *corner.Forward({13.4, 52.5});
    double radius = std::numbers::pi * corner.Scale();
    EXPECT_NEAR(centre.x - radius, 0, 1e-6);
    EXPECT_NEAR(centre.y - radius, 0, 1e-6);
}

TEST(DraggedView, TheGlobeTurnsAndNeverPans)
{
    MapView view{{10, 20}, 2.5};
    MapProjection globe = projectionOf(ProjectionKind::Spherical, view);
    MapView dragged = DraggedView(globe, 40, -30);
    EXPECT_EQ(dragged.panX, 0);
    EXPECT_EQ(dragged.panY, 0);
    EXPECT_LT(dragged.centre.lon, 10) << "dragged east, the globe shows what lies west";
    EXPECT_LT(dragged.centre.lat, 20) << "dragged up, it shows what lies south";
    // On the equator the point grabbed at the centre stays under the mouse.
    expectGrabbedPointFollows(ProjectionKind::Spherical, {{10, 0}, 2.5}, {Width / 2, Height / 2}, 40, 0);
}

TEST(DraggedView, CylindricalMapsTurnSidewaysAndPanUpAndDownWhenZoomed)
{
    for (ProjectionKind kind :
         {ProjectionKind::Mercator, ProjectionKind::Cartesian, ProjectionKind::CylindricalEqualArea}) {
        // Whole world: the drag only turns the map about its centre meridian.
        MapView whole = DraggedView(projectionOf(kind, {{0, 0}, 1.0}), 100, 80);
        EXPECT_NE(whole.centre.lon, 0) << ProjectionName(kind);
        EXPECT_EQ(whole.panY, 0) << ProjectionName(kind);
        // Zoomed in: what was grabbed follows the mouse both ways; the world wraps round sideways.
        MapView zoomed{{170, 0}, 3.0};
        expectGrabbedPointFollows(kind, zoomed, {600, 350}, -250, 90);
        MapView moved = DraggedView(projectionOf(kind, zoomed), -250, 90);
        EXPECT_EQ(moved.panX, 0) << ProjectionName(kind);
        EXPECT_EQ(moved.panY, 90) << ProjectionName(kind);
        EXPECT_LT(moved.centre.lon, 0) << "turned past the antimeridian";
    }
}

TEST(DraggedView, AlbersAndSinusoidalTurnWholeAndPanZoomed)
{
    for (ProjectionKind kind : {ProjectionKind::AlbersEqualArea, ProjectionKind::Sinusoidal}) {
        MapView whole = DraggedView(projectionOf(kind, {{0, 30}, 1.0}), 100, 0);
        EXPECT_NE(whole.centre.lon, 0) << ProjectionName(kind);
        EXPECT_EQ(whole.panX, 0) << ProjectionName(kind);

        MapView zoomed{{0, 30}, 2.0};
        MapView moved = DraggedView(projectionOf(kind, zoomed), 120, -70);
        EXPECT_EQ(moved.centre.lon, 0) << "turning would reshape the zoomed map";
        EXPECT_EQ(moved.panX, 120) << ProjectionName(kind);
        EXPECT_EQ(moved.panY, -70) << ProjectionName(kind);
        expectGrabbedPointFollows(kind, zoomed, {500, 300}, 120, -70);
    }
}

TEST(DraggedView, TheEquidistantMapPansWhenZoomedAndStaysOnHome)
{
    LonLat home{13.4, 52.5};
    MapView whole = DraggedView(projectionOf(ProjectionKind::EquiDistant, {home, 1.0}), 100, 100);
    EXPECT_EQ(whole.panX, 0);
    EXPECT_EQ(whole.panY, 0);
    MapView zoomed{home, 4.0};
    MapView moved = DraggedView(projectionOf(ProjectionKind::EquiDistant, zoomed), -300, 200);
    EXPECT_EQ(moved.centre.lon, home.lon);
    EXPECT_EQ(moved.centre.lat, home.lat);
    EXPECT_EQ(moved.panX, -300);
    EXPECT_EQ(moved.panY, 200);
    expectGrabbedPointFollows(ProjectionKind::EquiDistant, zoomed, {700, 200}, -300, 200);
    // Far past the edge: the pan stops where the map's edge meets the window's.
    MapProjection projection = projectionOf(ProjectionKind::EquiDistant, zoomed);
    MapView far = DraggedView(projection, 1e6, -1e6);
    EXPECT_EQ(far.panX, projection.PanLimit().x);
    EXPECT_EQ(far.panY, -projection.PanLimit().y);
}

TEST(MapViewState, ZoomKeepsThePointAtTheWindowCentreAndTheStoredViewKeepsThePan)
{
    WorldMapState state;
    state.home = {13.4, 52.5};
    state.SetProjection(ProjectionKind::Cartesian);
    state.view = {{0, 0}, 2.0, 150, -90};
    auto centreOf = [&] {
        return *projectionOf(state.projection, state.DrawnView()).Inverse({Width / 2, Height / 2});
    };
    LonLat before = centreOf();
    state.ZoomBy(1.4);
    EXPECT_NEAR(state.view.panX, 210, 1e-9);
    LonLat after = centreOf();
    EXPECT_NEAR(after.lon, before.lon, 1e-9);
    EXPECT_NEAR(after.lat, before.lat, 1e-9);

    auto restored = RestoreView(StoreView(state.view));
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->panX, 210);
    EXPECT_EQ(restored->panY, -126);
    // The equidistant projection takes the stored zoom and pan but stays centred on home.
    state.SetProjection(ProjectionKind::EquiDistant);
    state.RestoreSavedView(*restored);
    EXPECT_EQ(state.view.zoom, restored->zoom);
    EXPECT_EQ(state.view.panX, 210);
    EXPECT_EQ(state.DrawnView().centre.lat, 52.5);
}

} // namespace
} // namespace vellum::worldmap
