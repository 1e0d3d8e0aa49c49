// vellum-cli radio: poll, set and check against simulated radios of both
// command sets and against definitions that cannot be used.

#include "radiopeers.h"
#include "stationpeers.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace vellum {
namespace {

const QString Radios = QString(VELLUM_SOURCE_DIR) + "/data/RADIOS/";

struct CliRun {
    int exitCode = -1;
    std::string out, err;
};

CliRun cli(const QStringList &arguments)
{
    test::TempDir home("radiocli");
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("VELLUM_DIR", QString::fromStdString(home.path()));
    process.setProcessEnvironment(environment);
    process.start(VELLUM_CLI, arguments);
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}

TEST(RadioCli, PollsAndSetsBothCommandSets)
{
    test::PtyPair cable;
    ASSERT_TRUE(cable.ok);
    {
        test::AsciiRadio radio(cable.b);
        ASSERT_TRUE(radio.Start());
        CliRun poll = cli({"radio", "poll", "--rig", Radios + "ASCII Semicolon CAT.rig", "--port", QString::fromStdString(cable.a)});
        EXPECT_EQ(poll.exitCode, 0) << poll.err;
        EXPECT_EQ(poll.out, "{\"model\": \"ASCII Semicolon CAT\", \"freq_khz\": 14250.000, \"freq2_khz\": 14255.000, "
                            "\"mode\": \"SSB\", \"split\": false, \"smeter\": 6, \"error\": 0, \"error_text\": \"\"}\n");
    }
    test::FrameRadio radio(cable.b, 0x94);
    test::SimulatedState state;
    state.mode = 1;
    radio.SetState(state);
    ASSERT_TRUE(radio.Start());
    CliRun set = cli({"radio", "set", "--rig", Radios + "Binary Frame CAT.rig", "--port", QString::fromStdString(cable.a),
                      "--id", "148", "--freq", "7010", "--freq2", "7013.5", "--mode", "CW", "--trace"});
    EXPECT_EQ(set.exitCode, 0) << set.err;
    EXPECT_NE(set.out.find("\"freq_khz\": 7010.000, \"freq2_khz\": 7013.500, \"mode\": \"CW\", \"split\": true"),
              std::string::npos)
        << set.out;
    EXPECT_NE(set.err.find("Echo: FE FE 94 E0"), std::string::npos) << "the trace shows the console";
    EXPECT_EQ(radio.State().vfoB, 7013500);
}

TEST(RadioCli, CheckNamesWhatIsWrongAndMissingPortsAreRefused)
{
    test::TempDir dir("radiocheck");
    test::WriteFile(dir.file("bad.rig"), "[GENERAL]\nMODEL=../../x\n[RF-VFO A]\nCMD=Read Status\nFMT=BCD\nPOS=40\nLM=12\n");
    CliRun check = cli({"radio", "check", QString::fromStdString(dir.file("bad.rig"))});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_NE(check.err.find("MODEL"), std::string::npos) << check.err;
    EXPECT_NE(check.err.find("VFO A: 12 bytes"), std::string::npos) << check.err;
    CliRun good = cli({"radio", "check", Radios + "Binary Frame CAT.rig"});
    EXPECT_EQ(good.exitCode, 0) << good.err;
    CliRun noPort = cli({"radio", "poll", "--rig", Radios + "ASCII Semicolon CAT.rig"});
    EXPECT_EQ(noPort.exitCode, 1);
    EXPECT_NE(noPort.err.find("--port"), std::string::npos);
    int nobody = test::freeTcpPort();
    CliRun noDaemon = cli({"radio", "poll", "--rigctld", "127.0.0.1:" + QString::number(nobody)});
    EXPECT_EQ(noDaemon.exitCode, 1);
    EXPECT_NE(noDaemon.err.find("127.0.0.1:" + std::to_string(nobody)), std::string::npos) << noDaemon.err;
}

} // namespace
} // namespace vellum
