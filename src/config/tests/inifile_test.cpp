// The INI file class: reading lines into sections, the rewrite rules and the
// conversions of values.

#include "testsupport/tempdir.h"

#include "config/inifile.h"
#include "logstore/compare.h"
#include "logstore/fileio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace vellum {
namespace {

using test::TempDir;

std::string FileText(const std::string &path)
{
    const std::vector<std::uint8_t> bytes = test::ReadFile(path);
    return {bytes.begin(), bytes.end()};
}

constexpr const char *NoFile = "/nonexistent-vellum-test/x.ini";

TEST(IniFile, ReadsLinesIntoSections)
{
    TIniFile ini(NoFile);
    ini.LoadText("before=dropped\r\n"
                 "[Radio]\r\n"
                 "a=b=c\r\n"
                 "\r\n"
                 "NoEquals\n"
                 "Spaced= x \n"
                 "=empty key\n"
                 "[Other]\n"
                 "k=1\n"
                 "[RADIO]\n"
                 "A=replaced\n"
                 "late=yes");
    EXPECT_FALSE(ini.Modified());
    EXPECT_EQ(ini.ReadString("Radio", "a", "?"), "replaced"); // [RADIO] is the same section, A the same key
    EXPECT_EQ(ini.ReadString("radio", "NOEQUALS", "?"), "");
    EXPECT_EQ(ini.ReadString("Radio", "Spaced", "?"), "x");
    EXPECT_EQ(ini.ReadString("Radio", "", "?"), "empty key");
    EXPECT_EQ(ini.ReadString("Radio", "late", "?"), "yes");
    EXPECT_EQ(ini.ReadString("Radio", "missing", "  fallback "), "fallback");
    EXPECT_EQ(ini.ReadString("Nowhere", "a", "d"), "d");
    EXPECT_EQ(ini.ReadString("Radio", "before", "gone"), "gone");
    EXPECT_TRUE(ini.SectionExists("other"));
    EXPECT_FALSE(ini.SectionExists("before"));
    EXPECT_EQ(ini.ReadSection("Radio"), (std::vector<std::string>{"a", "NoEquals", "Spaced", "", "late"}));

    TIniFile first(NoFile);
    first.LoadText("[S]\na=b=c\n");
    EXPECT_EQ(first.ReadString("S", "a", ""), "b=c");
}

TEST(IniFile, RewriteSortsSectionsAndKeepsKeysInFirstWrittenOrder)
{
    TempDir dir;
    const std::string path = dir.file("VELLUM.INI");
    {
        TIniFile ini(path);
        ini.WriteString("zeta", "k3", "3");
        ini.WriteString("Alpha", "k", "a");
        ini.WriteString("zeta", "K1", "1");
        ini.WriteString("beta", "x", "");
        ini.WriteString("zeta", "k2", "2");
        ini.WriteString("ZETA", "k3", "three"); // replaced in place
        EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Alpha", "beta", "zeta"}));
    }
    EXPECT_EQ(FileText(path), "[Alpha]\nk=a\n\n[beta]\nx=\n\n[zeta]\nk3=three\nK1=1\nk2=2\n");
}

TEST(IniFile, RewritesOnlyWhenSomethingChanged)
{
    TempDir dir;
    const std::string path = dir.file("R.INI");
    const std::string original = "junk before\n[S]\nk=v\nn=1\n";
    test::WriteFile(path, original);
    {
        TIniFile ini(path);
        ini.WriteString("S", "k", "v");
        ini.WriteInteger("s", "N", 1);
        EXPECT_FALSE(ini.Modified());
    }
    EXPECT_EQ(FileText(path), original);
    {
        TIniFile ini(path);
        ini.WriteString("S", "k", "V"); // values compare with their case
        EXPECT_TRUE(ini.Modified());
        ini.WriteString("S", "k", "changed");
    }
    // The pre-section line is gone and the changed value stayed in its place.
    EXPECT_EQ(FileText(path), "[S]\nk=changed\nn=1\n");

    const std::string fresh = dir.file("NEW.INI");
    {
        TIniFile ini(fresh);
        EXPECT_FALSE(ini.SectionExists("S"));
        EXPECT_EQ(ini.ReadInteger("S", "n", 5), 5);
    }
    EXPECT_FALSE(std::filesystem::exists(fresh));
}

TEST(IniFile, NumbersThatDoNotConvertGiveTheDefault)
{
    TIniFile ini(NoFile);
    ini.LoadText("[N]\nbad=12x\ngood=12\nneg= -7 \nplus=+5\nempty=\nhuge=99999999999\n"
                 "zero=0\ntwo=2\nreal=   14150.00\ncomma=13,5\nword=abc\nnan=nan\ninf=inf\nexp=1e3\n");
    EXPECT_EQ(ini.ReadInteger("N", "bad", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "good", -1), 12);
    EXPECT_EQ(ini.ReadInteger("N", "neg", -1), -7);
    EXPECT_EQ(ini.ReadInteger("N", "plus", -1), 5);
    EXPECT_EQ(ini.ReadInteger("N", "empty", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "huge", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "missing", 42), 42);
    EXPECT_FALSE(ini.ReadBool("N", "zero", true));
    EXPECT_TRUE(ini.ReadBool("N", "two", false));
    EXPECT_TRUE(ini.ReadBool("N", "word", true));
    EXPECT_FALSE(ini.ReadBool("N", "word", false));
    EXPECT_EQ(ini.ReadFloat("N", "real", -1), 14150.0);
    EXPECT_EQ(ini.ReadFloat("N", "comma", -1), 13.5);
    EXPECT_EQ(ini.ReadFloat("N", "word", -1), -1);
    EXPECT_EQ(ini.ReadFloat("N", "nan", -1), -1);
    EXPECT_EQ(ini.ReadFloat("N", "inf", -1), -1);
    EXPECT_EQ(ini.ReadFloat("N", "exp", -1), 1000.0);
    EXPECT_EQ(ini.ReadFloat("N", "bad", -1), -1);
}

TEST(IniFile, WrittenNumbersReadBackUnchanged)
{
    TIniFile ini(NoFile);
    for (double value : {13.405, -72.5, 14150.0, 1e-300, 0.1 + 0.2, 1.7976931348623157e308}) {
        ini.WriteFloat("F", "v", value);
        EXPECT_EQ(ini.ReadFloat("F", "v", 0), value);
    }
    ini.WriteFloat("F", "plain", 14150.0);
    EXPECT_EQ(ini.ReadString("F", "plain", ""), "14150");
    for (std::int32_t value : {0, -2147483647 - 1, 2147483647, 850}) {
        ini.WriteInteger("I", "v", value);
        EXPECT_EQ(ini.ReadInteger("I", "v", 1), value);
    }
    ini.WriteBool("B", "on", true);
    ini.WriteBool("B", "off", false);
    EXPECT_EQ(ini.Text(), "[B]\non=1\noff=0\n\n[F]\nv=1.7976931348623157e+308\nplain=14150\n\n[I]\nv=850\n");
    ini.LoadText("");
}

TEST(IniFile, ValuesHoldAtMost255Characters)
{
    TIniFile ini(NoFile);
    ini.WriteString("S", "long", std::string(300, 'x'));
    EXPECT_EQ(ini.ReadString("S", "long", "").size(), 255u);
    ini.LoadText("[S]\nread=" + std::string(300, 'y') + "\n");
    EXPECT_EQ(ini.ReadString("S", "read", ""), std::string(255, 'y'));
}

TEST(IniFile, FailedRewriteIsReportedAndLeavesTheFileChanged)
{
    TIniFile ini(NoFile);
    ini.WriteString("S", "k", "v");
    EXPECT_THROW(ini.UpdateFile(), EFileError);
    EXPECT_TRUE(ini.Modified());
    ini.LoadText(""); // nothing left for the destructor

    TempDir dir;
    std::filesystem::create_directory(dir.file("SUB.INI"));
    EXPECT_THROW(TIniFile(dir.file("SUB.INI")), EFileError);
}

TEST(IniFile, KeepsThePreviousGenerationWhenAsked)
{
    TempDir dir;
    const std::string path = dir.file("IC-7300.rig");
    test::WriteFile(path, "[GENERAL]\nMODEL=IC-7300\n");
    {
        TIniFile ini(path, KeepGeneration::Yes);
        ini.WriteString("GENERAL", "BAUD", "19200");
        ini.UpdateFile();
        EXPECT_FALSE(ini.Modified());
    }
    EXPECT_EQ(FileText(dir.file("IC-7300.~ig")), "[GENERAL]\nMODEL=IC-7300\n");
    EXPECT_EQ(FileText(path), "[GENERAL]\nMODEL=IC-7300\nBAUD=19200\n");
}

TEST(IniFileLimits, NamesAreCutAndManySectionsStaySorted)
{
    TIniFile ini;
    std::string text;
    for (int i = 20000; i > 0; --i)
        text += "[s" + std::to_string(i) + "]\nk=" + std::to_string(i) + "\n";
    text += "[" + std::string(1000, 'S') + "]\n" + std::string(300, 'K') + "=long\n";
    ini.LoadText(text);
    const std::vector<std::string> sections = ini.ReadSections();
    ASSERT_EQ(sections.size(), 20001u);
    EXPECT_TRUE(std::is_sorted(sections.begin(), sections.end(), [](const std::string &a, const std::string &b) {
        return CompareNoCase(a, b) < 0;
    }));
    EXPECT_EQ(ini.ReadString(std::string(255, 'S'), std::string(255, 'K'), ""), "long");
    EXPECT_EQ(ini.ReadInteger("S7", "K", 0), 7);
    EXPECT_FALSE(ini.Modified());
    ini.UpdateFile(); // a text in memory has no file to write
}

} // namespace
} // namespace vellum
