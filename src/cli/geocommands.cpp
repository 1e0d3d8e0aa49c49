// vellum-cli geo locator | position | path | sun: locators, bearing and distance,
// sunrise and sunset, printed as JSON.

#include "cli.h"

#include "geo/bearing.h"
#include "geo/sun.h"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>

namespace vellum::cli {

namespace {

const char *const GeoUsage = "geo locator LAT LON | geo position LOCATOR | geo path FROM TO (locators or LAT,LON) | "
                             "geo sun LAT LON YYYY-MM-DD";

double number(const std::string &text, const char *what, double limit)
{
    std::size_t used = 0;
    double value = 0;
    try {
        value = std::stod(text, &used);
    } catch (const std::exception &) {
        used = 0;
    }
    if (used == 0 || used != text.size() || !std::isfinite(value) || std::fabs(value) > limit)
        throw CliError(std::string("geo: ") + what + " '" + text + "' is no number from -" +
                       std::to_string(static_cast<int>(limit)) + " to " + std::to_string(static_cast<int>(limit)));
    return value;
}

std::string fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string pointJson(GeoPoint point)
{
    return "\"latitude\":" + fixed(point.latitude, 6) + ",\"longitude\":" + fixed(point.longitude, 6);
}

/// A locator, or "LAT,LON".
GeoPoint pointArgument(const std::string &text)
{
    if (auto comma = text.find(','); comma != std::string::npos)
        return {number(text.substr(0, comma), "latitude", 90), number(text.substr(comma + 1), "longitude", 180)};
    if (auto point = GridToLatLong(text))
        return *point;
    throw CliError("geo: '" + text + "' is neither a locator nor LAT,LON");
}

int geoLocator(CliContext &context)
{
    double latitude = number(context.arg(1, "latitude"), "latitude", 90);
    double longitude = number(context.arg(2, "longitude"), "longitude", 180);
    std::cout << "{\"locator\":" << JsonString(LatLongToGrid(latitude, longitude)) << "}\n";
    return 0;
}

int geoPosition(CliContext &context)
{
    const std::string &grid = context.arg(1, "locator");
    auto point = GridToLatLong(grid);
    if (!point)
        throw CliError("geo: '" + grid + "' is no locator of 2, 4 or 6 characters");
    std::cout << "{\"locator\":" << JsonString(FormatGrid(grid)) << "," << pointJson(*point) << "}\n";
    return 0;
}

int geoPath(CliContext &context)
{
    GeoPoint from = pointArgument(context.arg(1, "FROM"));
    GeoPoint to = pointArgument(context.arg(2, "TO"));
    auto path = BearingDistanceOf(from, to, true);
    auto reciprocal = BearingDistanceOf(from, to, false);
    if (!path || !reciprocal)
        throw CliError("geo: no path between these points");
    std::cout << "{\"bearing\":" << path->bearing << ",\"longPathBearing\":" << (path->bearing + 180) % 360
              << ",\"reciprocal\":" << reciprocal->bearing << ",\"km\":" << fixed(path->distanceKm, 1)
              << ",\"miles\":" << fixed(path->distanceKm * 0.621371, 1) << "}\n";
    return 0;
}

int geoSun(CliContext &context)
{
    GeoPoint where{number(context.arg(1, "latitude"), "latitude", 90),
                   number(context.arg(2, "longitude"), "longitude", 180)};
    std::uint16_t day = IsoDateArgument(context.arg(3, "date YYYY-MM-DD"));
    SunTimes sun = SunTimesOnDay(day, where);
    std::cout << "{\"date\":" << JsonString(IsoDateText(day)) << "," << pointJson(where)
              << ",\"sunrise\":" << JsonString(SunTimeText(sun.rise)) << ",\"sunset\":" << JsonString(SunTimeText(sun.set))
              << "}\n";
    return 0;
}

int geoCommand(CliContext &context)
{
    const std::string &sub = context.arg(0, GeoUsage);
    if (sub == "locator")
        return geoLocator(context);
    if (sub == "position")
        return geoPosition(context);
    if (sub == "path")
        return geoPath(context);
    if (sub == "sun")
        return geoSun(context);
    throw CliError("geo: unknown subcommand '" + sub + "' (" + GeoUsage + ")");
}

} // namespace

VELLUM_CLI_COMMAND("geo", GeoUsage, geoCommand);

} // namespace vellum::cli
