// The rotator: headings, every controller's bytes, and the rotator of the run
// over a recording channel.

#include "station/rotator.h"

#include "config/configfile.h"
#include "config/configrecord.h"
#include "logstore/services.h"

#include <gtest/gtest.h>

#include <deque>

namespace vellum {
namespace {

/// A channel that keeps what was sent and answers with scripted bytes.
struct ScriptedChannel : ByteChannel {
    bool opens = true, open = false;
    std::string sent;
    std::deque<std::uint8_t> answers;
    bool Open() override { return open = opens; }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    std::string LastError() const override { return "gone"; }
    bool PutBlock(std::span<const std::uint8_t> bytes) override
    {
        sent.append(bytes.begin(), bytes.end());
        return open;
    }
    std::size_t OutBuffFree() const override { return 100; }
    std::optional<std::uint8_t> GetChar() override
    {
        if (answers.empty())
            return std::nullopt;
        std::uint8_t b = answers.front();
        answers.pop_front();
        return b;
    }
    std::size_t Available() const override { return answers.size(); }
    bool WaitForData(int) override { return !answers.empty(); }
    bool Flush(int) override { return open; }
    void Break() { broken("unplugged"); }
};

class RotatorTest : public ::testing::Test {
protected:
    RotatorTest() : config(BuiltInConfig())
    {
        config.CORRECTION = 0;
        config.OFFSET = 0;
        for (auto &band : config.RotatorBands)
            band = static_cast<std::uint8_t>(BandTurn::Normal);
    }
    std::string turn(int azimuth, int band = 5) { return PlanTurn(config, azimuth, band).status; }

    TConfigRecord config;
};

TEST_F(RotatorTest, HeadingsFollowCorrectionOffsetAndTheBandsSetting)
{
    config.CORRECTION = 10;
    EXPECT_EQ(turn(355), "Turning to 5");
    EXPECT_EQ(turn(350), "Turning to 360") << "360 stays 360";
    config.CORRECTION = 0;
    config.RotatorBands[5] = static_cast<std::uint8_t>(BandTurn::Reverse);
    EXPECT_EQ(turn(40 + 180), "Turning to 40") << "Long Path on a Reverse band is the short path again";
    config.RotatorBands[5] = static_cast<std::uint8_t>(BandTurn::WithOffset);
    config.OFFSET = -90;
    EXPECT_EQ(turn(45), "Turning to 315");
    config.RotatorBands[5] = static_cast<std::uint8_t>(BandTurn::Disabled);
    EXPECT_EQ(turn(45), "!Not turning on 20m");
    config.DefQSO_ShowBandMHz = 1;
    EXPECT_EQ(turn(45), "!Not turning on 14MHz");
    EXPECT_EQ(turn(45, 0), "!No band specified");
    config.RotatorBands[5] = static_cast<std::uint8_t>(BandTurn::WithOffset);
    config.OFFSET = 2147483647; // a damaged configuration still gives a heading, at once
    EXPECT_TRUE(PlanTurn(config, 180, 5).heading);
    EXPECT_EQ(NormalizeHeading(-360), 0);
    EXPECT_EQ(NormalizeHeading(720), 360);
    EXPECT_EQ(NormalizeHeading(-1), 359);
}

TEST_F(RotatorTest, EveryControllerGetsItsBytes)
{
    using K = RotatorKind;
    EXPECT_EQ(TurnCommand(K::SarTek, 0), std::string("\x50\x80", 2)) << "p = 180: 127.5 rounds to the even 128";
    EXPECT_EQ(TurnCommand(K::SarTek, 180), std::string("\x50\xFE", 2)) << "p = 360 is limited to 358";
    EXPECT_EQ(TurnCommand(K::SarTek, 181), std::string("\x50\x01", 2)) << "p = 1 is limited to 2: 1.42 gives 1";
    EXPECT_EQ(TurnCommand(K::HygainDcu1, 360), "AP1359;AM1;");
    EXPECT_EQ(TurnCommand(K::HygainDcu1, 7), "AP1007;AM1;");
    EXPECT_EQ(TurnCommand(K::OrionM2, 45), "A\r45\r");
    EXPECT_EQ(TurnCommand(K::Hd1780, 45), "45\r");
    EXPECT_EQ(TurnCommand(K::Daemon, 45), "P 45 0\n");
    EXPECT_EQ(HaltCommand(K::SarTek), std::string("\x50\x00", 2));
    EXPECT_EQ(HaltCommand(K::HygainDcu1), "AS1;");
    EXPECT_EQ(HaltCommand(K::OrionM2), "S\r");
    EXPECT_EQ(HaltCommand(K::Hd1780), "\r");
    EXPECT_EQ(HaltCommand(K::Daemon), "S\n");
    SerialSettings sartek = RotatorSerialSettings(K::SarTek, 3);
    EXPECT_EQ(std::make_tuple(sartek.comNumber, sartek.baud, sartek.stopBits, sartek.inSize), std::make_tuple(3, 1200, 2, std::size_t{100}));
    EXPECT_EQ(RotatorSerialSettings(K::OrionM2, 1).baud, 9600);
    EXPECT_EQ(RotatorSerialSettings(K::HygainDcu1, 1).baud, 4800);
    EXPECT_EQ(RotatorKindOf(1), K::None);
    EXPECT_EQ(RotatorKindOf(6), K::Daemon);
    EXPECT_EQ(RotatorKindOf(200), K::None);
}

TEST_F(RotatorTest, DaemonAddresses)
{
    EXPECT_EQ(RotatorDaemonAddress("rotor.local:4600"), (std::pair<std::string, int>{"rotor.local", 4600}));
    EXPECT_EQ(RotatorDaemonAddress("rotor.local"), (std::pair<std::string, int>{"rotor.local", 4533}));
    EXPECT_EQ(RotatorDaemonAddress(""), (std::pair<std::string, int>{"localhost", 4533}));
    EXPECT_EQ(RotatorDaemonAddress("ThunderForm|ARSWIN"), (std::pair<std::string, int>{"localhost", 4533}));
    EXPECT_EQ(RotatorDaemonAddress("host:99999"), (std::pair<std::string, int>{"host", 4533}));
}

TEST_F(RotatorTest, TheRotatorOfTheRunSendsWhenActiveAndSurvivesALostPort)
{
    RecordingNotifier notifier;
    ScriptedChannel *port = nullptr;
    bool opens = false;
    std::vector<bool> activity;
    Rotator rotator(
        config, notifier,
        [&](const SerialSettings &settings) {
            EXPECT_EQ(settings.baud, 4800);
            auto channel = std::make_unique<ScriptedChannel>();
            channel->opens = opens;
            port = channel.get();
            return channel;
        },
        nullptr);
    rotator.OnActiveChanged([&](bool active) { activity.push_back(active); });
    config.Rotator_type = 3; // Hygn DCU1
    rotator.Start();
    EXPECT_FALSE(rotator.Active());
    EXPECT_EQ(notifier.shown.back().text, "Rotator COM port failed to open");
    EXPECT_EQ(rotator.Turn(90, 5), "Turning to 90") << "an inactive rotator still says where it would turn";

    opens = true;
    rotator.Start();
    ASSERT_TRUE(rotator.Active());
    rotator.Turn(90, 5);
    rotator.Halt();
    EXPECT_EQ(port->sent, "AP1090;AM1;AS1;");
    port->Break();
    EXPECT_FALSE(rotator.Active());
    EXPECT_NE(notifier.shown.back().text.find("unplugged"), std::string::npos);
    EXPECT_EQ(activity, (std::vector<bool>{true, false}));
    rotator.Shutdown();
}

TEST_F(RotatorTest, TheDaemonMustAnswerRprtZero)
{
    RecordingNotifier notifier;
    ScriptedChannel *daemon = nullptr;
    bool reachable = false;
    Rotator rotator(config, notifier, nullptr, [&](const std::string &host, int port) {
        EXPECT_EQ(host, "localhost");
        EXPECT_EQ(port, 4533);
        auto channel = std::make_unique<ScriptedChannel>();
        channel->opens = reachable;
        daemon = channel.get();
        return channel;
    });
    config.Rotator_type = 6;
    config.Rotator_Message = "";
    rotator.Start();
    EXPECT_EQ(notifier.shown.back().text, "Rotator target Application Window not found: \rAddress: localhost:4533");
    reachable = true;
    rotator.Start();
    std::string answer = "RPRT 0\n";
    daemon->answers.assign(answer.begin(), answer.end());
    EXPECT_EQ(rotator.Turn(120, 5), "Turning to 120");
    EXPECT_EQ(daemon->sent, "P 120 0\n");
    answer = "RPRT -8\n";
    daemon->answers.assign(answer.begin(), answer.end());
    EXPECT_EQ(rotator.Halt(), "!Rotator daemon answered: RPRT -8");
    EXPECT_EQ(rotator.Turn(10, 5), "!Rotator daemon did not answer");
}

} // namespace
} // namespace vellum
