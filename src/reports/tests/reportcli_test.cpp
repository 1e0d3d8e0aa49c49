// vellum-cli report (the award reports) and vellum-cli chart on a generated log.

#include "testsupport/command.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

class AwardReportCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(test::RunCommand(cli("log generate --qsos 3000 --seed 5 " + log)).status, 0);
    }
    std::string cli(const std::string &arguments) const
    {
        return std::string(VELLUM_CLI) + " --dir " + dir.path() + " " + arguments + " 2>/dev/null";
    }
    std::string fileText(const std::string &file) const
    {
        std::vector<std::uint8_t> bytes = test::ReadFile(file);
        return std::string(bytes.begin(), bytes.end());
    }

    test::TempDir dir{"awardreportcli"};
    std::string log = dir.file("T.VLL");
};

TEST_F(AwardReportCliTest, ListNamesTheAwardReports)
{
    test::CommandRun listed = test::RunCommand(cli("report list"));
    ASSERT_EQ(listed.status, 0);
    EXPECT_NE(listed.out.find("{\"name\":\"DXCC Listing\",\"kind\":\"listing\",\"menu\":\"DXCC\",\"item\":\"Listing\","
                              "\"asks_band_mode\":true,\"asks_award\":false,\"marks\":false}"),
              std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find("\"name\":\"IOTA Submission\",\"kind\":\"item\""), std::string::npos);
    EXPECT_NE(listed.out.find("\"name\":\"Contest Rate Sheet\",\"kind\":\"rate\""), std::string::npos);
}

TEST_F(AwardReportCliTest, ListingTextCsvAndPdf)
{
    test::CommandRun text = test::RunCommand(cli("report " + log + " \"DXCC Listing\" --band 20m --text"));
    ASSERT_EQ(text.status, 0);
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')),
              "Prefix Country                      PHO CW  RTTY 20 ");

    const std::string csv = dir.file("out/iota.csv");
    ASSERT_EQ(test::RunCommand(cli("report " + log + " \"IOTA Listing Worked\" --csv " + csv)).status, 0);
    std::string written = fileText(csv);
    EXPECT_EQ(written.substr(0, written.find("\r\n")), "Nr,IOTA,Name,Callsign,Date,Band,Status");

    const std::string pdf = dir.file("waz.pdf");
    ASSERT_EQ(test::RunCommand(cli("report " + log + " \"WAZ Summary\" --mode-group CW --pdf " + pdf)).status, 0);
    test::CommandRun pdfText = test::RunCommand("pdftotext -layout " + pdf + " -");
    EXPECT_NE(pdfText.out.find("Zones Summary (Mode = CW, ALL bands)"), std::string::npos) << pdfText.out;
    EXPECT_NE(pdfText.out.find("Available"), std::string::npos);
}

TEST_F(AwardReportCliTest, BadChoicesFail)
{
    EXPECT_EQ(test::RunCommand(cli("report " + log + " \"DXCC Listing\" --band 20m --mode-group CW --text")).status, 1);
    EXPECT_EQ(test::RunCommand(cli("report " + log + " \"DXCC Listing\" --band 21m --text")).status, 1);
    EXPECT_EQ(test::RunCommand(cli("report " + log + " \"Custom Listing\" --award NONE --text")).status, 1);
    EXPECT_EQ(test::RunCommand(cli("report " + log + " \"Contest Rate Sheet\" --contest-start 2020 --text")).status, 1);
}

TEST_F(AwardReportCliTest, ChartAsSvgAndPng)
{
    const std::string svg = dir.file("pictures/dxcc.svg");
    test::CommandRun drawn = test::RunCommand(cli("chart " + log + " --award DXCC --svg " + svg));
    ASSERT_EQ(drawn.status, 0);
    EXPECT_NE(drawn.out.find("\"months\":"), std::string::npos);
    EXPECT_NE(fileText(svg).find("DXCC standing over time"), std::string::npos);
    const std::string png = dir.file("wpx.png");
    ASSERT_EQ(test::RunCommand(cli("chart " + log + " --award WPX --png " + png)).status, 0);
    EXPECT_EQ(fileText(png).substr(1, 3), "PNG");
    EXPECT_EQ(test::RunCommand(cli("chart " + log + " --png " + png)).status, 1) << "the award is needed";
}

} // namespace
} // namespace vellum
