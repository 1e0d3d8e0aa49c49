#include "nightshade.h"

#include <algorithm>
#include <cmath>

namespace vellum::worldmap {

namespace {

/// Days since 2000-01-01 12:00 UTC (J2000.0) of a civil date and time.
double daysSinceJ2000(int year, int month, int day, int minutesOfDay)
{
    // Days from the civil calendar (proleptic Gregorian), 1970-01-01 = 0.
    int y = year - (month <= 2 ? 1 : 0);
    int era = (y >= 0 ? y : y - 399) / 400;
    int yoe = y - era * 400;
    int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    double unixDays = era * 146097.0 + doe - 719468.0;
    return unixDays - 10957.5 + minutesOfDay / 1440.0;
}

constexpr double TwilightDegrees = 6.0;

} // namespace

LonLat SubsolarPoint(int year, int month, int day, int minutesOfDay)
{
    // The low-precision solar coordinates of the Astronomical Almanac (better than 0.01 degrees).
    double n = daysSinceJ2000(year, month, day, minutesOfDay);
    double meanLongitude = std::fmod(280.460 + 0.9856474 * n, 360.0);
    double meanAnomaly = std::fmod(357.528 + 0.9856003 * n, 360.0) * DegToRad;
    double eclipticLongitude =
        (meanLongitude + 1.915 * std::sin(meanAnomaly) + 0.020 * std::sin(2 * meanAnomaly)) * DegToRad;
    double obliquity = (23.439 - 0.0000004 * n) * DegToRad;
    double declination = std::asin(ClampUnit(std::sin(obliquity) * std::sin(eclipticLongitude)));
    double rightAscension = std::atan2(std::cos(obliquity) * std::sin(eclipticLongitude), std::cos(eclipticLongitude));
    // Greenwich mean sidereal time in degrees; the sun is overhead where the hour angle is 0.
    double gmst = std::fmod(280.46061837 + 360.98564736629 * n, 360.0);
    double lon = WrapLongitude(rightAscension * RadToDeg - gmst);
    return {lon, declination * RadToDeg};
}

double SunElevation(LonLat subsolar, LonLat position)
{
    return 90.0 - ArcRadians(subsolar, position) * RadToDeg;
}

std::uint8_t NightLevel(double sunElevation)
{
    double darkness = std::clamp(-std::sin(sunElevation * DegToRad) / std::sin(TwilightDegrees * DegToRad), 0.0, 1.0);
    return static_cast<std::uint8_t>(std::lround(darkness * 255));
}

NightMask::NightMask(const MapProjection &projection, LonLat subsolar, int step)
    : m_columns(static_cast<int>(std::ceil(projection.Width() / std::max(step, 1))) + 1),
      m_rows(static_cast<int>(std::ceil(projection.Height() / std::max(step, 1))) + 1), m_step(std::max(step, 1)),
      m_levels(static_cast<std::size_t>(m_columns * m_rows), 0)
{
    Vec3 sun = ToVector(subsolar);
    double twilightSine = std::sin(TwilightDegrees * DegToRad);
    for (int row = 0; row < m_rows; ++row)
        for (int column = 0; column < m_columns; ++column) {
            auto position = projection.Inverse({double(column * m_step), double(row * m_step)});
            if (!position)
                continue;
            // The sine of the sun's elevation is the dot product with the subsolar point.
            double sine = Dot(sun, ToVector(*position));
            double darkness = std::clamp(-sine / twilightSine, 0.0, 1.0);
            m_levels[static_cast<std::size_t>(row * m_columns + column)] =
                static_cast<std::uint8_t>(std::lround(darkness * 255));
        }
}

} // namespace vellum::worldmap
