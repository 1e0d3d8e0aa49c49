#include "logstore/lists.h"

#include <gtest/gtest.h>

#include <vector>

namespace vellum {
namespace {

struct Item {
    int key = 0;
    int tag = 0;
    static inline int freed = 0;
    ~Item() { ++freed; }
};

int byKey(const Item *a, const Item *b) { return a->key < b->key ? -1 : (a->key > b->key ? 1 : 0); }
int byTag(const Item *a, const Item *b) { return a->tag < b->tag ? -1 : (a->tag > b->tag ? 1 : 0); }

TEST(TMyList, GrowsInDocumentedStepsAndChecksBounds)
{
    TMyList<Item> list;
    std::vector<int> capacities;
    Item item;
    for (int i = 0; i < 96; ++i) {
        list.Add(&item);
        if (capacities.empty() || capacities.back() != list.Capacity())
            capacities.push_back(list.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118}));

    try {
        list.SetCapacity(10);
        FAIL() << "capacity below the count must be refused";
    } catch (const EListError &e) {
        EXPECT_STREQ(e.what(), "List capacity out of bounds (10)");
    }
    EXPECT_EQ(list.Count(), 96);
    EXPECT_THROW(list.SetCount(-1), EListError);
    EXPECT_THROW(list.SetCapacity(134217728), EListError);

    list.SetCount(100);
    EXPECT_EQ(list.Get(99), nullptr);
    list.Insert(0, nullptr);
    EXPECT_EQ(list.Get(1), &item);
    list.Delete(0);
    EXPECT_EQ(list.IndexOf(&item), 0);
    Item other;
    EXPECT_EQ(list.IndexOf(&other), -1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 0);
    Item::freed = 0;
}

TEST(TBAI, FindReportsInsertPositionsAndInsertsBeforeTheEqualItemMet)
{
    TBAI<Item> list(byKey);
    Item key{5};
    std::int32_t position = -1;
    EXPECT_FALSE(list.Find(&key, position));
    EXPECT_EQ(position, 0);

    std::vector<Item> items(7);
    int keys[] = {1, 3, 5, 5, 5, 7, 9};
    for (int i = 0; i < 7; ++i) {
        items[i].key = keys[i];
        items[i].tag = i;
        list.AddItem(&items[i]);
    }
    Item above{100};
    EXPECT_FALSE(list.Find(&above, position));
    EXPECT_EQ(position, 7);
    ASSERT_TRUE(list.Find(&key, position));
    EXPECT_EQ(list.Get(position)->key, 5);

    // The bisection meets the middle 5 first: the new item goes before it, inside the run.
    Item fresh{5, 99};
    std::int32_t at = list.AddItem(&fresh);
    EXPECT_EQ(at, position);
    EXPECT_EQ(list.Get(at), &fresh);
    EXPECT_EQ(list.PositionOf(&fresh), at);
    for (int i = 0; i + 1 < list.Count(); ++i)
        EXPECT_LE(list.Get(i)->key, list.Get(i + 1)->key);
    Item::freed = 0;
}

TEST(TBAI, SortingStateFollowsCompareAndSortedFlag)
{
    TBAI<Item> list(nullptr);
    EXPECT_FALSE(list.Sorted());
    std::vector<Item> items(20);
    for (int i = 0; i < 20; ++i) {
        items[i].key = (i * 7) % 20;
        list.AddItem(&items[i]);
    }
    list.SetCompare(byKey);
    EXPECT_FALSE(list.Sorted());
    list.SetSorted(true);
    EXPECT_TRUE(list.Sorted());
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(list.Get(i)->key, i);
    list.SetCompare(byTag);
    EXPECT_FALSE(list.Sorted()) << "a different order makes the list unsorted";
    Item::freed = 0;
}

class Owner : public TBRSorted<Item> {
public:
    Owner() : TBRSorted<Item>(byKey) {}
};

TEST(TBRSorted, KeepsIndexesInStepAndFreesEachRecordOnce)
{
    int sortsShown = 0;
    SetSortIndicatorHook([&](bool begin) { sortsShown += begin ? 1 : 0; });
    Item::freed = 0;
    {
        Owner owner;
        owner.SetCapacityAll(10000);
        owner.BeginBulk(false);
        for (int i = 0; i < 10000; ++i)
            owner.AddRec(new Item{(i * 7919) % 10000, 10000 - i});
        owner.EndBulk(false);
        EXPECT_EQ(sortsShown, 1) << "sorting more than 4999 items shows the indicator";

        TBAI<Item> *byTagIndex = owner.AddIndex(byTag);
        EXPECT_EQ(sortsShown, 2);
        ASSERT_EQ(byTagIndex->Count(), 10000);
        for (int i = 0; i + 1 < 10000; ++i) {
            ASSERT_LT(owner.Get(i)->key, owner.Get(i + 1)->key);
            ASSERT_LT(byTagIndex->Get(i)->tag, byTagIndex->Get(i + 1)->tag);
        }

        Item *victim = owner.Get(1234);
        owner.DeleteRec(1234);
        EXPECT_EQ(Item::freed, 1);
        EXPECT_EQ(owner.Count(), 9999);
        EXPECT_EQ(byTagIndex->IndexOf(victim), -1);
        EXPECT_EQ(byTagIndex->Count(), 9999);

        owner.RemoveIndex(byTagIndex);
        EXPECT_TRUE(owner.Indexes().empty());
    }
    EXPECT_EQ(Item::freed, 10000);
    SetSortIndicatorHook(nullptr);
}

TEST(TBRSorted, DeleteFindsTheRightRecordAmongEqualKeys)
{
    Owner owner;
    TBAI<Item> *index = owner.AddIndex(byTag);
    std::vector<Item *> items;
    for (int i = 0; i < 50; ++i) {
        items.push_back(new Item{i % 3, i % 2});
        owner.AddRec(items.back());
    }
    Item::freed = 0;
    Item *victim = items[25];
    owner.DeleteRec(owner.PositionOf(victim));
    EXPECT_EQ(Item::freed, 1);
    EXPECT_EQ(owner.IndexOf(victim), -1);
    EXPECT_EQ(index->Count(), 49);
    for (Item *item : *index)
        EXPECT_NE(item, victim);
}

} // namespace
} // namespace vellum
