// vellum-cli report list | report LOG NAME ... on a log and definitions written here.

#include "logstore/qsodata.h"
#include "testsupport/qsobuilder.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace vellum {
namespace {

struct CliRun {
    std::string out;
    int status = -1;
};

CliRun run(const std::string &command)
{
    CliRun result;
    FILE *pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        result.out.append(buffer.data(), n);
    int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string fileText(const std::string &file)
{
    std::vector<std::uint8_t> bytes = test::ReadFile(file);
    return std::string(bytes.begin(), bytes.end());
}

class ReportCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(dir.file("SAVE"));
        test::WriteFile(dir.file("SAVE/VELLUM.REP"), "[Calls]\nSORT=Callsign\nNOTEWIDTH=20\nNumber=\nCallsign=\nBand=\n"
                                                     "QSO Notes=\n\n[By Date]\nSORT=Date\nDate=\nCallsign=\n");
        TQsoData log;
        for (int i = 1; i <= 120; ++i)
            test::QsoBuilder("QQ" + std::to_string(i) + "ABC").date(2020, 1, 1).time(i / 60, i % 60).band(5).mode(4)
                .addTo(log);
        log.Get(0)->QsoNote.set("Hans, the \"big\" gun from M\xFC" "nchen");
        log.LogFileName = dir.file("T.VLL");
        log.WriteLog(true);
    }
    std::string cli(const std::string &arguments) const
    {
        return std::string(VELLUM_CLI) + " --dir " + dir.path() + " " + arguments;
    }

    test::TempDir dir{"reportcli"};
};

TEST_F(ReportCliTest, ListNamesTheLayoutsInFileOrder)
{
    CliRun listed = run(cli("report list"));
    ASSERT_EQ(listed.status, 0) << listed.out;
    EXPECT_NE(listed.out.find("{\"name\":\"Calls\",\"kind\":\"logbook\",\"sort\":\"Callsign\",\"note_width\":20,"
                              "\"columns\":[\"Number\",\"Callsign\",\"Band\",\"QSO Notes\"]}"),
              std::string::npos)
        << listed.out;
    EXPECT_LT(listed.out.find("Calls"), listed.out.find("By Date"));
}

TEST_F(ReportCliTest, CsvAndTextOfAReport)
{
    const std::string csv = dir.file("out/calls.csv");
    CliRun written = run(cli("report " + dir.file("T.VLL") + " calls --csv " + csv));
    ASSERT_EQ(written.status, 0) << written.out;
    EXPECT_NE(written.out.find("\"rows\":120"), std::string::npos);
    std::string text = fileText(csv);
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "Number,Callsign,Band,QSO Notes");
    // Call order ("QQ100ABC" first); the note is cut to 20 characters and quoted.
    EXPECT_NE(text.find("\r\n1,QQ100ABC,20m,\r\n2,QQ101ABC,20m,\r\n"), std::string::npos) << text.substr(0, 200);
    EXPECT_NE(text.find(",QQ1ABC,20m,\"Hans, the \"\"big\"\" gun \"\r\n"), std::string::npos);

    CliRun shown = run(cli("report " + dir.file("T.VLL") + " \"By Date\" --text"));
    ASSERT_EQ(shown.status, 0);
    EXPECT_EQ(shown.out.substr(0, shown.out.find('\n')), "Date     Callsign    ");
    EXPECT_NE(shown.out.find("\n01/01/20 QQ1ABC      \n01/01/20 QQ2ABC      \n"), std::string::npos) << shown.out;
}

TEST_F(ReportCliTest, PdfWhoseTextHoldsEveryQsoOfTheLog)
{
    const std::string pdf = dir.file("calls.pdf");
    CliRun written = run(cli("report " + dir.file("T.VLL") + " \"By Date\" --pdf " + pdf));
    ASSERT_EQ(written.status, 0) << written.out;
    EXPECT_NE(written.out.find("\"pages\":3"), std::string::npos) << written.out;
    CliRun text = run("pdftotext -layout " + pdf + " -");
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("Report: By Date sorted by Date"), std::string::npos);
    std::size_t last = 0;
    for (int i = 1; i <= 120; ++i) {
        std::size_t at = text.out.find("QQ" + std::to_string(i) + "ABC");
        ASSERT_NE(at, std::string::npos) << i;
        EXPECT_GT(at, last) << "QSO " << i << " in date order";
        last = at;
    }
    EXPECT_NE(text.out.find("Page 3"), std::string::npos);
}

TEST_F(ReportCliTest, WrongNamesAndOptionsFail)
{
    EXPECT_EQ(run(cli("report " + dir.file("T.VLL") + " Nothing --text")).status, 1);
    EXPECT_EQ(run(cli("report " + dir.file("T.VLL") + " Calls --text --selection Nope")).status, 1);
    EXPECT_EQ(run(cli("report " + dir.file("T.VLL") + " Calls")).status, 1);
    EXPECT_EQ(run(cli("report " + dir.file("T.VLL") + " Calls --text --csv x.csv")).status, 1);
}

} // namespace
} // namespace vellum
