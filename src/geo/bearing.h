#pragma once
// Grid squares, great-circle bearing and distance from the home position.

#include <optional>
#include <string>
#include <string_view>

namespace vellum {

struct GeoPoint {
    double latitude = 0;  ///< degrees, North positive
    double longitude = 0; ///< degrees, East positive
};

/// Whether text is a Maidenhead locator of 2, 4 or 6 characters (letter case ignored).
bool ValidGrid(std::string_view grid);
/// A locator as stored: characters 1 and 2 upper case, 5 and 6 lower case.
std::string FormatGrid(std::string_view grid);
/// The centre of a valid 4- or 6-character locator; nothing for other texts.
std::optional<GeoPoint> GridCentre(std::string_view grid);

/// The 6-character locator of a position (last two characters in lower case);
/// longitude 180 East gives the same locator as 180 West, latitude 90 stays in
/// the last square. Empty for non-finite or out-of-range input.
std::string LatLongToGrid(double latitude, double longitude);

struct BearingDistance {
    int bearing = 0;       ///< whole degrees, 0..359
    double distanceKm = 0; ///< great-circle distance
};

/// Bearing and distance from home to target on a sphere of radius 6371 km.
/// Works for every pair of finite points, antipodes and the same point included;
/// nothing for non-finite input.
std::optional<BearingDistance> GreatCircle(GeoPoint home, GeoPoint target);

/// The centre of a valid locator of 2, 4 or 6 characters (a 2-character field's centre too).
std::optional<GeoPoint> GridToLatLong(std::string_view grid);

/// From home to point when fromHome is set; otherwise the course at point back
/// towards home (the "Reciprocal" bearing).
std::optional<BearingDistance> BearingDistanceOf(GeoPoint home, GeoPoint point, bool fromHome);

/// "label: 123° 4,567Km" (or "Mi" with miles: kilometres × 0.62137, rounded).
std::string DirDistText(std::string_view label, const BearingDistance &result, bool miles);

} // namespace vellum
