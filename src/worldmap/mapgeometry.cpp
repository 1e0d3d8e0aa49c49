#include "mapgeometry.h"

#include <algorithm>
#include <cmath>

namespace vellum::worldmap {

namespace {

/// Edges longer than this (degrees) are bent along the projection.
constexpr double DensifyDegrees = 2.0;
/// Outline points closer than this (pixels) to the one before add nothing to the picture.
constexpr double MinPixelStep = 0.5;
/// Points of the rim circle between a ring's exit and entry.
constexpr double RimStepRadians = 3.0 * DegToRad;

/// Appends an outline point unless it lies within MinPixelStep of the last one.
void appendThinned(ScreenPath &path, ScreenPoint p)
{
    if (!path.empty() && std::abs(p.x - path.back().x) < MinPixelStep && std::abs(p.y - path.back().y) < MinPixelStep)
        return;
    path.push_back(p);
}

LonLat lerp(LonLat a, LonLat b, double t) { return {a.lon + t * (b.lon - a.lon), a.lat + t * (b.lat - a.lat)}; }

/// Sutherland-Hodgman against one axis-parallel line of the longitude-latitude plane.
template <typename Inside, typename Cut>
std::vector<LonLat> clipAgainst(const std::vector<LonLat> &points, Inside inside, Cut cut)
{
    std::vector<LonLat> out;
    out.reserve(points.size() + 4);
    for (std::size_t i = 0; i < points.size(); ++i) {
        LonLat a = points[(i + points.size() - 1) % points.size()], b = points[i];
        bool aIn = inside(a), bIn = inside(b);
        if (aIn != bIn)
            out.push_back(cut(a, b));
        if (bIn)
            out.push_back(b);
    }
    return out;
}

LonLat cutAtLon(LonLat a, LonLat b, double lon) { return lerp(a, b, (lon - a.lon) / (b.lon - a.lon)); }
LonLat cutAtLat(LonLat a, LonLat b, double lat) { return lerp(a, b, (lat - a.lat) / (b.lat - a.lat)); }

std::vector<LonLat> clipToWorld(std::vector<LonLat> points, double latLimit)
{
    points = clipAgainst(points, [](LonLat p) { return p.lon >= -180; }, [](LonLat a, LonLat b) { return cutAtLon(a, b, -180); });
    points = clipAgainst(points, [](LonLat p) { return p.lon <= 180; }, [](LonLat a, LonLat b) { return cutAtLon(a, b, 180); });
    if (latLimit < 90) {
        points = clipAgainst(points, [&](LonLat p) { return p.lat >= -latLimit; },
                             [&](LonLat a, LonLat b) { return cutAtLat(a, b, -latLimit); });
        points = clipAgainst(points, [&](LonLat p) { return p.lat <= latLimit; },
                             [&](LonLat a, LonLat b) { return cutAtLat(a, b, latLimit); });
    }
    return points;
}

/// The point where the arc a..b crosses the plane Dot(v, axis) == limit.
Vec3 crossing(Vec3 a, Vec3 b, Vec3 axis, double limit)
{
    double da = Dot(a, axis) - limit, db = Dot(b, axis) - limit;
    double t = da / (da - db);
    Vec3 v = Normalized(Sum(a, Scaled(Sum(b, Scaled(a, -1)), t)));
    // Moved onto the plane along the axis so that the rim arcs join it exactly.
    double along = Dot(v, axis);
    Vec3 ring = Sum(v, Scaled(axis, -along));
    double ringLength = std::sqrt(Dot(ring, ring));
    double radius = std::sqrt(std::max(0.0, 1 - limit * limit));
    return ringLength > 0 ? Sum(Scaled(axis, limit), Scaled(ring, radius / ringLength)) : v;
}

} // namespace

GeometryProjector::GeometryProjector(const MapProjection &projection)
    : m_projection(projection), m_axis(ToVector(projection.View().centre))
{
    if (projection.Kind() == ProjectionKind::EquiDistant)
        m_limit = -std::cos(AntipodeCapDegrees * DegToRad);
    // East and north at the centre (defined at the poles too): the plane of the azimuthal projections.
    double lon0 = projection.View().centre.lon * DegToRad;
    m_rimX = {-std::sin(lon0), std::cos(lon0), 0};
    m_rimY = Cross(m_axis, m_rimX);
}

ScreenPoint GeometryProjector::flatPoint(double dLon, double lat) const
{
    return m_projection.ToScreen(m_projection.PlaneOf(dLon, lat));
}

void GeometryProjector::appendFlatEdge(ScreenPath &path, LonLat from, LonLat to) const
{
    double span = std::max(std::abs(to.lon - from.lon), std::abs(to.lat - from.lat));
    int steps = span > DensifyDegrees ? static_cast<int>(std::ceil(span / DensifyDegrees)) : 1;
    for (int i = 1; i <= steps; ++i) {
        LonLat p = lerp(from, to, static_cast<double>(i) / steps);
        appendThinned(path, flatPoint(p.lon, p.lat));
    }
}

void GeometryProjector::Polygon(std::span<const LonLat> ring, std::vector<ScreenPath> &out) const
{
    if (ring.size() < 3)
        return;
    if (m_projection.Azimuthal())
        spherePolygon(ring, out);
    else
        flatPolygon(ring, out);
}

void GeometryProjector::flatPolygon(std::span<const LonLat> ring, std::vector<ScreenPath> &out) const
{
    double lon0 = m_projection.View().centre.lon;
    double west = 1e9, east = -1e9;
    for (LonLat p : ring)
        west = std::min(west, p.lon - lon0), east = std::max(east, p.lon - lon0);
    for (double shift : {-360.0, 0.0, 360.0}) {
        if (east + shift < -180 || west + shift > 180)
            continue;
        std::vector<LonLat> moved;
        moved.reserve(ring.size());
        for (LonLat p : ring)
            moved.push_back({p.lon - lon0 + shift, p.lat});
        bool inside = west + shift >= -180 && east + shift <= 180;
        if (!inside || m_projection.LatitudeLimit() < 90)
            moved = clipToWorld(std::move(moved), m_projection.LatitudeLimit());
        if (moved.size() < 3)
            continue;
        ScreenPath path;
        path.reserve(moved.size() + 8);
        path.push_back(flatPoint(moved.front().lon, moved.front().lat));
        for (std::size_t i = 1; i <= moved.size(); ++i)
            appendFlatEdge(path, moved[i - 1], moved[i % moved.size()]);
        out.push_back(std::move(path));
    }
}

ScreenPoint GeometryProjector::sphereScreen(Vec3 v) const
{
    // The same plane as MapProjection::PlaneOf, taken from the vector without trigonometry
    // (orthographic), or with one arc cosine (equidistant).
    double east = Dot(v, m_rimX), north = Dot(v, m_rimY);
    if (m_projection.Kind() == ProjectionKind::Spherical)
        return m_projection.ToScreen({east, north});
    double c = std::acos(ClampUnit(Dot(v, m_axis)));
    double length = std::hypot(east, north);
    if (length < 1e-15)
        return m_projection.ToScreen({0, c > 1 ? -c : 0});
    return m_projection.ToScreen({east / length * c, north / length * c});
}

void GeometryProjector::appendRimArc(ScreenPath &path, Vec3 from, Vec3 to) const
{
    double a = std::atan2(Dot(from, m_rimY), Dot(from, m_rimX));
    double b = std::atan2(Dot(to, m_rimY), Dot(to, m_rimX));
    double sweep = std::remainder(b - a, 2 * std::numbers::pi);
    int steps = static_cast<int>(std::ceil(std::abs(sweep) / RimStepRadians));
    double radius = std::sqrt(std::max(0.0, 1 - m_limit * m_limit));
    for (int i = 1; i < steps; ++i) {
        double angle = a + sweep * i / steps;
        Vec3 v = Sum(Scaled(m_axis, m_limit),
                     Sum(Scaled(m_rimX, radius * std::cos(angle)), Scaled(m_rimY, radius * std::sin(angle))));
        path.push_back(sphereScreen(v));
    }
}

void GeometryProjector::spherePolygon(std::span<const LonLat> ring, std::vector<ScreenPath> &out) const
{
    // Densified on the sphere, clipped against the visible side, the cut closed along the rim.
    std::vector<Vec3> points;
    points.reserve(ring.size());
    for (std::size_t i = 0; i < ring.size(); ++i) {
        LonLat a = ring[i], b = ring[(i + 1) % ring.size()];
        points.push_back(ToVector(a));
        double span = std::max(std::abs(b.lon - a.lon), std::abs(b.lat - a.lat));
        int steps = span > DensifyDegrees ? static_cast<int>(std::ceil(span / DensifyDegrees)) : 1;
        for (int s = 1; s < steps; ++s)
            points.push_back(ToVector(lerp(a, b, static_cast<double>(s) / steps)));
    }
    // Walked from a visible point, so that every entry follows an exit it joins along the rim.
    auto first = std::find_if(points.begin(), points.end(), [&](Vec3 v) { return visible(v); });
    if (first == points.end())
        return;
    std::size_t start = static_cast<std::size_t>(first - points.begin()), count = points.size();
    ScreenPath path;
    path.reserve(count);
    path.push_back(sphereScreen(*first));
    Vec3 exit = *first;
    for (std::size_t step = 1; step <= count; ++step) {
        Vec3 a = points[(start + step - 1) % count], b = points[(start + step) % count];
        bool aIn = visible(a), bIn = visible(b);
        if (aIn && !bIn) {
            exit = crossing(a, b, m_axis, m_limit);
            path.push_back(sphereScreen(exit));
        } else if (!aIn && bIn) {
            Vec3 entry = crossing(a, b, m_axis, m_limit);
            appendRimArc(path, exit, entry);
            path.push_back(sphereScreen(entry));
        }
        if (bIn && step < count)
            appendThinned(path, sphereScreen(b));
    }
    if (path.size() >= 3)
        out.push_back(std::move(path));
}

void GeometryProjector::Line(std::span<const LonLat> line, std::vector<ScreenPath> &out) const
{
    ScreenPath piece;
    auto flush = [&] {
        if (piece.size() >= 2)
            out.push_back(std::move(piece));
        piece.clear();
    };
    double lon0 = m_projection.View().centre.lon;
    for (std::size_t i = 0; i < line.size(); ++i) {
        LonLat p = line[i];
        if (m_projection.Azimuthal()) {
            Vec3 v = ToVector(p);
            bool in = visible(v);
            if (i > 0) {
                Vec3 prev = ToVector(line[i - 1]);
                bool prevIn = visible(prev);
                if (prevIn && !in)
                    piece.push_back(sphereScreen(crossing(prev, v, m_axis, m_limit))), flush();
                else if (!prevIn && in)
                    piece.push_back(sphereScreen(crossing(prev, v, m_axis, m_limit)));
            }
            if (in)
                piece.push_back(sphereScreen(v));
            continue;
        }
        double limit = m_projection.LatitudeLimit();
        double dLon = WrapLongitude(p.lon - lon0);
        if (i > 0) {
            double prevLon = WrapLongitude(line[i - 1].lon - lon0);
            if (std::abs(dLon - prevLon) > 180) {
                // Crosses the map's edge: ends at one side and goes on at the other.
                double edge = prevLon > 0 ? 180 : -180;
                double t = (edge - prevLon) / (dLon + 2 * edge - prevLon);
                double lat = line[i - 1].lat + t * (p.lat - line[i - 1].lat);
                if (std::abs(lat) <= limit)
                    piece.push_back(flatPoint(edge, lat));
                flush();
                if (std::abs(lat) <= limit)
                    piece.push_back(flatPoint(-edge, lat));
            }
        }
        if (std::abs(p.lat) > limit) {
            flush();
            continue;
        }
        piece.push_back(flatPoint(dLon, p.lat));
    }
    flush();
}

ScreenPath GeometryProjector::Outline() const
{
    ScreenPath path;
    if (m_projection.Azimuthal()) {
        Vec3 start = Sum(Scaled(m_axis, m_limit), Scaled(m_rimX, std::sqrt(std::max(0.0, 1 - m_limit * m_limit))));
        path.push_back(sphereScreen(start));
        for (int i = 1; i <= 120; ++i) {
            double angle = 2 * std::numbers::pi * i / 120;
            double radius = std::sqrt(std::max(0.0, 1 - m_limit * m_limit));
            path.push_back(sphereScreen(Sum(Scaled(m_axis, m_limit), Sum(Scaled(m_rimX, radius * std::cos(angle)),
                                                                          Scaled(m_rimY, radius * std::sin(angle))))));
        }
        return path;
    }
    double limit = m_projection.LatitudeLimit();
    std::vector<LonLat> corners = {{-180, -limit}, {180, -limit}, {180, limit}, {-180, limit}};
    path.push_back(flatPoint(corners[0].lon, corners[0].lat));
    for (std::size_t i = 1; i <= corners.size(); ++i)
        appendFlatEdge(path, corners[i - 1], corners[i % corners.size()]);
    return path;
}

double BearingDegrees(LonLat a, LonLat b)
{
    double phi1 = a.lat * DegToRad, phi2 = b.lat * DegToRad, dLon = (b.lon - a.lon) * DegToRad;
    double y = std::sin(dLon) * std::cos(phi2);
    double x = std::cos(phi1) * std::sin(phi2) - std::sin(phi1) * std::cos(phi2) * std::cos(dLon);
    double bearing = std::atan2(y, x) * RadToDeg;
    return bearing < 0 ? bearing + 360 : bearing;
}

LonLat Destination(LonLat start, double bearingDegrees, double distanceDegrees)
{
    double phi1 = start.lat * DegToRad, theta = bearingDegrees * DegToRad, delta = distanceDegrees * DegToRad;
    double sinPhi2 = ClampUnit(std::sin(phi1) * std::cos(delta) + std::cos(phi1) * std::sin(delta) * std::cos(theta));
    double phi2 = std::asin(sinPhi2);
    double lambda = std::atan2(std::sin(theta) * std::sin(delta) * std::cos(phi1), std::cos(delta) - std::sin(phi1) * sinPhi2);
    return {WrapLongitude(start.lon + lambda * RadToDeg), phi2 * RadToDeg};
}

std::vector<LonLat> GreatCirclePath(LonLat from, LonLat to, PathKind kind, double stepDegrees)
{
    double distance = ArcRadians(from, to) * RadToDeg;
    if (distance < 1e-9 && kind != PathKind::Whole)
        return {from};
    double bearing = BearingDegrees(from, to);
    double length = distance;
    if (kind == PathKind::Long) {
        bearing = std::fmod(bearing + 180, 360);
        length = 360 - distance;
    } else if (kind == PathKind::Whole) {
        length = 360;
    }
    int steps = std::max(1, static_cast<int>(std::ceil(length / std::max(stepDegrees, 0.01))));
    std::vector<LonLat> points;
    points.reserve(static_cast<std::size_t>(steps) + 1);
    for (int i = 0; i <= steps; ++i)
        points.push_back(Destination(from, bearing, length * i / steps));
    if (kind != PathKind::Whole)
        points.back() = to;
    return points;
}

std::vector<LonLat> CirclePoints(LonLat centre, double radiusDegrees, double stepDegrees)
{
    int steps = std::max(8, static_cast<int>(std::ceil(360 / std::max(stepDegrees, 0.1))));
    std::vector<LonLat> points;
    points.reserve(static_cast<std::size_t>(steps) + 1);
    for (int i = 0; i <= steps; ++i)
        points.push_back(Destination(centre, 360.0 * i / steps, radiusDegrees));
    return points;
}

} // namespace vellum::worldmap
