// The ports file: COMn to a device, edited by hand.

#include "station/portmap.h"

#include "logstore/paths.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

TEST(PortMap, DefaultsHandEditsAndBadLines)
{
    PortMap ports;
    EXPECT_EQ(ports.DevicePath(1), "/dev/ttyS0");
    EXPECT_EQ(ports.DevicePath(8), "/dev/ttyS7");
    EXPECT_EQ(ports.DevicePath(9), "");
    std::vector<std::string> problems;
    ports.Parse("# mine\r\nCOM2 = /dev/ttyUSB0\r\nCOM9=/dev/x\nCOM3=relative\nrubbish\n\nCOM4=/dev/a b\n", problems);
    EXPECT_EQ(ports.DevicePath(2), "/dev/ttyUSB0") << "blanks and CR around the parts are fine";
    EXPECT_EQ(ports.DevicePath(3), "/dev/ttyS2");
    EXPECT_EQ(ports.DevicePath(4), "/dev/ttyS3");
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0].substr(0, 7), "line 3:");

    test::TempDir dir;
    SetProgramDir(dir.path());
    ports.Save();
    problems.clear();
    EXPECT_EQ(PortMap::Load(problems).Text(), ports.Text());
    EXPECT_TRUE(problems.empty());
}

} // namespace
} // namespace vellum
