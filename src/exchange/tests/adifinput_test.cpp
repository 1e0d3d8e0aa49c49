// The tag reader from bytes: the tag syntax, the value rules, damaged length
// counts, text encodings, and every truncation of a file.

#include "exchange/adifinput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellum {
namespace {

struct Read {
    std::string name;
    std::string value;
};

std::vector<Read> readAll(std::string_view bytes, AdifText text = AdifText::Detect)
{
    AdifInput input(bytes);
    input.text = text;
    AdifTag tag;
    std::vector<Read> tags;
    while (ReadAdifTag(input, tag))
        tags.push_back({tag.name, tag.value});
    return tags;
}

TEST(AdifTag, SyntaxOfNamesLengthsAndTypes)
{
    // Names in any case, with and without a type indicator, without a length,
    // and with text between the tags.
    auto tags = readAll("header text <qso_date:8:D>20010203<Call:5>dl1ab junk <EOR>\r\n<x:3:>abc<y:2:S!zz");
    ASSERT_EQ(tags.size(), 5u);
    EXPECT_EQ(tags[0].name, "QSO_DATE");
    EXPECT_EQ(tags[0].value, "20010203");
    EXPECT_EQ(tags[1].name, "CALL");
    EXPECT_EQ(tags[1].value, "dl1ab") << "values keep their case";
    EXPECT_EQ(tags[2].name, "EOR");
    EXPECT_EQ(tags[2].value, "");
    EXPECT_EQ(tags[3].value, "abc") << "a colon without a type indicator";
    EXPECT_EQ(tags[4].name, "Y");
    EXPECT_EQ(tags[4].value, "") << "a type indicator not followed by '>' leaves the tag without value";
}

TEST(AdifTag, ValueRules)
{
    auto tags = readAll("<COMMENT:12>line1\r\nline2<NAME:300>" + std::string(300, 'x') + "<A:4>a\nb\n");
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_EQ(tags[0].value, "line1|line2") << "CR dropped, LF made |, both counted";
    EXPECT_EQ(tags[1].value.size(), AdifValueCapacity) << "characters beyond the 255th are read and dropped";
    EXPECT_EQ(tags[2].value, "a|b|");

    // A "<" inside a name starts the tag afresh; CR and LF inside names are skipped.
    tags = readAll("<<CA\r\nLL:4>K1AB <not a tag <STATE:2>MA");
    ASSERT_EQ(tags.size(), 2u);
    EXPECT_EQ(tags[0].name, "CALL");
    EXPECT_EQ(tags[0].value, "K1AB");
    EXPECT_EQ(tags[1].name, "STATE");
    EXPECT_EQ(tags[1].value, "MA");
}

TEST(AdifTag, CtrlZEndsTheInput)
{
    auto tags = readAll("<CALL:4>K1AB\x1A<MODE:2>CW");
    ASSERT_EQ(tags.size(), 1u);
    tags = readAll("<COMMENT:10>abc\x1A" "defghij<MODE:2>CW");
    ASSERT_EQ(tags.size(), 1u);
    EXPECT_EQ(tags[0].value, "abc") << "Ctrl-Z ends a value and the file";
}

TEST(AdifTag, DamagedLengthCountsAreReported)
{
    // Too long: the value runs over the record's <EOR>; the reader says where it ends.
    std::string text = "<CALL:30>DL1ABC <MODE:2>CW <eor>\n<CALL:4>K1AB <EOR>";
    AdifInput input(text);
    AdifTag tag;
    ASSERT_TRUE(ReadAdifTag(input, tag));
    EXPECT_TRUE(tag.swallowedEor);
    EXPECT_EQ(tag.afterEor, text.find("<eor>") + 5);
    EXPECT_EQ(tag.offset, 0u);

    // Past the end of the file.
    AdifInput past("<CALL:9999>K1AB <EOR-less");
    ASSERT_TRUE(ReadAdifTag(past, tag));
    EXPECT_TRUE(tag.cutOff);
    EXPECT_EQ(tag.length, 9999u);
    EXPECT_TRUE(past.AtEnd());

    // Too short: more text follows the value at once.
    AdifInput shortCount("<CALL:4>DL1ABC <EOR>");
    ASSERT_TRUE(ReadAdifTag(shortCount, tag));
    EXPECT_TRUE(tag.runsOn);
    EXPECT_EQ(tag.value, "DL1A");

    // A length of absurd size saturates instead of wrapping.
    AdifInput huge("<CALL:99999999999999999999999999>K1AB");
    ASSERT_TRUE(ReadAdifTag(huge, tag));
    EXPECT_TRUE(tag.cutOff);
    EXPECT_EQ(tag.value, "K1AB");
}

TEST(AdifTag, Utf8IsConvertedAndCp1252Kept)
{
    // "Jürgen" in UTF-8 (7 bytes), "Jürgen" in cp1252 (6 bytes), and a Cyrillic name cp1252 lacks.
    auto tags = readAll("<NAME:7>J\xC3\xBCrgen <NAME:6>J\xFCrgen <NAME:8>\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD");
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_EQ(tags[0].value, "J\xFCrgen");
    EXPECT_EQ(tags[1].value, "J\xFCrgen") << "bytes that are no UTF-8 are cp1252 as they stand";
    EXPECT_EQ(tags[2].value, "????");
    AdifInput input("<NAME:8>\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD");
    AdifTag tag;
    ASSERT_TRUE(ReadAdifTag(input, tag));
    EXPECT_EQ(tag.replaced, 4);

    // Files of this program hold cp1252 even where it looks like UTF-8.
    tags = readAll("<NAME:3>\xC3\xBC!", AdifText::Cp1252);
    ASSERT_EQ(tags.size(), 1u);
    EXPECT_EQ(tags[0].value, "\xC3\xBC!");
}

TEST(AdifTag, LengthsCountingCharactersOfUtf8AreUnderstood)
{
    // "Jörg" is 4 characters but 5 bytes; some programs write the 4.
    auto tags = readAll("<NAME:4>J\xC3\xB6rg <QTH:6>Berlin");
    ASSERT_EQ(tags.size(), 2u);
    EXPECT_EQ(tags[0].value, "J\xF6rg");
    EXPECT_EQ(tags[1].value, "Berlin");
}

TEST(AdifTag, LongUtf8ValuesAreCutAtWholeCharacters)
{
    std::string name;
    for (int i = 0; i < 300; ++i)
        name += "\xC3\xA9"; // é
    auto tags = readAll("<NAME:" + std::to_string(name.size()) + ">" + name + " <EOR>");
    ASSERT_EQ(tags.size(), 2u);
    EXPECT_EQ(tags[0].value, std::string(255, '\xE9'));
}

TEST(AdifTag, EveryTruncationReadsSafely)
{
    std::string file = "Header <ADIF_VER:5>3.1.0 <EOH>\r\n<CALL:6>DL1ABC <QSO_DATE:8:D>20200101 "
                       "<NAME:7>J\xC3\xBCrgen <COMMENT:12>two\r\nlines <EOR>\r\n";
    for (std::size_t cut = 0; cut <= file.size(); ++cut) {
        std::string bytes = file.substr(0, cut); // owned, so the sanitizer sees reads past it
        AdifInput input(bytes);
        AdifTag tag;
        int count = 0;
        while (ReadAdifTag(input, tag))
            ASSERT_LT(++count, 10);
        EXPECT_TRUE(input.AtEnd());
    }
}

} // namespace
} // namespace vellum
