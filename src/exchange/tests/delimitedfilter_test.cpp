// Comma-separated filters (identifier "CSV..."): splitting and quoting values,
// a file as spreadsheets write it read field by field through the shipped CSV
// filter, and lines that are broken or hostile.

#include "importfixture.h"

#include "exchange/delimitedline.h"
#include "exchange/filterformats.h"
#include "exchange/filterlisting.h"

#include "logstore/qsotables.h"

namespace vellum::test {
namespace {

using Values = std::vector<std::string>;

TEST(DelimitedLine, SplitsQuotesAndBlanks)
{
    auto split = [](std::string_view line) { return SplitDelimitedLine(line).values; };
    EXPECT_EQ(split("a,b,c"), (Values{"a", "b", "c"}));
    EXPECT_EQ(split(" a , b\t,c "), (Values{"a", "b", "c"}));
    EXPECT_EQ(split(",,"), (Values{"", "", ""}));
    EXPECT_EQ(split(""), (Values{""}));
    EXPECT_EQ(split("\"Hans, Berlin\",x"), (Values{"Hans, Berlin", "x"}));
    EXPECT_EQ(split("\"say \"\"hi\"\"\",\"\"\"\""), (Values{"say \"hi\"", "\""}));
    EXPECT_EQ(split(" \" kept \" ,y"), (Values{" kept ", "y"}));
    EXPECT_EQ(split("\"\",z"), (Values{"", "z"}));
    EXPECT_EQ(split("\"ab\"cd,e"), (Values{"abcd", "e"})); // text after the closing quote stays with the value
    EXPECT_EQ(split("ab\"cd,e"), (Values{"ab\"cd", "e"})); // a quote inside an unquoted value is a character
    EXPECT_FALSE(SplitDelimitedLine("\"a\",\"b,c\"").unterminatedQuote);

    DelimitedValues open = SplitDelimitedLine("a,\"b, c");
    EXPECT_TRUE(open.unterminatedQuote);
    EXPECT_EQ(open.values, (Values{"a", "b, c"}));
    open = SplitDelimitedLine("a,\"b\"\"");
    EXPECT_TRUE(open.unterminatedQuote);
    EXPECT_EQ(open.values, (Values{"a", "b\""}));

    for (std::string_view value : {"plain", "", "Hans, Berlin", "say \"hi\"", " lead", "trail ", "\"", ",", "a\"\"b"}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(split(QuoteDelimitedValue(value) + ",next"), (Values{std::string(value), "next"}));
    }
    EXPECT_EQ(QuoteDelimitedValue("DL1ABC"), "DL1ABC");
    EXPECT_EQ(QuoteDelimitedValue("a,b"), "\"a,b\"");
    EXPECT_EQ(QuoteDelimitedValue("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(QuoteDelimitedValue(" a"), "\" a\"");
}

TEST(DelimitedLine, FilterOrderProblemsAndListing)
{
    ImportFilter filter = shippedFilter("CSV");
    ASSERT_TRUE(IsDelimitedFilter(filter));
    EXPECT_FALSE(IsDelimitedFilter(shippedFilter("PAPER")));
    EXPECT_EQ(DelimitedTitleLine(filter), "Callsign,Date,Time,Band,Mode,rstS,rstR,Note1,Grid,Zone,IOTA,QSL Date,Confrm");

    // Columns are an order: a field far right with a long length is no problem, a length of 0 still is.
    filter.FieldSpecs[ImportField::Recvd] = {250, 0, 100};
    EXPECT_EQ(FilterProblems(filter), std::vector<std::string>{});
    EXPECT_TRUE(DelimitedTitleLine(filter).ends_with(",Confrm,Recvd"));
    filter.FieldSpecs[ImportField::Recvd].length = 0;
    EXPECT_EQ(FilterProblems(filter).size(), 1u);
    // A note that follows on its own line has no place among the values.
    filter.FieldSpecs[ImportField::Note1].format = NoteFormat::FollowsQso;
    EXPECT_EQ(DelimitedTitleLine(filter).find("Note1"), std::string::npos);

    auto listed = [](const ImportFilter &f) {
        FilterListing listing = MakeFilterListing(f);
        std::string rows;
        for (std::int64_t i = 0; i < listing.rows->Count(); ++i)
            rows += listing.rows->Row(i) + "\n";
        return rows;
    };
    EXPECT_NE(listed(shippedFilter("CSV")).find("Layout\tcomma-separated"), std::string::npos);
    EXPECT_NE(listed(shippedFilter("PAPER")).find("Layout\tfixed columns"), std::string::npos);
}

class DelimitedImportTest : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        filter = shippedFilter("CSV");
        config.Imp_syntax = 1; // what a line cannot give whole goes into the QSO's note
        config.imp_action = 1;
    }
    static std::string note(const TQsoRec &q) { return std::string(q.QsoNote.text()); }
};

TEST_F(DelimitedImportTest, SpreadsheetFileFieldByField)
{
    ImportResult result = importText(
        "CALL,DATE,TIME,BAND,MODE,RST_SENT,RST_RCVD,NAME,GRID,CQZ,IOTA,QSL_RCVD_DATE,QSL_RCVD\r\n"
        "DL1ABC,2024-03-15,1432,20m,SSB,59,57,\"Hans, Berlin\",JO62qm,14,EU005,2024-04-01,Y\r\n"
        " K1ABC , 2024-03-15 , 1501 ,40M,CW,599,579,\"Bob \"\"the key\"\" Smith\",,,,,N\r\n"
        "\r\n"
        "G4ABC,2024-03-16,0002,15m,SSB,,,,,,,,\r\n");
    EXPECT_EQ(result.outcome, ImportOutcome::Finished);
    EXPECT_EQ(result.counters.read, 3);
    EXPECT_EQ(result.counters.errors, 0);
    ASSERT_EQ(log->Count(), 3);

    const TQsoRec &hans = find("DL1ABC");
    EXPECT_EQ(hans.Date, day(2024, 3, 15));
    EXPECT_EQ(hans.Time, 14 * 3600 + 32 * 60);
    EXPECT_STREQ(BandInfoOf(hans.Band).name, "20m");
    EXPECT_EQ(ModeName(hans.Mode), "SSB");
    EXPECT_EQ(hans.RstSent, 59);
    EXPECT_EQ(hans.RstRcvd, 57);
    EXPECT_EQ(note(hans), "Hans, Berlin");
    EXPECT_EQ(hans.Grid.view(), "JO62qm");
    EXPECT_EQ(hans.Zone, 14);
    EXPECT_EQ(hans.Iota.view(), "EU005");
    EXPECT_EQ(hans.QslDate, day(2024, 4, 1));
    EXPECT_TRUE(hans.QslFlags & QslFlag::Cnfm);

    const TQsoRec &bob = find("K1ABC");
    EXPECT_EQ(bob.Date, day(2024, 3, 15));
    EXPECT_EQ(bob.Time, 15 * 3600 + 60);
    EXPECT_STREQ(BandInfoOf(bob.Band).name, "40m");
    EXPECT_EQ(ModeName(bob.Mode), "CW");
    EXPECT_EQ(bob.RstSent, 599);
    EXPECT_EQ(bob.RstRcvd, 579);
    EXPECT_EQ(note(bob), "Bob \"the key\" Smith");
    EXPECT_EQ(bob.QslDate, 0);
    EXPECT_FALSE(bob.QslFlags & QslFlag::Cnfm);

    const TQsoRec &blank = find("G4ABC");
    EXPECT_EQ(blank.Time, 2 * 60);
    EXPECT_STREQ(BandInfoOf(blank.Band).name, "15m");
    EXPECT_EQ(note(blank), "");
    EXPECT_EQ(blank.Grid.view(), "");
    EXPECT_EQ(blank.QslDate, 0);
}

TEST_F(DelimitedImportTest, HostileLines)
{
    const std::string longValue(100000, 'x');
    ImportResult result = importText(
        // An open quote ends at the line's end: the next line is a QSO of its own.
        "DL1ABC,2024-03-15,1432,20m,SSB,59,57,\"Hans, Berlin\r\n"
        "K1ABC,2024-03-15,1433,20m,SSB,59,57," + longValue + "\r\n"
        "G4ABC,2024-03-15,1434,20m,CW" + std::string(100000, ',') + "\r\n"
        "F5GHI,2024-03-15,1435,40m,CW\r\n"
        "\"JA1XYZ" + longValue + "\r\n");
    EXPECT_EQ(result.outcome, ImportOutcome::Finished);
    ASSERT_EQ(log->Count(), 5);

    const TQsoRec &open = find("DL1ABC");
    EXPECT_EQ(open.Time, 14 * 3600 + 32 * 60);
    EXPECT_EQ(open.RstRcvd, 57);
    EXPECT_NE(note(open).find("Hans, Berlin"), std::string::npos) << note(open);
    EXPECT_NE(note(open).find("Line=a quote is not closed"), std::string::npos) << note(open);

    const TQsoRec &longNote = find("K1ABC");
    EXPECT_EQ(longNote.Time, 14 * 3600 + 33 * 60);
    EXPECT_NE(note(longNote).find("Note1=more than 60 characters"), std::string::npos) << note(longNote);
    EXPECT_EQ(note(longNote).find("Line="), std::string::npos) << note(longNote); // the line's length is no fault

    const TQsoRec &commas = find("G4ABC");
    EXPECT_EQ(ModeName(commas.Mode), "CW");
    EXPECT_NE(note(commas).find("Line=100005 values, more than the 13 fields of the filter"), std::string::npos)
        << note(commas);

    const TQsoRec &shortLine = find("F5GHI");
    EXPECT_EQ(shortLine.Time, 14 * 3600 + 35 * 60);
    EXPECT_STREQ(BandInfoOf(shortLine.Band).name, "40m");
    EXPECT_EQ(note(shortLine), ""); // fewer values leave the last fields blank, which is no fault

    // A callsign of 100,000 characters in an open quote: the record keeps what fits and tells.
    const TQsoRec &huge = *log->Get(4);
    EXPECT_EQ(huge.Call.view().substr(0, 6), "JA1XYZ");
    EXPECT_NE(note(huge).find("Callsign=more than 12 characters"), std::string::npos) << note(huge);
}

} // namespace
} // namespace vellum::test
