// Merging another country file: exception calls matched by country prefix or
// name, IOTA references (with the old layout's positions), QSL managers and
// addresses; questions answered No; the lines written; vellum-cli cty merge
// and cty check on files.

#include "ctyeditorfixture.h"

#include "ctyeditor/countrymerge.h"

#include "country/addresses.h"
#include "country/iota.h"
#include "country/managers.h"
#include "testsupport/command.h"
#include "testsupport/tempdir.h"

#include <algorithm>

namespace vellum {
namespace {

class CountryMergeTest : public test::DefaultCountryData {
protected:
    void SetUp() override
    {
        DefaultCountryData::SetUp();
        if (IsSkipped())
            return;
        ReadCountryBytes(ReadWholeFile(VELLUM_DEFAULT_COUNTRY_FILE), other);
        // This file: a call, an island, a manager and an address the other file changes.
        data.AddExceptionCall("DL0AA", static_cast<std::int16_t>(country("DL")), 14, 0);
        data.AddExceptionCall("DL0SAME", static_cast<std::int16_t>(country("DL")), 14, 0);
        data.Iota.AddRecord(IotaInfo{"EU005", "Great Britain", -2.5, 54.0}.Encode().data());
        data.Iota.AddRecord(IotaInfo{"EU001", "Aegean islands", 25.0, 38.0}.Encode().data());
        data.Managers.AddCopy(ManagerInfo{"VP8XX", 100, "G3ABC"}.Encode().data());
        ReplaceManagerAddress(data, "G3ABC", {"Old street 1", "London"});

        // The other file: overlapping and new entries.
        std::int16_t otherDl = static_cast<std::int16_t>(other.CountryIndexOfPrefix("DL"));
        other.AddExceptionCall("DL0AA", otherDl, 15, 0);          // zone differs: replaced
        other.AddExceptionCall("DL0SAME", otherDl, 14, 0);        // the same: left alone
        other.AddExceptionCall("DL0NEW", otherDl, 14, 20000);     // added
        // A country this file knows by name only, and one it does not know at all.
        // (Both keep their place in the table: no reference of the other file moves.)
        std::int32_t oe = other.CountryIndexOfPrefix("OE");
        CountryInfo renamed = other.Country(oe);
        renamed.prefix = "OE0";
        std::int32_t oex = other.ReplaceCountry(oe, renamed);
        ASSERT_EQ(oex, oe);
        other.AddExceptionCall("OE9NAME", static_cast<std::int16_t>(oex), 15, 0);
        CountryInfo unknown;
        unknown.prefix = "ZZZX";
        unknown.name = "Atlantis";
        unknown.cqZone = 1;
        unknown.ituZone = 1;
        std::int32_t atlantis = other.InsertCountry(unknown);
        ASSERT_EQ(atlantis, other.CountryCount() - 1);
        other.AddExceptionCall("XQ9AA", static_cast<std::int16_t>(atlantis), 1, 0);
        other.Iota.AddRecord(IotaInfo{"EU005", "Great Britain and nearby", -3.0, 55.0}.Encode().data());
        other.Iota.AddRecord(IotaInfo{"EU001", "Aegean islands", 1.0, 1.0}.Encode().data());
        other.Iota.AddRecord(IotaInfo{"OC001", "Australia", 134.0, -25.0}.Encode().data());
        other.Managers.AddCopy(ManagerInfo{"VP8XX", 100, "G4XYZ"}.Encode().data());
        other.Managers.AddCopy(ManagerInfo{"3Y0Z", 0, "LA1ABC"}.Encode().data());
        ReplaceManagerAddress(other, "G3ABC", {"New road 2", "Leeds"});
        ReplaceManagerAddress(other, "LA1ABC", {"Oslo"});
        data.CountryModified = false;
    }

    std::vector<std::string> texts() const
    {
        std::vector<std::string> lines;
        for (const MessageLine &line : messages.Lines())
            lines.push_back(line.text);
        return lines;
    }
    bool hasLine(const std::string &text) const
    {
        auto lines = texts();
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    }
    ExceptionInfo call(const std::string &text, std::uint16_t date = 0) const
    {
        ExceptionInfo key{text, 0, 0, date};
        std::int32_t position = data.Exceptions.IndexOfKey(key.Encode().data());
        return position >= 0 ? ExceptionInfo::Decode(data.Exceptions.Get(position)) : ExceptionInfo{};
    }
    IotaInfo island(const std::string &reference) const
    {
        std::int32_t position = data.Iota.IndexOfKey(MakeKey(reference).data());
        return position > 0 ? IotaInfo::Decode(data.Iota.Get(position)) : IotaInfo{};
    }

    TCountryData other;
    MessageList messages;
};

TEST_F(CountryMergeTest, OverlappingEntriesAreReplacedNewOnesAdded)
{
    std::int32_t calls = data.Exceptions.Count();
    MergeCounts counts = MergeCountryData(data, other, false, messages);

    EXPECT_EQ(counts.calls.replaced, 1);
    EXPECT_EQ(counts.calls.added, 2) << "DL0NEW, and OE9NAME through the country's name";
    EXPECT_EQ(counts.calls.skipped, 1);
    EXPECT_EQ(data.Exceptions.Count(), calls + 2);
    EXPECT_EQ(call("DL0AA").cqZone, 15);
    EXPECT_EQ(call("DL0NEW", 20000).country, country("DL"));
    EXPECT_EQ(call("OE9NAME").country, country("OE"));
    EXPECT_TRUE(hasLine("Replaced DL0AA        DL    15  " + FormatDate(0, DateFormat::YearMonthDay, false)));
    EXPECT_TRUE(hasLine("Added    DL0NEW       DL    14  " + FormatDate(20000, DateFormat::YearMonthDay, false)));
    EXPECT_TRUE(hasLine("Country?: ZZZX Atlantis"));

    EXPECT_EQ(counts.iotas.replaced, 1);
    EXPECT_EQ(counts.iotas.added, 1);
    EXPECT_EQ(island("EU005").name, "Great Britain and nearby");
    EXPECT_DOUBLE_EQ(island("EU005").longitude, -3.0) << "a current file brings its position";
    EXPECT_DOUBLE_EQ(island("EU001").longitude, 25.0) << "same name: left alone";
    EXPECT_TRUE(hasLine("Replaced EU005 Great Britain and nearby"));
    EXPECT_TRUE(hasLine("Added    OC001 Australia"));

    EXPECT_EQ(counts.managers.replaced, 1);
    EXPECT_EQ(counts.managers.added, 1);
    EXPECT_EQ(ManagerOf(data, "VP8XX", 200), "G4XYZ");
    EXPECT_EQ(ManagerOf(data, "3Y0Z", 200), "LA1ABC");
    EXPECT_TRUE(hasLine("Added    3Y0Z          " + FormatDate(0, DateFormat::YearMonthDay, false) + " LA1ABC      "));

    EXPECT_EQ(counts.addresses.replaced, 1);
    EXPECT_EQ(counts.addresses.added, 1);
    EXPECT_EQ(ManagerAddress(data, "G3ABC"), (std::vector<std::string>{"New road 2", "Leeds"}));
    EXPECT_TRUE(hasLine("Added    LA1ABC"));
    EXPECT_EQ(texts().front(), "Merge Exception Calls");
    EXPECT_EQ(texts().back(), "Merge complete");
    EXPECT_TRUE(data.CountryModified);

    // The same merge again changes nothing.
    MergeCounts again = MergeCountryData(data, other, false, messages);
    EXPECT_FALSE(again.Changed());
}

TEST_F(CountryMergeTest, AnOldFileKeepsThePositionsHeldHere)
{
    for (std::int32_t i = 1; i < other.Iota.Count(); ++i) { // the old layout carries no position
        IotaInfo island = IotaInfo::Decode(other.Iota.Get(i));
        island.longitude = island.latitude = 0;
        other.Iota.DeleteAt(i);
        other.Iota.AddRecord(island.Encode().data());
    }
    MergeCountryData(data, other, true, messages);
    EXPECT_EQ(island("EU005").name, "Great Britain and nearby");
    EXPECT_DOUBLE_EQ(island("EU005").longitude, -2.5);
    EXPECT_DOUBLE_EQ(island("EU005").latitude, 54.0);
    EXPECT_DOUBLE_EQ(island("OC001").longitude, 0.0);
}

TEST_F(CountryMergeTest, NoToEveryQuestionChangesNothing)
{
    std::vector<std::uint8_t> before = CountryFileBytes(data);
    std::vector<std::string> asked;
    MergeOptions options;
    options.ask = [&](const std::string &question) {
        asked.push_back(question);
        return false;
    };
    MergeCounts counts = MergeCountryData(data, other, false, messages, options);
    EXPECT_FALSE(counts.Changed());
    EXPECT_EQ(CountryFileBytes(data), before);
    EXPECT_FALSE(data.CountryModified);
    EXPECT_EQ(asked.size(), 4u);
    EXPECT_EQ(texts(), (std::vector<std::string>{"Merge Exception Calls (Skipped)", "Merge IOTAs (Skipped)",
                                                 "Merge QSL Managers (Skipped)", "Merge QSL addresses (Skipped)",
                                                 "Merge complete"}));
}

TEST_F(CountryMergeTest, MoreLinesThanTheListHoldsAreCounted)
{
    data.Exceptions.FreeAll(); // every exception call of the other file is new here
    MergeOptions options;
    options.ask = [](const std::string &question) { return question == MergeText::Calls; };
    MergeCounts counts = MergeCountryData(data, other, false, messages, options);
    ASSERT_GT(counts.calls.added, 10000);
    EXPECT_EQ(messages.Count(), MessageList::Capacity);
    std::size_t total = 1 + counts.calls.added + counts.calls.skipped + 3 + 1; // question, lines, skipped steps, end
    auto lines = texts();
    EXPECT_EQ(lines[lines.size() - 3], "Merge complete");
    EXPECT_EQ(lines[lines.size() - 2], "List box capacity was exceeded");
    EXPECT_EQ(lines.back(), std::to_string(total - MessageList::Capacity) + " lines not shown");
}

/// Runs vellum-cli; its output with its messages.
std::pair<std::string, int> runCli(const std::string &arguments)
{
    test::CommandRun run = test::RunCommand(std::string(VELLUM_CLI) + " " + arguments + " 2>&1");
    return {run.out, run.status};
}

TEST_F(CountryMergeTest, CommandLineMergeAndCheck)
{
    test::TempDir dir("ctyeditor-cli");
    std::string file = dir.file("THIS.CTY"), otherFile = dir.file("OTHER.CTY"), out = dir.file("OUT.CTY");
    WriteCountryFile(data, file, false);
    WriteCountryFile(other, otherFile, false);
    auto [merged, status] = runCli("--dir " + dir.path() + " cty merge " + file + " " + otherFile + " " + out +
                                   " --skip addresses");
    EXPECT_EQ(status, 0) << merged;
    EXPECT_NE(merged.find("\"exception_calls\":{\"ran\":true,\"added\":2,\"replaced\":1,\"unchanged\":1"),
              std::string::npos)
        << merged;
    EXPECT_NE(merged.find("\"addresses\":{\"ran\":false,\"added\":0"), std::string::npos) << merged;
    TCountryData written;
    ReadCountryBytes(ReadWholeFile(out), written);
    EXPECT_EQ(ManagerOf(written, "VP8XX", 200), "G4XYZ");
    EXPECT_EQ(ManagerAddress(written, "G3ABC"), (std::vector<std::string>{"Old street 1", "London"}));

    // The check names a country whose dates are out of order.
    storeU16(data.Countries.Get(country("DL")) + CountryField::StartDate, 500);
    storeU16(data.Countries.Get(country("DL")) + CountryField::EndDate, 400);
    WriteCountryFile(data, file, false);
    auto [checked, checkStatus] = runCli("--dir " + dir.path() + " cty check " + file);
    EXPECT_EQ(checkStatus, 0) << checked;
    EXPECT_NE(checked.find("\"C-start > C-end DL             \""), std::string::npos) << checked;
    EXPECT_NE(checked.find("\"End of error listing\"]"), std::string::npos) << checked;

    auto [failed, failedStatus] = runCli("--dir " + dir.path() + " cty check " + dir.file("MISSING.CTY"));
    EXPECT_EQ(failedStatus, 1);
    EXPECT_NE(failed.find("Failed reading the country file"), std::string::npos) << failed;
}

} // namespace
} // namespace vellum
