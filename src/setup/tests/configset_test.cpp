// Settings set by name, in the core and through vellum-cli config set /
// ini-export / ini-merge as a user runs them.

#include "testsupport/tempdir.h"

#include "setup/configset.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/wait.h>

namespace vellum {
namespace {

TEST(ConfigSet, SetsByTheNamesOfTheDumpAndRefusesWhatCannotBeStored)
{
    TConfigRecord r = BuiltInConfig();
    const std::vector<SettingAdjustment> adjusted = ApplySettings(
        r, {"Personal_Callsign=DL1ABC", "WindowPos[3].Width=400", "AwardSetup[3].ValidBands[2]=true",
            "Personal_CWcutoff[15]=1e6", "PSK31.Split3=+40", "Rotator_type=9", "Personal_grid=JO62qmxx"});
    EXPECT_EQ(r.Personal_Callsign.view(), "DL1ABC");
    EXPECT_EQ(r.WindowPos[3].Width, 400);
    EXPECT_TRUE(r.AwardSetup[AwardWPX].ValidBands[2]);
    EXPECT_DOUBLE_EQ(r.Personal_CWcutoff[15], 1e6);
    EXPECT_EQ(r.PSK31.Split3, 40);
    EXPECT_EQ(r.Rotator_type, BuiltInConfig().Rotator_type);
    ASSERT_EQ(adjusted.size(), 2u);
    EXPECT_EQ(adjusted[0].name, "Rotator_type");
    EXPECT_EQ(adjusted[0].asked, "9");
    EXPECT_EQ(adjusted[0].stored, "1");
    EXPECT_EQ(adjusted[1].stored, "JO62qm");
    EXPECT_EQ(SettingText(r, "AwardSetup[3].ValidBands[2]"), "true");

    const TConfigRecord before = r;
    for (const char *bad : {"Nope=1", "personal_callsign=X", "WindowPos[21].Top=1", "DefQSO_band=256",
                            "DefQSO_band=x", "Speed=2147483648", "DefQSO_Cycle=yes", "Personal_Latitude=nan",
                            "Personal_Callsign", "=5"}) {
        EXPECT_THROW(ApplySettings(r, {"Personal_Callsign=CHANGED", bad}), SettingError) << bad;
        EXPECT_EQ(std::memcmp(&r, &before, sizeof r), 0) << bad;
    }
}

class ConfigCommands : public ::testing::Test {
protected:
    /// Runs vellum-cli on the test's program directory; the exit status.
    int run(const std::string &arguments)
    {
        const std::string command = std::string(VELLUM_CLI) + " --dir " + dir.file("prog") + " " + arguments + " > " +
                                    dir.file("out.txt") + " 2> " + dir.file("err.txt");
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string text(const std::string &name) const
    {
        const std::vector<std::uint8_t> bytes = test::ReadFile(dir.file(name));
        return {bytes.begin(), bytes.end()};
    }
    std::string config() const { return text("prog/SAVE/VELLUM.CFG"); }

    test::TempDir dir{"config-cli"};
};

TEST_F(ConfigCommands, SetWritesCheckedValuesOrNothing)
{
    ASSERT_EQ(run("config set Personal_Callsign=DL1ABC Rotator_type=9 'WindowPos[3].Width=400'"), 0);
    EXPECT_EQ(text("out.txt").find("\"adjusted\": [{\"name\": \"Rotator_type\", \"asked\": \"9\", \"stored\": \"1\"}]"),
              text("out.txt").find("\"adjusted\""));
    EXPECT_NE(text("err.txt").find("Rotator_type=9 is stored as 1"), std::string::npos);
    ASSERT_EQ(run("config show"), 0);
    for (const char *shown : {"\"Personal_Callsign\": \"DL1ABC\"", "\"Rotator_type\": 1", "\"Width\":400"})
        EXPECT_NE(text("out.txt").find(shown), std::string::npos) << shown;

    const std::string saved = config();
    ASSERT_EQ(saved.size(), ConfigRecordSize);
    EXPECT_EQ(run("config set Personal_Callsign=DL2X Bogus=1"), 1);
    EXPECT_EQ(text("err.txt"), "vellum-cli: unknown setting 'Bogus' (see: config show)\n");
    EXPECT_EQ(config(), saved);

    // A configuration file the program cannot use is never replaced.
    test::WriteFile(dir.file("prog/SAVE/VELLUM.CFG"), "not a configuration");
    EXPECT_EQ(run("config set Personal_Callsign=DL2X"), 1);
    EXPECT_NE(text("err.txt").find("cannot be used, so it is not replaced"), std::string::npos);
    EXPECT_EQ(config(), "not a configuration");
}

TEST_F(ConfigCommands, IniExportAndMerge)
{
    ASSERT_EQ(run("config set Personal_Callsign=DL1ABC F_LabGreeting1='73 de ~' Speed=33"), 0);
    const std::string saved = config();
    ASSERT_EQ(run("config ini-export " + dir.file("out/VELLUM.INI")), 0);
    const std::string ini = text("out/VELLUM.INI");
    EXPECT_NE(ini.find("[Personal]\nPersonal_Callsign=DL1ABC\n"), std::string::npos);
    EXPECT_NE(ini.find("Speed=33\n"), std::string::npos);

    // The exported file merged back changes nothing but what the own call fills in.
    ASSERT_EQ(run("config ini-merge " + dir.file("out/VELLUM.INI")), 0);
    EXPECT_NE(text("out.txt").find("\"notes\": []"), std::string::npos);
    ASSERT_EQ(run("config show"), 0);
    EXPECT_NE(text("out.txt").find("\"F_LabGreeting1\": \"73 de DL1ABC\""), std::string::npos);
    EXPECT_NE(text("out.txt").find("\"Speed\": 33"), std::string::npos);

    test::WriteFile(dir.file("part.ini"), "[Personal]\nPersonal_Callsign=DL9ZZ\nColour=red\n[CW]\nSpeed=12\n");
    ASSERT_EQ(run("config ini-merge " + dir.file("part.ini")), 0);
    EXPECT_NE(text("out.txt").find("line 3: unknown key \\\"Colour\\\" in [Personal] ignored"), std::string::npos)
        << text("out.txt");
    ASSERT_EQ(run("config show"), 0);
    EXPECT_NE(text("out.txt").find("\"Personal_Callsign\": \"DL9ZZ\""), std::string::npos);
    EXPECT_NE(text("out.txt").find("\"Speed\": 12"), std::string::npos);

    const std::string before = config();
    test::WriteFile(dir.file("bad.ini"), std::string("[CW]\nSpeed=40\n\0", 15));
    EXPECT_EQ(run("config ini-merge " + dir.file("bad.ini")), 1);
    EXPECT_NE(text("err.txt").find("not merged: it holds binary data (a zero byte in line 3)"), std::string::npos);
    EXPECT_EQ(run("config ini-merge " + dir.file("none.ini")), 1);
    EXPECT_EQ(config(), before);
    EXPECT_NE(before, saved);
}

} // namespace
} // namespace vellum
