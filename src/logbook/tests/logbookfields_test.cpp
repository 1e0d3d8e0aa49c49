#include "logbook/logbookfields.h"

#include "logstore/qsodata.h"
#include "logstore/qsotables.h"
#include "testsupport/qsobuilder.h"
#include "testsupport/testcountry.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

using test::QsoBuilder;

class LogbookFieldsTest : public ::testing::Test {
protected:
    void SetUp() override { test::BuildTestCountryData(countries); }
    LogbookCells cells(int noteWidth = 10, bool mhz = false)
    {
        return LogbookCells({&log, &countries, nullptr, DateFormat::YearMonthDay, mhz}, noteWidth);
    }
    std::string cell(const char *field, const TQsoRec &qso, std::int64_t row = 1)
    {
        int index = LogbookFieldIndex(field);
        EXPECT_GE(index, 0) << field;
        return cells().Cell(index, qso, row);
    }

    TQsoData log;
    TCountryData countries;
};

TEST_F(LogbookFieldsTest, TableHasTheFiftyTwoFieldsFoundByNameIgnoringCase)
{
    EXPECT_EQ(LogbookFieldIndex("Award"), 0);
    EXPECT_EQ(LogbookFieldIndex("callsign notes"), 6);
    EXPECT_EQ(LogbookFieldIndex("ZONE"), 51);
    EXPECT_EQ(LogbookFieldIndex("Zone "), -1);
    EXPECT_EQ(LogbookFieldIndex("Frequency"), -1);
    for (int i = 0; i < LogbookFieldCount; ++i)
        EXPECT_EQ(LogbookFieldIndex(LogbookFieldTable[static_cast<std::size_t>(i)].name), i);
}

TEST_F(LogbookFieldsTest, WidthsFollowTheNoteWidthTheBandInMHzAndTheName)
{
    EXPECT_EQ(LogbookFieldWidth(LogbookField::QsoNotes, 30, false), 30);
    EXPECT_EQ(LogbookFieldWidth(LogbookField::CallsignNotes, 7, false), 7);
    EXPECT_EQ(LogbookFieldWidth(LogbookField::Band, 0, false), 4);
    EXPECT_EQ(LogbookFieldWidth(LogbookField::Band, 0, true), 6);
    EXPECT_EQ(LogbookGridWidth(LogbookFieldIndex("DXCCmix"), 0, false), 8); // name + 1
    EXPECT_EQ(LogbookGridWidth(LogbookFieldIndex("Country"), 0, false), 28);
    EXPECT_EQ(LogbookGridWidth(LogbookField::QsoNotes, 3, false), 10);
}

TEST_F(LogbookFieldsTest, ARowOfCallDateBandAndAwardFlag)
{
    const TQsoRec *qso = QsoBuilder("QQ1ABC").date(2021, 3, 7).band(5).mode(4).awdFlags(0x04).addTo(log);
    std::vector<std::uint8_t> columns = {5, 11, 4, 13};
    EXPECT_EQ(cells().Row(columns, *qso, 1), "QQ1ABC\t21-03-07\t20m\tS");
}

TEST_F(LogbookFieldsTest, AwardFlagsShowSubmittedBeforeCheckedAndFlagsShowY)
{
    TQsoRec qso = *QsoBuilder("QQ1ABC").date(2021, 3, 7).band(5).mode(4).addTo(log);
    qso.AwdFlags = 0x08 | 0x0400 | 0x0800 | 0x10000000; // DXCC mixed checked, WAS band both, WPX mixed submitted
    EXPECT_EQ(cell("DXCCmix", qso), "*");
    EXPECT_EQ(cell("WASbnd", qso), "S");
    EXPECT_EQ(cell("WPXmix", qso), "S");
    EXPECT_EQ(cell("WAZmix", qso), "");
    qso.QslFlags = QslFlag::Cnfm | QslFlag::QRP;
    EXPECT_EQ(cell("Conf", qso), "Y");
    EXPECT_EQ(cell("QRP", qso), "Y");
    EXPECT_EQ(cell("Label", qso), "");
    EXPECT_EQ(cell("YLop", qso), "");
    EXPECT_EQ(cell("ValidDX", qso), "N");
    qso.QslFlags |= QslFlag::ValidDX;
    EXPECT_EQ(cell("ValidDX", qso), "Y");
}

TEST_F(LogbookFieldsTest, TextsOfTheRecordAndTheCountryData)
{
    TQsoRec qso = *QsoBuilder("W1AW").date(2021, 3, 7).time(9, 5).band(5).mode(14).reports(57, 59).addTo(log);
    qso.Country = test::CountryOf(countries, "K");
    qso.State = static_cast<std::uint8_t>(countries.StateIndex("NY"));
    qso.County = 47;
    qso.Zone = 5;
    qso.Satellite = 3;
    qso.QslMethod = 3;
    qso.Iota = "EU005";
    EXPECT_EQ(cell("Country", qso), "United States");
    EXPECT_EQ(cell("Prefix", qso), "K");
    EXPECT_EQ(cell("State", qso), "NY");
    EXPECT_EQ(cell("State Name", qso), "New York");
    EXPECT_EQ(cell("County", qso), "Kings");
    EXPECT_EQ(cell("Time", qso), "09:05");
    EXPECT_EQ(cell("Mode", qso), "SSB");
    EXPECT_EQ(cell("rstR", qso), "57");
    EXPECT_EQ(cell("rstS", qso), "59");
    EXPECT_EQ(cell("Zone", qso), "5");
    EXPECT_EQ(cell("QSL Mthd", qso), "Direct");
    EXPECT_EQ(cell("Satell", qso), SatelliteTable[3].name);
    EXPECT_EQ(cell("Number", qso, 42), "42");
    EXPECT_EQ(cells(10, true).Cell(LogbookField::Band, qso, 1), "14MHz");
    qso.County = 0;
    EXPECT_EQ(cell("County", qso), "") << "no county without its number";
    qso.Country = 9999;
    qso.Satellite = 1;
    qso.Time = -1;
    EXPECT_EQ(cell("Country", qso), "") << "a country index out of range is none";
    EXPECT_EQ(cell("Satell", qso), "");
    EXPECT_EQ(cell("Time", qso), "??:??");
}

TEST_F(LogbookFieldsTest, NotesAreCutToTheNoteWidthAndNeverSplitARow)
{
    TQsoRec *qso = QsoBuilder("QQ1ABC").date(2021, 3, 7).band(5).mode(4).addTo(log);
    qso->QsoNote.set("tab\there, and a\nline break");
    log.Notes.SetNote("QQ1ABC", "Hans in Berlin");
    EXPECT_EQ(cells(10).Cell(LogbookField::QsoNotes, *qso, 1), "tab here, ");
    EXPECT_EQ(cells(40).Cell(LogbookField::QsoNotes, *qso, 1), "tab here, and a line break");
    EXPECT_EQ(cells(4).Cell(LogbookField::CallsignNotes, *qso, 1), "Hans");
    std::vector<std::uint8_t> columns = {LogbookField::Callsign, LogbookField::QsoNotes};
    EXPECT_EQ(cells(40).Row(columns, *qso, 1), "QQ1ABC\ttab here, and a line break");
}

} // namespace
} // namespace vellum
