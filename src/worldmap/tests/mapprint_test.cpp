// The map printed through the print engine into a PDF file (what "Print Map"
// sends to the printer), and the PNG of vellum-cli map, read back.

#include "worldmap/maprender.h"
#include "worldmap/mapscene.h"
#include "worldmap/worldmapstate.h"

#include "testsupport/command.h"
#include "testsupport/tempdir.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum::worldmap {
namespace {

std::string run(const std::string &command) { return test::RunCommand(command).out; }

MapScene sceneWithPath(const MapData &map)
{
    WorldMapState state;
    state.home = {13.4, 52.5};
    state.projection = ProjectionKind::Mercator;
    state.targetKey = "FN20";
    state.target = {-75, 40.5};
    state.mapDay = 45000;
    state.mapMinute = 600;
    state.SetOption(MapOption::DayAndNight, true);
    return state.Scene(&map, {}, 1600, {});
}

TEST(MapPrint, PdfHoldsTheCaptionAndTheMap)
{
    test::TempDir dir;
    MapData map = ReadMapFile(MapFileName(VELLUM_DEFAULT_DATA_DIR));
    std::string pdf = dir.file("map.pdf");
    WriteMapPdf(sceneWithPath(map), "World Map - Mercator", pdf);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_GT(std::filesystem::file_size(pdf), 50'000u) << "the countries are drawn as paths";
    EXPECT_NE(run("pdftotext '" + pdf + "' -").find("World Map - Mercator"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(pdf + ".tmp"));
}

TEST(MapPrint, UnwritablePdfLeavesNothing)
{
    EXPECT_THROW(WriteMapPdf(MapScene{}, "x", "/nonexistent-folder/map.pdf"), MapFileError);
}

TEST(MapPicture, CommandLineDrawsTheWindowsPicture)
{
    test::TempDir dir;
    std::string png = dir.file("map.png");
    std::string out = run(std::string(VELLUM_CLI) + " --dir '" + dir.path() + "' map --png '" + png +
                          "' --projection 4 --size 640x400 --path 52.5,13.4 40.7,-74.0 --night 2024-06-21T18:30 2>&1");
    EXPECT_NE(out.find("\"projection\":\"Equi-Distant\""), std::string::npos) << out;
    QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull()) << out;
    EXPECT_EQ(image.size(), QSize(640, 400));
    // The home point lies in the middle of the equidistant map: the red dot.
    QColor centre = image.pixelColor(320, 200);
    EXPECT_GT(centre.red(), 150);
    EXPECT_LT(centre.green(), 80);
    // A wrong option is refused with a message and no picture.
    out = run(std::string(VELLUM_CLI) + " --dir '" + dir.path() + "' map --png '" + dir.file("bad.png") +
              "' --center 95,0 2>&1; echo status=$?");
    EXPECT_NE(out.find("not on the earth"), std::string::npos) << out;
    EXPECT_NE(out.find("status=1"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.png")));
}

} // namespace
} // namespace vellum::worldmap
