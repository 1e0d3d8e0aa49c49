#include "logbook/logbookfields.h"
#include "logbook/logbookreport.h"
#include "logbook/reportdefinitions.h"

#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum {
namespace {

std::vector<std::uint8_t> fields(std::initializer_list<const char *> names)
{
    std::vector<std::uint8_t> out;
    for (const char *name : names)
        out.push_back(static_cast<std::uint8_t>(LogbookFieldIndex(name)));
    return out;
}

TEST(ReportDefinitions, ASectionGivesSortNoteWidthAndColumnsInOrder)
{
    std::vector<std::string> problems;
    auto set = TReportDefinitions::FromText("[Zones]\nSORT=Zone\nNOTEWIDTH=30\nCallsign=\nFrequency=\nZone=\n", problems);
    ASSERT_EQ(set.Count(), 1);
    ReportDefinition d = set.Get(0);
    EXPECT_EQ(d.name, "Zones");
    EXPECT_EQ(d.sort, SortKey::Zone);
    EXPECT_EQ(d.noteWidth, 30);
    EXPECT_EQ(d.columns, fields({"Callsign", "Zone"}));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("Frequency"), std::string::npos);
}

TEST(ReportDefinitions, DefaultsAndTheFilesOrder)
{
    std::vector<std::string> problems;
    auto set = TReportDefinitions::FromText("[Zeta]\nDate=\n\n[alpha]\nSORT=Nothing\nCallsign=\nQSO Notes=\n"
                                            "[ZETA]\nBand=\n",
                                            problems);
    ASSERT_EQ(set.Count(), 2) << "a section named again is the same section";
    EXPECT_EQ(set.Name(0), "Zeta");
    EXPECT_EQ(set.Name(1), "alpha");
    EXPECT_EQ(set.Get(0).sort, SortKey::Date);
    EXPECT_EQ(set.Get(0).noteWidth, DefaultNoteWidth);
    EXPECT_EQ(set.Get(0).columns, fields({"Date", "Band"})) << "no SORT line: no column is lost";
    EXPECT_EQ(set.Get(1).sort, SortKey::Date) << "an unknown sort name gives Date";
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(set.IndexOfName("ALPHA"), 1);
    EXPECT_EQ(StartingReport(set, "alpha"), 1);
    EXPECT_EQ(StartingReport(set, "LogBook"), 0);

    auto empty = TReportDefinitions::FromText("SORT=Zone\n", problems);
    ASSERT_EQ(empty.Count(), 1);
    EXPECT_EQ(empty.Get(0), DefaultReportDefinition());
    EXPECT_EQ(empty.Get(0).name, "??noname report??");
    EXPECT_EQ(empty.Get(0).noteWidth, 25);
    EXPECT_EQ(empty.Get(0).sort, SortKey::Band);
}

TEST(ReportDefinitions, HostileSectionsAreMendedWithMessages)
{
    std::vector<std::string> problems;
    std::string text = "[Zero]\nNOTEWIDTH=0\nCallsign=\n[Wide]\nNOTEWIDTH=255\nQSO Notes=\n[Huge]\nNOTEWIDTH=99999\nDate=\n"
                       "[Nothing]\nSORT=Zone\nColour=\n[Many]\n";
    for (int i = 0; i < 300; ++i)
        text += "Key" + std::to_string(i) + "=\n";
    text += "Callsign=\n[A very long report name that goes on]\nBand=\n[A very long report name that ends]\nDate=\n";
    auto set = TReportDefinitions::FromText(text, problems);
    ASSERT_EQ(set.Count(), 6);
    EXPECT_EQ(set.Get(0).noteWidth, DefaultNoteWidth);
    EXPECT_EQ(set.Get(1).noteWidth, 255);
    EXPECT_EQ(set.Get(2).noteWidth, DefaultNoteWidth);
    EXPECT_EQ(set.Get(3).columns, fields({"Callsign"})) << "a section without a known field shows Callsign";
    EXPECT_EQ(set.Get(4).columns, fields({"Callsign"}));
    EXPECT_EQ(set.Name(5), "A very long report name t");
    int aboutMany = 0;
    for (const std::string &problem : problems)
        aboutMany += problem.find("\"Many\"") != std::string::npos;
    EXPECT_EQ(aboutMany, 6) << "five keys by name and one count of the rest";
    EXPECT_EQ(problems.size(), 2u + 2u + 6u + 1u); // two note widths, unknown key + no field, Many, a name twice
    EXPECT_NE(problems.back().find("another report has the name"), std::string::npos);
}

TEST(ReportDefinitions, WrittenAndReadBackInTheirOrder)
{
    test::TempDir dir;
    const std::string file = dir.file("SAVE/VELLUM.REP");
    std::filesystem::create_directories(dir.file("SAVE"));
    std::vector<std::string> problems;
    auto set = TReportDefinitions::FromText("[Zulu]\nSORT=Zone\nCallsign=\n[Alpha]\nDate=\n", problems);
    set.Save(file, false);
    EXPECT_FALSE(std::filesystem::exists(file)) << "nothing changed: nothing written";
    ReportDefinition edited{"Mike\nline", SortKey::Wpx, 40, fields({"WPX", "Callsign", "QSO Notes"})};
    set.Replace(1, edited);
    int added = set.AddDefault();
    EXPECT_EQ(added, 2);
    EXPECT_TRUE(set.Changed());
    set.Save(file, false);
    EXPECT_FALSE(set.Changed());
    auto back = TReportDefinitions::Load(file, problems);
    EXPECT_TRUE(problems.empty());
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(back.Name(0), "Zulu");
    EXPECT_EQ(back.Get(1).name, "Mike line") << "a line break cannot end the section name";
    EXPECT_EQ(back.Get(1).sort, SortKey::Wpx);
    EXPECT_EQ(back.Get(1).noteWidth, 40);
    EXPECT_EQ(back.Get(1).columns, edited.columns);
    EXPECT_EQ(back.Get(2), DefaultReportDefinition());
    EXPECT_EQ(back.Text(), set.Text());

    auto missing = TReportDefinitions::Load(dir.file("none.rep"), problems);
    EXPECT_EQ(missing.Count(), 1);
}

TEST(ReportDefinitions, TableColumnsCaptionAndTitle)
{
    ReportDefinition d{"Log", SortKey::Call, 20, fields({"Callsign", "Band", "QSO Notes", "AWD"})};
    std::vector<TableColumn> columns = LogbookColumns(d, true);
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[1].width, 6);
    EXPECT_EQ(columns[1].align, PrintAlign::Right);
    EXPECT_EQ(columns[2].width, 20);
    EXPECT_EQ(columns[3].width, 3) << "never narrower than the name";
    EXPECT_EQ(LogbookCaption(d, SortKey::Zone), "Report: Log sorted by Zone");
    EXPECT_EQ(LogbookTitle(d, SortKey::Call, true), "Report: Log sorted by Callsign (Filter Active)");
}

} // namespace
} // namespace vellum
