#pragma once
// The map file of the world map ("maps/WORLD.MAP" of the data folder): the
// country polygons of a public map data set, each tied to its DXCC entity,
// and the first-level divisions (states) of the large countries.
//
// Layout (little endian): "VMAP", version u16 (1), layer count u16, then per
// layer its name (length byte + text) and its area count u32; per area its
// code, title and DXCC prefix (length byte + cp1252 text each), its ring count
// u32, per ring its point count u32 and the points as longitude and latitude
// in map units (signed 32 bit, 5,400,000 per degree).

#include "mapunits.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace vellum::worldmap {

struct GeoBox {
    double west = 180, south = 90, east = -180, north = -90;
    bool Contains(LonLat p) const { return p.lon >= west && p.lon <= east && p.lat >= south && p.lat <= north; }
    void Take(LonLat p);
};

/// One closed outline (the last point joins the first).
struct MapRing {
    std::vector<LonLat> points;
    GeoBox box;
};

/// A country or state: its rings (islands; an odd number of rings around a
/// point puts the point inside) and its title.
struct MapArea {
    std::string code;   ///< the data set's code ("DE", "US.TX")
    std::string title;  ///< "Germany", "Texas"
    std::string prefix; ///< the DXCC entity's prefix of the country file ("DL"); empty when none
    std::vector<MapRing> rings;
    GeoBox box;
};

struct MapLayer {
    std::string name;
    std::vector<MapArea> areas;
};

struct MapData {
    std::vector<MapLayer> layers;
    std::size_t PointCount() const;
};

/// Sets the boxes of the area's rings and of the area from their points.
void UpdateBoxes(MapArea &area);

/// A map file that cannot be used; the message names what and where.
class MapFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::uint16_t MapFileVersion = 1;

/// Reads a map file's bytes; a MapFileError when they are not a whole, sound map file.
MapData ReadMapBytes(std::span<const std::uint8_t> bytes);
/// Reads the map file; a MapFileError when it is missing or not sound.
MapData ReadMapFile(const std::string &fileName);
std::vector<std::uint8_t> WriteMapBytes(const MapData &data);

/// The map file's name in a data folder: <folder>/maps/WORLD.MAP.
std::string MapFileName(const std::string &dataFolder);
/// The map file to use: the one in the program directory's "maps" folder, else the default data's.
std::string FindMapFile();

} // namespace vellum::worldmap
