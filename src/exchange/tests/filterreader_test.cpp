// Reading text lines through a filter: each notation of each field kind, the
// rules of the reading table, and input that is hostile or broken.

#include "importfixture.h"

#include "exchange/filterformats.h"
#include "exchange/filterreader.h"
#include "exchange/lineinput.h"

#include "logstore/qsotables.h"

namespace vellum::test {
namespace {

TEST(FilterNotations, Dates)
{
    auto date = [](std::string_view text, int format) { return ParseFilterDate(text, format); };
    const std::uint16_t may17 = *DayNumber(2024, 5, 17), jan5 = *DayNumber(2001, 1, 5);
    EXPECT_EQ(date("240517", 0), may17);
    EXPECT_EQ(date("20240517", 1), may17);
    EXPECT_EQ(date("05/17/24", 2), may17);
    EXPECT_EQ(date("05/17/2024", 3), may17);
    EXPECT_EQ(date("17/05/24", 4), may17);
    EXPECT_EQ(date("17.05.2024", 5), may17); // separators are not read
    EXPECT_EQ(date("05-jan-01", 6), jan5);
    EXPECT_EQ(date("05-Jan-99", 6), *DayNumber(1999, 1, 5));
    EXPECT_EQ(date("05-JAN-2001", 7), jan5);
    EXPECT_EQ(date("Jan-05-01", 8), jan5);
    EXPECT_EQ(date("Jan-05-2001", 9), jan5);
    EXPECT_EQ(date("170524", 10), may17);
    EXPECT_EQ(date("17052024", 11), may17);
    EXPECT_EQ(date("05JAN-01", 12), jan5);
    EXPECT_EQ(date("24\\05\\17", 13), may17);
    EXPECT_EQ(date("051724", 14), may17);
    EXPECT_EQ(date("05Jan01", 15), jan5);
    EXPECT_EQ(date("2024-05-17", 16), may17);
    EXPECT_EQ(date("29-30", 16), std::nullopt);    // shorter than its layout
    EXPECT_EQ(date("31-Feb-01", 6), std::nullopt); // no such day
    EXPECT_EQ(date("00-Jan-01", 6), std::nullopt);
    EXPECT_EQ(date("05-Jux-01", 6), std::nullopt);
    EXPECT_EQ(date("2024-13-01", 16), std::nullopt);
    EXPECT_EQ(date("2080-01-01", 16), std::nullopt); // past the last day number
    EXPECT_EQ(date("Y", FlagQsoDate), std::nullopt);
}

TEST(FilterNotations, Bands)
{
    auto band = [](std::string_view text, int format) { return BandInfoOf(ParseFilterBand(text, format)).name; };
    EXPECT_STREQ(band("160", BandFormat::Meters3), "160m");
    EXPECT_STREQ(band(" 20", BandFormat::Meters3), "20m");
    EXPECT_STREQ(band("16", BandFormat::Meters2), "160m");
    EXPECT_STREQ(band(" 6", BandFormat::Meters2), "6m");
    EXPECT_STREQ(band("20M ", BandFormat::MetersM), "20m");
    EXPECT_STREQ(band("160m", BandFormat::MetersM), "160m");
    EXPECT_STREQ(band("40 ", BandFormat::MetersLeft), "40m");
    EXPECT_STREQ(band("3", BandFormat::Code10), "20m");
    EXPECT_STREQ(band("6", BandFormat::Code10), "160m");
    EXPECT_EQ(ParseFilterBand("7", BandFormat::Code10), 0);
    EXPECT_STREQ(band(" 0", BandFormat::Code6), "2m");
    EXPECT_STREQ(band("12", BandFormat::Code6), "70cm");
    EXPECT_EQ(ParseFilterBand("13", BandFormat::Code6), 0);
    EXPECT_STREQ(band(" 1", BandFormat::Code160), "160m");
    EXPECT_STREQ(band("10", BandFormat::Code160), "2m");
    EXPECT_EQ(ParseFilterBand("11", BandFormat::Code160), 0);
    EXPECT_STREQ(band("14025", BandFormat::FreqKHz), "20m");
    EXPECT_STREQ(band("14.025", BandFormat::FreqMHz), "20m");
    EXPECT_STREQ(band("7.", BandFormat::FreqMHz), "40m");
    EXPECT_EQ(ParseFilterBand("sat", BandFormat::FreqKHz), 15);
    EXPECT_EQ(ParseFilterBand("SAT", BandFormat::FreqMHz), 15);
    EXPECT_STREQ(band("14025000", BandFormat::FreqKHz), "20m"); // Hz: tried again in kHz
    EXPECT_EQ(ParseFilterBand("abc", BandFormat::FreqKHz), 0);
    EXPECT_EQ(ParseFilterBand("", BandFormat::Meters3), 0);
}

TEST(FilterNotations, Modes)
{
    auto mode = [](std::string_view text, int format) { return ModeName(ParseFilterMode(text, format)); };
    EXPECT_EQ(mode("PHO", ModeFormat::CwPhoFsk), "SSB");
    EXPECT_EQ(mode("FSK", ModeFormat::CwPhoFsk), "RTTY");
    EXPECT_EQ(mode("RTT", ModeFormat::CwSsbRtt), "RTTY");
    EXPECT_EQ(mode("CW", ModeFormat::RightAligned), "CW");
    EXPECT_EQ(mode("PSK3", ModeFormat::ModeName), "PSK3");
    // Today's modes by the names the ADIF import reads, a cut name when only one mode begins so.
    EXPECT_EQ(mode("FT8 ", ModeFormat::ModeName), "FT8");
    EXPECT_EQ(mode("ft4", ModeFormat::ModeName), "FT4");
    EXPECT_EQ(mode("JS8", ModeFormat::ModeName), "JS8");
    EXPECT_EQ(mode("FST4W", ModeFormat::ModeName), "FST4");
    EXPECT_EQ(mode("DMR", ModeFormat::ModeName), "DV");
    EXPECT_EQ(mode("OLIVIA", ModeFormat::ModeName), "OLIVIA");
    EXPECT_EQ(mode("MSK1", ModeFormat::ModeName), "MSK144");
    EXPECT_EQ(mode("OLI", ModeFormat::ModeName), "") << "a name shorter than the column is no cut name";
    EXPECT_EQ(mode("VARA", ModeFormat::ModeName), "");
    EXPECT_EQ(mode("FT8", ModeFormat::CwPhoFsk), "") << "the group columns keep their three groups";
    EXPECT_EQ(mode("1", ModeFormat::Digit1Cw), "CW");
    EXPECT_EQ(mode("2", ModeFormat::Digit1Cw), "RTTY");
    EXPECT_EQ(mode("3", ModeFormat::Digit1Cw), "SSB");
    EXPECT_EQ(mode("0", ModeFormat::Digit0Cw), "CW");
    EXPECT_EQ(mode("1", ModeFormat::Digit0Cw), "SSB");
    EXPECT_EQ(mode("P", ModeFormat::LetterCpr), "SSB");
    EXPECT_EQ(mode("S", ModeFormat::LetterCsr), "SSB");
    EXPECT_EQ(mode("R", ModeFormat::LetterCsr), "RTTY");
    EXPECT_EQ(mode("c", ModeFormat::LetterCsr), ""); // compared exactly
    EXPECT_EQ(mode("4", ModeFormat::DigitUsb), "SSB");
    EXPECT_EQ(mode("2", ModeFormat::DigitUsb), "CW");
    EXPECT_EQ(mode("6", ModeFormat::DigitUsb), "RTTY");
    EXPECT_EQ(mode("7", ModeFormat::DigitUsb), "");
}

TEST(LineInput, LineEndsLongLinesAndCtrlZ)
{
    std::string longLine(100000, 'x');
    std::string bytes = "one\r\ntwo\nthree\r" + longLine + "\r\nlast\x1A" + "hidden\n";
    LineInput input(bytes);
    TextLine line;
    std::vector<std::string> lines;
    std::vector<bool> cut;
    while (input.Next(line)) {
        lines.emplace_back(line.text);
        cut.push_back(line.cut);
    }
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2], "three");
    EXPECT_EQ(lines[3].size(), FilterLineCapacity);
    EXPECT_TRUE(cut[3]);
    EXPECT_FALSE(cut[4]);
    EXPECT_EQ(lines[4], "last");
    EXPECT_TRUE(input.AtEnd());
}

class FilterReaderTest : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        config.Imp_syntax = 1; // simple errors go into the note too
        config.imp_action = 1;
    }
    /// Imports one line after setting the filter from its text form; the QSO.
    const TQsoRec &one(const std::string &filterBody, const std::string &line)
    {
        filter = textFilter("Callsign=1,String,10\nDate=11,YYYYMMDD\nTime=19,HHMM\nBand=23,\"160,80,40\"\n"
                            "Mode=26,\"CW,PHO,FSK\"\n" +
                            filterBody);
        importText(line + "\r\n");
        EXPECT_EQ(log->Count(), 1);
        return log->Count() > 0 ? qso(log->Count() - 1) : none;
    }
    void emptyLog()
    {
        while (log->Count() > 0)
            log->DeleteQso(log->Get(log->Count() - 1));
    }
    static std::string note(const TQsoRec &q) { return std::string(q.QsoNote.text()); }
    TQsoRec none;
};

// Columns:   1         11      19  23 26  30
const std::string Base = "DL1ABC    202405171405 20CW ";

/// A line with each text at its column.
std::string columns(std::initializer_list<std::pair<int, std::string>> parts)
{
    std::string line;
    for (const auto &[column, text] : parts) {
        if (line.size() < static_cast<std::size_t>(column - 1))
            line.resize(static_cast<std::size_t>(column - 1), ' ');
        line.replace(static_cast<std::size_t>(column - 1), text.size(), text);
    }
    return line;
}

TEST_F(FilterReaderTest, CoreFields)
{
    const TQsoRec &q = one("rstS=30,Number,4\nrstR=34,Number,4\nRecvd=38,String,5\nZone=43,Number\n",
                           Base + " 579+ 0  okay  14");
    EXPECT_EQ(q.Call.view(), "DL1ABC");
    EXPECT_EQ(q.Date, day(2024, 5, 17));
    EXPECT_EQ(q.Time, 14 * 3600 + 5 * 60);
    EXPECT_EQ(q.Band, 5);
    EXPECT_EQ(ModeName(q.Mode), "CW");
    EXPECT_EQ(q.RstSent, 579);
    EXPECT_EQ(q.RstRcvd, 0);
    EXPECT_EQ(q.Recvd.view(), "OKAY");
    EXPECT_EQ(q.Zone, 14);
    EXPECT_EQ(note(q), "");
}

TEST_F(FilterReaderTest, InvalidValuesAreErrorsWithTheirDefaults)
{
    config.DefQSO_band = 3;
    config.DefQSO_Mode = 14;
    const TQsoRec &q = one("Zone=30,Number\n", "DL-ABC/   20240231??:? 99XYZ 77");
    EXPECT_EQ(q.Band, 3);
    EXPECT_EQ(ModeName(q.Mode), "SSB");
    EXPECT_EQ(q.Date, today); // no valid date: today, as every import completes it
    EXPECT_EQ(q.Zone, 14); // the zone 77 is dropped: the call's own
    EXPECT_EQ(note(q), "Error:Callsign=DL-ABC/, Date=20240231, Time=??:?, Band=99, Mode=XYZ, Zone=77");
}

TEST_F(FilterReaderTest, TimeFormatsAndSyntheticSeconds)
{
    filter = textFilter("Callsign=1,String,6\nDate=7,YYMMDD\nTime=13,HH:MM\nBand=18,\"160,80,40\"\n"
                        "Mode=21,\"CW,PHO,FSK\"\n");
    importText("DL1ABC24051714:05 20CW\r\nDL2ABC24051714:05 20CW\r\n");
    ASSERT_EQ(log->Count(), 2);
    EXPECT_EQ(find("DL1ABC").Time, 14 * 3600 + 5 * 60);
    EXPECT_EQ(find("DL2ABC").Time, 14 * 3600 + 5 * 60 + 1);
    emptyLog();
    filter.FieldSpecs[ImportField::Time] = {13, TimeFormat::Seconds, 6};
    importText("DL3ABC240517140559 20CW\r\n");
    EXPECT_EQ(find("DL3ABC").Time, 14 * 3600 + 5 * 60 + 59);
}

TEST_F(FilterReaderTest, FlagsAndLetters)
{
    const TQsoRec &q = one("Confrm=30,Y/N\nLabel=31,Y/N\nQRP=32,1/0\nYLop=33,Y/N\nDXCC valid=34,Y/N\n"
                           "QSL Method=35,DXBASE\nQSL Date=36,Flag QSO date\n",
                           Base + " fXyxNmY");
    EXPECT_TRUE(q.QslFlags & QslFlag::Cnfm);
    EXPECT_TRUE(q.QslFlags & QslFlag::Label);
    EXPECT_TRUE(q.QslFlags & QslFlag::QRP);
    EXPECT_TRUE(q.QslFlags & QslFlag::YLop);
    EXPECT_FALSE(q.QslFlags & QslFlag::ValidDX);
    EXPECT_EQ(q.QslMethod, 2); // "M" of XBMD$OX
    EXPECT_EQ(q.QslDate, day(2024, 5, 17));
}

TEST_F(FilterReaderTest, QslDateInADateFormat)
{
    const TQsoRec &q = one("QSL Date=30,DD/MM/YYYY\n", Base + " 01/06/2024");
    EXPECT_EQ(q.QslDate, day(2024, 6, 1));
    emptyLog();
    const TQsoRec &bad = one("QSL Date=30,DD/MM/YYYY\n", Base + " 41/06/2024");
    EXPECT_EQ(bad.QslDate, 0);
    EXPECT_EQ(note(bad), "Error:QSL Date=41/06/2024");
}

TEST_F(FilterReaderTest, SatelliteSetsTheBand)
{
    EXPECT_EQ(one("Satellite=30,Flag\n", Base + " B").Satellite, 2);
    EXPECT_EQ(qso(0).Band, 15);
    emptyLog();
    const TQsoRec &n = one("Satellite=30,Flag\n", Base + " N");
    EXPECT_EQ(n.Satellite, 1);
    EXPECT_EQ(n.Band, 5);
    emptyLog();
    EXPECT_EQ(one("Satellite=30,Flag\n", Base + " y").Satellite, 9);
    emptyLog();
    const TQsoRec &bad = one("Satellite=30,Flag\n", Base + " Q");
    EXPECT_EQ(bad.Satellite, 1);
    EXPECT_EQ(note(bad), "Error:Satellite=Q");
    emptyLog();
    EXPECT_EQ(one("", Base).Satellite, 1); // no satellite field
}

TEST_F(FilterReaderTest, AwardFlagsInEachFormat)
{
    const TQsoRec &q = one("DXCC Mixed award=30,Y/N/*\nWAS Band award=31,1/0/*\nWAZ Mode award=32,0/1/2\n"
                           "WPX Mixed award=33,0/1/2\nIOTA award=34,Logwin\nVUCC Award=35,Y/N/*\n",
                           Base + " *1122N");
    EXPECT_TRUE(q.AwdFlags & 0x00000004);  // DXCC mixed submitted
    EXPECT_TRUE(q.AwdFlags & 0x00000800);  // WAS band checked
    EXPECT_TRUE(q.AwdFlags & 0x00010000);  // WAZ mode submitted ("1")
    EXPECT_TRUE(q.AwdFlags & 0x20000000);  // WPX mixed checked ("2")
    EXPECT_TRUE(q.AwdFlags & 0x00200000);  // IOTA checked ("2" of Logwin)
    EXPECT_FALSE(q.AwdFlags & 0x00000003); // VUCC "N"
    EXPECT_TRUE(q.QslFlags & QslFlag::Cnfm);
}

TEST_F(FilterReaderTest, PlacesStateCountyGridAndIota)
{
    std::uint8_t key[6] = {5, 'M', 'A', '0', '1', '7'};
    countries.Counties.AddRecord(countries.Counties.MakeRecord(key, "Middlesex").data());
    filter = textFilter("Callsign=1,String,10\nDate=11,YYYYMMDD\nTime=19,HHMM\nBand=23,\"160,80,40\"\n"
                        "Mode=26,\"CW,PHO,FSK\"\nState=30,\"CA, VA\"\nCounty=33,String,12\nGrid=46,String,6\n"
                        "IOTA=53,String,6\n");
    importText("K1ABC     202405171405 20CW  MA Middlesex    fn42ab NA-001\r\n"
               "DL1ABC    202405171406 20CW  MA              ------ -----\r\n");
    const TQsoRec &us = find("K1ABC");
    EXPECT_EQ(countries.StateAbbreviation(us.State), "MA");
    EXPECT_EQ(us.County, 17);
    EXPECT_EQ(us.Grid.view(), "FN42ab");
    // Germany has no states: the column is not read; dashes are no grid and no reference.
    const TQsoRec &dl = find("DL1ABC");
    EXPECT_EQ(dl.State, 0);
    EXPECT_TRUE(dl.Grid.empty());
    EXPECT_EQ(note(dl), "");

    emptyLog();
    filter.FieldSpecs[ImportField::State] = {30, StateFormat::Section, 3};
    importText("K1ABC     202405171405 20CW  EMA\r\n");
    EXPECT_EQ(countries.StateAbbreviation(qso(0).State), "MA");
    emptyLog();
    filter.FieldSpecs[ImportField::State] = {30, StateFormat::CountyState, 14};
    importText("K1ABC     202405171405 20CW  Boston, MA\r\n");
    EXPECT_EQ(countries.StateAbbreviation(qso(0).State), "MA");
}

TEST_F(FilterReaderTest, NotesGroupTenTenAndCustomAwards)
{
    class Awards : public CustomAwardLookup {
    public:
        bool HasAward(std::string_view id) const override { return id == "GRID"; }
        bool AllowsValue(std::string_view, std::string_view value) const override { return value != "BAD"; }
    } awards;
    filter = textFilter("Callsign=1,String,10\nDate=11,YYYYMMDD\nTime=19,HHMM\nBand=23,\"160,80,40\"\n"
                        "Mode=26,\"CW,PHO,FSK\"\nNote1=30,Store with QSO,8\nNote2=38,Store with Call,8\n"
                        "Group=46,Number,3\nTenTen=49,Number,5\nAwd group=54,String,4\nAwd value=58,String,8\n");
    ImportContext context{*log, countries, resolver, config, questions, dir.string(), today};
    context.customAwards = &awards;
    std::string text =
        columns({{1, "DL1ABC    202405171405 20CW"}, {30, "qso note"}, {38, "Hans"}, {46, "999"}, {54, "GRIDJO62"}}) +
        "\r\n" + columns({{1, "DL2ABC    202405171406 20CW"}, {48, "7"}, {49, "1234"}, {54, "NONEBAD"}}) + "\r\n" +
        columns({{1, "DL3ABC    202405171407 20CW"}, {54, "GRID"}, {58, "BAD"}}) + "\r\n";
    ImportFilterBytes(context, text, "test.txt", filter);
    const TQsoRec &first = find("DL1ABC");
    EXPECT_EQ(note(first), "qso note");
    EXPECT_EQ(log->Notes.NoteOf("DL1ABC"), "Hans");
    EXPECT_EQ(first.Group, 253);
    EXPECT_EQ(first.CustAwd.view(), "GRID");
    EXPECT_EQ(first.CustValue.view(), "JO62");
    const TQsoRec &second = find("DL2ABC");
    EXPECT_EQ(second.Group, 7);
    EXPECT_EQ(second.CustAwd.view(), "1010");
    EXPECT_EQ(second.CustValue.view(), "1234 ");
    EXPECT_EQ(note(second), "Error:Awd group=NONE, Awd value=BAD");
    EXPECT_EQ(note(find("DL3ABC")), "Error:Awd value=BAD");
}

TEST_F(FilterReaderTest, NotesFollowingTheQsoLine)
{
    filter = textFilter("Callsign=1,String,10\nDate=11,YYYYMMDD\nTime=19,HHMM\nBand=23,\"160,80,40\"\n"
                        "Mode=26,\"CW,PHO,FSK\"\nNote1=1,Note follows QSO,1\nNote3=1,Note follows QSO,1\n");
    importText("DL1ABC    202405171405 20CW\r\nfirst note\r\n\r\n"
               "DL2ABC    202405171406 20CW\r\nlast\r\n");
    ASSERT_EQ(log->Count(), 2);
    EXPECT_EQ(note(find("DL1ABC")), "first note");
    // The file ends inside the notes: the QSO stays, the missing note is told.
    EXPECT_EQ(note(find("DL2ABC")), "Error:Note3=missing at the end of the file|last");
}

TEST_F(FilterReaderTest, EmptyLinesTitlesAndTheEndOfTheFile)
{
    filter = textFilter("Callsign=1,String,10\nDate=11,YYYYMMDD\nTime=19,HHMM\nBand=23,\"160,80,40\"\n"
                        "Mode=26,\"CW,PHO,FSK\"\n");
    ImportResult result = importText("CALL      DATE    TIMEBANMOD\r\n\r\nDL1ABC    202405171405 20CW\r\n   \r\n"
                                     "DL2ABC    202405171406 20CW\r\n\r\n\r\n");
    EXPECT_EQ(result.outcome, ImportOutcome::Finished);
    EXPECT_EQ(result.counters.read, 2);
    EXPECT_EQ(log->Count(), 2);

    emptyLog();
    result = importText("");
    EXPECT_EQ(result.outcome, ImportOutcome::Finished);
    EXPECT_EQ(result.counters.read, 0);
    // Only the first line may be titles: a later line without a date is a QSO with errors.
    result = importText("DL1ABC    202405171405 20CW\r\nDL2ABC            1406 20CW\r\n");
    EXPECT_EQ(result.counters.read, 2);
}

TEST_F(FilterReaderTest, HostileLinesAndFilters)
{
    // A line of 100,000 characters is read up to column 255 and says so.
    const TQsoRec &q = one("", Base + std::string(100000, 'Z'));
    EXPECT_EQ(q.Call.view(), "DL1ABC");
    EXPECT_EQ(note(q), "Error:Line=more than 255 characters");

    // A field at the very last column reads what is there, a short line reads blanks.
    emptyLog();
    filter.FieldSpecs[ImportField::Recvd] = {255, 0, 1};
    importText(Base + std::string(254 - Base.size(), ' ') + "q\r\nDL2ABC    202405171406 20CW\r\n");
    EXPECT_EQ(find("DL1ABC").Recvd.view(), "Q");
    EXPECT_TRUE(find("DL2ABC").Recvd.empty());

    // Filters whose columns run past a line, or with a length of 0, are refused.
    for (FieldSpec bad : {FieldSpec{250, 0, 10}, FieldSpec{10, 0, 0}}) {
        emptyLog();
        notifier.shown.clear();
        filter.FieldSpecs[ImportField::Recvd] = bad;
        ImportResult result = importText(Base + "\r\n");
        EXPECT_EQ(result.outcome, ImportOutcome::Failed);
        EXPECT_EQ(log->Count(), 0);
        EXPECT_NE(lastShown(MessageKind::Error).find("Recvd at column"), std::string::npos);
    }
}

TEST_F(FilterReaderTest, OverlappingFieldsReadTheSameColumns)
{
    const TQsoRec &q = one("Prefix=1,String,2\nRecvd=1,String,4\n", Base);
    EXPECT_EQ(q.Recvd.view(), "DL1A");
    EXPECT_EQ(countries.CountryPrefix(q.Country), "DL");
}

} // namespace
} // namespace vellum::test
