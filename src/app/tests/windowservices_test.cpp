#include "app/Fmain.h"
#include "app/Fprogres.h"
#include "app/windowservices.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

TEST(KeepOnScreen, MovesWindowsOntoTheScreenAndClearOfTheMainBar)
{
    const QRect bar(0, 0, 1600, 40);
    const QSize screen(1600, 1000);
    // Right of the screen: moved left until it fits.
    EXPECT_EQ(KeepOnScreenRect(QRect(1500, 100, 300, 200), bar, screen, false), QRect(1300, 100, 300, 200));
    // Wider than the screen: left 0 and the screen's width.
    EXPECT_EQ(KeepOnScreenRect(QRect(100, 100, 2000, 200), bar, screen, false), QRect(0, 100, 1600, 200));
    // Negative left and top, and under the main bar: moved below the bar.
    EXPECT_EQ(KeepOnScreenRect(QRect(-20, -5, 300, 200), bar, screen, false), QRect(0, 40, 300, 200));
    EXPECT_EQ(KeepOnScreenRect(QRect(10, 20, 300, 200), bar, screen, false), QRect(10, 40, 300, 200));
    // Below the screen: moved up; taller than the room below the bar: cut.
    EXPECT_EQ(KeepOnScreenRect(QRect(10, 900, 300, 200), bar, screen, false), QRect(10, 800, 300, 200));
    EXPECT_EQ(KeepOnScreenRect(QRect(10, 500, 300, 1200), bar, screen, false), QRect(10, 40, 300, 960));
    // A window beside a narrow bar may stay at the top.
    EXPECT_EQ(KeepOnScreenRect(QRect(900, 0, 300, 200), QRect(0, 0, 800, 40), screen, false), QRect(900, 0, 300, 200));
    // F_KeepPosition keeps the saved place.
    EXPECT_EQ(KeepOnScreenRect(QRect(1500, 100, 300, 200), bar, screen, true), QRect(1500, 100, 300, 200));
}

TEST(CommandLine, OptionsAndTheStartupLogName)
{
    CommandLine a = ParseCommandLine({"/f", "/S", "spots.txt"});
    EXPECT_TRUE(a.fakeMode);
    EXPECT_EQ(a.spotFile, "spots.txt");
    EXPECT_TRUE(a.logName.isEmpty()) << "a first argument beginning with / names no log";
    CommandLine b = ParseCommandLine({"my.vll", "/F"});
    EXPECT_EQ(b.logName, "my.vll");
    EXPECT_TRUE(b.fakeMode);
    CommandLine c = ParseCommandLine({"/FX", "/s"});
    EXPECT_FALSE(c.fakeMode) << "three characters make no option";
    EXPECT_TRUE(c.logName.isEmpty());
    EXPECT_TRUE(c.spotFile.isEmpty());
    EXPECT_EQ(ParseCommandLine({"/home/op/LOG.VLL"}).logName, "/home/op/LOG.VLL") << "absolute paths name logs";
    EXPECT_EQ(ParseCommandLine({"/x.vll"}).logName, "/x.vll");
}

TEST(TProgressbar, MovesOnlyOnMaskedSteps)
{
    TProgressbar bar;
    bar.SetUp("Reading QSOs", 200);
    for (int i = 0; i < 126; ++i)
        bar.ShowProgress();
    EXPECT_EQ(bar.Percent(), 0);
    bar.ShowProgress(); // step 127
    EXPECT_EQ(bar.Percent(), 63);
    bar.SetUp("Big", 100000);
    for (int i = 0; i < 1023; ++i)
        bar.NewProgress(50000);
    EXPECT_EQ(bar.Percent(), 50);
    bar.SetUp("Huge", 3000000000LL);
    for (int i = 0; i < 1023; ++i)
        bar.NewProgress(2999999999LL);
    EXPECT_EQ(bar.Percent(), 99) << "64-bit arithmetic";
    bar.Finished();
    EXPECT_EQ(bar.Percent(), 100);
    EXPECT_FALSE(bar.isVisible());
}

} // namespace
} // namespace vellum
