// The parts of the PSK31 window without Qt: the views of the zoom, pixels and
// frequencies, the palettes, the word rules of the receive pane and the keying.

#include "station/psk/pskkeying.h"
#include "station/psk/pskview.h"
#include "station/psk/pskwords.h"

#include <gtest/gtest.h>

#include <map>

namespace vellum::psk {
namespace {

TEST(PskView, ZoomLevelsShowTheBandAroundTheReceiveFrequency)
{
    PskView whole = ZoomView(1, 1500);
    EXPECT_EQ(whole.start, 100);
    EXPECT_EQ(whole.end, 3200);
    EXPECT_EQ(whole.firstBin, 26); // 100 / 3.90625 = 25.6
    EXPECT_EQ(whole.lastBin, 819);

    PskView two = ZoomView(2, 1505);
    EXPECT_EQ(two.start, 500);  // (1505 - 999) div 10 * 10
    EXPECT_EQ(two.end, 2500);   // (1505 + 999) div 10 * 10
    PskView four = ZoomView(4, 1505);
    EXPECT_EQ(four.start, 1000);
    EXPECT_EQ(four.end, 2000);
    EXPECT_EQ(ZoomView(3, 1505).start, 1000) << "any other scale zooms 4x";

    PskView low = ZoomView(2, 300);
    EXPECT_EQ(low.start, 100) << "kept inside the band";
    EXPECT_EQ(ZoomView(2, 3000).end, 3200);
}

TEST(PskView, PixelsAndFrequenciesMapBothWays)
{
    PskView view = ZoomView(1, 1000);
    EXPECT_EQ(FrequencyAt(view, 0, 311), 100);
    EXPECT_EQ(FrequencyAt(view, 310, 311), 3200);
    EXPECT_EQ(FrequencyAt(view, 90, 311), 1000);
    EXPECT_EQ(PixelOf(view, 1000, 311), 90);
    EXPECT_EQ(PixelOf(view, 1005, 311), 91);
    EXPECT_EQ(MulDiv(7, 1, 2), 4) << "halves round away from zero";
    EXPECT_EQ(MulDiv(5, 5, 0), 0);
    EXPECT_EQ(BinOf(-50), 0);
    EXPECT_EQ(BinOf(99999), 1023);
}

TEST(PskPalette, NormalAndAlternateRamps)
{
    PskPalette normal = MakePalette(false);
    EXPECT_EQ(normal[0], 0x000000u);
    EXPECT_EQ(normal[63], 0x0000FFu) << "4 x 63 = 252 is 250 or more: 255";
    EXPECT_EQ(normal[64], 0x0000FFu);
    EXPECT_EQ(normal[100], static_cast<std::uint32_t>(144 << 8 | 255));
    EXPECT_EQ(normal[128], 0x00FFFFu);
    EXPECT_EQ(normal[130], static_cast<std::uint32_t>(8 << 16 | 255 << 8 | 247));
    EXPECT_EQ(normal[255], 0xFFFFFFu);

    PskPalette alternate = MakePalette(true);
    EXPECT_EQ(alternate[128], alternate[0]);
    EXPECT_EQ(alternate[200], alternate[72]);
    EXPECT_EQ(alternate[31], static_cast<std::uint32_t>(248));
    EXPECT_EQ(alternate[127], 0xFFFFF8u);
}

TEST(PskWords, DoubleClickedWordsAreCleanedAndClassified)
{
    EXPECT_EQ(CapturedWord("  5991234, "), "5991234");
    EXPECT_EQ(CapturedWord("dl1abc."), "dl1abc");
    EXPECT_EQ(CapturedWord("(599/NY)"), "599/NY");
    EXPECT_EQ(CapturedWord("name;john"), "name");
    EXPECT_EQ(CapturedWord("..."), "");
    EXPECT_EQ(CapturedWord("J\xF6rg"), "Jrg") << "letters of the code page beyond ASCII are dropped";

    auto report = ReportOf("5991234");
    ASSERT_TRUE(report);
    EXPECT_EQ(report->report, "599");
    EXPECT_EQ(report->received, "1234");
    EXPECT_EQ(ReportOf("579/14")->received, "14");
    EXPECT_EQ(ReportOf("599")->received, "");
    EXPECT_FALSE(ReportOf("699"));
    EXPECT_FALSE(ReportOf("509"));
    EXPECT_FALSE(ReportOf("59"));

    EXPECT_EQ(NotesWithName("", "jOHN"), "John");
    EXPECT_EQ(NotesWithName("QTH Berlin", "hans"), "QTH Berlin hans");
    EXPECT_TRUE(HasDigit("dl1"));
    EXPECT_FALSE(HasDigit("john"));
}

TEST(PskWords, ChannelTwoTextTakesTheLastLinesUpTo255Characters)
{
    EXPECT_EQ(ChannelTwoText({"first", "second"}), "first second  ");
    EXPECT_EQ(ChannelTwoText({}), " ");
    std::vector<std::string> many(40, std::string(20, 'x'));
    many.front() = "oldest";
    std::string text = ChannelTwoText(many);
    EXPECT_GT(text.size(), 255u);
    EXPECT_LT(text.size(), 255u + 22u) << "stops once longer than 255";
    EXPECT_EQ(text.find("oldest"), std::string::npos);
}

/// Modem lines that remember their levels.
class RecordedLines : public ModemLines {
public:
    explicit RecordedLines(std::map<std::string, bool> &levels, bool fail = false) : m_levels(levels), m_fail(fail) {}
    bool Set(Line line, bool on, std::string &error) override
    {
        if (m_fail) {
            error = "Input/output error";
            return false;
        }
        m_levels[line == Line::Dtr ? "DTR" : "RTS"] = on;
        return true;
    }

private:
    std::map<std::string, bool> &m_levels;
    bool m_fail;
};

TEST(PskKeying, VoxKeysNothingTheCwInterfaceTheManualKeyAPortItsLine)
{
    std::vector<bool> manual;
    std::map<std::string, bool> levels;
    std::vector<int> opened;
    PskTransmitterKey key([&](bool down) { manual.push_back(down); },
                          [&](int com, std::string &) -> std::unique_ptr<ModemLines> {
                              opened.push_back(com);
                              return std::make_unique<RecordedLines>(levels);
                          });
    std::string error;
    EXPECT_TRUE(key.Key(true, {KeyingVox, true, false}, error));
    EXPECT_TRUE(manual.empty() && opened.empty());

    EXPECT_TRUE(key.Key(true, {KeyingCwInterface, true, false}, error));
    EXPECT_TRUE(key.Key(false, {KeyingCwInterface, true, false}, error));
    EXPECT_EQ(manual, (std::vector<bool>{true, false}));

    EXPECT_TRUE(key.Key(true, {5, true, true}, error)); // COM3, key on DTR, RTS high
    EXPECT_EQ(opened, std::vector<int>{3});
    EXPECT_TRUE(levels["DTR"] && levels["RTS"]);
    EXPECT_TRUE(key.Key(false, {5, true, true}, error));
    EXPECT_FALSE(levels["DTR"]);
    EXPECT_TRUE(levels["RTS"]) << "the other line keeps its level";
    EXPECT_EQ(opened.size(), 1u) << "the open port is used again";

    EXPECT_TRUE(key.Key(true, {5, false, false}, error)); // key on RTS, DTR low
    EXPECT_TRUE(levels["RTS"]);
    EXPECT_FALSE(levels["DTR"]);
    key.Close();
    EXPECT_FALSE(levels["DTR"] || levels["RTS"]) << "both lines low on closing";
    EXPECT_FALSE(key.PortOpen());
}

TEST(PskKeying, APortThatFailsReportsItsError)
{
    std::map<std::string, bool> levels;
    PskTransmitterKey missing(nullptr, [](int, std::string &error) -> std::unique_ptr<ModemLines> {
        error = "No such file or directory";
        return nullptr;
    });
    std::string error;
    EXPECT_FALSE(missing.Key(true, {4, true, false}, error));
    EXPECT_EQ(error, "No such file or directory");

    PskTransmitterKey refusing(nullptr, [&](int, std::string &) -> std::unique_ptr<ModemLines> {
        return std::make_unique<RecordedLines>(levels, true);
    });
    error.clear();
    EXPECT_FALSE(refusing.Key(true, {4, true, false}, error));
    EXPECT_EQ(error, "Input/output error");
    EXPECT_FALSE(refusing.PortOpen()) << "a port that cannot be set is let go";
}

} // namespace
} // namespace vellum::psk
