// vellum-cli geo: the commands' JSON and their refusals of bad input.

#include "testsupport/command.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <string>

namespace vellum {
namespace {

test::CommandRun geo(const test::TempDir &dir, const std::string &arguments)
{
    return test::RunCommand(std::string(VELLUM_CLI) + " --dir " + dir.path() + " geo " + arguments + " 2>&1");
}

TEST(GeoCli, LocatorsPathsAndSunTimesAsJson)
{
    test::TempDir dir;
    EXPECT_EQ(geo(dir, "locator 0 0").out, "{\"locator\":\"JJ00aa\"}\n");
    EXPECT_EQ(geo(dir, "locator 90 180").out, "{\"locator\":\"AR09ax\"}\n");
    EXPECT_EQ(geo(dir, "position jo62qm").out, "{\"locator\":\"JO62qm\",\"latitude\":52.520833,\"longitude\":13.375000}\n");
    EXPECT_EQ(geo(dir, "path 0,10 0,0").out,
              "{\"bearing\":270,\"longPathBearing\":90,\"reciprocal\":90,\"km\":1111.9,\"miles\":690.9}\n");
    std::string sun = geo(dir, "sun 51.5074 -0.1278 2024-06-21").out;
    EXPECT_NE(sun.find("\"sunrise\":\"03:4"), std::string::npos) << sun;
    EXPECT_NE(sun.find("\"sunset\":\"20:2"), std::string::npos) << sun;
    EXPECT_NE(geo(dir, "sun 69.65 18.95 2024-12-21").out.find("\"sunrise\":\"--:--\",\"sunset\":\"--:--\""),
              std::string::npos);
    for (const char *bad : {"locator 91 0", "locator nan 0", "locator 1e999 0", "position ZZ99", "path JO62 XX",
                            "sun 0 0 2024-13-01", "sun 0 0", "orbit"}) {
        test::CommandRun run = geo(dir, bad);
        EXPECT_EQ(run.status, 1) << bad;
        EXPECT_NE(run.out.find("vellum-cli:"), std::string::npos) << bad << ": " << run.out;
    }
}

} // namespace
} // namespace vellum
