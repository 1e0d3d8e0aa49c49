#pragma once
// Which area of a map layer lies under a position: a grid of 5-degree cells
// lists the areas whose rings' boxes touch it; the rings of those areas are
// tested point-in-polygon. Where areas overlap (an enclave drawn without its
// hole) the smallest one wins.

#include "mapdata.h"

#include <optional>
#include <vector>

namespace vellum::worldmap {

class AreaIndex {
public:
    explicit AreaIndex(const MapLayer &layer);

    /// The index of the area containing the position in the layer; nothing at sea.
    std::optional<std::size_t> Find(LonLat position) const;
    /// Whether the area contains the position (an odd number of its rings around it).
    static bool Contains(const MapArea &area, LonLat position);

private:
    static constexpr int CellDegrees = 5;
    static constexpr int Columns = 360 / CellDegrees, Rows = 180 / CellDegrees;
    static std::size_t cellOf(double lon, double lat);

    const MapLayer &m_layer;
    std::vector<std::vector<std::uint32_t>> m_cells;
    std::vector<double> m_boxArea;
};

} // namespace vellum::worldmap
