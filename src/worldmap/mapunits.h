#pragma once
// Positions of the world map: longitude and latitude in degrees for the
// geometry, and the map units (5,400,000 per degree) the map file and the
// stored view use.

#include <cmath>
#include <cstdint>
#include <numbers>

namespace vellum::worldmap {

inline constexpr double UnitsPerDegree = 5'400'000.0;
inline constexpr double UnitsPerRadian = 309'397'209.37;
inline constexpr double DegToRad = std::numbers::pi / 180.0;
inline constexpr double RadToDeg = 180.0 / std::numbers::pi;

/// A position on the earth in degrees (East and North positive).
struct LonLat {
    double lon = 0;
    double lat = 0;
};

/// A point on the screen in pixels (x to the right, y down).
struct ScreenPoint {
    double x = 0;
    double y = 0;
};

inline std::int32_t ToMapUnits(double degrees) { return static_cast<std::int32_t>(std::lround(degrees * UnitsPerDegree)); }
inline double FromMapUnits(std::int32_t units) { return units / UnitsPerDegree; }

/// The longitude brought into -180 .. 180.
inline double WrapLongitude(double lon)
{
    double wrapped = std::remainder(lon, 360.0);
    return wrapped == -180.0 ? 180.0 : wrapped;
}

inline double ClampUnit(double value) { return value < -1.0 ? -1.0 : (value > 1.0 ? 1.0 : value); }

/// A unit vector of the sphere and back.
struct Vec3 {
    double x = 0, y = 0, z = 0;
};
inline Vec3 ToVector(LonLat p)
{
    double lon = p.lon * DegToRad, lat = p.lat * DegToRad;
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}
inline LonLat FromVector(Vec3 v)
{
    return {std::atan2(v.y, v.x) * RadToDeg, std::atan2(v.z, std::hypot(v.x, v.y)) * RadToDeg};
}
inline double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline Vec3 Scaled(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 Sum(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 Normalized(Vec3 a)
{
    double length = std::sqrt(Dot(a, a));
    return length > 0 ? Scaled(a, 1.0 / length) : Vec3{1, 0, 0};
}

/// The great-circle distance in radians (the haversine form, exact for small and antipodal distances).
inline double ArcRadians(LonLat a, LonLat b)
{
    double dLat = (b.lat - a.lat) * DegToRad, dLon = (b.lon - a.lon) * DegToRad;
    double h = std::pow(std::sin(dLat / 2), 2) +
               std::cos(a.lat * DegToRad) * std::cos(b.lat * DegToRad) * std::pow(std::sin(dLon / 2), 2);
    return 2 * std::asin(std::sqrt(ClampUnit(h)));
}

} // namespace vellum::worldmap
