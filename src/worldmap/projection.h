#pragma once
// The seven projections of the world map and the view that puts one on a
// screen: a centre, a zoom factor and the size of the picture.

#include "mapunits.h"

#include <array>
#include <optional>
#include <string_view>

namespace vellum::worldmap {

/// The projection numbers the window's menu and the configuration use.
enum class ProjectionKind : std::uint8_t {
    None = 0,
    Spherical = 1,
    Mercator = 2,
    Cartesian = 3,
    EquiDistant = 4,
    CylindricalEqualArea = 5,
    AlbersEqualArea = 6,
    Sinusoidal = 7,
};
inline constexpr int ProjectionCount = 7;

/// "Spherical", "Mercator", ... by number 1..7; empty for others.
std::string_view ProjectionName(ProjectionKind kind);
/// The projection of a stored number; nothing for 0, 255 and other unknown values.
std::optional<ProjectionKind> ProjectionFromNumber(int number);

/// Where the map looks: the centre of the projection (the home point for the
/// equidistant projection) and the zoom factor (1 = the whole world fits).
struct MapView {
    LonLat centre;
    double zoom = 1.0;
    /// Pixels the picture is moved by (panning of a zoomed map).
    double panX = 0, panY = 0;
};

/// A projection placed on a picture of width x height pixels.
class MapProjection {
public:
    MapProjection(ProjectionKind kind, const MapView &view, double width, double height);

    ProjectionKind Kind() const { return m_kind; }
    const MapView &View() const { return m_view; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }
    /// Whether the projection is centred on a point (spherical, equidistant):
    /// its geometry is clipped on the sphere, the others in longitude and latitude.
    bool Azimuthal() const;
    /// The largest latitude drawn (Mercator stops short of the poles).
    double LatitudeLimit() const;
    /// The pixels per radian of the plane at the picture's centre.
    double Scale() const { return m_scale; }
    /// How far the picture may be moved each way: a map larger than the picture
    /// is moved no further than its edge meeting the picture's edge, a map that
    /// fits is not moved. The view's pan is kept inside these limits.
    ScreenPoint PanLimit() const;

    /// The screen point of a position; nothing where the position is not drawn
    /// (the back of the globe, beyond the edges, non-finite input).
    std::optional<ScreenPoint> Forward(LonLat position) const;
    /// The position under a screen point; nothing off the map.
    std::optional<LonLat> Inverse(ScreenPoint point) const;

    /// The plane coordinates (radians) of a position given relative to the centre
    /// meridian (dLon in -180..180); no visibility test.
    ScreenPoint PlaneOf(double dLon, double lat) const;
    ScreenPoint ToScreen(ScreenPoint plane) const;

private:
    std::optional<LonLat> planeInverse(double x, double y) const;
    void fit();

    ProjectionKind m_kind;
    MapView m_view;
    double m_width, m_height;
    double m_scale = 1.0;
    // Half the width and height of the whole world in the plane (radians).
    double m_halfPlaneWidth = 0, m_halfPlaneHeight = 0;
    // Albers constants
    double m_n = 0.5, m_c = 1.0, m_rho0 = 1.0;
};

/// The 32 bytes of the configuration's map view: centre longitude and latitude
/// in map units (signed 32 bit), the zoom (double), the pan (two signed 32 bit
/// pixels), and a mark that the bytes were written (a zeroed block restores nothing).
std::array<std::uint8_t, 32> StoreView(const MapView &view);
std::optional<MapView> RestoreView(const std::array<std::uint8_t, 32> &bytes);

} // namespace vellum::worldmap
