// The PSK31 engine on generated signals: the alphabet, the code of QPSK, clean
// and noisy reception in both modes, frequency control, the squelch, the
// transmitted spectrum, the engine's notices and the command line.

#include "station/psk/convcode.h"
#include "station/psk/pskengine.h"
#include "station/psk/psktools.h"
#include "station/psk/varicode.h"
#include "station/psk/wavfile.h"

#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>
#include <random>

namespace vellum::psk {
namespace {

const std::string Text = "CQ CQ CQ de QQ0ABC QQ0ABC pse k\r"
                         "Name Hans, QTH near Munich, rig 100 W to a dipole; 73 and thanks for the call!\r";

TEST(Varicode, EveryCharacterOfTheCodePageRoundTrips)
{
    std::string all;
    for (int c = 0; c < 256; ++c) {
        std::string_view word = VaricodeOf(static_cast<std::uint8_t>(c));
        ASSERT_FALSE(word.empty()) << c;
        EXPECT_TRUE(word.front() == '1' && word.back() == '1' && word.find("00") == std::string_view::npos) << c;
        all += static_cast<char>(c);
    }
    EXPECT_EQ(VaricodeOf(' '), "1");
    EXPECT_EQ(VaricodeOf('e'), "11");
    EXPECT_EQ(VaricodeOf('E'), "1110111");
    VaricodeDecoder decoder;
    std::string decoded;
    for (char bit : "00" + VaricodeBits(all))
        if (std::optional<std::uint8_t> c = decoder.Bit(bit == '1'))
            decoded += static_cast<char>(*c);
    EXPECT_EQ(decoded, all);
}

TEST(ConvolutionalCode, TheViterbiDecoderCorrectsScatteredErrors)
{
    std::mt19937 random(7);
    std::vector<bool> bits(600);
    for (auto &&bit : bits)
        bit = random() & 1u;
    ConvEncoder encoder;
    ViterbiDecoder decoder;
    std::vector<bool> decoded;
    for (std::size_t i = 0; i < bits.size() + ViterbiDecoder::Delay; ++i) {
        int symbol = encoder.Encode(i < bits.size() && bits[i]);
        if (i % 23 == 5)
            symbol ^= 2; // one wrong half of a symbol every 23
        std::array<double, 4> match{};
        for (int s = 0; s < 4; ++s)
            match[static_cast<std::size_t>(s)] = s == symbol ? 1.0 : -1.0;
        if (std::optional<bool> bit = decoder.Symbol(match))
            decoded.push_back(*bit);
    }
    decoded.resize(bits.size());
    EXPECT_EQ(decoded, bits);
}

TEST(PskReception, CleanAndNoisySignalsInEveryMode)
{
    for (PskMode mode : {PskMode::Bpsk, PskMode::QpskUsb, PskMode::QpskLsb}) {
        std::vector<float> signal = EncodeText(Text, 8000, 1500, mode);
        DecodeOptions options;
        options.frequency = 1500;
        options.mode = mode;
        EXPECT_EQ(DecodeSound(signal, 8000, options), Text) << static_cast<int>(mode);
        AddNoise(signal, 8000, mode == PskMode::Bpsk ? -5 : 0, 11);
        EXPECT_LT(CharacterErrorRate(Text, DecodeSound(signal, 8000, options)), 0.02) << static_cast<int>(mode);
    }
    // The same at 48000 Hz, the other rate sound devices offer.
    std::vector<float> signal = EncodeText(Text, 48000, 900, PskMode::Bpsk);
    DecodeOptions options;
    options.frequency = 900;
    EXPECT_EQ(DecodeSound(signal, 48000, options), Text);
}

TEST(PskReception, FrequencyControlPullsInAndFollowsDrift)
{
    std::vector<float> signal = ShiftFrequency(EncodeText(Text + Text, 8000, 1000, PskMode::Bpsk), 8000, 7, 1.0 / 30);
    AddNoise(signal, 8000, 0, 3);
    DecodeOptions options;
    options.frequency = 1000;
    std::string decoded = DecodeSound(signal, 8000, options);
    EXPECT_NE(decoded.find(Text.substr(20)), std::string::npos) << decoded;
    options.afcLimit = 0;
    EXPECT_GT(CharacterErrorRate(Text + Text, DecodeSound(signal, 8000, options)), 0.5) << "7 Hz off without AFC";
}

TEST(PskReception, TheSquelchStaysClosedOnNoise)
{
    std::vector<float> noise(8000 * 30, 0.0f);
    noise[0] = 0.5f; // a reference for the noise level
    AddNoise(noise, 8000, -10, 5);
    for (PskMode mode : {PskMode::Bpsk, PskMode::QpskUsb}) {
        DecodeOptions options;
        options.mode = mode;
        EXPECT_EQ(DecodeSound(noise, 8000, options), "") << static_cast<int>(mode);
    }
}

TEST(PskTransmission, TheSpectrumStaysWithinSixtyHertz)
{
    std::vector<float> signal = EncodeText(Text + Text, 8000, 1000, PskMode::Bpsk);
    const std::size_t n = 16384;
    ASSERT_GT(signal.size(), n + 8000);
    std::vector<std::complex<double>> bins(n / 2);
    double peak = 0, outside = 0;
    // A direct look at the power at a few frequencies is enough here: inside and 60 Hz and more away.
    auto powerAt = [&](double hz) {
        std::complex<double> sum{0, 0};
        for (std::size_t i = 0; i < n; ++i)
            sum += static_cast<double>(signal[8000 + i]) * (0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / n)) *
                   std::polar(1.0, -2 * std::numbers::pi * hz * i / 8000);
        return std::norm(sum);
    };
    for (double hz = 960; hz <= 1040; hz += 2)
        peak = std::max(peak, powerAt(hz));
    for (double hz : {900.0, 920.0, 935.0, 940.0, 1060.0, 1065.0, 1080.0, 1100.0, 1200.0})
        outside = std::max(outside, powerAt(hz));
    EXPECT_LT(10 * std::log10(outside / peak), -26);
}

TEST(PskEngine, NoticesTransmitAndPlayBack)
{
    PskEngine engine(8000);
    std::vector<PskNotice> notices;
    ASSERT_EQ(engine.StartSoundCard([&notices](const PskNotice &n) { notices.push_back(n); }), 0);
    engine.SetRXPSKMode(0, 0);
    engine.SetAFCLimit(25, 0);
    engine.SetSquelchThreshold(30, 0, 0);
    engine.SetRXFrequency(1200, 0, 0);
    engine.SetTXFrequency(1200);
    engine.SetCWIDSpeed(1);
    engine.SetCWIDString("QQ0ABC");
    engine.StartTX(0);
    for (char c : std::string("hello world\r"))
        engine.SendTXCharacter(static_cast<unsigned char>(c), 0);
    engine.SendTXCharacter(2, 1);
    EXPECT_EQ(engine.GetTXCharsRemaining(), 12);
    std::vector<float> sent;
    float block[512];
    while (engine.Transmitting() && sent.size() < 8000u * 60) {
        engine.GenerateOutput(block, 512);
        sent.insert(sent.end(), block, block + 512);
    }
    EXPECT_FALSE(engine.Transmitting());
    // The spectrum and the peak search while the signal is on the air.
    std::size_t half = sent.size() / 2;
    engine.ProcessInput(sent.data(), half);
    EXPECT_NEAR(engine.GetClosestPeak(1100, 1400), 1200, 8);
    EXPECT_EQ(engine.GetClosestPeak(1500, 2000), 1500) << "no signal there";
    int spectrum[SpectrumBins] = {};
    engine.GetFFTData(spectrum, 200, 400);
    EXPECT_EQ(*std::max_element(spectrum + 200, spectrum + 401), 100) << "the strongest bin is full scale";
    EXPECT_LT(spectrum[400], 50);
    engine.ProcessInput(sent.data() + half, sent.size() - half);

    std::string received;
    bool data = false;
    for (const PskNotice &n : notices) {
        if (n.kind == PskNoticeKind::Character && n.second == 0)
            received += static_cast<char>(n.first);
        data = data || n.kind == PskNoticeKind::DataReady;
    }
    EXPECT_EQ(received, "hello world\r");
    EXPECT_TRUE(data);
    EXPECT_EQ(notices.front().kind, PskNoticeKind::Status);
    EXPECT_EQ(notices.front().first, StatusTransmitting);
    EXPECT_TRUE(std::any_of(notices.begin(), notices.end(), [](const PskNotice &n) {
        return n.kind == PskNoticeKind::Status && n.first == StatusTxEnded;
    }));

    notices.clear();
    engine.RewindInput(99);
    received.clear();
    for (const PskNotice &n : notices)
        if (n.kind == PskNoticeKind::Character && n.second == 0)
            received += static_cast<char>(n.first);
    EXPECT_EQ(received, "hello world\r") << "played back";
    EXPECT_NEAR(StrongestSignal(sent, 8000), 1200, 8);
}

TEST(PskWav, RoundTripAndRefusals)
{
    test::TempDir dir("pskwav");
    WavSound sound;
    sound.sampleRate = 8000;
    sound.samples = {0.0f, 0.5f, -0.5f, 1.0f};
    WriteWav(dir.file("a.wav"), sound);
    WavSound back = ReadWav(dir.file("a.wav"));
    ASSERT_EQ(back.samples.size(), 4u);
    EXPECT_NEAR(back.samples[1], 0.5, 1e-4);
    EXPECT_THROW(ParseWav({'R', 'I', 'F', 'F'}), std::runtime_error);
    std::vector<unsigned char> bytes = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E',
                                        'd', 'a', 't', 'a', 0xFF, 0xFF, 0xFF, 0xFF, 1, 2};
    EXPECT_THROW(ParseWav(bytes), std::runtime_error) << "data before its format";
}

TEST(PskCli, EncodeThenDecode)
{
    test::TempDir dir("pskcli");
    std::string wav = dir.file("cq.wav");
    std::string encode = std::string(VELLUM_CLI) + " psk31 encode 'CQ de QQ0ABC' --wav " + wav + " --freq 1234 --qpsk";
    ASSERT_EQ(std::system(encode.c_str()), 0);
    std::string decode = std::string(VELLUM_CLI) + " psk31 decode " + wav + " --qpsk";
    FILE *pipe = popen(decode.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[256] = {};
    std::string out;
    while (std::fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_NE(out.find("CQ de QQ0ABC"), std::string::npos) << out;
    EXPECT_NE(std::system((std::string(VELLUM_CLI) + " psk31 decode /nonexistent.wav 2>/dev/null").c_str()), 0);
}

} // namespace
} // namespace vellum::psk
