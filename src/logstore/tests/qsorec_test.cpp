#include "logstore/cp1252.h"
#include "logstore/daytime.h"
#include "logstore/qsorec.h"
#include "logstore/qsotables.h"
#include "logstore/report.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

TEST(QsoRecord, StoredLayoutPutsEveryFieldAtItsOffset)
{
    TQsoRec r;
    r.Call = "DL1ABC/P";
    r.Time = 0x01020304;
    r.Date = 0x0506;
    r.Band = 7;
    r.Mode = 14;
    r.AwdFlags = 0x0A0B0C0D;
    r.RstRcvd = 599;
    r.RstSent = 1059;
    r.State = 9;
    r.Iota = "EU123";
    r.County = 0x1122;
    r.Grid = "JO31AB";
    r.QslDate = 0x3344;
    r.QslMethod = 3;
    r.Satellite = 2;
    r.Group = 200;
    r.PrtSeqNr = 0x5566;
    r.Recvd = "1234";
    r.Country = -2;
    r.Zone = 14;
    r.QslFlags = 0x22;
    r.CustAwd = "1010";
    r.CustValue = "12345678";
    std::array<std::uint8_t, QsoStoredSize> b{};
    StoreQso(r, b);
    EXPECT_EQ(b[0], 8);
    EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 9), "DL1ABC/P");
    EXPECT_EQ(b[9], 0) << "unused string bytes are zero";
    EXPECT_EQ(b[13], 0x04);
    EXPECT_EQ(b[16], 0x01);
    EXPECT_EQ(b[17], 0x06);
    EXPECT_EQ(b[19], 7);
    EXPECT_EQ(b[20], 14);
    EXPECT_EQ(b[21], 0x0D);
    EXPECT_EQ(b[25] | b[26] << 8, 599);
    EXPECT_EQ(b[27] | b[28] << 8, 1059);
    EXPECT_EQ(b[29], 9);
    EXPECT_EQ(b[30], 5);
    EXPECT_EQ(b[31], 'E');
    EXPECT_EQ(b[36], 0x22);
    EXPECT_EQ(b[38], 6);
    EXPECT_EQ(b[39], 'J');
    EXPECT_EQ(b[45], 0x44);
    EXPECT_EQ(b[47], 3);
    EXPECT_EQ(b[48], 2);
    EXPECT_EQ(b[49], 200);
    EXPECT_EQ(b[50], 0x66);
    EXPECT_EQ(b[52], 4);
    EXPECT_EQ(b[57], 0xFE);
    EXPECT_EQ(b[58], 0xFF);
    EXPECT_EQ(b[59], 14);
    EXPECT_EQ(b[60], 0x22);
    EXPECT_EQ(b[61], 4);
    EXPECT_EQ(b[66], 8);
    EXPECT_EQ(b[74], '8');

    TQsoRec back;
    LoadQso(b, back);
    EXPECT_EQ(back.Call, "DL1ABC/P");
    EXPECT_EQ(back.Time, 0x01020304);
    EXPECT_EQ(back.Country, -2);
    EXPECT_EQ(back.CustValue, "12345678");
    EXPECT_EQ(back.Grid, "JO31AB");

    // A length byte above the capacity is clamped, never read past the field.
    b[0] = 200;
    LoadQso(b, back);
    EXPECT_EQ(back.Call.size(), 12u);
}

TEST(Reports, EncodeDecodeAndRangeCheck)
{
    EXPECT_EQ(EncodeRst(""), 0);
    EXPECT_EQ(EncodeRst("0"), 0);
    EXPECT_EQ(EncodeRst("599"), 599);
    EXPECT_EQ(EncodeRst("59A"), 1059);
    EXPECT_EQ(EncodeRst("599A"), 1599);
    EXPECT_FALSE(EncodeRst("5"));
    EXPECT_FALSE(EncodeRst("5X9"));
    EXPECT_FALSE(EncodeRst("A"));
    EXPECT_FALSE(EncodeRst("5999")) << "four digits would decode as an aurora report";
    EXPECT_EQ(DecodeRst(1059), "59A");
    EXPECT_EQ(DecodeRst(599), "599");
    EXPECT_EQ(DecodeRst(0), "");

    const int ssb = 14, cw = 4;
    EXPECT_TRUE(ReportInRange(59, ssb));
    EXPECT_FALSE(ReportInRange(599, ssb));
    EXPECT_FALSE(ReportInRange(60, ssb));
    EXPECT_FALSE(ReportInRange(10, ssb));
    EXPECT_TRUE(ReportInRange(599, cw));
    EXPECT_FALSE(ReportInRange(59, cw));
    EXPECT_TRUE(ReportInRange(1059, cw)) << "59A is checked as 599";
    EXPECT_FALSE(ReportInRange(1059, ssb));
}

TEST(DayNumbers, ConvertBothWaysAndRejectImpossibleDates)
{
    EXPECT_EQ(DayNumber(2000, 1, 1), 36465);
    EXPECT_EQ(DayNumber(1945, 11, 15), 16695);
    EXPECT_EQ(DayNumber(1900, 3, 2), 1);
    EXPECT_EQ(DayNumber(5, 6, 1), DayNumber(2005, 6, 1));
    EXPECT_EQ(DayNumber(45, 6, 1), DayNumber(1945, 6, 1));
    EXPECT_FALSE(DayNumber(1900, 3, 1)) << "day 0 means no date";
    EXPECT_FALSE(DayNumber(2079, 6, 6));
    EXPECT_TRUE(DayNumber(2079, 6, 5));
    EXPECT_FALSE(DayNumber(2001, 13, 1));
    EXPECT_FALSE(DayNumber(2001, 2, 29));
    EXPECT_TRUE(DayNumber(2000, 2, 29));
    EXPECT_FALSE(DayNumber(2001, 4, 31));

    for (std::uint16_t n = 1; n <= LastValidDay; n = static_cast<std::uint16_t>(n + 97)) {
        CalendarDate d = SplitDayNumber(n);
        ASSERT_EQ(DayNumber(d.year, d.month, d.day), n);
    }
    CalendarDate d = SplitDayNumber(36465);
    EXPECT_EQ(d.year, 2000);
    EXPECT_EQ(d.month, 1);
    EXPECT_EQ(d.day, 1);

    auto day = *DayNumber(2024, 3, 7);
    EXPECT_EQ(FormatDate(day, DateFormat::MonthDayYear, false), "03/07/2024");
    EXPECT_EQ(FormatDate(day, DateFormat::DayMonthYear, true), "07/03/24");
    EXPECT_EQ(FormatDate(day, DateFormat::YearMonthDay, false), "2024-03-07");
    EXPECT_EQ(FormatDate(0, DateFormat::YearMonthDay, false), "");
    EXPECT_EQ(FormatDayMonthName(day), "07-Mar-2024");
    EXPECT_EQ(ParseDate("07/03/24", DateFormat::DayMonthYear), day);
    EXPECT_EQ(ParseDate("2024-03-07", DateFormat::YearMonthDay), day);
    EXPECT_FALSE(ParseDate("2024-13-07", DateFormat::YearMonthDay));
    EXPECT_FALSE(ParseDate("x", DateFormat::YearMonthDay));

    EXPECT_EQ(FormatTime(-1, false), "??:??");
    EXPECT_EQ(FormatTime(3723, true), "01:02:03");
    EXPECT_EQ(FormatTime(3723, false), "01:02");
    EXPECT_FALSE(TimeOfDay(24, 0));
    EXPECT_FALSE(TimeOfDay(12, 60));
    EXPECT_EQ(TimeOfDay(23, 59, 59), 86399);
}

TEST(Bands, FrequencyAndTextLookups)
{
    EXPECT_EQ(BandOfFreq(14195), 5);
    EXPECT_EQ(BandOfFreq(29999), 9);
    EXPECT_EQ(BandOfFreq(1496), 1);
    EXPECT_EQ(BandOfFreq(1494), 0);
    EXPECT_EQ(BandOfFreq(5000), 0);
    EXPECT_EQ(BandOfFreq(2400000), 15);
    EXPECT_EQ(ParseBand("160"), 1);
    EXPECT_EQ(ParseBand("20"), 5);
    EXPECT_EQ(ParseBand("1.2"), 12);
    EXPECT_EQ(ParseBand("sat"), 15);
    EXPECT_EQ(ParseBand("20m"), 5);
    EXPECT_EQ(ParseBand("70CM"), 13);
    EXPECT_EQ(ParseBand("11m"), 0);
    EXPECT_EQ(ParseBand(""), 0);
    EXPECT_EQ(BandLabel(13, false), "70cm");
    EXPECT_EQ(BandLabel(13, true), "440MHz");
    EXPECT_EQ(BandLabel(99, false), "xxxm");
    EXPECT_EQ(ModeName(14), "SSB");
    EXPECT_EQ(ModeOfName("rtty"), 13);
    EXPECT_EQ(ModeGroupOf(4), 2);
    EXPECT_EQ(ModeGroupOf(200), 0);
    EXPECT_EQ(DefaultReport(14), 59);
    EXPECT_EQ(DefaultReport(4), 599);
}

TEST(Cp1252, ConvertsToAndFromUtf8)
{
    EXPECT_EQ(Cp1252ToUtf8("Jos\xE9 \x80"), "José €");
    int replaced = 0;
    EXPECT_EQ(Utf8ToCp1252("José € 日本", &replaced), "Jos\xE9 \x80 ??");
    EXPECT_EQ(replaced, 2);
    EXPECT_EQ(Utf8ToCp1252("\xC3", &replaced), "?") << "a cut sequence";
    EXPECT_EQ(Cp1252ToUtf8(Utf8ToCp1252("Ærø Œ")), "Ærø Œ");
}

} // namespace
} // namespace vellum
