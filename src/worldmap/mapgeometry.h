#pragma once
// Outlines and lines of longitude and latitude made into screen paths for one
// projection: cut where they leave the map (the edges of the flat projections,
// the horizon of the globe, the antipode of the equidistant projection's
// centre), with polygons closed along the cut and long edges bent along the
// projection's curves.

#include "projection.h"

#include <span>
#include <vector>

namespace vellum::worldmap {

using ScreenPath = std::vector<ScreenPoint>;

class GeometryProjector {
public:
    explicit GeometryProjector(const MapProjection &projection);

    /// The closed screen outlines of a polygon whose longitudes lie within -180 .. 180
    /// and that does not cross the antimeridian (the map file's rings), appended to out.
    void Polygon(std::span<const LonLat> ring, std::vector<ScreenPath> &out) const;
    /// The visible pieces of a line (open), appended to out; edges are straight in
    /// longitude and latitude (densify great circles before).
    void Line(std::span<const LonLat> line, std::vector<ScreenPath> &out) const;
    /// The outline of the whole map (the globe's rim, the rectangle, the curved edges).
    ScreenPath Outline() const;

    /// The radius of the cap around the antipode the equidistant projection leaves out.
    static constexpr double AntipodeCapDegrees = 0.5;

private:
    void flatPolygon(std::span<const LonLat> ring, std::vector<ScreenPath> &out) const;
    void spherePolygon(std::span<const LonLat> ring, std::vector<ScreenPath> &out) const;
    ScreenPoint flatPoint(double dLon, double lat) const;
    void appendFlatEdge(ScreenPath &path, LonLat from, LonLat to) const;
    void appendRimArc(ScreenPath &path, Vec3 from, Vec3 to) const;
    bool visible(Vec3 v) const { return Dot(v, m_axis) >= m_limit; }
    ScreenPoint sphereScreen(Vec3 v) const;

    const MapProjection &m_projection;
    Vec3 m_axis;          ///< the projection's centre
    double m_limit = 0;   ///< the visible side: Dot(point, axis) >= limit
    Vec3 m_rimX, m_rimY;  ///< a frame of the rim circle's plane
};

enum class PathKind { Short, Long, Whole };

/// The great-circle path from `from` to `to`: the short path, the long path (from
/// `from` the other way round to `to`) or the whole circle; points at most
/// stepDegrees of arc apart. Nothing but `from` when the two points coincide.
std::vector<LonLat> GreatCirclePath(LonLat from, LonLat to, PathKind kind, double stepDegrees = 1.0);
/// The initial bearing from a to b in degrees 0 .. 360 (north 0, east 90).
double BearingDegrees(LonLat a, LonLat b);
/// The position reached from start going distanceDegrees of arc on the bearing.
LonLat Destination(LonLat start, double bearingDegrees, double distanceDegrees);
/// The circle of points radiusDegrees of arc around the centre (closed, stepDegrees of bearing apart).
std::vector<LonLat> CirclePoints(LonLat centre, double radiusDegrees, double stepDegrees = 2.0);

} // namespace vellum::worldmap
