#include "projection.h"

#include "logstore/bytes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vellum::worldmap {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double MercatorLimit = 85.0;
constexpr double AlbersParallel1 = 20.0, AlbersParallel2 = 50.0;
constexpr std::array<std::string_view, ProjectionCount> Names = {
    "Spherical", "Mercator", "Cartesian", "Equi-Distant", "Cylindrical Equal Area", "Albers Equal Area Conic",
    "Sinusoidal"};
constexpr std::uint32_t ViewMark = 0x5745'4956; // "VIEW"

bool finite(LonLat p) { return std::isfinite(p.lon) && std::isfinite(p.lat); }

} // namespace

std::string_view ProjectionName(ProjectionKind kind)
{
    int number = static_cast<int>(kind);
    return number >= 1 && number <= ProjectionCount ? Names[static_cast<std::size_t>(number - 1)] : std::string_view();
}

std::optional<ProjectionKind> ProjectionFromNumber(int number)
{
    if (number < 1 || number > ProjectionCount)
        return std::nullopt;
    return static_cast<ProjectionKind>(number);
}

MapProjection::MapProjection(ProjectionKind kind, const MapView &view, double width, double height)
    : m_kind(kind == ProjectionKind::None ? ProjectionKind::Cartesian : kind), m_view(view),
      m_width(std::max(width, 1.0)), m_height(std::max(height, 1.0))
{
    m_view.centre.lat = std::clamp(std::isfinite(m_view.centre.lat) ? m_view.centre.lat : 0.0, -90.0, 90.0);
    m_view.centre.lon = std::isfinite(m_view.centre.lon) ? WrapLongitude(m_view.centre.lon) : 0.0;
    if (!std::isfinite(m_view.zoom) || m_view.zoom <= 0)
        m_view.zoom = 1.0;
    if (m_kind == ProjectionKind::AlbersEqualArea) {
        // The standard parallels lie on the side of the equator the centre is on.
        double sign = m_view.centre.lat < 0 ? -1.0 : 1.0;
        double p1 = sign * AlbersParallel1 * DegToRad, p2 = sign * AlbersParallel2 * DegToRad;
        m_n = (std::sin(p1) + std::sin(p2)) / 2;
        m_c = std::cos(p1) * std::cos(p1) + 2 * m_n * std::sin(p1);
        m_rho0 = std::sqrt(std::max(0.0, m_c - 2 * m_n * std::sin(m_view.centre.lat * DegToRad))) / m_n;
    }
    fit();
}

bool MapProjection::Azimuthal() const
{
    return m_kind == ProjectionKind::Spherical || m_kind == ProjectionKind::EquiDistant;
}

double MapProjection::LatitudeLimit() const { return m_kind == ProjectionKind::Mercator ? MercatorLimit : 90.0; }

ScreenPoint MapProjection::PlaneOf(double dLon, double latDeg) const
{
    double lambda = dLon * DegToRad, phi = latDeg * DegToRad;
    double phi0 = m_view.centre.lat * DegToRad;
    switch (m_kind) {
    case ProjectionKind::Spherical:
        return {std::cos(phi) * std::sin(lambda),
                std::cos(phi0) * std::sin(phi) - std::sin(phi0) * std::cos(phi) * std::cos(lambda)};
    case ProjectionKind::EquiDistant: {
        double c = std::acos(ClampUnit(std::cos(lambda) * std::cos(phi) * std::cos(phi0) + std::sin(phi) * std::sin(phi0)));
        double east = std::sin(lambda) * std::cos(phi);
        double north = std::cos(phi0) * std::sin(phi) - std::sin(phi0) * std::cos(phi) * std::cos(lambda);
        double azimuth = (std::abs(east) < 1e-15 && std::abs(north) < 1e-15) ? 0.0 : std::atan2(east, north);
        return {c * std::sin(azimuth), c * std::cos(azimuth)};
    }
    case ProjectionKind::Mercator: {
        double limited = std::clamp(latDeg, -MercatorLimit, MercatorLimit) * DegToRad;
        return {lambda, std::log(std::tan(Pi / 4 + limited / 2))};
    }
    case ProjectionKind::CylindricalEqualArea:
        return {lambda, std::sin(phi)};
    case ProjectionKind::AlbersEqualArea: {
        double rho = std::sqrt(std::max(0.0, m_c - 2 * m_n * std::sin(phi))) / m_n;
        double theta = m_n * lambda;
        return {rho * std::sin(theta), m_rho0 - rho * std::cos(theta)};
    }
    case ProjectionKind::Sinusoidal:
        return {lambda * std::cos(phi), phi};
    case ProjectionKind::Cartesian:
    case ProjectionKind::None:
        break;
    }
    return {lambda, phi};
}

ScreenPoint MapProjection::ToScreen(ScreenPoint plane) const
{
    return {m_width / 2 + m_view.panX + plane.x * m_scale, m_height / 2 + m_view.panY - plane.y * m_scale};
}

void MapProjection::fit()
{
    // The extent of the whole world in the plane, sampled along its outline.
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    auto take = [&](ScreenPoint p) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x), minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    };
    if (Azimuthal()) {
        double radius = m_kind == ProjectionKind::Spherical ? 1.0 : Pi;
        take({-radius, -radius}), take({radius, radius});
    } else {
        double limit = LatitudeLimit();
        for (double lat = -limit; lat <= limit; lat += 2.5)
            for (double lon : {-180.0, -90.0, 0.0, 90.0, 180.0})
                take(PlaneOf(lon, lat));
    }
    double fitScale = std::min(m_width / (maxX - minX), m_height / (maxY - minY)) * 0.96;
    m_scale = fitScale * m_view.zoom;
    // Albers' origin is not the middle of its outline (symmetric east and west): centre it vertically.
    if (m_kind == ProjectionKind::AlbersEqualArea)
        m_rho0 -= (minY + maxY) / 2;
    m_halfPlaneWidth = (maxX - minX) / 2;
    m_halfPlaneHeight = (maxY - minY) / 2;
    ScreenPoint limit = PanLimit();
    m_view.panX = std::isfinite(m_view.panX) ? std::clamp(m_view.panX, -limit.x, limit.x) : 0.0;
    m_view.panY = std::isfinite(m_view.panY) ? std::clamp(m_view.panY, -limit.y, limit.y) : 0.0;
}

ScreenPoint MapProjection::PanLimit() const
{
    return {std::max(0.0, m_halfPlaneWidth * m_scale - m_width / 2),
            std::max(0.0, m_halfPlaneHeight * m_scale - m_height / 2)};
}

std::optional<ScreenPoint> MapProjection::Forward(LonLat position) const
{
    if (!finite(position) || std::abs(position.lat) > 90.0 || std::abs(position.lon) > 540.0)
        return std::nullopt;
    double dLon = WrapLongitude(position.lon - m_view.centre.lon);
    if (m_kind == ProjectionKind::Spherical && Dot(ToVector(position), ToVector(m_view.centre)) < 0)
        return std::nullopt;
    if (m_kind == ProjectionKind::Mercator && std::abs(position.lat) > MercatorLimit)
        return std::nullopt;
    return ToScreen(PlaneOf(dLon, position.lat));
}

std::optional<LonLat> MapProjection::Inverse(ScreenPoint point) const
{
    if (!std::isfinite(point.x) || !std::isfinite(point.y))
        return std::nullopt;
    double x = (point.x - m_width / 2 - m_view.panX) / m_scale;
    double y = -(point.y - m_height / 2 - m_view.panY) / m_scale;
    std::optional<LonLat> result = planeInverse(x, y);
    if (!result || !finite(*result))
        return std::nullopt;
    result->lon = WrapLongitude(result->lon);
    return result;
}

std::optional<LonLat> MapProjection::planeInverse(double x, double y) const
{
    double phi0 = m_view.centre.lat * DegToRad, lon0 = m_view.centre.lon;
    switch (m_kind) {
    case ProjectionKind::Spherical: {
        double rho = std::hypot(x, y);
        if (rho > 1.0)
            return std::nullopt;
        if (rho < 1e-12)
            return m_view.centre;
        double c = std::asin(rho);
        double phi = std::asin(ClampUnit(std::cos(c) * std::sin(phi0) + y * std::sin(c) * std::cos(phi0) / rho));
        double lambda = std::atan2(x * std::sin(c), rho * std::cos(c) * std::cos(phi0) - y * std::sin(c) * std::sin(phi0));
        return LonLat{lon0 + lambda * RadToDeg, phi * RadToDeg};
    }
    case ProjectionKind::EquiDistant: {
        double c = std::hypot(x, y);
        if (c > Pi)
            return std::nullopt;
        if (c <= 1e-10)
            return m_view.centre;
        double phi = std::asin(ClampUnit(std::cos(c) * std::sin(phi0) + y * std::sin(c) * std::cos(phi0) / c));
        double lambda = std::atan2(x * std::sin(c), c * std::cos(phi0) * std::cos(c) - y * std::sin(phi0) * std::sin(c));
        return LonLat{lon0 + lambda * RadToDeg, phi * RadToDeg};
    }
    case ProjectionKind::Mercator: {
        if (std::abs(x) > Pi)
            return std::nullopt;
        double phi = 2 * std::atan(std::exp(y)) - Pi / 2;
        if (std::abs(phi * RadToDeg) > MercatorLimit + 1e-9)
            return std::nullopt;
        return LonLat{lon0 + x * RadToDeg, phi * RadToDeg};
    }
    case ProjectionKind::CylindricalEqualArea:
        if (std::abs(x) > Pi || std::abs(y) > 1.0)
            return std::nullopt;
        return LonLat{lon0 + x * RadToDeg, std::asin(y) * RadToDeg};
    case ProjectionKind::AlbersEqualArea: {
        double sign = m_n < 0 ? -1.0 : 1.0;
        double rho = sign * std::hypot(x, m_rho0 - y);
        double theta = std::atan2(sign * x, sign * (m_rho0 - y));
        double sinPhi = (m_c - rho * rho * m_n * m_n) / (2 * m_n);
        double lambda = theta / m_n;
        if (std::abs(sinPhi) > 1.0 || std::abs(lambda) > Pi)
            return std::nullopt;
        return LonLat{lon0 + lambda * RadToDeg, std::asin(sinPhi) * RadToDeg};
    }
    case ProjectionKind::Sinusoidal: {
        if (std::abs(y) > Pi / 2)
            return std::nullopt;
        double cosPhi = std::cos(y);
        if (cosPhi < 1e-12 ? std::abs(x) > 1e-9 : std::abs(x / cosPhi) > Pi)
            return std::nullopt;
        return LonLat{lon0 + (cosPhi < 1e-12 ? 0.0 : x / cosPhi) * RadToDeg, y * RadToDeg};
    }
    case ProjectionKind::Cartesian:
    case ProjectionKind::None:
        break;
    }
    if (std::abs(x) > Pi || std::abs(y) > Pi / 2)
        return std::nullopt;
    return LonLat{lon0 + x * RadToDeg, y * RadToDeg};
}

std::array<std::uint8_t, 32> StoreView(const MapView &view)
{
    std::vector<std::uint8_t> bytes;
    ByteWriter out(bytes);
    out.i32(ToMapUnits(view.centre.lon));
    out.i32(ToMapUnits(view.centre.lat));
    out.f64(view.zoom);
    out.i32(static_cast<std::int32_t>(std::lround(std::clamp(view.panX, -1e6, 1e6))));
    out.i32(static_cast<std::int32_t>(std::lround(std::clamp(view.panY, -1e6, 1e6))));
    out.u32(ViewMark);
    std::array<std::uint8_t, 32> stored{};
    std::copy(bytes.begin(), bytes.end(), stored.begin());
    return stored;
}

std::optional<MapView> RestoreView(const std::array<std::uint8_t, 32> &bytes)
{
    ByteReader in(bytes);
    MapView view;
    view.centre.lon = FromMapUnits(in.i32());
    view.centre.lat = FromMapUnits(in.i32());
    view.zoom = in.f64();
    view.panX = in.i32();
    view.panY = in.i32();
    if (in.u32() != ViewMark || std::abs(view.centre.lon) > 180 || std::abs(view.centre.lat) > 90 ||
        !std::isfinite(view.zoom) || view.zoom < 0.05 || view.zoom > 1000)
        return std::nullopt;
    return view;
}

} // namespace vellum::worldmap
