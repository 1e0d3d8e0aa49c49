// QSL managers: the manager in force by date, SetManager, the route classes,
// and the import and export of the manager editor's working copy.

#include "testsupport/qsobuilder.h"
#include "testsupport/tempdir.h"
#include "testsupport/testcountry.h"

#include "country/countryfile.h"
#include "country/managers.h"
#include "country/resolver.h"

#include "logstore/daytime.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/qsorec.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum {
namespace {

using test::CountryOf;

void addManager(TCountryData &data, const std::string &call, std::uint16_t date, const std::string &manager)
{
    auto record = ManagerInfo{call, date, manager}.Encode();
    data.Managers.AddCopy(record.data());
}

TQsoRec qso(const std::string &call, std::uint16_t date, std::uint8_t qslMethod = 0)
{
    return test::QsoBuilder(call).day(date).qslMethod(qslMethod).build();
}

void setBuro(TCountryData &data, const std::string &prefix, std::uint8_t buro)
{
    data.Countries.Get(CountryOf(data, prefix))[CountryField::Buro] = buro;
}

std::vector<std::string> rowTexts(const ManagerRows &rows)
{
    std::vector<std::string> texts;
    for (const ManagerRow &row : rows.Rows())
        texts.push_back(row.call + "," + FormatManagerDate(row.date) + "," + row.manager);
    return texts;
}

class ManagerTest : public ::testing::Test {
protected:
    void SetUp() override { test::BuildTestCountryData(data); }
    TCountryData data;
};

TEST_F(ManagerTest, TheManagerInForceChangesOnTheDateOfALaterRecord)
{
    addManager(data, "XX1A", 0, "M1");
    addManager(data, "XX1A", 30000, "M2");
    addManager(data, "XX1AB", 0, "OTHER"); // a longer call sorts between, and must not count
    EXPECT_EQ(ManagerOf(data, "XX1A", 29999), "M1");
    EXPECT_EQ(ManagerOf(data, "XX1A", 30000), "M2");
    EXPECT_EQ(ManagerOf(data, "XX1A", 40000), "M2");
    EXPECT_EQ(ManagerOf(data, "XX1", 40000), "");
    EXPECT_EQ(ManagerOf(data, "XX1A/P", 40000), "") << "only the exact call";
    EXPECT_EQ(ManagerOf(data, "", 40000), "");
    EXPECT_EQ(ManagerOf(data, "XX1AAAAAAAAAAA", 40000), "") << "longer than a record's call";

    addManager(data, "QQ2Z", 20000, "M3");
    EXPECT_EQ(ManagerOf(data, "QQ2Z", 19999), "") << "before its first date a call has no manager";
    EXPECT_EQ(ManagerOf(data, qso("QQ1AB", 1)), "K1M");
}

TEST_F(ManagerTest, SetManagerAddsADatedRecordOnlyForAnotherManager)
{
    std::int32_t before = data.Managers.Count();
    data.CountryModified = false;
    SetManager(data, qso("QQ1AB", 35000), "K1M");
    EXPECT_EQ(data.Managers.Count(), before) << "the manager in force already";
    EXPECT_TRUE(data.CountryModified);

    SetManager(data, qso("QQ1AB", 35000), "w3hnk");
    ASSERT_EQ(data.Managers.Count(), before + 1);
    EXPECT_EQ(ManagerOf(data, "QQ1AB", 34999), "K1M");
    EXPECT_EQ(ManagerOf(data, "QQ1AB", 35000), "W3HNK");

    // A second change on the same date wins on that date and every later one.
    SetManager(data, qso("QQ1AB", 35000), "K2X");
    EXPECT_EQ(ManagerOf(data, "QQ1AB", 35000), "K2X");
    EXPECT_EQ(ManagerOf(data, "QQ1AB", 36000), "K2X");
    // ... also after the country file was written and read again.
    TCountryData back;
    ReadCountryBytes(CountryFileBytes(data), back);
    EXPECT_EQ(ManagerOf(back, "QQ1AB", 36000), "K2X");

    data.CountryModified = false;
    SetManager(data, qso("", 35000), "K1M");
    EXPECT_FALSE(data.CountryModified) << "a QSO without a call changes nothing";
}

TEST_F(ManagerTest, RouteClassesFollowTheBureauAndTheManagersCountry)
{
    CountryResolver resolver(data);
    setBuro(data, "XX", FlagNo);
    TQsoRec buro = qso("XX1A/P", 40000, 1);
    buro.Country = CountryOf(data, "XX");
    EXPECT_EQ(QslRouteClass(resolver, buro, true), QslRoute::NoBuro) << "no bureau and no manager";
    buro.QslMethod = 3; // direct
    EXPECT_EQ(QslRouteClass(resolver, buro, true), QslRoute::NoManager);

    // A US manager of a station outside the US opens the bureau route even
    // where the US has none.
    setBuro(data, "K", FlagNo);
    addManager(data, "XX1A/P", 0, "W3HNK");
    buro.QslMethod = 1;
    EXPECT_EQ(QslRouteClass(resolver, buro, true), QslRoute::UsaManager);
    EXPECT_EQ(QslRouteClass(resolver, buro, false), QslRoute::NoBuro) << "the manager is not used";

    TQsoRec usStation = qso("W1AW", 40000, 1);
    usStation.Country = CountryOf(data, "K");
    addManager(data, "W1AW", 0, "W3HNK");
    EXPECT_EQ(QslRouteClass(resolver, usStation, true), QslRoute::NoBuro) << "a US station with a US manager";

    addManager(data, "XX9Z", 0, "QQ1MGR");
    TQsoRec other = qso("XX9Z", 40000, 1);
    other.Country = CountryOf(data, "XX");
    EXPECT_EQ(QslRouteClass(resolver, other, true), QslRoute::OtherManager);
    EXPECT_EQ(QslRouteName(QslRoute::OtherManager), "Other mgr");

    TQsoRec unknown = qso("ZZ1A", 40000, 1);
    EXPECT_EQ(QslRouteClass(resolver, unknown, true), QslRoute::NoBuro) << "no country, no bureau";
}

TEST_F(ManagerTest, ImportCountsEveryLineAndRemovesRepeatedManagers)
{
    ManagerRows rows;
    rows.Load(data);
    ImportReport report = rows.Import("QQ1AB,,K1M\r\n"
                                      "QQ1AB,,w3hnk\r\n"
                                      "XX1A,01/01/2000,M1\n"
                                      "XX1A,01/01/2005,M1\n"
                                      "\n"
                                      "XX1A, 01/01/2010 ,M2\n"
                                      "no commas here\n"
                                      "XX2B,31/02/2000,M3\n"
                                      "XX2B,,   \n"
                                      ",,M4\n"
                                      "XX2B,1/1/2000,M5\n"
                                      "XX2B,01/01/1850,M6\n",
                                      false);
    EXPECT_EQ(report.deleted, 0);
    EXPECT_EQ(report.added, 3);
    EXPECT_EQ(report.replaced, 1);
    EXPECT_EQ(report.skipped, 1);
    EXPECT_EQ(report.dupes, 1) << "the later XX1A row repeats M1";
    EXPECT_EQ(report.errors, 6);
    EXPECT_EQ(rowTexts(rows),
              (std::vector<std::string>{"QQ1AB,,W3HNK", "XX1A,01/01/2000,M1", "XX1A,01/01/2010,M2"}));

    std::string text = ImportReportText(report, ManagerRows::ReportCounts());
    EXPECT_EQ(text.substr(0, text.find("\r\r")),
              "Deleted : 0\rAdded   : 3\rReplaced: 1\rSkipped : 1\rDupes   : 1\rErrors  : 6");
    EXPECT_NE(text.find("line 7: not two commas: no commas here"), std::string::npos) << text;
    EXPECT_NE(text.find("line 8: not a date dd/mm/yyyy: XX2B,31/02/2000,M3"), std::string::npos) << text;
    EXPECT_NE(text.find("line 9: no manager"), std::string::npos) << text;
    EXPECT_NE(text.find("line 10: no call"), std::string::npos) << text;

    ImportReport replaced = rows.Import("ZZ1A,,M9\n", true);
    EXPECT_EQ(replaced.deleted, 3);
    EXPECT_EQ(rowTexts(rows), (std::vector<std::string>{"ZZ1A,,M9"}));
}

TEST_F(ManagerTest, RowsOfOneDateKeepOnlyTheOneInForceAfterAnImport)
{
    SetManager(data, qso("XX1A", 30000), "M1");
    SetManager(data, qso("XX1A", 30000), "M2"); // in force on 30000 and later
    ManagerRows rows;
    rows.Load(data);
    ImportReport report = rows.Import("", false);
    EXPECT_EQ(report.dupes, 1);
    rows.Apply(data);
    EXPECT_EQ(ManagerOf(data, "XX1A", 31000), "M2");
}

TEST_F(ManagerTest, ExportWritesWhatTheImportReads)
{
    addManager(data, "XX1A", *DayNumber(2003, 2, 1), "M1");
    ManagerRows rows;
    rows.Load(data);
    std::string text = rows.ExportText();
    EXPECT_EQ(text, "QQ1AB,,K1M\nXX1A,01/02/2003,M1\n");
    ManagerRows again;
    ImportReport report = again.Import(text, true);
    EXPECT_EQ(report.added, 2);
    EXPECT_EQ(report.errors, 0);
    EXPECT_EQ(rowTexts(again), rowTexts(rows));
}

TEST_F(ManagerTest, EditedRowsKeepTheTableOrderAndSaveIntoTheCountryFile)
{
    ManagerRows rows;
    rows.Load(data);
    std::int32_t fresh = rows.Insert(ManagerRows::NewRow());
    EXPECT_EQ(rows.At(fresh).call, "??CALL??");
    ManagerRow edited{"AA1A", 100, "M1"};
    EXPECT_EQ(rows.ReplacePosition(fresh, edited), 0);
    EXPECT_EQ(rows.Replace(fresh, edited), 0);
    EXPECT_EQ(rows.FindKey("Q"), 1);
    EXPECT_EQ(rows.FindKey("ZZ"), rows.Count());

    test::TempDir temp("managers");
    const std::string &dir = temp.path();
    SetProgramDir(dir);
    CreateProgramDirs();
    rows.Apply(data);
    RecordingNotifier notes;
    ASSERT_TRUE(SaveCountryFile(data, CountryTarget::MainFile, false, notes));
    TCountryData back;
    ASSERT_TRUE(LoadCountryFile(back, notes));
    EXPECT_EQ(ManagerOf(back, "AA1A", 100), "M1");
    EXPECT_EQ(ManagerOf(back, "QQ1AB", 100), "K1M");
    std::filesystem::remove_all(dir);
}

TEST_F(ManagerTest, AnImportThatCannotReadItsFileAsksNothingAndChangesNothing)
{
    ManagerRows rows;
    rows.Load(data);
    RecordingNotifier notes;
    EXPECT_FALSE(RunTextImport(ImportJobOf(rows, "/nonexistent/managers.txt"), notes, nullptr));
    ASSERT_EQ(notes.shown.size(), 1u);
    EXPECT_EQ(notes.shown[0].kind, MessageKind::Error);
    EXPECT_NE(notes.shown[0].text.find("/nonexistent/managers.txt"), std::string::npos);
    EXPECT_EQ(rows.Count(), 1);

    test::TempDir temp("manager-import");
    const std::string &dir = temp.path();
    std::string file = dir + "/managers.txt";
    WriteWholeFile(file, std::vector<std::uint8_t>{'X', 'X', '1', 'A', ',', ',', 'M', '1', '\n'}, false);
    notes.shown.clear();
    notes.answers = {Answer::No};
    EXPECT_TRUE(RunTextImport(ImportJobOf(rows, file), notes, nullptr));
    ASSERT_EQ(notes.shown.size(), 2u);
    EXPECT_EQ(notes.shown[0].text, "Do you want to DELETE existing QSL manager information");
    EXPECT_EQ(notes.shown[1].text.substr(0, 24), "Deleted : 0\rAdded   : 1\r");
    EXPECT_EQ(rows.Count(), 2) << "No keeps what was there";
    std::filesystem::remove_all(dir);
}

TEST(ManagerRealData, ManagersOfRealCallsRouteAndSaveWithTheDefaultCountryFile)
{
    const std::string file = VELLUM_DEFAULT_COUNTRY_FILE;
    if (!std::filesystem::exists(file))
        GTEST_SKIP() << file << " was not built (no cty.dat of the Debian package hamradio-files)";
    TCountryData data;
    RecordingNotifier notes;
    ASSERT_TRUE(LoadCountryFile(data, file, notes));
    CountryResolver resolver(data);
    std::uint16_t spring = *DayNumber(2024, 4, 1), summer = *DayNumber(2024, 7, 1);
    TQsoRec rec = qso("DL1ABC", spring, 1);
    rec.Country = resolver.CountryOfCall("DL1ABC", spring);
    ASSERT_EQ(data.CountryPrefix(rec.Country), "DL");
    EXPECT_EQ(QslRouteClass(resolver, rec, true), QslRoute::NoManager);

    SetManager(data, rec, "W3HNK");
    SetManager(data, qso("DL1ABC", summer), "DL2XYZ");
    EXPECT_EQ(QslRouteClass(resolver, rec, true), QslRoute::UsaManager);
    rec.Date = summer;
    EXPECT_EQ(QslRouteClass(resolver, rec, true), QslRoute::OtherManager);

    test::TempDir temp("managers-real");
    const std::string &dir = temp.path();
    SetProgramDir(dir);
    CreateProgramDirs();
    ASSERT_TRUE(SaveCountryFile(data, CountryTarget::MainFile, false, notes));
    TCountryData back;
    ASSERT_TRUE(LoadCountryFile(back, notes));
    EXPECT_EQ(ManagerOf(back, "DL1ABC", spring), "W3HNK");
    EXPECT_EQ(ManagerOf(back, "DL1ABC", summer), "DL2XYZ");
    EXPECT_EQ(back.Countries.Count(), data.Countries.Count());
    std::filesystem::remove_all(dir);
}

TEST(ManagerDate, OnlyPossibleDatesAreRead)
{
    EXPECT_EQ(ParseManagerDate("29/02/2004"), DayNumber(2004, 2, 29));
    EXPECT_EQ(ParseManagerDate("29.02.2004"), DayNumber(2004, 2, 29)) << "separators are not read";
    EXPECT_FALSE(ParseManagerDate("29/02/2003"));
    EXPECT_FALSE(ParseManagerDate("00/01/2003"));
    EXPECT_FALSE(ParseManagerDate("01/13/2003"));
    EXPECT_FALSE(ParseManagerDate("01/01/0003")) << "a year is four digits from 1900";
    EXPECT_FALSE(ParseManagerDate("01/01/2080"));
    EXPECT_FALSE(ParseManagerDate("1a/01/2003"));
    EXPECT_FALSE(ParseManagerDate("-1/01/2003"));
    EXPECT_EQ(FormatManagerDate(0), "");
}

} // namespace
} // namespace vellum
