#include "mapscene.h"

#include "mapgeometry.h"

#include <array>

namespace vellum::worldmap {

namespace {

constexpr double RingMilesDegrees = 14.4737, RingKmDegrees = 17.9986;
constexpr double BearingLineDegrees = 179.82;
constexpr double GridStep = 15;

} // namespace

std::vector<std::vector<LonLat>> GraticuleLines(ProjectionKind kind, LonLat centre, bool miles)
{
    std::vector<std::vector<LonLat>> lines;
    if (kind == ProjectionKind::EquiDistant) {
        double ring = miles ? RingMilesDegrees : RingKmDegrees;
        for (double radius = ring; radius < 180; radius += ring)
            lines.push_back(CirclePoints(centre, radius));
        for (int bearing = 0; bearing < 360; bearing += 15) {
            std::vector<LonLat> line;
            for (double d = 0; d < BearingLineDegrees; d += 2)
                line.push_back(Destination(centre, bearing, d));
            line.push_back(Destination(centre, bearing, BearingLineDegrees));
            lines.push_back(std::move(line));
        }
        return lines;
    }
    for (double lon = -180; lon < 180; lon += GridStep) {
        std::vector<LonLat> meridian;
        for (double lat = -90; lat <= 90; lat += 2)
            meridian.push_back({lon, lat});
        lines.push_back(std::move(meridian));
    }
    for (double lat = -75; lat <= 75; lat += GridStep) {
        std::vector<LonLat> parallel;
        for (double lon = -180; lon <= 180; lon += 2)
            parallel.push_back({lon, lat});
        lines.push_back(std::move(parallel));
    }
    return lines;
}

MapColor PaletteColor(std::size_t area)
{
    // Soft colours of a printed political map (0x00BBGGRR).
    static constexpr std::array<MapColor, 8> Palette = {0x9BD3F0, 0xA8E0B8, 0xC7B3E8, 0x8CC8F5,
                                                         0xB8D8A0, 0xD0C0F0, 0x98E8E0, 0xB0B0E8};
    return Palette[area % Palette.size()];
}

} // namespace vellum::worldmap
