#include "sun.h"

#include "logstore/daytime.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vellum {

namespace {

constexpr double Radians = std::numbers::pi / 180.0;
constexpr double MinutesPerDay = 1440.0;
/// The sun's centre this far below the horizon: its radius and standard refraction.
constexpr double HorizonZenith = 90.833;

double sinDeg(double degrees) { return std::sin(degrees * Radians); }
double cosDeg(double degrees) { return std::cos(degrees * Radians); }

/// Julian day number of 0h UTC of a Gregorian date.
double julianDay(int year, int month, int day)
{
    if (month <= 2) {
        year -= 1;
        month += 12;
    }
    int century = year / 100;
    int gregorian = 2 - century + century / 4;
    return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day + gregorian - 1524.5;
}

struct SolarPosition {
    double declination = 0;     ///< degrees
    double equationOfTime = 0;  ///< minutes
};

/// The sun's declination and the equation of time at a Julian date (the usual
/// low-precision solar coordinates, good to a fraction of a minute).
SolarPosition solarPosition(double julianDate)
{
    double t = (julianDate - 2451545.0) / 36525.0;
    double meanLongitude = std::fmod(280.46646 + t * (36000.76983 + t * 0.0003032), 360.0);
    double meanAnomaly = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    double eccentricity = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
    double centre = sinDeg(meanAnomaly) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                    sinDeg(2 * meanAnomaly) * (0.019993 - 0.000101 * t) + sinDeg(3 * meanAnomaly) * 0.000289;
    double omega = 125.04 - 1934.136 * t;
    double apparentLongitude = meanLongitude + centre - 0.00569 - 0.00478 * sinDeg(omega);
    double meanObliquity = 23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
    double obliquity = meanObliquity + 0.00256 * cosDeg(omega);
    SolarPosition position;
    position.declination = std::asin(std::clamp(sinDeg(obliquity) * sinDeg(apparentLongitude), -1.0, 1.0)) / Radians;
    double y = std::tan(obliquity * Radians / 2);
    y *= y;
    double l0 = meanLongitude * Radians, m = meanAnomaly * Radians;
    double e = eccentricity;
    position.equationOfTime = 4.0 / Radians *
                              (y * std::sin(2 * l0) - 2 * e * std::sin(m) + 4 * e * y * std::sin(m) * std::cos(2 * l0) -
                               0.5 * y * y * std::sin(4 * l0) - 1.25 * e * e * std::sin(2 * m));
    return position;
}

enum class Event { Rise = -1, Set = 1 };

/// Minutes after 0h UTC of the day (may lie outside 0..1440) of the event, or
/// nothing when the sun stays above or below the horizon all day.
std::optional<double> eventMinutes(double dayStart, GeoPoint where, Event event)
{
    double minutes = 720.0 - 4.0 * where.longitude; // first guess: local noon
    for (int pass = 0; pass < 3; ++pass) {
        SolarPosition sun = solarPosition(dayStart + minutes / MinutesPerDay);
        double denominator = cosDeg(where.latitude) * cosDeg(sun.declination);
        double numerator = cosDeg(HorizonZenith) - sinDeg(where.latitude) * sinDeg(sun.declination);
        // At a pole the hour angle is undefined: the sun is up or down all day.
        if (std::fabs(denominator) < 1e-12 || std::fabs(numerator) > std::fabs(denominator))
            return std::nullopt;
        double hourAngle = std::acos(std::clamp(numerator / denominator, -1.0, 1.0)) / Radians;
        minutes = 720.0 - 4.0 * where.longitude - sun.equationOfTime + static_cast<int>(event) * 4.0 * hourAngle;
    }
    return minutes;
}

std::int32_t secondsOfDay(std::optional<double> minutes)
{
    if (!minutes || !std::isfinite(*minutes))
        return NoSunTime;
    double seconds = std::fmod(std::nearbyint(*minutes * 60.0), 86400.0);
    if (seconds < 0)
        seconds += 86400.0;
    return static_cast<std::int32_t>(seconds);
}

} // namespace

SunTimes SunTimesOn(int year, int month, int day, GeoPoint where)
{
    if (!std::isfinite(where.latitude) || !std::isfinite(where.longitude) || std::fabs(where.latitude) > 90 ||
        std::fabs(where.longitude) > 180)
        return {};
    double dayStart = julianDay(year, month, day);
    return {secondsOfDay(eventMinutes(dayStart, where, Event::Rise)),
            secondsOfDay(eventMinutes(dayStart, where, Event::Set))};
}

SunTimes SunTimesOnDay(std::uint16_t dayNumber, GeoPoint where)
{
    CalendarDate date = SplitDayNumber(dayNumber);
    return SunTimesOn(date.year, date.month, date.day, where);
}

std::string SunTimeText(std::int32_t seconds)
{
    if (seconds < 0)
        return "--:--";
    return FormatTime((seconds + 30) / 60 * 60 % 86400, false); // to the nearest minute
}

std::optional<std::int32_t> SunTimeDistance(std::int32_t a, std::int32_t b)
{
    if (a < 0 || b < 0)
        return std::nullopt;
    std::int32_t apart = std::abs(a - b);
    return std::min(apart, 86400 - apart);
}

std::vector<SunYearRow> OneYearSunTable(std::uint16_t firstDay, GeoPoint home, GeoPoint dx)
{
    std::vector<SunYearRow> rows;
    rows.reserve(365);
    for (int i = 0; i < 365 && firstDay + i <= LastValidDay; ++i) {
        auto day = static_cast<std::uint16_t>(firstDay + i);
        rows.push_back({day, SunTimesOnDay(day, home), SunTimesOnDay(day, dx)});
    }
    return rows;
}

std::vector<GreyLineRow> GreyLineList(std::uint16_t day, SunTimes home, std::int32_t window,
                                      const std::vector<GreyLinePlace> &places)
{
    std::vector<GreyLineRow> rows;
    for (const GreyLinePlace &place : places) {
        SunTimes dx = SunTimesOnDay(day, place.where);
        auto riseToSet = SunTimeDistance(home.rise, dx.set);
        auto setToRise = SunTimeDistance(home.set, dx.rise);
        if (!riseToSet && !setToRise)
            continue;
        std::int32_t difference = std::min(riseToSet.value_or(86400), setToRise.value_or(86400));
        if (difference <= window)
            rows.push_back({&place, dx, difference});
    }
    return rows;
}

} // namespace vellum
