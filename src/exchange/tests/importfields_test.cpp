// The value rules shared by every import: mode aliases, time of day with
// synthetic seconds, IOTA references, dates, frequencies, the prefix map and
// the note texts.

#include "exchange/detail/notetext.h"
#include "exchange/importfields.h"
#include "exchange/prefixmap.h"

#include "logstore/daytime.h"
#include "logstore/qsotables.h"

#include "country/iota.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

TEST(ImportFields, ModeAliases)
{
    const std::pair<const char *, const char *> cases[] = {
        {"A1A", "CW"},     {"j3e", "SSB"},    {"LSB", "SSB"},   {"PHO", "SSB"}, {"USB", "SSB"},
        {"FSK", "RTTY"},   {"TTY", "RTTY"},   {"AMT", "MTOR"}, {"PKT", "PACK"}, {"TOR", "PTOR"},
        {"GTOR", "GTOR"},  {"MTOR", "MTOR"},  {"SSTV", "SSTV"}, {"PTOR", "PTOR"}, {"PACKET", "PACK"},
        {"RTTY", "RTTY"},  {"RTY", "RTTY"},   {"ATV", "ATV"},   {"PSK", "PSK"},   {"PSK31", "PSK3"},
        {"CLOVER", "CLOV"}, {"FSTV", "FSTV"}, {"CW", "CW"},     {"AM", "AM"},     {"FM", "FM"},
        {"S S B", "SSB"},
    };
    for (const auto &[text, mode] : cases)
        EXPECT_EQ(ParseModeAlias(text), ModeOfName(mode)) << text;
    for (const char *unknown : {"FT8", "PSK63", "MFSK", "", "PHONE", "AMTOR", "C W X"})
        EXPECT_EQ(ParseModeAlias(unknown), 0) << unknown << ": aliases match the first 4 characters exactly";
}

TEST(ImportFields, TimeOfDayWithSyntheticSeconds)
{
    TimeOfDayRule rule;
    auto at = [](int h, int m, int s) { return h * 3600 + m * 60 + s; };
    EXPECT_EQ(rule.Parse("1200"), at(12, 0, 0));
    EXPECT_EQ(rule.Parse("1200"), at(12, 0, 1));
    EXPECT_EQ(rule.Parse("120005"), at(12, 0, 5)) << "own seconds do not move the remembered minute";
    EXPECT_EQ(rule.Parse("1200"), at(12, 0, 2));
    EXPECT_EQ(rule.Parse("1201"), at(12, 1, 0));
    EXPECT_EQ(rule.Parse("1200Z"), at(12, 0, 0)) << "another minute starts again at 0";
    for (int i = 0; i < 70; ++i)
        rule.Parse("1200");
    EXPECT_EQ(rule.Parse("1200"), at(12, 0, 58)) << "synthetic seconds stop at 58";
    EXPECT_EQ(rule.Parse("235959"), at(23, 59, 59));
    EXPECT_EQ(rule.Parse("000099"), at(0, 0, 59)) << "seconds above 59 are capped";
    for (const char *bad : {"", "123", "2400", "1260", "12a0", "-100", "12:00", "1200x5"})
        EXPECT_FALSE(rule.Parse(bad)) << bad;
}

TEST(ImportFields, IotaDatesAndFrequencies)
{
    EXPECT_EQ(NormalizeTypedIota("EU-5"), "EU005");
    EXPECT_EQ(NormalizeTypedIota("eu-005"), "EU005");
    EXPECT_EQ(NormalizeTypedIota("EU-05"), "EU005");
    EXPECT_EQ(NormalizeTypedIota("EU5"), "EU005");
    EXPECT_EQ(NormalizeTypedIota("OC001"), "OC001");
    EXPECT_EQ(NormalizeTypedIota("E"), "E");

    EXPECT_EQ(ParseYmdDate("20010203"), DayNumber(2001, 2, 3));
    EXPECT_EQ(ParseYmdDate("20240229"), DayNumber(2024, 2, 29));
    for (const char *bad : {"20230229", "20010230", "20011301", "18991231", "20790606", "2001023", "2001-02-03",
                            "00990101"})
        EXPECT_FALSE(ParseYmdDate(bad)) << bad;

    EXPECT_EQ(ParseMegahertz("14.025"), 14025);
    EXPECT_EQ(ParseMegahertz("14,0255"), 14026) << "rounded, a comma taken as the point";
    EXPECT_EQ(ParseMegahertz("7"), 7000);
    EXPECT_EQ(ParseMegahertz(" 1296.2 "), 1296200);
    EXPECT_EQ(ParseMegahertz(".5"), 500);
    for (const char *bad : {"", ".", "14.0.1", "14 MHz", "-7", "99999999999999999999"})
        EXPECT_FALSE(ParseMegahertz(bad)) << bad;
}

TEST(ImportFields, PrefixMap)
{
    PrefixMap map = PrefixMap::Parse("DL   ,230\r\n# no comma\r\nF,  227 \r\nVK9X,035\nDL,999\nTOOLONGPFX,123456\n");
    EXPECT_EQ(map.Size(), 5u);
    EXPECT_EQ(map.PrefixOfNumber("230"), "DL");
    EXPECT_EQ(map.PrefixOfNumber("35"), "VK9X") << "leading zeros do not count";
    EXPECT_EQ(map.PrefixOfNumber("227"), "F");
    EXPECT_EQ(map.NumberOfPrefix("dl"), "230") << "the first line of a prefix counts";
    EXPECT_EQ(map.NumberOfPrefix("TOOLO"), "12345") << "both sides are cut to 5 characters";
    EXPECT_FALSE(map.PrefixOfNumber("1"));
    EXPECT_FALSE(map.NumberOfPrefix("G"));
}

TEST(ImportFields, NoteTexts)
{
    EXPECT_EQ(CleanImportedNote("a  b   c|", {}), "a b c");
    EXPECT_EQ(CleanImportedNote("a|b||", {}), "a|b|") << "only the last | goes";
    EXPECT_EQ(CleanImportedNote("worked 14025 kHz and 7010 kHz|", {true, false}), "worked and 7010 kHz");
    EXPECT_EQ(CleanImportedNote("at 3.5 KHZ", {true, false}), "at ");
    EXPECT_EQ(CleanImportedNote("no kHz here 5", {true, false}), "no kHz here 5");
    EXPECT_EQ(CleanImportedNote("x IMPORTED FROM My_Log 2.1, ok", {false, true}), "x , ok");
    EXPECT_EQ(CleanImportedNote("import from a|b", {false, true}), "|b");

    std::string note;
    AddToNote(note, "Hans");
    AddToNote(note, "hans");
    EXPECT_EQ(note, "Hans") << "a note holding the text in any case stays";
    AddToNote(note, "Berlin");
    EXPECT_EQ(note, "Hans Berlin");
}

} // namespace
} // namespace vellum
