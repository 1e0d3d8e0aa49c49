// Morse timing, the code table, the steps of a character and the key-line timeline.

#include "station/morsecode.h"

#include "config/configrecord.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vellum {
namespace {

TEST(MorseTimingTest, TheTimingTable)
{
    struct Case {
        int speed, wpm, weight;
        int dot, dash, unit;
    };
    const Case cases[] = {
        {20, 20, 100, 61, 183, 183}, // the reference case
        {40, 40, 100, 31, 93, 93},
        {25, 15, 120, 49, 176, 246}, // slower spacing: unit from 81.6 -> 82, times 3
        {40, 40, 50, 31, 46, 93},    // 46.5 rounds to even
        {60, 60, 100, 20, 60, 60},
        {1, 1, 100, 1224, 3672, 3672},
        {20, 30, 100, 61, 183, 183}, // spacing never above the character speed
        {0, 0, 100, 1224, 3672, 3672},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.speed << "/" << c.wpm << "/" << c.weight);
        MorseTiming t = MorseTiming::For(c.speed, c.wpm, c.weight);
        EXPECT_EQ(t.dot, c.dot);
        EXPECT_EQ(t.dash, c.dash);
        EXPECT_EQ(t.unit, c.unit);
        EXPECT_EQ(t.ElementGap(), c.dot);
        EXPECT_EQ(t.CharacterGap(), c.unit - c.dot);
        EXPECT_EQ(t.BlankGap(), c.unit + c.dot);
    }
    MorseTiming reference = MorseTiming::For(20, 20, 100);
    EXPECT_NEAR(reference.DisplayedWpm(), 60000.0 / (4 * 183 + 24 * 61 + 5 * 122 + 244), 1e-9);
    EXPECT_EQ(std::lround(reference.DisplayedWpm()), 20);
    double farnsworth = MorseTiming::For(30, 15, 100).DisplayedWpm();
    EXPECT_TRUE(farnsworth > 15 && farnsworth < 25) << "slower spacing slows the word: " << farnsworth;
}

TEST(MorseTimingTest, TheCodeTable)
{
    EXPECT_EQ(MorseCode('A'), ".-");
    EXPECT_EQ(MorseCode('Q'), "--.-");
    EXPECT_EQ(MorseCode('Z'), "--..");
    EXPECT_EQ(MorseCode('0'), "-----");
    EXPECT_EQ(MorseCode('7'), "--...");
    EXPECT_EQ(MorseCode('*'), ".-.-.") << "AR";
    EXPECT_EQ(MorseCode('!'), "...-.-") << "SK";
    EXPECT_EQ(MorseCode('/'), "-..-.");
    EXPECT_EQ(MorseCode('='), "-...-");
    EXPECT_EQ(MorseCode(','), "--..--");
    EXPECT_EQ(MorseCode('.'), ".-.-.-");
    EXPECT_EQ(MorseCode('\xC4'), ".-.-") << "Ä";
    EXPECT_EQ(MorseCode('\xD6'), "---.") << "Ö";
    for (char other : {'a', 'z', '#', '\x1B', '\0', '\xE4', '%'})
        EXPECT_EQ(MorseCode(other), "..--..") << "sent as ?: " << int(other);
}

TEST(MorseTimingTest, StepsAndTheKeyLineTimeline)
{
    MorseTiming t = MorseTiming::For(20, 20, 100);
    std::vector<MorseStep> steps;
    AppendMorseSteps('N', t, steps); // -.
    AppendMorseSteps(' ', t, steps);
    AppendMorseSteps('<', t, steps);
    AppendMorseSteps('>', t, steps);
    using K = MorseStepKind;
    std::vector<MorseStep> expected = {{K::Element, 183}, {K::Pause, 61}, {K::Element, 61}, {K::Pause, 61},
                                       {K::Pause, 122},   {K::Pause, 244}, {K::TransmitOff, 0}, {K::TransmitOn, 0}};
    EXPECT_EQ(steps, expected);

    // "E E": two dots with the character gaps and the blank between them.
    std::vector<KeyTransition> line = KeyTimeline("E E", t);
    std::vector<KeyTransition> plain = {{0, true, 61}, {61, false, 61 + 122 + 244}, {488, true, 61}, {549, false, 183}};
    EXPECT_EQ(line, plain);

    // Between "<" and ">" the time passes on the sidetone without keying the line.
    std::vector<KeyTransition> quiet = KeyTimeline("E<E>E", t);
    ASSERT_EQ(quiet.size(), 4u);
    EXPECT_EQ(quiet[2].tMs, 2 * (61 + 61 + 122)) << "the second E took its time unheard";
    EXPECT_EQ(quiet[1].ms, quiet[2].tMs - quiet[1].tMs);
    EXPECT_TRUE(KeyTimeline("<PARIS>", t).empty());
    EXPECT_TRUE(KeyTimeline("", t).empty());
}

TEST(MorseTimingTest, SettingsAndFunctionKeyTexts)
{
    TConfigRecord config{};
    config.Speed = 99;
    config.wpm = 70;
    config.weight = 0;
    config.tone = -5;
    config.hardware_cwport = 9;
    KeyerSettings s = KeyerSettings::From(config);
    EXPECT_EQ(s.speed, 60);
    EXPECT_EQ(s.wpm, 60);
    EXPECT_EQ(s.weight, 1);
    EXPECT_EQ(s.tone, 1);
    EXPECT_EQ(s.keyInterface, KeyerSettings::Interface::None);
    config.hardware_cwport = 6;
    EXPECT_EQ(KeyerSettings::From(config).keyInterface, KeyerSettings::Interface::RadioRts);

    EXPECT_EQ(FunctionKeyCaption(" CQ |CQ CQ DE %~"), "CQ");
    EXPECT_EQ(FunctionKeyExpansion(" CQ |CQ CQ DE %~"), "CQ CQ DE %~");
    EXPECT_EQ(FunctionKeyCaption("TEST DE %~"), "TEST D");
    EXPECT_EQ(FunctionKeyExpansion("TEST DE %~"), "TEST DE %~");
    EXPECT_EQ(FunctionKeyExpansion("A|B|C"), "B|C");
    EXPECT_EQ(KeyerUpperCase("cq de m\xE4x \xF6z 5nn?"), "CQ DE M\xC4X \xD6Z 5NN?");
}

} // namespace
} // namespace vellum
