#include "logbook/logbooklist.h"

#include "logstore/qsodata.h"
#include "logstore/selection.h"
#include "testsupport/qsobuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace vellum {
namespace {

using test::QsoBuilder;

bool inOrder(const LogbookList &list, SortKey sort)
{
    QsoCompareFn compare = CompareOf(sort);
    for (std::int64_t i = 1; i < list.Count(); ++i)
        if (compare(list.At(i - 1), list.At(i)) > 0)
            return false;
    return true;
}

class LogbookListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char *calls[] = {"QQ5E", "QQ1A", "XX9Z", "QQ3C", "K1B"};
        for (int i = 0; i < 5; ++i)
            QsoBuilder(calls[i]).date(2020, 1, 1 + i).band(static_cast<std::uint8_t>(5 - i)).mode(4).group(
                static_cast<std::uint8_t>(i % 2)).addTo(log);
    }
    TQsoData log;
};

TEST_F(LogbookListTest, DateCallsignAndOtherOrders)
{
    LogbookList list;
    list.Build(log, SortKey::Date);
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list.At(0)->Call, "QQ5E");
    EXPECT_TRUE(inOrder(list, SortKey::Date));
    list.Build(log, SortKey::Call);
    EXPECT_EQ(list.At(0)->Call, "K1B");
    EXPECT_TRUE(inOrder(list, SortKey::Call));
    list.Build(log, SortKey::Band);
    EXPECT_EQ(list.At(0)->Band, 1);
    EXPECT_TRUE(inOrder(list, SortKey::Band));
    std::int32_t position = 0;
    log.SetSortKey(SortKey::Band, position); // now the log keeps that order itself
    LogbookList fromIndex;
    fromIndex.Build(log, SortKey::Band);
    EXPECT_EQ(fromIndex.Items(), list.Items());
}

TEST_F(LogbookListTest, OnlyWhatTheSelectionOrTheSearchAdmits)
{
    TSelection groupOne = AllQsosSelection();
    groupOne.GroupActive = 1;
    groupOne.SetGroup(1, true);
    log.CurSelection = groupOne;
    LogbookList list;
    list.Build(log, SortKey::Call);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(0)->Call, "QQ1A");
    EXPECT_EQ(list.At(1)->Call, "QQ3C");
    list.Build(log, SortKey::Date, [](const TQsoRec &q) { return q.Band > 3; });
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.RowOf(list.At(1)), 1);
    EXPECT_EQ(list.RowOf(log.Get(4)), -1);
}

TEST(LogbookListSort, ASmallListIsSortedInPlaceALargeOneBuiltAnew)
{
    TQsoData log;
    for (int i = 0; i < 10000; ++i)
        QsoBuilder("QQ" + std::to_string(i % 977) + "X").date(2020, 1, 1).time(i / 60 % 24, i % 60).band(
            static_cast<std::uint8_t>(1 + i % 14)).mode(4).group(i < 50 ? 1 : 0).addTo(log);
    auto groupOne = [](const TQsoRec &q) { return q.Group == 1; };
    LogbookList filtered;
    filtered.Build(log, SortKey::Date, groupOne);
    ASSERT_EQ(filtered.Count(), 50);
    filtered.ChangeSort(log, SortKey::Zone, groupOne);
    EXPECT_TRUE(filtered.SortedInPlace());
    filtered.ChangeSort(log, SortKey::Call, groupOne);
    EXPECT_TRUE(filtered.SortedInPlace());
    EXPECT_EQ(filtered.Count(), 50);
    EXPECT_TRUE(inOrder(filtered, SortKey::Call));

    LogbookList all;
    all.Build(log, SortKey::Date);
    all.ChangeSort(log, SortKey::Band);
    EXPECT_FALSE(all.SortedInPlace());
    EXPECT_EQ(all.Count(), 10000);
    EXPECT_TRUE(inOrder(all, SortKey::Band));
}

TEST(LogbookListSort, OrdersBuiltFromTheCallOrderListWhatSortingTheLogLists)
{
    TQsoData log;
    std::mt19937 random(3);
    const char *calls[] = {"K1ABC", "K1ABCDEFG", "K1ABCDEFGH", "W2X", "DL1ZZ", "DL1ZZ/P", "JA1A", "VK2AAA"};
    for (int i = 0; i < 4000; ++i)
        QsoBuilder(calls[random() % 8]).day(static_cast<std::uint16_t>(40000 + random() % 30)).seconds(i)
            .band(static_cast<std::uint8_t>(random() % 16)).mode(static_cast<std::uint8_t>(random() % 3))
            .with(&TQsoRec::Country, static_cast<std::int16_t>(static_cast<int>(random() % 400) - 1)) // -1: unknown
            .with(&TQsoRec::Zone, static_cast<std::uint8_t>(random() % 41))
            .with(&TQsoRec::State, static_cast<std::uint8_t>(random() % 52))
            .group(static_cast<std::uint8_t>(random() % 3)).addTo(log);
    auto groupTwo = [](const TQsoRec &q) { return q.Group == 2; };
    for (SortKey sort : {SortKey::Prefix, SortKey::Band, SortKey::Zone, SortKey::State}) {
        for (bool filtered : {false, true}) {
            std::vector<const TQsoRec *> expected;
            for (const TQsoRec *qso : log)
                if (!filtered || groupTwo(*qso))
                    expected.push_back(qso);
            QsoCompareFn compare = CompareOf(sort);
            std::stable_sort(expected.begin(), expected.end(),
                             [compare](const TQsoRec *a, const TQsoRec *b) { return compare(a, b) < 0; });
            LogbookList list;
            list.Build(log, sort, filtered ? LogbookList::Admits(groupTwo) : LogbookList::Admits());
            EXPECT_EQ(list.Items(), expected) << SortOrderTable[static_cast<std::size_t>(sort)].name << filtered;
        }
    }
}

} // namespace
} // namespace vellum
