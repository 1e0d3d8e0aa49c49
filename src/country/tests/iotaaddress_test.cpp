// The IOTA list and the manager addresses: their import and export, what the
// working copies put back into the country data, and the address look-up.

#include "testsupport/testcountry.h"

#include "country/addresses.h"
#include "country/countryfile.h"
#include "country/iota.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

std::string iotaText(const IotaRows &rows)
{
    std::string text;
    for (const IotaInfo &row : rows.Rows())
        text += row.reference + "|" + row.name + "|" + std::to_string(row.latitude) + "|" +
                std::to_string(row.longitude) + ";";
    return text;
}

class IotaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::BuildTestCountryData(data);
        rows.Load(data);
    }
    TCountryData data;
    IotaRows rows;
};

TEST_F(IotaTest, ImportReadsQuotedAndPlainNamesAndCompassSuffixes)
{
    ImportReport report = rows.Import("eu005,\"Great Britain, main island\",54.5,-2.25\n"
                                      "NA-001, Bermuda ,32.3N, 64.7 W\n"
                                      "OC001,\"Australia\" ,25S,135E\n"
                                      "AS007,Japan\n"
                                      "AS007,Japan,35.7\n"
                                      "XX12,Bad,1,2\n"
                                      "AF001,Bad,12.3.4,1\n"
                                      "AF002,Bad,nan,1\n"
                                      "AF003,Bad,1,inf\n"
                                      "AF004,Bad,91,1\n"
                                      "AF005,Bad,-5S,1\n"
                                      "AF006,Bad,,1\n"
                                      "AF007,Bad,1e5,1\n",
                                      false);
    EXPECT_EQ(report.replaced, 1) << "EU005 is listed (references compare ignoring case)";
    EXPECT_EQ(report.added, 2);
    EXPECT_EQ(report.errors, 10);
    EXPECT_EQ(iotaText(rows), "EU005|Great Britain, main island|54.500000|-2.250000;"
                              "NA001|Bermuda|32.300000|-64.700000;"
                              "OC001|Australia|-25.000000|135.000000;");
    std::string text = ImportReportText(report, IotaRows::ReportCounts());
    EXPECT_EQ(text.substr(0, text.find("\r\r")), "Deleted : 0\rAdded   : 2\rReplaced: 1\rErrors  : 10");
    EXPECT_NE(text.find("line 4: no latitude: AS007,Japan"), std::string::npos) << text;
    EXPECT_NE(text.find("line 5: no longitude"), std::string::npos) << text;
    EXPECT_NE(text.find("line 6: not a reference"), std::string::npos) << text;
    EXPECT_NE(text.find("line 7: not a latitude"), std::string::npos) << text;
    EXPECT_EQ(text.find("... and"), std::string::npos) << "ten error lines are all listed";
}

TEST_F(IotaTest, DeletingKeepsThePlaceholderAndTheTableReadsBack)
{
    ImportReport report = rows.Import("AS007,\"Honshu\",35.7,139.7\n", true);
    EXPECT_EQ(report.deleted, 1);
    EXPECT_EQ(rows.Count(), 1);
    rows.Insert(IotaRows::NewRow());
    rows.Apply(data);
    ASSERT_EQ(data.Iota.Count(), 3);
    EXPECT_EQ(data.Iota.KeyString(0), "") << "entry 0 stays the placeholder";

    TCountryData back;
    ReadCountryBytes(CountryFileBytes(data), back);
    IotaRows again;
    again.Load(back);
    EXPECT_EQ(iotaText(again), iotaText(rows));
    EXPECT_GE(back.Iota.IndexOfSecond("Honshu"), 0) << "the name ordering is built";
}

TEST_F(IotaTest, ExportWritesThreeDecimalsInSixCharactersAndReadsBack)
{
    rows.Import("NA001,Bermuda,1.5,-64.75\n", false);
    std::string text = rows.ExportText();
    EXPECT_EQ(text, "EU005,\"Great Britain\", 0.000, 0.000\nNA001,\"Bermuda\", 1.500,-64.750\n");
    IotaRows again;
    ImportReport report = again.Import(text, true);
    EXPECT_EQ(report.errors, 0);
    EXPECT_EQ(iotaText(again), iotaText(rows));
}

TEST(IotaReference, TwoLettersAndThreeDigits)
{
    EXPECT_TRUE(IsIotaReference("EU005"));
    EXPECT_FALSE(IsIotaReference("EU05"));
    EXPECT_FALSE(IsIotaReference("E1005"));
    EXPECT_EQ(NormalizeIotaReference(" eu-005 "), "EU005");
    EXPECT_EQ(ParseCoordinate("12.5w", 180), -12.5);
    EXPECT_EQ(ParseCoordinate("+12", 180), 12);
    EXPECT_FALSE(ParseCoordinate("180.5", 180));
    EXPECT_FALSE(ParseCoordinate("N", 90));
}

class AddressTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::BuildTestCountryData(data);
        rows.Load(data);
    }
    std::vector<std::string> lines(const std::string &call) const
    {
        std::int32_t position = rows.Find({call, {}});
        return position < 0 ? std::vector<std::string>{"(none)"} : rows.At(position).lines;
    }
    TCountryData data;
    AddressRows rows;
};

TEST_F(AddressTest, TheQsoWindowReadsAndReplacesAnAddress)
{
    EXPECT_EQ(ManagerAddress(data, "k1m"), (std::vector<std::string>{"Box 1", "Newington"}));
    EXPECT_TRUE(ManagerAddress(data, "W1AW").empty());
    data.CountryModified = false;
    ReplaceManagerAddress(data, "k1m", {"Box 2", "", "Newington"});
    EXPECT_TRUE(data.CountryModified);
    EXPECT_EQ(data.Addresses.Count(), 1);
    EXPECT_EQ(ManagerAddress(data, "K1M"), (std::vector<std::string>{"Box 2", "", "Newington"}));
}

TEST_F(AddressTest, ImportTakesQuotedFieldsWithCommasAndCountsWhatChanged)
{
    ImportReport report = rows.Import("\"K1M\",\"Box 1\",\"Newington\"\n"
                                      "\"k1m\",\"Box 2\",\"Newington, CT\"\n"
                                      "W3HNK, PO Box 73 ,\"Lewisburg\" x,\"PA\"\n"
                                      ",\"no call\"\n"
                                      "\"  \",\"blank call\"\n"
                                      "\"DL2XYZ\n"
                                      "QQ1MGR,\"Road\",\"\"\n",
                                      false);
    EXPECT_EQ(report.skipped, 1);
    EXPECT_EQ(report.replaced, 1);
    EXPECT_EQ(report.added, 3);
    EXPECT_EQ(report.errors, 2);
    EXPECT_EQ(lines("K1M"), (std::vector<std::string>{"Box 2", "Newington, CT"}));
    EXPECT_EQ(lines("W3HNK"), (std::vector<std::string>{"PO Box 73", "Lewisburg", "PA"}));
    EXPECT_EQ(lines("DL2XYZ"), std::vector<std::string>{}) << "an unclosed quote runs to the line's end";
    EXPECT_EQ(lines("QQ1MGR"), std::vector<std::string>{"Road"}) << "an empty last line is not kept";

    std::string text = rows.ExportText();
    EXPECT_EQ(text, "\"DL2XYZ\"\n\"K1M\",\"Box 2\",\"Newington, CT\"\n\"QQ1MGR\",\"Road\"\n"
                    "\"W3HNK\",\"PO Box 73\",\"Lewisburg\",\"PA\"\n");
    AddressRows again;
    EXPECT_EQ(again.Import(text, true).added, 4);
    rows.Apply(data);
    EXPECT_EQ(ManagerAddress(data, "W3HNK"), lines("W3HNK"));
}

TEST_F(AddressTest, AddressesAreCutToWhatTheEditorAndTheRecordHold)
{
    std::string longLine(300, 'a');
    rows.Import("\"W1AW\",\"" + longLine + "\",\"second\"\n", false);
    EXPECT_EQ(JoinAddressLines(lines("W1AW")).size(), 254u);
    rows.Apply(data);
    EXPECT_EQ(ManagerAddress(data, "W1AW"), lines("W1AW")) << "what the import keeps is what the record holds";

    rows.SetLines(rows.Find({"W1AW", {}}), {std::string(200, 'b'), std::string(100, 'c')});
    std::vector<std::string> fitted = lines("W1AW");
    EXPECT_EQ(JoinAddressLines(fitted).size(), AddressEditorCapacity);
    ASSERT_EQ(fitted.size(), 2u);
    EXPECT_EQ(fitted[1].size(), 44u);
}

TEST_F(AddressTest, TheListIsNeverEmptyAndCallsAreUnique)
{
    EXPECT_EQ(rows.AddCall("k1m"), -1) << "listed already";
    EXPECT_EQ(rows.AddCall("  "), -1);
    std::int32_t added = rows.AddCall("w1aw");
    ASSERT_GE(added, 0);
    EXPECT_EQ(rows.At(added).call, "W1AW");
    EXPECT_EQ(rows.FindCall("L"), added);
    EXPECT_EQ(rows.FindCall("ZZ"), rows.Count() - 1) << "the last when none is not less";
    rows.DeleteRow(0);
    rows.DeleteRow(0);
    ASSERT_EQ(rows.Count(), 1);
    EXPECT_EQ(rows.At(0).call, "QQ0QQ");
}

} // namespace
} // namespace vellum
