// Fuzz target: reading a map file from arbitrary bytes, then indexing its
// first layer and looking a few points up, as the world map window does.

#include "worldmap/areaindex.h"
#include "worldmap/mapdata.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace vellum::worldmap;
    MapData map;
    try {
        map = ReadMapBytes(std::span<const std::uint8_t>(data, size));
    } catch (const MapFileError &) {
        return 0; // a damaged map file is refused, never drawn
    }
    AreaIndex index(map.layers.front());
    (void)index.Find({0, 0});
    (void)index.Find({179.99, -89.99});
    (void)index.Find({-180, 90});
    return 0;
}
