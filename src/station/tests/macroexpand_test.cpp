// The function-key macros: every "%" code, recursion, files and their errors.

#include "station/macroexpand.h"

#include "logstore/services.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vellum {
namespace {

class MacroExpandTest : public ::testing::Test {
protected:
    MacroExpandTest()
    {
        env.fields = {"DL1ABC", "599", " 579", "", "hans-peter-, nice chat", 7};
        env.ownCall = "QQ0QQ";
        env.dateFormat = DateFormat::DayMonthYear;
        env.today = *DayNumber(2024, 3, 9);
        env.utcSeconds = 14 * 3600 + 5 * 60 + 30;
        env.saveDir = save.path();
    }
    std::string expand(const std::string &text, int key = 1)
    {
        keys[static_cast<std::size_t>(key - 1)] = text;
        MacroExpansion result = MacroExpand(key, keys, env, notifier);
        entered = result.enterQso;
        return result.text;
    }
    void writeSaveFile(const std::string &name, const std::string &text)
    {
        std::ofstream(save.file(name), std::ios::binary) << text;
    }
    std::string lastMessage() const { return notifier.shown.empty() ? "" : notifier.shown.back().text; }

    test::TempDir save{"macros"};
    FunctionKeys keys{};
    MacroEnvironment env;
    RecordingNotifier notifier;
    bool entered = false;
};

TEST_F(MacroExpandTest, EveryCode)
{
    struct Case {
        const char *text;
        const char *expected;
    };
    const Case cases[] = {
        {"Caption|%@ DE %~ %#", "DL1ABC DE QQ0QQ 007"},
        {"%$ %r", "599  579"},
        {"%&", "579"}, // no exchange: the RST received without its leading blank
        {"100%%", "100%"},
        {"%A%M%Z%e", "\x01\r\x1A\x1B"},
        {"A%bB", "A B"},
        {"%d", "2403091405"},
        {"%t", "14:05"},
        {"%x", "09/03/2024"},
        {"%n", "Hans-Peter"},
        {"%q%?X", "X"},  // unknown codes give nothing
        {"END%", "END"}, // a lone "%" at the end is dropped
        {"no bar %~", "no bar QQ0QQ"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(expand(c.text), c.expected) << c.text;
    EXPECT_TRUE(notifier.shown.empty());

    env.fields.received = "14";
    env.fields.contestNumber = 1234;
    EXPECT_EQ(expand("%& %#"), "14 1234");
    env.fields.contestNumber = 0;
    EXPECT_EQ(expand("[%#]"), "[]") << "no number shown, none sent";

    EXPECT_EQ(expand("TU%l"), "TU");
    EXPECT_TRUE(entered);
    EXPECT_EQ(expand("TU"), "TU");
    EXPECT_FALSE(entered);

    for (const auto &[notes, name] : std::vector<std::pair<const char *, const char *>>{
             {"", ""}, {"1 hans", ""}, {"OTTO 73", "Otto"}, {"jean-", "Jean"}, {"anne-marie!", "Anne-Marie"}})
        EXPECT_EQ(FirstNameOf(notes), name) << notes;
}

TEST_F(MacroExpandTest, KeysWithinKeysAndRecursion)
{
    keys[1] = "B|two";          // key 2
    keys[8] = "N|nine %2";      // key 9, the first Ctrl key
    keys[15] = "S|sixteen";     // key 16
    EXPECT_EQ(expand("%2 %11 %18"), "two nine  %18") << "key 9 uses key 2 again";
    EXPECT_EQ(lastMessage(), "Recursion for register 2");
    notifier.shown.clear();

    // Key 2 may be expanded only once in one expansion.
    EXPECT_EQ(expand("%2 %18"), "two sixteen");
    EXPECT_EQ(expand("%11"), "nine two");
    keys[0] = "A|one";
    EXPECT_EQ(expand("%19", 3), "one9") << "%1 then a digit other than 1..8 is key 1";
    EXPECT_TRUE(notifier.shown.empty());

    notifier.shown.clear();
    EXPECT_EQ(expand("CQ %1 DE %~"), "CQ  DE %~") << "the rest is kept unexpanded";
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(notifier.shown[0].text, "Recursion for register 1");

    notifier.shown.clear();
    keys[1] = "B|two %1 more";
    EXPECT_EQ(expand("one %2 end %~"), "one two  more end %~") << "every level keeps its rest";
    EXPECT_EQ(lastMessage(), "Recursion for register 1");
}

TEST_F(MacroExpandTest, FilesFromTheSaveDirectory)
{
    writeSaveFile("brag.txt", "RIG IS FT1000\r\nANT IS DIPOLE %~\n");
    EXPECT_EQ(expand("%fbrag% K"), "RIG IS FT1000\rANT IS DIPOLE QQ0QQ K") << "lines joined, codes expanded";
    EXPECT_EQ(expand("%fBRAG.TXT%"), "RIG IS FT1000\rANT IS DIPOLE QQ0QQ") << "names found without regard to case";
    writeSaveFile("info.dat", "DAT");
    EXPECT_EQ(expand("%finfo.dat%"), "DAT") << "an extension of its own is kept";
    EXPECT_TRUE(notifier.shown.empty());

    EXPECT_EQ(expand("A%fmissing%B"), "AB");
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(notifier.shown[0].text, "File to send not found:\r" + save.file("missing.txt"));

    // A file that includes itself stops at a fixed depth instead of running forever.
    notifier.shown.clear();
    writeSaveFile("loop.txt", "X%floop%");
    EXPECT_EQ(expand("%floop%"), std::string(MacroFileDepth, 'X'));
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].text, "Files to send are nested too deeply:\r" + save.file("loop.txt"));

    // A file name without its closing "%" runs to the end of the text.
    notifier.shown.clear();
    EXPECT_EQ(expand("%fbrag"), "RIG IS FT1000\rANT IS DIPOLE QQ0QQ");
}

TEST_F(MacroExpandTest, TheDefaultKeys)
{
    keys[0] = "CQ|CQ CQ CQ DE %~ %~";
    keys[1] = "Reply|%@ DE %~ 599 %#";
    keys[2] = "TnxQRZ|%@ TNX %& QRZ %~";
    keys[3] = "QRZ|%~ QRZ";
    std::vector<std::string> results;
    for (int key = 1; key <= 4; ++key)
        results.push_back(MacroExpand(key, keys, env, notifier).text);
    EXPECT_EQ(results, (std::vector<std::string>{"CQ CQ CQ DE QQ0QQ QQ0QQ", "DL1ABC DE QQ0QQ 599 007",
                                                 "DL1ABC TNX 579 QRZ QQ0QQ", "QQ0QQ QRZ"}));
    EXPECT_EQ(MacroExpand(5, keys, env, notifier).text, "") << "an empty key";
    EXPECT_EQ(MacroExpand(17, keys, env, notifier).text, "") << "no such key";
}

} // namespace
} // namespace vellum
