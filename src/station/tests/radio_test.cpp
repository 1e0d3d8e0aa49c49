// The CAT engine on real links: the shipped definitions against simulated
// radios on pseudo-terminals, the shared-file and directory transports, the
// rig-control daemon's dummy radio, and the radio of the run with its poll loop.

#include "radiopeers.h"
#include "stationpeers.h"

#include "station/channels.h"
#include "station/radio.h"
#include "station/radiocontrol.h"
#include "station/radiofields.h"
#include "station/radiolist.h"
#include "station/radioscan.h"
#include "station/rigdaemon.h"

#include "config/configrecord.h"
#include "config/inifile.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/qsotables.h"
#include "logstore/services.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

namespace vellum {
namespace {

const std::string ShippedRadios = std::string(VELLUM_SOURCE_DIR) + "/data/RADIOS";
constexpr const char *Ascii = "ASCII Semicolon CAT";
constexpr const char *Frames = "Binary Frame CAT";

std::string fileText(const std::string &path)
{
    std::vector<std::uint8_t> bytes = test::ReadFile(path);
    return {bytes.begin(), bytes.end()};
}

TRadioDefinition shipped(const char *model)
{
    std::vector<std::string> problems;
    std::optional<TRadioDefinition> definition = LoadRadioDefinition(ShippedRadios, model, problems);
    EXPECT_TRUE(definition && problems.empty()) << model << ": " << (problems.empty() ? "" : problems.front());
    return definition.value_or(TRadioDefinition{});
}

TRadioDefinition fromText(const std::string &text, std::vector<std::string> &problems)
{
    TIniFile ini("/nonexistent-vellum/radio.rig");
    ini.LoadText(text);
    TRadioDefinition definition = ReadRadioDefinition(ini, problems);
    ini.LoadText("");
    return definition;
}

RadioSettings quick(int tries = 1, std::uint8_t id = 0x94)
{
    RadioSettings settings;
    settings.radioId = id;
    settings.maxTries = tries;
    settings.timing = {300, 300, 300};
    return settings;
}

/// A radio of a definition on one end of a cable, a simulated radio on the other.
struct Bench {
    explicit Bench(const char *model, bool frames = false) : definition(shipped(model))
    {
        if (frames) {
            peer = std::make_unique<test::FrameRadio>(cable.b, 0x94);
            test::SimulatedState upper;
            upper.mode = 1; // USB in this command set
            peer->SetState(upper);
        } else
            peer = std::make_unique<test::AsciiRadio>(cable.b);
        ok = cable.ok && peer->Start();
    }
    std::unique_ptr<TRadio> open(RadioSettings settings = quick())
    {
        SerialSettings serial;
        serial.baud = definition.baud;
        std::unique_ptr<ByteChannel> channel = MakeSerialChannel(serial, cable.a);
        if (!channel->Open())
            return nullptr;
        auto radio = std::make_unique<TRadio>(definition, settings, std::move(channel));
        radio->SetConsole([this](const std::string &line) { console += line + "\n"; });
        return radio;
    }
    /// The simulated radio's state once it has taken every command sent (writes have no answer).
    test::SimulatedState settled()
    {
        std::size_t seen = 0;
        for (int quiet = 0, i = 0; quiet < 5 && i < 500; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::size_t now = peer->Commands().size();
            quiet = now == seen ? quiet + 1 : 0;
            seen = now;
        }
        return peer->State();
    }
    ChannelRuntime runtime;
    test::PtyPair cable;
    TRadioDefinition definition;
    std::unique_ptr<test::SimulatedRadio> peer;
    std::string console;
    bool ok = false;
};

// --- definitions and codecs ------------------------------------------------------------

TEST(RadioDefinition, FieldCodecsRoundTripAndNeverCut)
{
    using F = FieldFormat;
    const std::vector<std::uint8_t> bcdR = {0x00, 0x50, 0x24, 0x14, 0x00};
    EXPECT_EQ(DecodeFieldValue(F::BcdR, bcdR, 5), 14245000);
    EXPECT_EQ(EncodeFieldValue(F::BcdR, 14245000, 5), bcdR);
    EXPECT_EQ(DecodeFieldValue(F::Binary, std::vector<std::uint8_t>{0xFF, 0x38}, 2), -200) << "two's complement";
    EXPECT_EQ(DecodeFieldValue(F::BinaryR, std::vector<std::uint8_t>{0x38, 0xFF}, 2), -200);
    EXPECT_EQ(DecodeFieldValue(F::Binary, std::vector<std::uint8_t>(8, 0x7F), 8), 0x7F7F7F7F7F7F7F7F) << "64 bits";
    EXPECT_EQ(DecodeFieldValue(F::ByteM, std::vector<std::uint8_t>{0xF3}, 0x0F), 3);
    EXPECT_EQ(DecodeFieldValue(F::String, std::vector<std::uint8_t>{'-', '0', '1', '5', '0'}, 5), -150);
    EXPECT_EQ(EncodeFieldValue(F::String, 7, 3), (std::vector<std::uint8_t>{'0', '0', '7'}));
    EXPECT_EQ(EncodeFieldValue(F::Binary, -2, 2), (std::vector<std::uint8_t>{0xFF, 0xFE}));
    // A value that does not fit its field is refused, never cut.
    EXPECT_FALSE(EncodeFieldValue(F::Bcd, 10'000'000'000, 5));
    EXPECT_FALSE(EncodeFieldValue(F::Bcd, -1, 5));
    EXPECT_FALSE(EncodeFieldValue(F::Binary, 65536, 2));
    EXPECT_FALSE(EncodeFieldValue(F::String, 123456, 5));
    EXPECT_FALSE(EncodeFieldValue(F::Flag, 1, 1));
}

TEST(RadioDefinition, CommandStringsAndModeCodes)
{
    EXPECT_EQ(DecodeCommandString("fe0Gx", CommandFormat::Hex), (std::vector<std::uint8_t>{0xFE, 0x00})) << "odd digit dropped";
    EXPECT_EQ(DecodeCommandString("FA;|", CommandFormat::String), (std::vector<std::uint8_t>{'F', 'A', ';', 13}));
    ModeCodes codes = ParseModeCodes(";12");
    EXPECT_EQ(codes.read1, NoModeCode);
    EXPECT_EQ(codes.write1, 12);
    codes = ParseModeCodes("3,7;3,3;Y");
    EXPECT_EQ(codes, (ModeCodes{3, 7, 3, NoModeCode, true})) << "the same code twice is one code";
    EXPECT_EQ(FormatModeCodes(codes), "3,7;3;Y");
    EXPECT_EQ(FormatModeCodes(ModeCodes{}), "");
    std::string problem;
    EXPECT_EQ(ParseModeCodes("300;1", &problem).read1, NoModeCode);
    EXPECT_FALSE(problem.empty());
}

TEST(RadioDefinition, ReadingRefusesWhatWouldLeaveABlockOrTheDirectory)
{
    std::vector<std::string> problems;
    fromText("[GENERAL]\nMODEL=../../etc/x\nCFMT=7\nOFSET=1\nCNFL=300\n"
             "[RC-Read Status]\nCSTR=FEFE\nLEN=999\n"
             "[RF-VFO A]\nCMD=Read Status\nFMT=BCD\nPOS=48\nLM=5\n"
             "[RF-VFO B]\nCMD=Read Status\nFMT=Binary\nPOS=1\nLM=9\n"
             "[RF-Mode]\nCMD=Read Status\nFMT=Flag\nPOS=0\nLM=1\n"
             "[MODES]\nCW=999;3;N\n",
             problems);
    std::string all;
    for (const std::string &p : problems)
        all += p + "\n";
    for (const char *expected : {"MODEL", "CFMT", "CNFL", "LEN", "VFO A: position 48", "VFO B: 9 bytes", "Mode: position 0", "MODES CW"})
        EXPECT_NE(all.find(expected), std::string::npos) << expected << " in\n" << all;
    EXPECT_FALSE(RadioFileName("a/b"));
    EXPECT_FALSE(RadioFileName(".."));
    EXPECT_EQ(RadioFileName("IC 7300"), "IC 7300.rig");
}

TEST(RadioDefinition, ShippedDefinitionsReadBackUnchanged)
{
    for (const char *model : {Ascii, Frames, "Rig Daemon"}) {
        TRadioDefinition definition = shipped(model);
        TIniFile ini("/nonexistent-vellum/radio.rig");
        WriteRadioDefinition(ini, definition);
        std::vector<std::string> problems;
        TRadioDefinition again = fromText(ini.Text(), problems);
        ini.LoadText("");
        EXPECT_TRUE(problems.empty()) << model;
        EXPECT_EQ(again.model, definition.model);
        EXPECT_EQ(again.modes, definition.modes);
        EXPECT_EQ(again.command(RadioCommand::ReadStatus).text, definition.command(RadioCommand::ReadStatus).text);
    }
    TRadioDefinition fresh = NewRadioDefinition(46000);
    EXPECT_EQ(fresh.command(RadioCommand::ReadStatus).location, static_cast<int>(ResponseLocation::Status));
    EXPECT_EQ(fresh.field(RadioField::Rit).format, static_cast<int>(FieldFormat::Flag));
    EXPECT_EQ(fresh.field(RadioField::SMeter).command, static_cast<int>(RadioCommand::ReadSMeter));
}

TEST(RadioDefinition, TheListSavesDeletesAndKeepsTheGeneration)
{
    test::TempDir dir("radiolist");
    TRadioList list(dir.path());
    TRadioDefinition first = NewRadioDefinition(46000);
    first.model = "Alpha";
    ASSERT_TRUE(list.Put(first));
    first.model = "../Beta";
    EXPECT_FALSE(list.Put(first)) << "a model that leaves the directory";
    first.model = "Gamma";
    list.Put(first);
    list.Save(true);
    first.model = "Alpha";
    first.notes = "second";
    list.Put(first);
    list.Delete("Gamma");
    list.Save(true);
    EXPECT_TRUE(std::filesystem::exists(dir.file("Alpha.~ig"))) << "the previous generation";
    EXPECT_FALSE(std::filesystem::exists(dir.file("Gamma.rig")));
    TRadioList again(dir.path());
    std::vector<std::string> problems;
    again.Load(problems);
    EXPECT_EQ(again.Names(), std::vector<std::string>{"Alpha"});
    EXPECT_EQ(again.Find("Alpha")->notes, "second");
    EXPECT_FALSE(again.Changed("Alpha"));
}

TEST(RadioDefinition, ScannerStepsThroughChannelsInUse)
{
    std::array<TScanChannel, ScanChannelCount> channels{};
    EXPECT_FALSE(NextScanChannel(channels, -1));
    channels[3].InUse = true;
    channels[3].Freq = 7010.0;
    channels[3].Freq2 = 7015.0;
    channels[3].Mode = 4;
    channels[9].InUse = true;
    channels[9].Freq = 14200.0;
    channels[9].Freq2 = 14200.0;
    EXPECT_EQ(NextScanChannel(channels, -1), 3);
    EXPECT_EQ(NextScanChannel(channels, 3), 9);
    EXPECT_EQ(NextScanChannel(channels, 9), 3) << "cycling";
    ScanTuning split = TuningOf(channels[3]);
    EXPECT_TRUE(split.split);
    EXPECT_DOUBLE_EQ(split.txKHz, 7015.0);
    EXPECT_FALSE(TuningOf(channels[9]).split) << "a second frequency equal to the first";
}

// --- the ASCII command set -----------------------------------------------------------------

TEST(AsciiRadio, ReadsSetsAndFollowsSplitAndClarifier)
{
    Bench bench(Ascii);
    ASSERT_TRUE(bench.ok);
    std::unique_ptr<TRadio> radio = bench.open();
    ASSERT_TRUE(radio);
    int changes = 0;
    radio->OnValuesChanged([&changes] { ++changes; });
    ASSERT_TRUE(radio->ReadStatus()) << bench.console;
    EXPECT_DOUBLE_EQ(radio->Last().rxKHz, 14250.0);
    EXPECT_DOUBLE_EQ(radio->Last().secondKHz, 14255.0) << "VFO B when not split";
    EXPECT_EQ(radio->Last().mode, ModeOfName("SSB"));
    EXPECT_FALSE(radio->Last().split);
    EXPECT_EQ(radio->FrequencyText(), "14,250KHz");
    EXPECT_EQ(changes, 2);

    // Split: receive on A, transmit on B, then read back from the radio.
    bench.console.clear();
    ASSERT_TRUE(radio->SetRadio(ModeOfName("CW"), true, 7012.5, 7010.0)) << bench.console;
    test::SimulatedState state = bench.settled();
    EXPECT_EQ(state.vfoA, 7010000);
    EXPECT_EQ(state.vfoB, 7012500);
    EXPECT_EQ(state.mode, 3);
    EXPECT_TRUE(state.txOnB && !state.rxOnB);
    ASSERT_TRUE(radio->ReadStatus());
    EXPECT_TRUE(radio->Last().split);
    EXPECT_DOUBLE_EQ(radio->Last().secondKHz, 7012.5);
    EXPECT_EQ(radio->Last().mode, ModeOfName("CW"));
    EXPECT_EQ(radio->FrequencyText(), "7,010/7,013KHz");

    // Split with both VFOs less than 1 kHz apart reads as not split.
    state.vfoB = state.vfoA + 400;
    bench.peer->SetState(state);
    ASSERT_TRUE(radio->ReadStatus());
    EXPECT_FALSE(radio->Last().split);

    // RIT of 1.5 kHz without split reads as split, the unshifted frequency transmits.
    state.txOnB = false;
    state.rit = true;
    state.clarifier = 1500;
    bench.peer->SetState(state);
    ASSERT_TRUE(radio->ReadStatus());
    EXPECT_TRUE(radio->Last().split);
    EXPECT_DOUBLE_EQ(radio->Last().rxKHz, 7011.5);
    EXPECT_DOUBLE_EQ(radio->Last().secondKHz, 7010.0);

    // Not split: "Set Split off", receive on A; SSB at exactly 10 MHz takes write code 1.
    ASSERT_TRUE(radio->SetRadio(ModeOfName("SSB"), false, 0, 10000.0));
    state = bench.settled();
    EXPECT_EQ(state.mode, 1);
    EXPECT_EQ(state.clarifier, 0) << "the clarifier was cleared";
    EXPECT_FALSE(state.txOnB);
    ASSERT_TRUE(radio->SetRadio(ModeOfName("SSTV"), false, 0, 14230.0)) << "a mode without a code is set as SSB";
    EXPECT_EQ(bench.settled().mode, 2);
    EXPECT_FALSE(radio->CanSetMode(ModeOfName("SSTV")));
    EXPECT_TRUE(radio->CanSetMode(ModeOfName("RTTY")));
    EXPECT_EQ(radio->ReadSMeter(), 6) << "15 x 0.3667";
}

TEST(AsciiRadio, GarbageShortRepliesSilenceAndTries)
{
    Bench bench(Ascii);
    ASSERT_TRUE(bench.ok);
    std::unique_ptr<TRadio> radio = bench.open(quick(3));
    ASSERT_TRUE(radio);
    // Bytes that arrive before a transaction are skipped and shown.
    bench.peer->garbage = "XX";
    ASSERT_TRUE(radio->SetVfoA(14001.0));
    bench.settled(); // the bytes arrive before the next command
    ASSERT_TRUE(radio->ReadStatus()) << bench.console;
    EXPECT_NE(bench.console.find("Garbage skipped: 58 58"), std::string::npos) << bench.console;
    EXPECT_DOUBLE_EQ(radio->Last().rxKHz, 14001.0);

    // A silent radio: three sends, then "Radio timed out"; the last state stays.
    bench.peer->silent = true;
    std::size_t before = bench.peer->Commands().size();
    auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(radio->ReadStatus(), ERadioException);
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(850));
    EXPECT_LT(took, std::chrono::milliseconds(3000));
    EXPECT_EQ(bench.peer->Commands().size() - before, 3u);
    EXPECT_DOUBLE_EQ(radio->Last().rxKHz, 14001.0);

    // A reply cut short is no reply.
    bench.peer->silent = false;
    bench.peer->shortBy = 2;
    EXPECT_THROW(radio->ReadStatus(), ERadioException);
    bench.peer->shortBy = 0;
    EXPECT_TRUE(radio->ReadStatus());

    // A frequency that does not fit its 11 digits is an error; nothing is sent.
    before = bench.peer->Commands().size();
    EXPECT_FALSE(radio->SetVfoA(1e9));
    EXPECT_EQ(radio->ErrorCode(), static_cast<int>(RadioError::ValueDoesNotFit));
    EXPECT_EQ(bench.peer->Commands().size(), before);
}

// --- binary frames with the bus echo ------------------------------------------------------------

TEST(FrameRadio, EchoAddressAndTheCopyBetweenVfos)
{
    Bench bench(Frames, true);
    ASSERT_TRUE(bench.ok);
    std::unique_ptr<TRadio> radio = bench.open();
    ASSERT_TRUE(radio);
    ASSERT_TRUE(radio->ReadStatus()) << bench.console;
    EXPECT_DOUBLE_EQ(radio->Last().rxKHz, 14250.0);
    EXPECT_DOUBLE_EQ(radio->Last().secondKHz, 14255.0);
    EXPECT_EQ(radio->Last().mode, ModeOfName("SSB"));
    EXPECT_NE(bench.console.find("Echo: FE FE 94 E0 03 FD"), std::string::npos) << bench.console;

    // Split through "VFO A -> B": transmit copied to B, then A set to receive.
    ASSERT_TRUE(radio->SetRadio(ModeOfName("RTTY"), true, 21085.0, 21080.0)) << bench.console;
    test::SimulatedState state = bench.peer->State();
    EXPECT_EQ(state.vfoA, 21080000);
    EXPECT_EQ(state.vfoB, 21085000);
    EXPECT_EQ(state.mode, 4);
    ASSERT_TRUE(radio->ReadStatus());
    EXPECT_TRUE(radio->Last().split);
    EXPECT_DOUBLE_EQ(radio->Last().secondKHz, 21085.0);
    EXPECT_EQ(radio->ReadSMeter(), 1) << "15 of 255 is S1";

    // The address byte comes from the configuration: another address gets no answer.
    radio.reset();
    std::unique_ptr<TRadio> stranger = bench.open(quick(1, 0x70));
    EXPECT_THROW(stranger->ReadStatus(), ERadioException);
    EXPECT_EQ(bench.peer->Commands().back().substr(0, 6), "FEFE70");
}

TEST(FrameRadio, ConfirmLengthCountsTheEchoWithoutWrapping)
{
    // LEN 5 with a 7-byte command: 12 bytes are collected, the last 5 are the reply.
    test::PtyPair cable;
    ChannelRuntime runtime;
    ASSERT_TRUE(cable.ok);
    std::vector<std::string> problems;
    TRadioDefinition definition = fromText("[GENERAL]\nMODEL=Echo\nCNFL=1\nOFSET=1\n[RC-Read VFO A]\nCSTR=01020304050607\nLEN=5\n"
                                           "[RF-VFO A]\nCMD=Read VFO A\nFMT=Binary\nPOS=1\nLM=5\n",
                                           problems);
    ASSERT_TRUE(problems.empty()) << problems.front();
    std::unique_ptr<ByteChannel> channel = MakeSerialChannel(SerialSettings{}, cable.a);
    ASSERT_TRUE(channel->Open());
    RadioSettings patient = quick();
    patient.timing.attemptMs = 3000;
    TRadio radio(definition, patient, std::move(channel));
    std::unique_ptr<ByteChannel> peer = MakeSerialChannel(SerialSettings{}, cable.b);
    ASSERT_TRUE(peer->Open());
    // The radio answers only once it has heard the whole command: anything
    // waiting before the command goes out is line noise and is skipped.
    std::thread echo([&peer] {
        std::size_t heard = 0;
        for (auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
             heard < 7 && std::chrono::steady_clock::now() < until;)
            if (peer->WaitForData(100))
                while (peer->GetChar())
                    ++heard;
        peer->PutBlock(std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 0, 0, 0x01, 0x00, 0x00});
        peer->Flush(1000);
    });
    bool read = false;
    try {
        read = radio.ReadStatus();
    } catch (const ERadioException &error) {
        ADD_FAILURE() << error.what();
    }
    echo.join();
    ASSERT_TRUE(read);
    EXPECT_DOUBLE_EQ(radio.Last().rxKHz, 65.536) << "00 00 01 00 00 Hz";
}

// --- file transports -----------------------------------------------------------------------------

TEST(FileTransports, SharedFileReadsAndWritesUnderItsLock)
{
    test::TempDir dir("radiofile");
    std::vector<std::uint8_t> block(32, 0);
    block[4] = 0x00, block[5] = 0x50, block[6] = 0x24, block[7] = 0x14, block[8] = 0x00; // 14245 kHz, BCD-R
    block[9] = 3;                                                                      // CW
    test::WriteFile(dir.file("radio1.bin"), std::string(block.begin(), block.end()));
    std::vector<std::string> problems;
    TRadioDefinition definition = fromText(
        "[GENERAL]\nMODEL=Shared\nFILEINTERFACE=" + dir.file("radio#.bin") +
            "\n[RC-File Read]\nCSTR=0000000000000000\nLEN=2\n"
            "[RC-File Write]\nCSTR=00000000000000\nLEN=20\n"
            "[RF-VFO A]\nCMD=File Read\nFMT=BCD-R\nPOS=2\nLM=5\n[RF-Mode]\nCMD=File Read\nFMT=Binary\nPOS=7\nLM=1\n"
            "[RF-Write VFO A]\nCMD=File Write\nFMT=BCD-R\nPOS=0\nLM=5\n[RF-Write Mode]\nCMD=File Write\nFMT=Binary\nPOS=6\nLM=1\n"
            "[MODES]\nCW=3;3;N\nSSB=1;1;N\n",
        problems);
    ASSERT_TRUE(problems.empty()) << problems.front();
    RadioSettings settings = quick();
    settings.comPort = 1;
    TRadio radio(definition, settings);
    std::string console;
    radio.SetConsole([&console](const std::string &line) { console += line + "\n"; });
    ASSERT_TRUE(radio.ReadStatus()) << console;
    EXPECT_DOUBLE_EQ(radio.Last().rxKHz, 14245.0);
    EXPECT_EQ(radio.Last().mode, ModeOfName("CW"));
    EXPECT_NE(console.find("Read File, Offs = 2 L = 8"), std::string::npos) << console;

    ASSERT_TRUE(radio.SetRadio(ModeOfName("SSB"), false, 0, 7050.0));
    std::string file = fileText(dir.file("radio1.bin"));
    EXPECT_EQ(file.substr(20, 7), std::string("\x00\x00\x05\x07\x00\x00\x01", 7));
    EXPECT_EQ(file.substr(0, 2), std::string(2, '\0')) << "unlocked again";

    // A lock nobody releases: "Unable to lock file", then the timeout.
    file[0] = 1;
    test::WriteFile(dir.file("radio1.bin"), file);
    EXPECT_THROW(radio.ReadStatus(), ERadioException);
    EXPECT_NE(console.find("Unable to lock file"), std::string::npos);

    definition.fileInterface = dir.file("missing#.bin");
    EXPECT_THROW(TRadio(definition, settings), ERadioException);
}

TEST(FileTransports, DirectoryFilesCarryMegahertzAndModeNames)
{
    test::TempDir dir("radiodir");
    std::vector<std::string> problems;
    TRadioDefinition definition = fromText("[GENERAL]\nMODEL=Files\nCFMT=1\nFILEINTERFACE=" + dir.path() +
                                               "\n[RC-File Read]\nCSTR=fromradio.txt\n[RC-File Write]\nCSTR=toradio.txt\n",
                                           problems);
    ASSERT_TRUE(problems.empty());
    TRadio radio(definition, quick());
    ASSERT_TRUE(radio.SetRadio(ModeOfName("SSB"), true, 10000.0, 9990.0));
    EXPECT_EQ(fileText(dir.file("toradio.txt")), "9.99000\nUSB\n10.00000\nUSB\n") << "USB at 10 MHz here";
    EXPECT_FALSE(radio.ReadStatus()) << "no file from the radio yet";
    EXPECT_EQ(radio.ErrorCode(), static_cast<int>(RadioError::DirectoryRead));
    test::WriteFile(dir.file("fromradio.txt"), "3.525\nCW\n");
    ASSERT_TRUE(radio.ReadStatus());
    EXPECT_DOUBLE_EQ(radio.Last().rxKHz, 3525.0);
    EXPECT_DOUBLE_EQ(radio.Last().secondKHz, 3525.0);
    EXPECT_EQ(radio.Last().mode, ModeOfName("CW"));
}

// --- the rig-control daemon ---------------------------------------------------------------------

class RigDaemon {
public:
    RigDaemon() : port(test::freeTcpPort())
    {
        m_process.start("rigctld", {"-m", "1", "-T", "127.0.0.1", "-t", QString::number(port)});
        ok = m_process.waitForStarted(5000) && test::waitUntil([this] {
                 QTcpSocket probe;
                 probe.connectToHost("127.0.0.1", static_cast<quint16>(port));
                 return probe.waitForConnected(100);
             });
    }
    ~RigDaemon()
    {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    int port;
    bool ok = false;

private:
    QProcess m_process;
};

TEST(RigDaemonRadio, SetsAndReadsTheDummyRadio)
{
    ChannelRuntime runtime;
    RigDaemon daemon;
    ASSERT_TRUE(daemon.ok) << "rigctld -m 1";
    TRadioDefinition definition = shipped("Rig Daemon");
    definition.daemon = "127.0.0.1:" + std::to_string(daemon.port);
    TConfigRecord config{};
    RadioPorts ports{nullptr, [](const std::string &host, int port) {
                         return MakeTcpChannel(host, std::to_string(port), false, 2000);
                     }};
    std::string error;
    std::unique_ptr<RadioLink> radio = MakeRadio(definition, config, ports, {2000, 2000, 2000}, error);
    ASSERT_TRUE(radio) << error;
    ASSERT_TRUE(radio->Init());
    ASSERT_TRUE(radio->SetRadio(ModeOfName("CW"), true, 7025.0, 7020.0));
    ASSERT_TRUE(radio->ReadStatus());
    EXPECT_DOUBLE_EQ(radio->Last().rxKHz, 7020.0);
    EXPECT_TRUE(radio->Last().split);
    EXPECT_DOUBLE_EQ(radio->Last().secondKHz, 7025.0);
    EXPECT_EQ(radio->Last().mode, ModeOfName("CW"));
    ASSERT_TRUE(radio->SetRadio(ModeOfName("SSB"), false, 0, 3700.0));
    ASSERT_TRUE(radio->ReadStatus());
    EXPECT_FALSE(radio->Last().split);
    EXPECT_EQ(radio->FrequencyText(), "3,700KHz");
    int s = radio->ReadSMeter();
    EXPECT_GE(s, 0);
    EXPECT_LE(s, 11);
    EXPECT_EQ(RigDaemonModeName(ModeOfName("SSB"), 3700), "LSB");

    int nobody = test::freeTcpPort();
    definition.daemon = "127.0.0.1:" + std::to_string(nobody);
    EXPECT_FALSE(MakeRadio(definition, config, ports, {}, error));
    EXPECT_NE(error.find("127.0.0.1:" + std::to_string(nobody)), std::string::npos) << error;
}

// --- the radio of the run --------------------------------------------------------------------------

class RadioControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bench.ok);
        SetProgramDir(dir.path());
        std::filesystem::create_directories(RadiosDir());
        std::filesystem::copy_file(ShippedRadios + "/" + Ascii + ".rig", RadiosDir() + "/" + Ascii + ".rig");
        config.Hardware_RadioType = Ascii;
        config.Hardware_RadioPollRate = 500;
        config.Hardware_RadioMaxTries = 2;
        ports.serial = [this](const SerialSettings &settings) {
            serialSeen = settings;
            return MakeSerialChannel(settings, bench.cable.a);
        };
        control = std::make_unique<RadioControl>(config, notifier, ports);
        control->SetTiming({200, 200, 200});
        control->SetPollTimer([this](int ms) { armed.push_back(ms); }, [this] { armed.push_back(-1); });
        control->AddReceiver([this] { return following; }, [this](int mode, double kHz) { taken.emplace_back(mode, kHz); });
        control->OnRunningChanged([this](bool running) { runningChanges.push_back(running); });
    }
    test::TempDir dir{"radiocontrol"};
    Bench bench{Ascii};
    TConfigRecord config{};
    RecordingNotifier notifier;
    RadioPorts ports;
    SerialSettings serialSeen;
    std::unique_ptr<RadioControl> control;
    std::vector<int> armed;
    std::vector<std::pair<int, double>> taken;
    std::vector<bool> runningChanges;
    bool following = true;
};

TEST_F(RadioControlTest, StartsPollsDefersAndIsDisabledWhenTheRadioFallsSilent)
{
    config.Hardware_RTSHigh = true;
    config.Hardware_DTRHigh = true;
    config.hardware_cwport = 5; // CW keyed on DTR of the radio port
    ASSERT_TRUE(control->Start()) << notifier.shown.size();
    EXPECT_EQ(serialSeen.baud, 38400);
    EXPECT_EQ(serialSeen.dataBits, 8);
    EXPECT_FALSE(serialSeen.dtr);
    EXPECT_TRUE(serialSeen.rts);
    EXPECT_EQ(runningChanges, std::vector<bool>{true});
    bench.settled();
    ASSERT_FALSE(bench.peer->Commands().empty());
    EXPECT_EQ(bench.peer->Commands().front(), "AI0;") << "Init ran";

    // The CW keyer's text waits; a busy radio defers by a second; a poll hands the values on.
    bool cwWaiting = true;
    control->SetCwBusy([&cwWaiting] { return cwWaiting; });
    control->PollTriggerFired();
    control->Idle();
    EXPECT_TRUE(control->PollRequested());
    cwWaiting = false;
    control->Idle();
    EXPECT_FALSE(control->PollRequested());
    ASSERT_EQ(taken.size(), 2u) << "the poll's own hand-over and the values-changed notice";
    EXPECT_EQ(taken.back(), std::make_pair(ModeOfName("SSB"), 14250.0));
    EXPECT_EQ(armed, std::vector<int>{500});

    // Nobody follows the radio: no read, no re-arm; following again asks for a poll.
    following = false;
    control->RequestPoll();
    control->Idle();
    EXPECT_EQ(armed.size(), 1u);
    following = true;
    control->Idle();
    EXPECT_EQ(armed.size(), 2u);

    EXPECT_EQ(control->FrequencyText(), "14,250KHz");
    bench.peer->silent = true;
    control->RequestPoll();
    control->Idle();
    EXPECT_FALSE(control->Running());
    ASSERT_FALSE(notifier.shown.empty());
    EXPECT_EQ(notifier.shown.back().text, "Radio timed out\rRadio interface has been disabled");
    EXPECT_EQ(runningChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(control->FrequencyText(), "");
}

TEST_F(RadioControlTest, StartFailuresLeaveNoRadio)
{
    config.Hardware_RadioType = "Nothing Here";
    EXPECT_FALSE(control->Start());
    EXPECT_EQ(notifier.shown.back().text, "Radio error number 1\rPress Help for details");
    config.Hardware_RadioType = "../secrets";
    EXPECT_FALSE(control->Start());
    EXPECT_NE(notifier.shown.back().text.find("names no file"), std::string::npos);
    config.Hardware_RadioType = Ascii;
    ports.serial = [](const SerialSettings &settings) { return MakeSerialChannel(settings, "/nonexistent/tty"); };
    RadioControl broken(config, notifier, ports);
    EXPECT_FALSE(broken.Start());
    EXPECT_NE(notifier.shown.back().text.find("/nonexistent/tty"), std::string::npos);
    config.Hardware_RadioType = "";
    EXPECT_FALSE(control->Start());
    EXPECT_TRUE(runningChanges.empty());
}

} // namespace
} // namespace vellum
