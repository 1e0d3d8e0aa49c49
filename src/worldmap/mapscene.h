#pragma once
// What one picture of the world map shows: the projection and view, the map
// and its visible layers, the colours, day and night, and the lines and labels
// drawn over it. The window, vellum-cli and the benchmarks fill one in; the
// renderer draws it.

#include "mapdata.h"
#include "projection.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vellum::worldmap {

/// Colours as the configuration stores them: 0x00BBGGRR.
using MapColor = std::uint32_t;
inline constexpr MapColor Red = 0x0000FF, Black = 0x000000, Yellow = 0x00FFFF, LightGrey = 0xC0C0C0;
inline constexpr MapColor DefaultWater = 0xFFFF00, DefaultLand = 0x008000;

struct SceneLine {
    std::vector<LonLat> points;
    MapColor color = Red;
    double width = 1;
};

struct SceneLabel {
    LonLat at;
    std::string text; ///< cp1252
    MapColor color = Black;
    MapColor background = Yellow;
};

struct MapScene {
    ProjectionKind projection = ProjectionKind::Cartesian;
    MapView view;
    const MapData *map = nullptr;
    std::vector<bool> layerVisible;       ///< by map layer; missing entries are visible
    bool graticule = true;
    bool graticuleInFront = false;
    bool miles = false;                   ///< the equidistant graticule's rings every 1000 miles, else 2000 km
    MapColor water = DefaultWater;
    MapColor land = DefaultLand;
    bool colorCountries = false;
    std::optional<std::size_t> selected;  ///< an area of selectedLayer, filled yellow
    std::size_t selectedLayer = 0;
    std::optional<LonLat> subsolar;       ///< night shading for the sun overhead there
    MapColor nightColor = LightGrey;
    std::vector<SceneLine> lines;
    std::vector<SceneLabel> labels;
    std::optional<LonLat> home;           ///< marked with a dot

    bool LayerVisible(std::size_t layer) const { return layer >= layerVisible.size() || layerVisible[layer]; }
};

/// The graticule of the projection: meridians and parallels every 15 degrees, or
/// for the equidistant projection the rings around its centre every 1000 miles
/// (or 2000 km) out to 180 degrees and 24 great circles from it every 15 degrees.
std::vector<std::vector<LonLat>> GraticuleLines(ProjectionKind kind, LonLat centre, bool miles);

/// The fill of "Color Countries": a fixed palette chosen by the area's number.
MapColor PaletteColor(std::size_t area);

} // namespace vellum::worldmap
