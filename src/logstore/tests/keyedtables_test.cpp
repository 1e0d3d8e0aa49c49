#include "logstore/keyedtables.h"

#include "logstore/compare.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vellum {
namespace {

std::vector<std::uint8_t> record(const std::string &key, std::uint8_t tag, std::size_t size = 8)
{
    std::vector<std::uint8_t> r(size, 0);
    r[0] = static_cast<std::uint8_t>(key.size());
    std::memcpy(r.data() + 1, key.data(), key.size());
    r[size - 1] = tag;
    return r;
}

TEST(Compare, CaseBlindFoldsOnlyLetters)
{
    EXPECT_EQ(CompareNoCase("dl1abc", "DL1ABC"), 0);
    EXPECT_LT(CompareNoCase("DL1AB", "DL1ABC"), 0);
    EXPECT_GT(CompareNoCase("_", "Z"), 0);
    EXPECT_GT(CompareNoCase("_", "z"), 0);
    EXPECT_GT(CompareExact("dl1abc", "DL1ABC"), 0);
    EXPECT_GT(CompareExact("\xE9", "z"), 0) << "bytes compare unsigned";
    EXPECT_EQ(CompareExact("", ""), 0);
}

TEST(TOneIndex, LowerBoundSearchAndInsertion)
{
    TOneIndex table(8);
    std::int32_t position = -1;
    EXPECT_FALSE(table.Search("K", position));
    EXPECT_EQ(position, 0);

    for (auto tag : {1, 2, 3})
        table.AddCopy(record("DL", static_cast<std::uint8_t>(tag)).data());
    table.AddCopy(record("AA", 0).data());
    table.AddCopy(record("ZZ", 0).data());
    ASSERT_TRUE(table.Search("dl", position));
    EXPECT_EQ(position, 1) << "the first of the equal keys";
    EXPECT_EQ(table.Get(1)[7], 3) << "the newest equal record was inserted first";
    EXPECT_EQ(table.IndexOfKey("ZZ"), 4);
    EXPECT_EQ(table.IndexOfKey("ZY"), -1);
    EXPECT_FALSE(table.Search("ZZZ", position));
    EXPECT_EQ(position, 5);
    EXPECT_EQ(table.KeyString(0), "AA");

    std::uint8_t out[8];
    table.CopyOut(4, out);
    EXPECT_EQ(std::memcmp(out, record("ZZ", 0).data(), 8), 0);
    table.DeleteAt(0);
    EXPECT_EQ(table.Count(), 4);
}

TEST(TOneIndex, StreamRoundTripAndDamagedStreams)
{
    TOneIndex table(8);
    for (const char *key : {"A", "B", "C"})
        table.AddCopy(record(key, 1).data());
    TMemoryStream out;
    table.SaveToStream(out);
    ASSERT_EQ(out.Bytes().size(), 2u + 4u + 3u * 8u);

    TMemoryStream in(out.Bytes());
    TOneIndex copy(8);
    copy.LoadFromStream(in, false);
    EXPECT_EQ(copy.Count(), 3);
    EXPECT_TRUE(in.Eof());

    // Old 2-byte counts.
    std::vector<std::uint8_t> old = {8, 0, 1, 0};
    auto r = record("Q", 5);
    old.insert(old.end(), r.begin(), r.end());
    TMemoryStream oldIn(old);
    TOneIndex oldTable(8);
    oldTable.LoadFromStream(oldIn, true);
    ASSERT_EQ(oldTable.Count(), 1);

    // A record size other than the layout's, and a count larger than the bytes left.
    auto wrongSize = out.Bytes();
    wrongSize[0] = 9;
    TMemoryStream bad1(wrongSize);
    TOneIndex t1(8);
    EXPECT_THROW(t1.LoadFromStream(bad1, false), EReadError);
    auto hugeCount = out.Bytes();
    hugeCount[5] = 0x7F;
    TMemoryStream bad2(hugeCount);
    TOneIndex t2(8);
    EXPECT_THROW(t2.LoadFromStream(bad2, false), EReadError);

    // Every truncation fails cleanly.
    for (std::size_t n = 0; n < out.Bytes().size(); ++n) {
        TMemoryStream cut(std::span<const std::uint8_t>(out.Bytes().data(), n));
        TOneIndex t(8);
        EXPECT_ANY_THROW(t.LoadFromStream(cut, false)) << n;
    }
}

TEST(TOneIndex, RecordsOutOfOrderAreSortedAfterReading)
{
    std::vector<std::uint8_t> bytes = {8, 0, 3, 0, 0, 0};
    for (const char *key : {"C", "A", "B"}) {
        auto r = record(key, 0);
        bytes.insert(bytes.end(), r.begin(), r.end());
    }
    TMemoryStream in(bytes);
    TOneIndex table(8);
    table.LoadFromStream(in, false);
    EXPECT_EQ(table.KeyString(0), "A");
    EXPECT_EQ(table.KeyString(2), "C");
    EXPECT_EQ(table.IndexOfKey("B"), 1);
}

TEST(TTwoIndex, KeepsBothOrderingsInStep)
{
    TTwoIndex table(4);
    auto add = [&](const std::string &key, const std::string &name) {
        auto fixed = record(key, 0, 4);
        table.AddRecord(table.MakeRecord(fixed.data(), name).data());
    };
    add("DL", "Germany");
    add("F", "France");
    add("K", "United States");
    add("JA", "Japan");
    EXPECT_EQ(table.KeyString(0), "DL");
    EXPECT_EQ(table.TailStringBySecond(0), "France");
    EXPECT_EQ(table.KeyBySecond(0), "F");
    EXPECT_EQ(table.IndexOfSecond("japan"), 2);
    std::int32_t position = 0;
    EXPECT_FALSE(table.SearchSecond("Italy", position));
    EXPECT_EQ(position, 2);

    table.DeleteAt(table.IndexOfKey("F"));
    EXPECT_EQ(table.Second.Count(), 3);
    EXPECT_EQ(table.TailStringBySecond(0), "Germany");

    TMemoryStream out;
    table.SaveToStream(out);
    TMemoryStream in(out.Bytes());
    TTwoIndex copy(4);
    copy.LoadFromStream(in, false);
    ASSERT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.TailStringBySecond(2), "United States");
    TMemoryStream again;
    copy.SaveToStream(again);
    EXPECT_EQ(again.Bytes(), out.Bytes());

    // A record length that disagrees with its tail length is a read error.
    auto damaged = out.Bytes();
    damaged[6] += 1;
    TMemoryStream bad(damaged);
    TTwoIndex t(4);
    EXPECT_THROW(t.LoadFromStream(bad, false), EReadError);
}

TEST(TOneIndexTail, LinesRoundTripThroughTheTail)
{
    TOneIndexTail table(4);
    auto fixed = record("W1", 0, 4);
    std::int32_t at = table.AddLines(fixed.data(), {"John Doe", "Box 1"});
    EXPECT_EQ(table.TailString(at), std::string("John Doe\xFF" "Box 1"));
    std::vector<std::string> lines;
    table.GetLines(at, lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"John Doe", "Box 1"}));

    auto fixed2 = record("W2", 0, 4);
    at = table.AddLines(fixed2.data(), {});
    EXPECT_EQ(table.TailString(at), "");
    table.GetLines(at, lines);
    EXPECT_TRUE(lines.empty());

    // Lines longer than the tail holds are cut to 255 characters.
    auto fixed3 = record("W3", 0, 4);
    at = table.AddLines(fixed3.data(), {std::string(200, 'a'), std::string(200, 'b')});
    EXPECT_EQ(table.TailString(at).size(), 254u);
}

} // namespace
} // namespace vellum

namespace vellum {
namespace {

TEST(TOneIndex, ADamagedKeyLengthIsReadWithinItsRecord)
{
    std::vector<std::uint8_t> bytes = {4, 0, 2, 0, 0, 0, 200, 'A', 'B', 'C', 2, 'Z', 'Z', 0};
    TMemoryStream in(bytes);
    TOneIndex table(4);
    table.LoadFromStream(in, false);
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(table.KeyString(0), "ABC");
    EXPECT_EQ(table.IndexOfKey("ABC"), 0);
}

} // namespace
} // namespace vellum
