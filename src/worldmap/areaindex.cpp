#include "areaindex.h"

#include <algorithm>
#include <cmath>

namespace vellum::worldmap {

namespace {

bool ringContains(const MapRing &ring, LonLat p)
{
    if (!ring.box.Contains(p))
        return false;
    bool inside = false;
    const std::vector<LonLat> &points = ring.points;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const LonLat &a = points[i], &b = points[j];
        if ((a.lat > p.lat) != (b.lat > p.lat) && p.lon < (b.lon - a.lon) * (p.lat - a.lat) / (b.lat - a.lat) + a.lon)
            inside = !inside;
    }
    return inside;
}

} // namespace

std::size_t AreaIndex::cellOf(double lon, double lat)
{
    int column = std::clamp(static_cast<int>(std::floor((lon + 180) / CellDegrees)), 0, Columns - 1);
    int row = std::clamp(static_cast<int>(std::floor((lat + 90) / CellDegrees)), 0, Rows - 1);
    return static_cast<std::size_t>(row * Columns + column);
}

AreaIndex::AreaIndex(const MapLayer &layer) : m_layer(layer), m_cells(static_cast<std::size_t>(Columns * Rows))
{
    for (std::size_t a = 0; a < layer.areas.size(); ++a) {
        const MapArea &area = layer.areas[a];
        m_boxArea.push_back((area.box.east - area.box.west) * (area.box.north - area.box.south));
        for (const MapRing &ring : area.rings) {
            std::size_t first = cellOf(ring.box.west, ring.box.south), last = cellOf(ring.box.east, ring.box.north);
            for (std::size_t row = first / Columns; row <= last / Columns; ++row)
                for (std::size_t column = first % Columns; column <= last % Columns; ++column) {
                    std::vector<std::uint32_t> &cell = m_cells[row * Columns + column];
                    if (cell.empty() || cell.back() != a)
                        cell.push_back(static_cast<std::uint32_t>(a));
                }
        }
    }
}

bool AreaIndex::Contains(const MapArea &area, LonLat position)
{
    if (!area.box.Contains(position))
        return false;
    bool inside = false;
    for (const MapRing &ring : area.rings)
        inside = inside != ringContains(ring, position);
    return inside;
}

std::optional<std::size_t> AreaIndex::Find(LonLat position) const
{
    if (!std::isfinite(position.lon) || !std::isfinite(position.lat) || std::abs(position.lat) > 90)
        return std::nullopt;
    position.lon = WrapLongitude(position.lon);
    std::optional<std::size_t> best;
    for (std::uint32_t a : m_cells[cellOf(position.lon, position.lat)])
        if (Contains(m_layer.areas[a], position) && (!best || m_boxArea[a] < m_boxArea[*best]))
            best = a;
    return best;
}

} // namespace vellum::worldmap
