#pragma once
// Day and night on the map: the point where the sun stands overhead for a date
// and time, the sun's height above the horizon anywhere, and the shading of a
// picture's pixels by it.

#include "projection.h"

#include <cstdint>
#include <vector>

namespace vellum::worldmap {

/// The subsolar point (latitude = the sun's declination) at a UTC date and time.
LonLat SubsolarPoint(int year, int month, int day, int minutesOfDay);
/// The sun's elevation in degrees at a position, seen with the sun overhead at subsolar.
double SunElevation(LonLat subsolar, LonLat position);

/// How dark a place is: 0 in daylight, 255 at night (the sun 6 degrees below the
/// horizon or lower), in between in twilight.
std::uint8_t NightLevel(double sunElevation);

/// The night levels of a picture sampled every `step` pixels: a grid of
/// Columns() x Rows() cells, 0 (no shading) off the map.
class NightMask {
public:
    NightMask(const MapProjection &projection, LonLat subsolar, int step);
    int Columns() const { return m_columns; }
    int Rows() const { return m_rows; }
    int Step() const { return m_step; }
    std::uint8_t At(int column, int row) const { return m_levels[static_cast<std::size_t>(row * m_columns + column)]; }

private:
    int m_columns, m_rows, m_step;
    std::vector<std::uint8_t> m_levels;
};

} // namespace vellum::worldmap
