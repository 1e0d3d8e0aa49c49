#include "print/tablecsv.h"

#include "logstore/fileio.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

std::string fileText(const std::string &file)
{
    std::vector<std::uint8_t> bytes = test::ReadFile(file);
    return std::string(bytes.begin(), bytes.end());
}

TEST(TableCsv, OnlyValuesWithCommasQuotesOrBreaksAreQuoted)
{
    EXPECT_EQ(CsvValue("DL1ABC"), "DL1ABC");
    EXPECT_EQ(CsvValue("Hans, Berlin"), "\"Hans, Berlin\"");
    EXPECT_EQ(CsvValue("the \"big\" gun"), "\"the \"\"big\"\" gun\"");
    EXPECT_EQ(CsvValue("a \"b\", c"), "\"a \"\"b\"\", c\"");
    EXPECT_EQ(CsvValue("M\xFC" "ller"), "M\xFC" "ller") << "cp1252 bytes are kept as they are";
    EXPECT_EQ(CsvLine("DL1ABC\t\t20m\tnice, 5\xB0"), "DL1ABC,,20m,\"nice, 5\xB0\"");
}

class SlowMonitor : public JobMonitor {
public:
    bool Advance(std::int64_t done) override { return done < 2; }
};

TEST(TableCsv, FileHasNamesThenRowsAndACancelLeavesTheOldFile)
{
    test::TempDir dir;
    const std::string file = dir.file("out/sub/log.csv");
    TextRows rows({"DL1ABC\tHans, Berlin", "K1XX\t\"Bob\""});
    std::vector<TableColumn> columns = {MakeTableColumn("Callsign", 12, PrintAlign::Left),
                                        MakeTableColumn("QSO Notes", 15, PrintAlign::Left)};
    CsvResult result = WriteTableCsv(file, columns, rows);
    ASSERT_TRUE(result.Ok()) << result.message;
    EXPECT_EQ(result.rows, 2);
    EXPECT_EQ(fileText(file), "Callsign,QSO Notes\r\nDL1ABC,\"Hans, Berlin\"\r\nK1XX,\"\"\"Bob\"\"\"\r\n");

    SlowMonitor cancel;
    TextRows other({"X\t1", "Y\t2", "Z\t3"});
    EXPECT_EQ(WriteTableCsv(file, columns, other, &cancel).status, CsvResult::Status::Cancelled);
    EXPECT_EQ(fileText(file), "Callsign,QSO Notes\r\nDL1ABC,\"Hans, Berlin\"\r\nK1XX,\"\"\"Bob\"\"\"\r\n");
}

TEST(TableCsv, AnUnwritablePlaceFails)
{
    test::TempDir dir;
    test::WriteFile(dir.file("blocker"), "x");
    TextRows rows({"a"});
    CsvResult result = WriteTableCsv(dir.file("blocker/x.csv"), {MakeTableColumn("A", 1, PrintAlign::Left)}, rows);
    EXPECT_EQ(result.status, CsvResult::Status::Failed);
    EXPECT_FALSE(result.message.empty());
}

} // namespace
} // namespace vellum
