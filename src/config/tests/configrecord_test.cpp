// The record against its documented layout, the built-in defaults, and the rules
// applied to a whole record (screen defaults, checks after loading, own call).

#include "configtestutil.h"
#include "testsupport/qsobuilder.h"
#include "testsupport/tempdir.h"

#include "config/configfields.h"
#include "config/configrules.h"
#include "config/configsettings.h"
#include "logstore/qsodata.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>

namespace vellum {
namespace {

using test::DocumentedLayout;
using test::LayoutField;
using test::Value;

struct Leaf {
    std::size_t offset;
    std::size_t width;
    Value value;
};

/// Every leaf setting of record by path, as the record type and the settings list see it.
std::map<std::string, Leaf> Leaves(const TConfigRecord &record)
{
    std::map<std::string, Leaf> leaves;
    const auto *base = reinterpret_cast<const std::uint8_t *>(&record);
    ForEachLeafSetting(record, [&](const std::string &path, const auto &field) {
        using Field = std::remove_cvref_t<decltype(field)>;
        Value value;
        if constexpr (requires { Field::capacity; })
            value = std::string(field.view());
        else if constexpr (std::is_same_v<Field, LeF64>)
            value = static_cast<double>(field);
        else if constexpr (std::is_same_v<Field, ByteBool>)
            value = std::int64_t{field.raw()};
        else
            value = static_cast<std::int64_t>(field);
        const auto offset = static_cast<std::size_t>(reinterpret_cast<const std::uint8_t *>(&field) - base);
        EXPECT_TRUE(leaves.emplace(path, Leaf{offset, sizeof(Field), value}).second) << "twice: " << path;
    });
    return leaves;
}

TEST(ConfigLayout, EverySettingSitsAtItsDocumentedOffset)
{
    const auto leaves = Leaves(BuiltInConfig());
    for (const LayoutField &field : DocumentedLayout()) {
        auto it = leaves.find(field.path);
        ASSERT_NE(it, leaves.end()) << field.path << " is not a setting";
        EXPECT_EQ(it->second.offset, field.offset) << field.path;
        EXPECT_EQ(it->second.width, field.width()) << field.path;
    }
    // Nothing is named that the documented layout does not hold.
    EXPECT_EQ(leaves.size(), DocumentedLayout().size());
}

TEST(ConfigLayout, BuiltInImageHoldsTheDocumentedDefaults)
{
    const auto leaves = Leaves(BuiltInConfig());
    for (const LayoutField &field : DocumentedLayout())
        EXPECT_EQ(leaves.at(field.path).value, field.builtIn) << field.path;

    // Byte for byte: every unused byte and the unused end of every string is 0.
    const std::vector<std::uint8_t> expected = test::BuildImage(false, 0);
    const auto actual = ConfigBytes(BuiltInConfig());
    for (std::size_t i = 0; i < ConfigRecordSize; ++i)
        ASSERT_EQ(actual[i], expected[i]) << "at offset " << i;
}

TEST(ConfigLayout, BuiltInImagePassesTheChecksAfterLoading)
{
    TConfigRecord record = BuiltInConfig();
    ClampStringLengths(record);
    ClampSettings(record);
    EXPECT_EQ(std::memcmp(&record, &BuiltInConfig(), ConfigRecordSize), 0);
}

TEST(ConfigRules, ScreenDefaultsFollowThePixelsPerInch)
{
    struct Case {
        std::int32_t ppi;
        int scale, fixedSize;
    };
    // 0 and negative: unknown screen, taken as 120; very dense screens stop at 255.
    for (const Case c : {Case{96, 80, 9}, Case{120, 100, 11}, Case{144, 120, 13}, Case{192, 160, 18},
                         Case{0, 100, 11}, Case{-5, 100, 11}, Case{1000, 255, 28}}) {
        TConfigRecord record = BuiltInConfig();
        record.F_FontLBold = record.F_FontIBold = record.F_FontBBold = true;
        record.F_FontLName = "Tahoma";
        ResetScreenDefaults(record, c.ppi);
        EXPECT_EQ(record.F_FormScale, c.scale) << c.ppi;
        EXPECT_EQ(record.F_FontISize, c.fixedSize) << c.ppi;
        EXPECT_EQ(record.F_FontBSize, c.fixedSize) << c.ppi;
        EXPECT_EQ(record.F_FontLName.view(), "Arial");
        EXPECT_EQ(record.F_FontLSize, 9);
        EXPECT_EQ(record.F_FontIName.view(), "Fixedsys");
        EXPECT_EQ(record.F_FontBName.view(), "Fixedsys");
        EXPECT_FALSE(record.F_FontLBold || record.F_FontIBold || record.F_FontBBold);
    }
}

TEST(ConfigRules, SettingsThatCannotWorkTakeTheirDefaults)
{
    const TConfigRecord &d = BuiltInConfig();
    TConfigRecord r = d;
    r.Speed = 0;
    r.tone = 0;
    r.Hardware_RadioPollRate = 0;
    r.Hardware_RadioMaxTries = 0;
    r.Packet_max_putout = 0;
    r.Packet_max_lines = -3;
    r.Personal_DateFormat = 9;
    r.Hardware_RadioCOMPort = 0;
    r.TNC_Comport = 11;
    r.PackSplit = 97;
    r.RttySplit = 4;
    r.VuccGridLength = 3;
    r.Personal_Longitude = std::numeric_limits<double>::quiet_NaN();
    r.Personal_Latitude = 91.0;
    r.Personal_CWcutoff[3] = std::numeric_limits<double>::infinity();
    r.Projection = 8;
    r.RotatorBands[3] = 9;
    r.LABHEAD.Size = 0;
    r.CustLab[1].NumAcross = 0;
    r.CustLab[0].LabelWidth = std::numeric_limits<double>::quiet_NaN();
    r.ScanChannel[4].Mode = 200;
    r.PSK31.KEYING = 11;
    r.PSK31.Scale = 3;
    ClampSettings(r);
    EXPECT_EQ(r.Speed, 20);
    EXPECT_EQ(r.tone, 850);
    EXPECT_EQ(r.Hardware_RadioPollRate, 5000);
    EXPECT_EQ(r.Hardware_RadioMaxTries, 6);
    EXPECT_EQ(r.Packet_max_putout, 100);
    EXPECT_EQ(r.Packet_max_lines, 500);
    EXPECT_EQ(r.Personal_DateFormat, 1);
    EXPECT_EQ(r.Hardware_RadioCOMPort, 3);
    EXPECT_EQ(r.TNC_Comport, 4);
    EXPECT_EQ(r.PackSplit, 50);
    EXPECT_EQ(r.RttySplit, 50);
    EXPECT_EQ(r.VuccGridLength, 2);
    EXPECT_EQ(r.Personal_Longitude, d.Personal_Longitude);
    EXPECT_EQ(r.Personal_Latitude, d.Personal_Latitude);
    EXPECT_EQ(r.Personal_CWcutoff[3], 7150.0);
    EXPECT_EQ(r.Projection, 255);
    EXPECT_EQ(r.RotatorBands[3], 2);
    EXPECT_EQ(r.LABHEAD.Size, 11);
    EXPECT_EQ(r.CustLab[1].NumAcross, 3);
    EXPECT_EQ(r.CustLab[0].LabelWidth, 2.75);
    EXPECT_EQ(r.ScanChannel[4].Mode, 0);
    EXPECT_EQ(r.PSK31.KEYING, 1);
    EXPECT_EQ(r.PSK31.Scale, 1);
}

TEST(ConfigRules, ValidSettingsAtTheirLimitsStay)
{
    TConfigRecord r = BuiltInConfig();
    r.Speed = 60;
    r.wpm = 60;
    r.PackSplit = 95;
    r.RttySplit = 5;
    r.TNC_Comport = 10; // "Msg"
    r.Projection = 7;
    r.Personal_Longitude = -180.0;
    r.VuccGridLength = 6;
    r.PSK31.Scale = 4;
    TConfigRecord before = r;
    ClampSettings(r);
    EXPECT_EQ(std::memcmp(&r, &before, ConfigRecordSize), 0);

    // Spacing speed never above character speed.
    r.Speed = 18;
    r.wpm = 25;
    ClampSettings(r);
    EXPECT_EQ(r.wpm, 18);
}

TEST(ConfigRules, ZeroScaleOrFontSizeResetsTheScreenDefaults)
{
    TConfigRecord r = BuiltInConfig();
    r.ScreenPpi = 96;
    r.F_FontISize = 0;
    r.F_FontLName = "Tahoma";
    ClampSettings(r);
    EXPECT_EQ(r.F_FormScale, 80);
    EXPECT_EQ(r.F_FontISize, 9);
    EXPECT_EQ(r.F_FontLName.view(), "Arial");
}

TEST(ConfigRules, OverlongStringsAreCutToTheirFields)
{
    std::vector<std::uint8_t> ff(ConfigRecordSize, 0xFF);
    TConfigRecord record;
    std::memcpy(&record, ff.data(), ConfigRecordSize);
    ClampStringLengths(record);
    int strings = 0;
    ForEachLeafSetting(record, [&](const std::string &path, const auto &field) {
        using Field = std::remove_cvref_t<decltype(field)>;
        if constexpr (requires { Field::capacity; }) {
            ++strings;
            EXPECT_EQ(field.size(), Field::capacity) << path;
            EXPECT_EQ(field.view(), std::string(Field::capacity, '\xFF')) << path;
        }
    });
    EXPECT_GT(strings, 100);
}

TEST(ConfigRules, OwnCallReplacesTheTildeOfGreetingsAndWarningPatterns)
{
    TConfigRecord r = BuiltInConfig();
    r.F_LabGreeting2 = "~ ~ ~ ~"; // longer than 40 characters once replaced
    r.Personal_Callsign = "QQ0ABC/P";
    ApplyOwnCall(r);
    EXPECT_EQ(r.F_LabGreeting1.view(), "@@ 73 de QQ0ABC/P");
    EXPECT_EQ(r.F_LabGreeting2.view(), "QQ0ABC/P QQ0ABC/P QQ0ABC/P QQ0ABC/P");
    EXPECT_EQ(r.F_LabGreeting3.view(), "Thanks SWL report de QQ0ABC/P");
    EXPECT_EQ(r.packet_talk1.view(), "QQ0ABC/P DE *:*");
    EXPECT_EQ(r.packet_talk2.view(), "TO LOCAL DE *"); // no "~": unchanged

    r.Personal_Callsign = "QQ0ABCDEFGHI";
    r.F_LabGreeting2 = "~ ~ ~ ~";
    ApplyOwnCall(r);
    EXPECT_EQ(r.F_LabGreeting2.size(), 40u);

    TConfigRecord empty = BuiltInConfig();
    ApplyOwnCall(empty);
    EXPECT_EQ(empty.F_LabGreeting1.view(), "@@ 73 de ~");
}

TEST(ConfigLogSettings, ReadsTheLiveRecord)
{
    TConfigRecord record = BuiltInConfig();
    ConfigLogSettings settings(record);
    EXPECT_TRUE(settings.cycleFiles());
    EXPECT_EQ(settings.defaultGroup(), 0);
    EXPECT_EQ(settings.dateFormat(), DateFormat::MonthDayYear);
    record.DefQSO_Cycle = false;
    record.DefQSO_Group = 7;
    record.Personal_DateFormat = 2;
    EXPECT_FALSE(settings.cycleFiles());
    EXPECT_EQ(settings.defaultGroup(), 7);
    EXPECT_EQ(settings.dateFormat(), DateFormat::DayMonthYear);
    record.Personal_DateFormat = 0;
    EXPECT_EQ(settings.dateFormat(), DateFormat::MonthDayYear);
    record.Personal_DateFormat = 4;
    EXPECT_EQ(settings.dateFormat(), DateFormat::MonthDayYear);
}

TEST(ConfigLogSettings, CycleFilesDecidesWhetherTheLogKeepsItsPreviousGeneration)
{
    for (bool cycle : {true, false}) {
        test::TempDir dir;
        TConfigRecord record = BuiltInConfig();
        record.DefQSO_Cycle = cycle;
        ConfigLogSettings settings(record);
        SilentNotifier notifier;
        LogServices services;
        services.settings = &settings;
        services.notifier = &notifier;
        TQsoData log(services);
        log.NewLog(dir.file("TEST.VLL"));
        test::QsoBuilder("QQ0AA").day(40000).band(5).mode(14).addTo(log);
        log.WriteLog(true);
        log.WriteLog(true);
        EXPECT_EQ(std::filesystem::exists(dir.file("TEST.~LL")), cycle);
    }
}

} // namespace
} // namespace vellum
