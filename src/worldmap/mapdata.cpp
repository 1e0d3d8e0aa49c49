#include "mapdata.h"

#include "logstore/bytes.h"
#include "logstore/paths.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vellum::worldmap {

namespace {

constexpr char Magic[4] = {'V', 'M', 'A', 'P'};
constexpr std::uint32_t PointBytes = 8;
constexpr std::uint32_t MinRingPoints = 3;
constexpr std::uint16_t MaxLayers = 16;

std::string text(ByteReader &in)
{
    std::uint8_t length = in.u8();
    std::string value(length, '\0');
    in.bytes(value.data(), length);
    return value;
}

void writeText(ByteWriter &out, const std::string &value)
{
    std::size_t length = std::min<std::size_t>(value.size(), 255);
    out.u8(static_cast<std::uint8_t>(length));
    for (std::size_t i = 0; i < length; ++i)
        out.u8(static_cast<std::uint8_t>(value[i]));
}

std::string where(const ByteReader &in) { return " at byte " + std::to_string(in.offset()); }

MapRing readRing(ByteReader &in)
{
    std::uint32_t count = in.u32();
    if (count < MinRingPoints)
        throw MapFileError("a ring of " + std::to_string(count) + " points" + where(in));
    in.expectRecords(count, PointBytes, "points");
    MapRing ring;
    ring.points.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        LonLat p{FromMapUnits(in.i32()), FromMapUnits(in.i32())};
        if (std::abs(p.lon) > 180.0 || std::abs(p.lat) > 90.0)
            throw MapFileError("a point outside the earth" + where(in));
        ring.points.push_back(p);
    }
    return ring;
}

MapArea readArea(ByteReader &in)
{
    MapArea area;
    area.code = text(in);
    area.title = text(in);
    area.prefix = text(in);
    std::uint32_t rings = in.u32();
    in.expectRecords(rings, 4 + MinRingPoints * PointBytes, "rings");
    area.rings.reserve(rings);
    for (std::uint32_t i = 0; i < rings; ++i)
        area.rings.push_back(readRing(in));
    UpdateBoxes(area);
    return area;
}

} // namespace

void GeoBox::Take(LonLat p)
{
    west = std::min(west, p.lon), east = std::max(east, p.lon);
    south = std::min(south, p.lat), north = std::max(north, p.lat);
}

void UpdateBoxes(MapArea &area)
{
    area.box = {};
    for (MapRing &ring : area.rings) {
        ring.box = {};
        for (LonLat p : ring.points)
            ring.box.Take(p);
        area.box.Take({ring.box.west, ring.box.south});
        area.box.Take({ring.box.east, ring.box.north});
    }
}

std::size_t MapData::PointCount() const
{
    std::size_t count = 0;
    for (const MapLayer &layer : layers)
        for (const MapArea &area : layer.areas)
            for (const MapRing &ring : area.rings)
                count += ring.points.size();
    return count;
}

MapData ReadMapBytes(std::span<const std::uint8_t> bytes)
{
    ByteReader in(bytes);
    try {
        char magic[4];
        in.bytes(magic, sizeof magic);
        if (!std::equal(std::begin(magic), std::end(magic), std::begin(Magic)))
            throw MapFileError("not a map file (no \"VMAP\" at its start)");
        std::uint16_t version = in.u16();
        if (version != MapFileVersion)
            throw MapFileError("map file version " + std::to_string(version) + " is not known");
        std::uint16_t layers = in.u16();
        if (layers == 0 || layers > MaxLayers)
            throw MapFileError("a map file with " + std::to_string(layers) + " layers");
        MapData data;
        for (std::uint16_t l = 0; l < layers; ++l) {
            MapLayer layer;
            layer.name = text(in);
            std::uint32_t areas = in.u32();
            in.expectRecords(areas, 7, "areas");
            layer.areas.reserve(areas);
            for (std::uint32_t a = 0; a < areas; ++a)
                layer.areas.push_back(readArea(in));
            data.layers.push_back(std::move(layer));
        }
        if (!in.atEnd())
            throw MapFileError(std::to_string(in.remaining()) + " bytes after the last layer");
        return data;
    } catch (const ShortRead &error) {
        throw MapFileError(error.what());
    }
}

MapData ReadMapFile(const std::string &fileName)
{
    std::ifstream file(fileName, std::ios::binary);
    if (!file)
        throw MapFileError(fileName + ": cannot be opened");
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    try {
        return ReadMapBytes(bytes);
    } catch (const MapFileError &error) {
        throw MapFileError(fileName + ": " + error.what());
    }
}

std::vector<std::uint8_t> WriteMapBytes(const MapData &data)
{
    std::vector<std::uint8_t> bytes(std::begin(Magic), std::end(Magic));
    ByteWriter out(bytes);
    out.u16(MapFileVersion);
    out.u16(static_cast<std::uint16_t>(data.layers.size()));
    for (const MapLayer &layer : data.layers) {
        writeText(out, layer.name);
        out.u32(static_cast<std::uint32_t>(layer.areas.size()));
        for (const MapArea &area : layer.areas) {
            writeText(out, area.code);
            writeText(out, area.title);
            writeText(out, area.prefix);
            out.u32(static_cast<std::uint32_t>(area.rings.size()));
            for (const MapRing &ring : area.rings) {
                out.u32(static_cast<std::uint32_t>(ring.points.size()));
                for (LonLat p : ring.points) {
                    out.i32(ToMapUnits(p.lon));
                    out.i32(ToMapUnits(p.lat));
                }
            }
        }
    }
    return bytes;
}

std::string MapFileName(const std::string &dataFolder) { return dataFolder + "/maps/WORLD.MAP"; }

std::string FindMapFile()
{
    std::string own = MapsDir() + "/WORLD.MAP";
    std::error_code error;
    return std::filesystem::exists(own, error) ? own : MapFileName(VELLUM_DEFAULT_DATA_DIR);
}

} // namespace vellum::worldmap
