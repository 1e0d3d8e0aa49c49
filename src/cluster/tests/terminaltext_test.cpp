// The receive rules of a terminal and the wrapping of its lines.

#include "cluster/terminaltext.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

struct Received {
    TerminalText text;
    std::vector<std::string> spots;
    int bells = 0;
    Received()
    {
        text.OnLine([this](const std::string &line) { spots.push_back(line); });
        text.OnBell([this] { ++bells; });
    }
    std::vector<std::string> shown() const
    {
        std::vector<std::string> lines;
        for (const DisplayLine &line : text.Lines())
            lines.push_back(line.text);
        return lines;
    }
};

TEST(TerminalText, ControlBytesBackspaceAndLineEnds)
{
    Received r;
    r.text.Receive(std::string("DX de W1AW:\a 14025.0 JA1XYZ\x08 \x08Z\r\nnext\x01 line"));
    EXPECT_EQ(r.spots, std::vector<std::string>{"DX de W1AW: 14025.0 JA1XYZ"}) << "BS, blank, BS removes one character";
    EXPECT_EQ(r.bells, 1);
    EXPECT_EQ(r.shown(), (std::vector<std::string>{"DX de W1AW: 14025.0 JA1XYZ", "next line"}));
    r.text.FlushPartialLine();
    EXPECT_EQ(r.spots.back(), "next line") << "a connection lost mid-line delivers it once";
    r.text.FlushPartialLine();
    EXPECT_EQ(r.spots.size(), 2u);
    r.text.Receive(std::string("\x08\x08\x08"));
    EXPECT_EQ(r.shown().back(), "next lin") << "a backspace at the start of a line goes back to the previous one";
}

TEST(TerminalText, LongLinesWrapAtBreaksAndStayOneSpot)
{
    Received r;
    r.text.SetWidth(80);
    std::string line;
    for (int i = 0; line.size() < 200; ++i)
        line += "word" + std::to_string(i) + (i % 5 == 4 ? ", " : " ");
    line.resize(200);
    r.text.Receive(line + "\r");
    ASSERT_EQ(r.text.Count(), 4u) << "three display lines and the new empty one";
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_LE(r.text.Lines()[i].text.size(), 80u);
        EXPECT_EQ(r.text.Lines()[i].continuation(), i > 0);
    }
    EXPECT_EQ(r.text.Lines()[0].text.back(), ' ') << "broken after a blank, which stays on the first part";
    EXPECT_EQ(r.spots, std::vector<std::string>{line});
    EXPECT_EQ(r.text.LogicalLineAt(2), line);
    r.text.SetWidth(150);
    EXPECT_EQ(r.text.Count(), 3u) << "a resize wraps everything again";
    EXPECT_EQ(WrapPoint("abcdefghijkl", 5), 5u) << "no break character: cut at the width";
    EXPECT_EQ(WrapPoint("ab(cdefghij", 5), 3u);
}

TEST(TerminalText, CapacityDropsWholeLogicalLinesAndALineWithoutEndIsCapped)
{
    Received r;
    r.text.SetWidth(10);
    r.text.SetCapacity(10);
    std::size_t removed = 0;
    for (int i = 0; i < 20; ++i)
        removed += r.text.Receive("line " + std::to_string(i) + " is long\r");
    EXPECT_LE(r.text.Count(), 10u);
    EXPECT_FALSE(r.text.Lines().front().continuation()) << "a logical line goes whole";
    EXPECT_EQ(removed + r.text.Count(), 41u) << "every display line made is kept or counted as removed";
    r.text.SetSelected(1, true);
    std::string copied = r.text.CopyText(true);
    EXPECT_EQ(copied.find("\r\n"), std::string::npos) << "only the selected logical line";
    EXPECT_NE(r.text.CopyText(false).find("\r\n"), std::string::npos);

    Received flood;
    flood.text.Receive(std::string(TerminalText::MaxLogicalLine + 500, 'x'));
    flood.text.Receive("\r");
    EXPECT_EQ(flood.spots.front().size(), TerminalText::MaxLogicalLine);
    EXPECT_EQ(flood.text.DroppedBytes(), 500u);
    EXPECT_EQ(ReadCommandFor("  123 DL1ABC 12-Dec"), "R 123\r");
    EXPECT_EQ(ReadCommandFor("DX de"), "");
}

} // namespace
} // namespace vellum
