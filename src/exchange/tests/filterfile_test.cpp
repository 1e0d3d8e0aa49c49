// The filter record and file, the filter list, the text form of filters, the
// format tables and the checks a filter passes before it is used.

#include "exchange/filterfile.h"
#include "exchange/filterformats.h"
#include "exchange/filtertext.h"

#include "logstore/daytime.h"
#include "logstore/fileio.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum::test {
namespace {

ImportFilter sampleFilter()
{
    ImportFilter filter;
    filter.Ext = "TXT";
    filter.RecLen = 80;
    filter.Id = "PAPER";
    filter.Usage = FilterUsage::ImportExport;
    filter.Description = "Paper log";
    filter.DateChar = '-';
    filter.Modified = 45000 + FilterDayOffset;
    filter.NoteExt = "NOT";
    filter.FilterFreq = 1;
    filter.FilterDupes = 1;
    filter.FieldSpecs[ImportField::Callsign] = {28, 0, 12};
    filter.FieldSpecs[ImportField::Zone] = {255, 0, 1};
    return filter;
}

TEST(FilterRecord, LayoutOfTheRecord)
{
    std::vector<std::uint8_t> bytes = EncodeFilter(sampleFilter());
    ASSERT_EQ(bytes.size(), FilterRecordSize);
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "TXT");
    EXPECT_EQ(bytes[4], 80);
    EXPECT_EQ(bytes[5], 5);
    EXPECT_EQ(std::string(bytes.begin() + 6, bytes.begin() + 11), "PAPER");
    EXPECT_EQ(bytes[14], 1);
    EXPECT_EQ(bytes[15], 9);
    EXPECT_EQ(bytes[46], '-');
    std::int32_t modified = bytes[47] | bytes[48] << 8 | bytes[49] << 16 | bytes[50] << 24;
    EXPECT_EQ(modified, 45000 + FilterDayOffset);
    EXPECT_EQ(std::string(bytes.begin() + 52, bytes.begin() + 55), "NOT");
    EXPECT_EQ(bytes[55], 1);
    EXPECT_EQ(bytes[56], 0);
    EXPECT_EQ(bytes[57], 1);
    const std::size_t call = 58 + 3 * ImportField::Callsign;
    EXPECT_EQ(bytes[call], 28);
    EXPECT_EQ(bytes[call + 2], 12);
    EXPECT_EQ(bytes[58 + 3 * ImportField::Zone], 255);

    ImportFilter back = DecodeFilter(std::span<const std::uint8_t, FilterRecordSize>(bytes.data(), FilterRecordSize));
    EXPECT_EQ(EncodeFilter(back), bytes);
    EXPECT_EQ(ModifiedDay(back), 45000);
}

TEST(FilterRecord, UntrustedLengthBytesAndUsageAreClamped)
{
    std::vector<std::uint8_t> bytes(FilterRecordSize, 0xFF);
    ImportFilter filter = DecodeFilter(std::span<const std::uint8_t, FilterRecordSize>(bytes.data(), FilterRecordSize));
    EXPECT_EQ(filter.Ext.size(), 3u);
    EXPECT_EQ(filter.Id.size(), 8u);
    EXPECT_EQ(filter.Description.size(), 30u);
    EXPECT_EQ(filter.Usage, FilterUsage::Import);
    EXPECT_EQ(ModifiedDay(filter), 0); // -1 lies before every day
    EXPECT_FALSE(FilterProblems(filter).empty());
}

TEST(FilterFile, WritesAndReadsWholeRecordsAndReportsARest)
{
    TempDir temp("filters");
    const std::string file = temp.file("SAVE/VELLUM.IEP");
    EXPECT_TRUE(ReadFilterFile(file).filters.empty()); // no file: no filters
    std::filesystem::create_directories(temp.file("SAVE"));
    ImportFilter second = sampleFilter();
    second.Id = "CSV";
    WriteFilterFile(file, {sampleFilter(), second}, false);
    EXPECT_EQ(std::filesystem::file_size(file), 2 * FilterRecordSize);
    FilterFileContents contents = ReadFilterFile(file);
    ASSERT_EQ(contents.filters.size(), 2u);
    EXPECT_EQ(contents.filters[1].Id.view(), "CSV");
    EXPECT_TRUE(contents.problem.empty());

    std::vector<std::uint8_t> bytes = ReadWholeFile(file);
    bytes.resize(bytes.size() + 10, 0);
    WriteWholeFile(file, bytes, false);
    contents = ReadFilterFile(file);
    EXPECT_EQ(contents.filters.size(), 2u);
    EXPECT_NE(contents.problem.find("last 10 bytes"), std::string::npos) << contents.problem;
}

TEST(FilterList, KeepsIdentifierOrderAndEachIdentifierOnce)
{
    ImportFilter a = NewFilter(45000), b = NewFilter(45000), c = NewFilter(45000);
    a.Id = "PAPER";
    b.Id = "CSV";
    c.Id = "PAPER";
    FilterList list({a, b, c});
    ASSERT_EQ(list.Size(), 3u);
    EXPECT_EQ(list.At(0).Id.view(), "CSV");
    EXPECT_EQ(list.At(1).Id.view(), "PAPER");
    EXPECT_EQ(list.At(2).Id.view(), "PAPER2");

    // A new filter's empty identifier sorts first; a copy of "ADIF" is no ADIF filter.
    EXPECT_EQ(list.Add(NewFilter(45001)), 0u);
    ImportFilter adif = AdifFilter();
    ImportFilter copy = CopyOfFilter(adif, 45001);
    EXPECT_EQ(copy.Id.view(), "&ADIF");
    EXPECT_FALSE(IsAdifFilter(copy));
    EXPECT_EQ(copy.Description.view(), "Cpy ADIF");
    EXPECT_EQ(ModifiedDay(copy), 45001);

    // Renaming onto a taken identifier gives a number; an 8-character one is cut for it.
    ImportFilter renamed = list.At(3);
    renamed.Id = "CSV";
    std::size_t at = list.Replace(3, renamed);
    EXPECT_EQ(list.At(at).Id.view(), "CSV2");
    ImportFilter longId = NewFilter(45000);
    longId.Id = "ABCDEFGH";
    list.Add(longId);
    list.Add(longId);
    EXPECT_GE(list.Find("ABCDEFG2"), 0);
    list.Remove(static_cast<std::size_t>(list.Find("ABCDEFG2")));
    EXPECT_EQ(list.Find("ABCDEFG2"), -1);
}

TEST(FilterFormats, NamesAndFixedLengths)
{
    EXPECT_EQ(FormatNames(ImportField::QslDate).size(), 18u);
    EXPECT_EQ(FormatName(ImportField::QslDate, FlagQsoDate), "Flag QSO date");
    EXPECT_EQ(FormatNames(ImportField::Date).size(), 17u);
    EXPECT_EQ(FormatName(ImportField::Callsign, 2), "String");
    EXPECT_EQ(FormatName(ImportField::Zone, 0), "Number");
    EXPECT_EQ(FormatName(ImportField::Band, 99), "?????");
    EXPECT_EQ(FormatOfName(ImportField::Mode, "ssb,am,fm,psk3"), 8);

    EXPECT_EQ(FixedLength(ImportField::Band, BandFormat::Meters3), 3);
    EXPECT_EQ(FixedLength(ImportField::Band, BandFormat::FreqKHz), std::nullopt);
    EXPECT_EQ(FixedLength(ImportField::Date, 7), 11);
    EXPECT_EQ(FixedLength(ImportField::QslDate, FlagQsoDate), 1);
    EXPECT_EQ(FixedLength(ImportField::Mode, ModeFormat::ModeName), 4);
    EXPECT_EQ(FixedLength(ImportField::Mode, ModeFormat::LetterCsr), 1);
    EXPECT_EQ(FixedLength(ImportField::State, StateFormat::Section), 3);
    EXPECT_EQ(FixedLength(ImportField::State, StateFormat::CountyState), std::nullopt);
    EXPECT_EQ(FixedLength(ImportField::Time, TimeFormat::Seconds), 6);
    EXPECT_EQ(FixedLength(ImportField::Zone, 0), 2);
    EXPECT_EQ(FixedLength(ImportField::DxccMixedAward, 0), 1);
    EXPECT_EQ(FixedLength(ImportField::Note1, 0), std::nullopt);
}

TEST(FilterFormats, ProblemsOfAFilter)
{
    ImportFilter filter = NewFilter(45000);
    EXPECT_TRUE(FilterProblems(filter).empty());
    filter.FieldSpecs[ImportField::Callsign] = {250, 0, 6}; // ends at column 255
    EXPECT_TRUE(FilterProblems(filter).empty());
    filter.FieldSpecs[ImportField::Callsign] = {250, 0, 7};
    filter.FieldSpecs[ImportField::Recvd] = {10, 0, 0};
    filter.FieldSpecs[ImportField::Band] = {1, 40, 3};
    std::vector<std::string> problems = FilterProblems(filter);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0], "Band: format 40 is not one of its formats");
    EXPECT_EQ(problems[1], "Callsign at column 250 with length 7 runs past column 255");
    EXPECT_EQ(problems[2], "Recvd at column 10 has a length of 0");
}

TEST(FilterFormats, ColumnAllocationShowsOverlaps)
{
    ImportFilter filter = NewFilter(45000);
    filter.FieldSpecs[ImportField::Callsign] = {1, 0, 3};
    filter.FieldSpecs[ImportField::Prefix] = {3, 0, 2};
    std::vector<std::string> lines = ColumnAllocation(filter);
    ASSERT_EQ(lines.size(), 255u);
    EXPECT_EQ(lines[0], "  1 Callsign");
    EXPECT_EQ(lines[2], "  3 Callsign Also Prefix");
    EXPECT_EQ(lines[3], "  4 Prefix");
    EXPECT_EQ(lines[4], "  5 ");
    EXPECT_EQ(lines[254], "255 ");
}

TEST(FilterText, ReadsFiltersAndNamesBadLines)
{
    FilterTextResult parsed = ParseFilterText("; comment\n[CSV]\nDescription=Comma\nUsage=Imp/Exp\nRecLen=80\n"
                                              "Band=30,\"160m, 10m lft\"\nCallsign=1,String,12\nFrequency=Y\n"
                                              "Time=5,HHMM,9\n[X]\nBand=1,Nonsense\nRecLen=300\nMode\nWhat=1\n",
                                              45000);
    ASSERT_EQ(parsed.filters.size(), 2u);
    const ImportFilter &csv = parsed.filters[0];
    EXPECT_EQ(csv.Id.view(), "CSV");
    EXPECT_EQ(csv.Usage, FilterUsage::ImportExport);
    EXPECT_EQ(csv.RecLen, 80);
    EXPECT_EQ(csv.FilterFreq, 1);
    EXPECT_EQ(csv.FieldSpecs[ImportField::Band].format, BandFormat::MetersM);
    EXPECT_EQ(csv.FieldSpecs[ImportField::Band].length, 4);
    EXPECT_EQ(csv.FieldSpecs[ImportField::Callsign].length, 12);
    EXPECT_EQ(csv.FieldSpecs[ImportField::Time].length, 9); // as written, though HHMM has 4
    EXPECT_EQ(ModifiedDay(csv), 45000);
    ASSERT_EQ(parsed.errors.size(), 4u);
    EXPECT_EQ(parsed.errors[0].substr(0, 8), "line 11:");
    EXPECT_EQ(parsed.errors[3], "line 14: unknown setting What");
}

} // namespace
} // namespace vellum::test
