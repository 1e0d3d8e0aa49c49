// The INI form of the settings: written and merged back, the value rules of a
// merge, and damaged or hostile files.

#include "testsupport/tempdir.h"

#include "config/configrules.h"
#include "config/inifile.h"
#include "logstore/fileio.h"
#include "setup/configset.h"
#include "setup/setupini.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vellum {
namespace {

bool SameBytes(const TConfigRecord &a, const TConfigRecord &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::vector<SetupPage> Pages() { return SetupPages(SetupChoices{{"IC-706", "FT-1000"}, {"LogBook", "Awards"}}, false); }

std::string IniText(const TConfigRecord &record)
{
    TIniFile ini;
    WriteSetupIni(record, Pages(), ini);
    return ini.Text();
}

TConfigRecord Edited()
{
    TConfigRecord r = BuiltInConfig();
    ApplySettings(r, {"Personal_Callsign=DL1ABC", "Personal_Addr1=Jo Ham", "Personal_Longitude=-0", "Personal_Latitude=-33.5",
                      "Personal_UserLevel=3", "Personal_grid=PF96", "DefQSO_band=15", "DefQSO_Method=0",
                      "Hardware_RadioType=IC-706", "F_CurrentReport=Awards", "StationBands[3]=false",
                      "AwardSetup[3].BandAwards=false", "VuccBands[5]=false", "VuccGridLength=6", "Rotator_type=6",
                      "RotatorBands[15]=3", "Personal_CWcutoff[5]=14070.25", "CWKEYS[15]=73|%~ SK", "TabDisabled[22]=true",
                      "WindowPos[4].Left=-20", "WindowPos[4].Width=300", "PackSplit=30", "PACKETCOL[6]=77",
                      "Projection=3", "Water=123", "CustLab[1].NumAcross=2", "LABBODY.Italic=true", "PSK31.KEYING=7",
                      "Speed=35", "wpm=30", "OFFSET=-45", "LASTLOG=/logs/A.VLL", "F_F2_NextQSO=2"});
    return r;
}

TEST(SetupIni, WrittenAndMergedIntoTheDefaultsGivesTheSameRecord)
{
    for (const TConfigRecord &source : {BuiltInConfig(), Edited()}) {
        TConfigRecord merged = BuiltInConfig();
        const IniMergeReport report = MergeSetupIni(merged, Pages(), IniText(source));
        EXPECT_TRUE(report.Merged());
        EXPECT_TRUE(report.notes.empty()) << report.Text();
        EXPECT_TRUE(SameBytes(merged, source));
    }
    const std::string text = IniText(Edited());
    // Values as the INI form writes them.
    for (const char *line : {"Personal_longsign=West\n", "Personal_latsign=South\n", "Personal_Latitude=33.5\n",
                             "DefQSO_band=Sat\n", "Hardware_RadioType=IC-706\n", "CL_station_bands=YYNYYYYYYYYYYYY\n",
                             "CL_WPX_awards=YYN\n", "F_GridSelection=6 chars\n", "20m=  14070.25\n", "F16=73|%~ SK\n",
                             "DISABLED=NNNNNNNNNNNNNNNNNNNNNNY\n", "[W-ZONE]\nLEFT=-20\nTOP=0\nHEIGT=0\nWIDTH=300\n",
                             "[W-PACK]\nPOSITION=30\n", "Col6=77\n", "[MAP]\nProjection=3\n", "SpacingWidth=2.750\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(text.find("Personal_CWcutoff"), std::string::npos);
    EXPECT_EQ(text.find("Personal_band"), std::string::npos);
}

TEST(SetupIni, MergeValueRules)
{
    TConfigRecord r = BuiltInConfig();
    r.Rotator_port = 2;
    r.RotatorBands[4] = 1;
    const IniMergeReport report = MergeSetupIni(r, Pages(),
                                                "[Station]\n"
                                                "Rotator_port=COM9\n"             // 2: no such choice
                                                "CL_VUCC_bands=YN\n"              // 3: two of six items
                                                "F_Band_type=top ten\n"           // 4: choices ignore case
                                                "[Personal]\n"
                                                "WorkedCutoff=70000\n"            // 6: out of range
                                                "Personal_Latitude=12,5\n"        // 7: decimal comma
                                                "Personal_Longitude=east\n"       // 8: not a number
                                                "Personal_band=3\n"               // 9: shown, not an INI key
                                                "[W-PACK]\nPOSITION=97\n"
                                                "[W-RTTY]\nPOSITION=60\n"
                                                "[ROTATOR]\n40m=3\n30m=4\n"
                                                "[CWCUTOFF]\n20m=abc\n40m=    7040.00\n"
                                                "[CW]\nSpeed=25\n"
                                                "[Nowhere]\nx=1\n");
    ASSERT_TRUE(report.Merged());
    EXPECT_EQ(r.Rotator_port, 2);
    EXPECT_TRUE(r.VuccBands[0] && !r.VuccBands[1] && r.VuccBands[2] && r.VuccBands[5]);
    EXPECT_EQ(r.F_Band_type, 2);
    EXPECT_EQ(r.WorkedCutoff, 10000);
    EXPECT_EQ(r.MailedCutoff, 10000);
    EXPECT_DOUBLE_EQ(r.Personal_Latitude, 12.5);
    EXPECT_DOUBLE_EQ(r.Personal_Longitude, BuiltInConfig().Personal_Longitude);
    EXPECT_EQ(r.PackSplit, 50);
    EXPECT_EQ(r.RttySplit, 60);
    EXPECT_EQ(r.RotatorBands[3], 3); // "Reverse" is a band value the rotator knows
    EXPECT_EQ(r.RotatorBands[4], 1);
    EXPECT_DOUBLE_EQ(r.Personal_CWcutoff[5], BuiltInConfig().Personal_CWcutoff[5]);
    EXPECT_DOUBLE_EQ(r.Personal_CWcutoff[3], 7040);
    EXPECT_EQ(r.Speed, 25);
    EXPECT_EQ(r.wpm, 20); // missing in a present section: its default
    const std::string notes = report.Text();
    for (const char *expected : {"line 2: [Station] Rotator_port=\"COM9\" ignored: not one of its choices",
                                 "line 6: [Personal] WorkedCutoff=\"70000\" ignored: Value in range 0 to 65535 expected",
                                 "line 8: [Personal] Personal_Longitude=\"east\" ignored: not a number",
                                 "line 9: unknown key \"Personal_band\" in [Personal] ignored",
                                 "[ROTATOR] 30m=\"4\" ignored", "[CWCUTOFF] 20m=\"abc\" ignored",
                                 "unknown section \"[Nowhere]\" ignored"})
        EXPECT_NE(notes.find(expected), std::string::npos) << expected << "\nin\n" << notes;
}

TEST(SetupIni, DamagedFilesChangeNothingAndSayWhy)
{
    test::TempDir dir("setup-ini");
    const TConfigRecord before = Edited();
    const std::pair<std::string, const char *> cases[] = {
        {std::string("[Personal]\nPersonal_Callsign=X\n\0\x01\x02", 34), "a zero byte in line 3"},
        {"Personal_Callsign=X\nno sections here\n", "no section"},
        {"", "empty"},
    };
    for (const auto &[text, why] : cases) {
        TConfigRecord r = before;
        const IniMergeReport report = MergeSetupIni(r, Pages(), text);
        EXPECT_FALSE(report.Merged());
        EXPECT_NE(report.Text().find(why), std::string::npos) << report.Text();
        EXPECT_TRUE(SameBytes(r, before));
    }
    TConfigRecord r = before;
    EXPECT_NE(MergeSetupIniFile(r, Pages(), dir.file("missing.ini")).Text().find("cannot be read"), std::string::npos);
    EXPECT_TRUE(SameBytes(r, before));
}

TEST(SetupIni, HostileFilesLeaveASafeRecord)
{
    std::string text = "[Personal]\nPersonal_Callsign=" + std::string(1 << 20, 'W') + "\n" + std::string(1 << 20, 'k') +
                       "\nPersonal_Addr1=first\nPERSONAL_ADDR1=second\n" // duplicate key: the last one counts
                       "Personal_grid=\xff\xfe\x80 binary\n"
                       "[Packet2]\nPacket_max_lines=99999999999999999999\nPacket_max_putout=-1\n"
                       "[CW]\nSpeed=0\nwpm=999\ntone=-5\nweight=2147483648\n"
                       "[PSK31]\nKEYING=200\nCenterFreq=70000\nScale=3\n"
                       "[CustLab1]\nNumAcross=0\nSpacingTop=1e308\nPageWidth=nan\n"
                       "[W-LOGB]\nLEFT=2147483647\nWIDTH=-400\nTOP=12\n"
                       "[ROTATOR]\nOFFSET=2147483647\nCORRECTION=-99999\n"
                       "[MAP]\nProjection=200\n";
    for (int i = 0; i < 100000; ++i) // many distinct keys: read in time proportional to the file
        text += "k" + std::to_string(i) + "=v\n";
    TConfigRecord r = BuiltInConfig();
    const IniMergeReport report = MergeSetupIni(r, Pages(), text);
    ASSERT_TRUE(report.Merged());
    EXPECT_EQ(r.Personal_Callsign.view(), "WWWWWWWWWWWW");
    EXPECT_EQ(r.Personal_Addr1.view(), "second");
    EXPECT_EQ(r.Personal_grid.view(), "\xff\xfe\x80 bi");
    EXPECT_EQ(r.Packet_max_lines, BuiltInConfig().Packet_max_lines);
    EXPECT_EQ(r.Speed, BuiltInConfig().Speed);
    EXPECT_LE(r.wpm, r.Speed);
    EXPECT_EQ(r.PSK31.KEYING, 1);
    EXPECT_EQ(r.WindowPos[WindowIndex::LOGB].Top, 12);
    EXPECT_EQ(r.WindowPos[WindowIndex::LOGB].Width, 0);
    EXPECT_EQ(r.OFFSET, 90);
    EXPECT_EQ(r.CORRECTION, 0);
    EXPECT_EQ(r.Projection, 255);
    // Nothing the checks after loading would still change.
    TConfigRecord clamped = r;
    ClampStringLengths(clamped);
    ClampSettings(clamped);
    EXPECT_TRUE(SameBytes(clamped, r));
    EXPECT_EQ(report.notes.size(), 100u);
    EXPECT_GT(report.moreNotes, 100000u - 100u);
    EXPECT_NE(report.Text().find("repeats line"), std::string::npos);
}

TEST(SetupIni, WrittenFileReplacesTheOldOneAndKeepsItsGeneration)
{
    test::TempDir dir("setup-ini-file");
    const std::string file = dir.file("sub/VELLUM.INI");
    TConfigRecord r = BuiltInConfig();
    WriteSetupIniFile(r, Pages(), file);
    test::WriteFile(file, "[Old]\nkept=no\n");
    r.Personal_Callsign = "DL1ABC";
    WriteSetupIniFile(r, Pages(), file);
    const std::vector<std::uint8_t> bytes = test::ReadFile(file);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.find("[Old]"), std::string::npos);
    EXPECT_NE(text.find("Personal_Callsign=DL1ABC"), std::string::npos);
    EXPECT_FALSE(test::ReadFile(dir.file("sub/VELLUM.~NI")).empty()); // "Cycle Files" is on by default
    EXPECT_THROW(WriteSetupIniFile(r, Pages(), "/proc/vellum-no/VELLUM.INI"), EFileError);
}

} // namespace
} // namespace vellum
