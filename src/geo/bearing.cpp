#include "bearing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vellum {

namespace {
bool between(char c, char low, char high) { return c >= low && c <= high; }
char upper(char c) { return between(c, 'a', 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char lower(char c) { return between(c, 'A', 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr double Radians = std::numbers::pi / 180.0;
constexpr double Tiny = 1e-8;
} // namespace

bool ValidGrid(std::string_view grid)
{
    if (grid.size() != 2 && grid.size() != 4 && grid.size() != 6)
        return false;
    if (!between(upper(grid[0]), 'A', 'R') || !between(upper(grid[1]), 'A', 'R'))
        return false;
    if (grid.size() >= 4 && (!between(grid[2], '0', '9') || !between(grid[3], '0', '9')))
        return false;
    return grid.size() < 6 || (between(upper(grid[4]), 'A', 'X') && between(upper(grid[5]), 'A', 'X'));
}

std::string FormatGrid(std::string_view grid)
{
    std::string out(grid);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = i < 2 ? upper(out[i]) : (i >= 4 ? lower(out[i]) : out[i]);
    return out;
}

std::optional<GeoPoint> GridCentre(std::string_view grid)
{
    if ((grid.size() != 4 && grid.size() != 6) || !ValidGrid(grid))
        return std::nullopt;
    GeoPoint p;
    p.longitude = (upper(grid[0]) - 'A') * 20.0 + (grid[2] - '0') * 2.0 - 180.0;
    p.latitude = (upper(grid[1]) - 'A') * 10.0 + (grid[3] - '0') - 90.0;
    if (grid.size() == 4) {
        p.longitude += 1.0;
        p.latitude += 0.5;
    } else {
        p.longitude += (upper(grid[4]) - 'A' + 0.5) / 12.0;
        p.latitude += (upper(grid[5]) - 'A' + 0.5) / 24.0;
    }
    return p;
}

std::string LatLongToGrid(double latitude, double longitude)
{
    if (!std::isfinite(latitude) || !std::isfinite(longitude) || std::fabs(latitude) > 90 || std::fabs(longitude) > 180)
        return {};
    // Latitude 90 would step into an 19th field that does not exist: it stays in the last one.
    double p = std::min((latitude + 90) / 10, std::nextafter(18.0, 0.0));
    double q = (longitude + 180) / 20;
    if (q >= 18)
        q -= 18;
    std::string grid(6, ' ');
    const auto step = [&grid](std::size_t at, char first, double &x, double &y, double next) {
        grid[at] = static_cast<char>(first + static_cast<int>(x));
        grid[at + 1] = static_cast<char>(first + static_cast<int>(y));
        x = (x - std::trunc(x)) * next;
        y = (y - std::trunc(y)) * next;
    };
    step(0, 'A', q, p, 10);
    step(2, '0', q, p, 24);
    step(4, 'a', q, p, 0);
    return grid;
}

std::optional<BearingDistance> GreatCircle(GeoPoint home, GeoPoint target)
{
    if (!std::isfinite(home.latitude) || !std::isfinite(home.longitude) || !std::isfinite(target.latitude) ||
        !std::isfinite(target.longitude))
        return std::nullopt;
    double f1 = home.latitude * Radians, f2 = target.latitude * Radians;
    double dl = (target.longitude - home.longitude) * Radians;
    double z = std::sin(f1) * std::sin(f2) + std::cos(f1) * std::cos(f2) * std::cos(dl);
    z = std::clamp(z, -1.0, 1.0);
    // acos through atan2 stays accurate near 0 and pi.
    double d = std::atan2(std::sqrt(1.0 - z * z), z);
    // The initial course from the two components of the direction: atan2 keeps every
    // quadrant (due west is 270) and needs no division.
    double north = std::cos(f1) * std::sin(f2) - std::sin(f1) * std::cos(f2) * std::cos(dl);
    double east = std::cos(f2) * std::sin(dl);
    double bearing = d < Tiny ? 0.0 : std::nearbyint(std::atan2(east, north) / Radians); // halves to the even neighbour
    if (bearing < 0)
        bearing += 360;
    BearingDistance result;
    result.bearing = static_cast<int>(bearing) % 360;
    result.distanceKm = d * 6371.0;
    return result;
}

std::optional<GeoPoint> GridToLatLong(std::string_view grid)
{
    if (grid.size() == 2 && ValidGrid(grid))
        return GeoPoint{(upper(grid[1]) - 'A') * 10.0 - 85.0, (upper(grid[0]) - 'A') * 20.0 - 170.0};
    return GridCentre(grid);
}

std::optional<BearingDistance> BearingDistanceOf(GeoPoint home, GeoPoint point, bool fromHome)
{
    return fromHome ? GreatCircle(home, point) : GreatCircle(point, home);
}

std::string DirDistText(std::string_view label, const BearingDistance &result, bool miles)
{
    double distance = std::nearbyint(result.distanceKm);
    if (miles)
        distance = std::nearbyint(distance * 0.62137);
    std::string digits = std::to_string(static_cast<long long>(distance));
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return std::string(label) + ": " + std::to_string(result.bearing) + "\xB0 " + grouped + (miles ? "Mi" : "Km");
}

} // namespace vellum
