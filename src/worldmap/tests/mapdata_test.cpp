// The map file: written and read back, damaged files refused, and the real
// map of the default data: countries found under known points, their DXCC
// entities, and the sea.

#include "worldmap/areaindex.h"
#include "worldmap/mapdata.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum::worldmap {
namespace {

MapData smallMap()
{
    MapData data;
    MapLayer countries{"Countries", {}};
    MapArea square{"XX", "Square", "ZZ", {}, {}};
    MapRing ring;
    ring.points = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    square.rings.push_back(ring);
    MapRing hole;
    hole.points = {{14, 14}, {16, 14}, {16, 16}, {14, 16}};
    square.rings.push_back(hole);
    UpdateBoxes(square);
    countries.areas.push_back(square);
    MapArea enclave{"YY", "Enclave", "", {}, {}};
    MapRing inner;
    inner.points = {{14.5, 14.5}, {15.5, 14.5}, {15.5, 15.5}, {14.5, 15.5}};
    enclave.rings.push_back(inner);
    UpdateBoxes(enclave);
    countries.areas.push_back(enclave);
    data.layers.push_back(countries);
    return data;
}

TEST(MapFile, WrittenAndReadBack)
{
    MapData read = ReadMapBytes(WriteMapBytes(smallMap()));
    ASSERT_EQ(read.layers.size(), 1u);
    ASSERT_EQ(read.layers[0].areas.size(), 2u);
    const MapArea &square = read.layers[0].areas[0];
    EXPECT_EQ(square.code, "XX");
    EXPECT_EQ(square.title, "Square");
    EXPECT_EQ(square.prefix, "ZZ");
    ASSERT_EQ(square.rings.size(), 2u);
    EXPECT_DOUBLE_EQ(square.rings[0].points[2].lon, 20);
    EXPECT_DOUBLE_EQ(square.box.north, 20);
    EXPECT_EQ(read.PointCount(), 12u);
}

TEST(MapFile, DamagedFilesAreRefused)
{
    std::vector<std::uint8_t> good = WriteMapBytes(smallMap());
    auto refused = [](std::vector<std::uint8_t> bytes, const char *why) {
        EXPECT_THROW(ReadMapBytes(bytes), MapFileError) << why;
    };
    refused({}, "empty");
    refused({'V', 'M', 'A'}, "cut in the magic");
    auto wrongMagic = good;
    wrongMagic[0] = 'X';
    refused(wrongMagic, "not a map file");
    auto version = good;
    version[4] = 9;
    refused(version, "an unknown version");
    auto noLayers = good;
    noLayers[6] = noLayers[7] = 0;
    refused(noLayers, "no layers");
    for (std::size_t cut = 8; cut < good.size(); cut += 7)
        refused(std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)), "cut short");
    auto trailing = good;
    trailing.push_back(0);
    refused(trailing, "bytes after the last layer");
    // The first area's ring count (after "Countries" and the area count and three texts).
    std::size_t ringCount = 8 + 1 + 9 + 4 + 3 + 7 + 3;
    auto hugeCount = good;
    hugeCount[ringCount + 3] = 0x7F;
    refused(hugeCount, "a ring count larger than the file");
    std::size_t pointCount = ringCount + 4;
    auto twoPoints = good;
    twoPoints[pointCount] = 2;
    refused(twoPoints, "a ring of two points");
    auto offEarth = good;
    offEarth[pointCount + 4 + 3] = 0x7F; // the first longitude far beyond 180 degrees
    refused(offEarth, "a point outside the earth");
}

TEST(MapFile, MissingFileIsAnError)
{
    EXPECT_THROW(ReadMapFile("/nonexistent/WORLD.MAP"), MapFileError);
}

TEST(AreaIndex, HolesAndEnclaves)
{
    MapData data = smallMap();
    AreaIndex index(data.layers[0]);
    EXPECT_EQ(index.Find({12, 12}), 0u);
    EXPECT_EQ(index.Find({14.2, 14.2}), std::nullopt); // in the hole
    EXPECT_EQ(index.Find({15, 15}), 1u);               // the enclave inside the hole
    EXPECT_EQ(index.Find({30, 30}), std::nullopt);
    EXPECT_EQ(index.Find({NAN, 0}), std::nullopt);
}

// --- the real map ------------------------------------------------------------------------

class WorldMapFile : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::string name = MapFileName(VELLUM_DEFAULT_DATA_DIR);
        ASSERT_TRUE(std::filesystem::exists(name)) << name << " is built from the gmt-dcw package";
        map = new MapData(ReadMapFile(name));
        index = new AreaIndex(map->layers.at(0));
    }
    static void TearDownTestSuite()
    {
        delete index;
        delete map;
    }
    static std::string prefixAt(double lon, double lat)
    {
        auto found = index->Find({lon, lat});
        return found ? map->layers[0].areas[*found].prefix : "sea";
    }
    static inline MapData *map = nullptr;
    static inline AreaIndex *index = nullptr;
};

TEST_F(WorldMapFile, IsCompactWithCountriesAndStates)
{
    ASSERT_EQ(map->layers.size(), 2u);
    EXPECT_EQ(map->layers[0].name, "Countries");
    EXPECT_EQ(map->layers[1].name, "States");
    EXPECT_GT(map->layers[0].areas.size(), 240u);
    EXPECT_GT(map->layers[1].areas.size(), 60u);
    EXPECT_LT(std::filesystem::file_size(MapFileName(VELLUM_DEFAULT_DATA_DIR)), 4'000'000u);
    std::size_t withEntity = 0;
    for (const MapArea &area : map->layers[0].areas) {
        withEntity += area.prefix.empty() ? 0 : 1;
        for (const MapRing &ring : area.rings)
            EXPECT_LE(ring.box.east - ring.box.west, 360.0) << area.code;
    }
    EXPECT_GT(withEntity, 240u);
}

TEST_F(WorldMapFile, CapitalsLieInTheirCountries)
{
    EXPECT_EQ(prefixAt(13.40, 52.52), "DL");    // Berlin
    EXPECT_EQ(prefixAt(2.35, 48.86), "F");      // Paris
    EXPECT_EQ(prefixAt(-77.04, 38.90), "K");    // Washington
    EXPECT_EQ(prefixAt(139.69, 35.68), "JA");   // Tokyo
    EXPECT_EQ(prefixAt(149.13, -35.28), "VK");  // Canberra
    EXPECT_EQ(prefixAt(-47.88, -15.79), "PY");  // Brasilia
    EXPECT_EQ(prefixAt(36.82, -1.29), "5Z");    // Nairobi
    EXPECT_EQ(prefixAt(37.62, 55.75), "UA9");   // Moscow (the Russian Federation's entity of the table)
    EXPECT_EQ(prefixAt(12.453, 41.904), "HV");    // Vatican City inside Rome
    EXPECT_EQ(prefixAt(27.48, -29.31), "7P");   // Maseru, Lesotho inside South Africa
}

TEST_F(WorldMapFile, SeaIsNoCountry)
{
    EXPECT_EQ(prefixAt(-30, 0), "sea");    // the middle of the Atlantic
    EXPECT_EQ(prefixAt(-150, 30), "sea");  // the North Pacific
    EXPECT_EQ(prefixAt(180, 0), "sea");    // the antimeridian at the equator
}

TEST_F(WorldMapFile, BothSidesOfTheAntimeridian)
{
    EXPECT_EQ(prefixAt(177.5, 64.7), "UA9");  // Anadyr, west of the antimeridian
    EXPECT_EQ(prefixAt(-178.5, 65.5), "UA9"); // Chukotka, east of it
    EXPECT_EQ(prefixAt(-175.5, 65.0), "UA9");
    EXPECT_EQ(prefixAt(178.0, -17.8), "3D2"); // Viti Levu, Fiji
    EXPECT_EQ(prefixAt(-170.0, 68.0), "sea"); // the Chukchi Sea
}

TEST_F(WorldMapFile, AntarcticaAroundThePole)
{
    EXPECT_EQ(prefixAt(10, -85), "CE9");
    EXPECT_EQ(prefixAt(179.9, -89.9), "CE9");
    EXPECT_EQ(prefixAt(-120, -80), "CE9");
}

} // namespace
} // namespace vellum::worldmap
