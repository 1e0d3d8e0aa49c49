// vellum-cli awards and need on a log written here, read back by the program.

#include "awardfixture.h"

#include "testsupport/command.h"
#include "testsupport/tempdir.h"

#include <filesystem>
#include <unistd.h>

namespace vellum::test {
namespace {

CommandRun runCli(const std::string &arguments)
{
    return RunCommand(std::string(VELLUM_CLI) + " " + arguments + " 2>/dev/null");
}

class AwardCliTest : public AwardTest {
protected:
    AwardCliTest()
    {
        Add({.call = "DL1ABC", .date = Day(2020, 3, 1), .confirmed = true});
        Add({.call = "JA1ABC", .date = Day(2021, 3, 1), .band = 3, .mode = 14});
        log->LogFileName = m_dir + "/T.VLL";
        log->WriteLog(true);
    }
    std::string Args(const std::string &command) const { return "--dir " + m_dir + " " + command; }

    test::TempDir m_temp{"awardcli"};
    std::string m_dir = m_temp.path();
};

TEST_F(AwardCliTest, AwardsStanding)
{
    CommandRun run = runCli(Args("awards " + m_dir + "/T.VLL --award DXCC --today 2024-06-01"));
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\"qsos\":2,\"selection\":\"All QSOs\",\"today\":\"2024-06-01\""), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"DXCC\":{\"entities\":" + std::to_string(countries.CountryCount() - 1) +
                           ",\"mixed\":{\"worked\":1,\"qsl_sent\":0,\"confirmed\":1,\"submitted\":0,\"checked\":0}"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"CW\":{\"worked\":0,\"qsl_sent\":0,\"confirmed\":1"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"40m\":{\"worked\":1,"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("\"WAZ\""), std::string::npos) << "only the award asked for";

    // Far enough in the future, the worked QSO drops out.
    run = runCli(Args("awards " + m_dir + "/T.VLL --award DXCC --today 2060-01-01"));
    EXPECT_NE(run.out.find("\"mixed\":{\"worked\":0,\"qsl_sent\":0,\"confirmed\":1"), std::string::npos) << run.out;

    EXPECT_EQ(runCli(Args("awards " + m_dir + "/T.VLL --selection Nowhere")).status, 1);
    EXPECT_EQ(runCli(Args("awards " + m_dir + "/T.VLL --award IOTA")).status, 1);
    EXPECT_EQ(runCli(Args("awards " + m_dir + "/MISSING.VLL")).status, 1);
}

TEST_F(AwardCliTest, NeedClassOfASpot)
{
    CommandRun run = runCli(Args("need " + m_dir + "/T.VLL DL1ABC 20m CW 2024-06-01"));
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\"class\":6,\"name\":\"No interest\""), std::string::npos) << run.out;
    run = runCli(Args("need " + m_dir + "/T.VLL vk2abc 20m CW"));
    EXPECT_NE(run.out.find("\"call\":\"VK2ABC\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"class\":1,\"name\":\"New Country\""), std::string::npos) << run.out;
    run = runCli(Args("need " + m_dir + "/T.VLL JA7XX 20m SSB --award WAZ"));
    EXPECT_NE(run.out.find("\"class\":3,\"name\":\"New band / mode\""), std::string::npos) << run.out;
    EXPECT_EQ(runCli(Args("need " + m_dir + "/T.VLL DL1ABC 99m CW")).status, 1);
    EXPECT_EQ(runCli(Args("need " + m_dir + "/T.VLL DL1ABC 20m CW 2024-02-30")).status, 1);
}

} // namespace
} // namespace vellum::test
