#include "logstore/qsodata.h"

#include <gtest/gtest.h>

#include <random>

namespace vellum {
namespace {

/// Records what the log tells the program around it.
class RecordingObserver : public LogObserver {
public:
    int changes = 0;
    int countdownStops = 0;
    std::vector<DiskState> disk;
    void logChanged() override { ++changes; }
    void stopBackupCountdown() override { ++countdownStops; }
    void diskIndicator(DiskState state) override { disk.push_back(state); }
};

std::unique_ptr<TQsoRec> qso(const std::string &call, std::uint16_t date, std::int32_t time = 0, std::uint8_t band = 5,
                             std::uint8_t zone = 14)
{
    auto r = std::make_unique<TQsoRec>();
    r->Call = call;
    r->Date = date;
    r->Time = time;
    r->Band = band;
    r->Zone = zone;
    r->Mode = 4;
    return r;
}

template <typename List>
bool inOrder(const List &list, QsoCompareFn compare)
{
    for (std::int32_t i = 0; i + 1 < list.Count(); ++i)
        if (compare(list.Get(i), list.Get(i + 1)) > 0)
            return false;
    return true;
}

TEST(TQsoData, AddDeleteReplaceKeepEveryIndexAndTheChangeFlags)
{
    RecordingObserver observer;
    LogServices services;
    services.observer = &observer;
    TQsoData log(services);
    std::int32_t view = 0;
    log.SetSortKey(SortKey::Zone, view);
    ASSERT_NE(log.SortIndex, nullptr);

    std::mt19937 random(7);
    for (int i = 0; i < 500; ++i)
        log.AddQso(qso("K" + std::to_string(random() % 60), static_cast<std::uint16_t>(40000 + random() % 50),
                       static_cast<std::int32_t>(random() % 86400), static_cast<std::uint8_t>(1 + random() % 15),
                       static_cast<std::uint8_t>(1 + random() % 40)));
    EXPECT_TRUE(log.Modified);
    EXPECT_EQ(observer.changes, 500);
    EXPECT_EQ(observer.disk.back(), LogObserver::DiskState::ModifiedUnsaved);

    for (int i = 0; i < 200; ++i) {
        TQsoRec *victim = log.Get(static_cast<std::int32_t>(random() % static_cast<unsigned>(log.Count())));
        if (i % 2) {
            log.DeleteQso(victim);
        } else {
            TQsoRec edited = *victim;
            edited.Call = "W" + std::to_string(random() % 60);
            edited.Zone = static_cast<std::uint8_t>(random() % 40);
            TQsoRec *fresh = log.ReplaceQso(edited, victim);
            EXPECT_EQ(fresh->Call, edited.Call);
        }
    }
    EXPECT_EQ(log.Count(), 400);
    EXPECT_EQ(log.ByCall->Count(), 400);
    EXPECT_EQ(log.SortIndex->Count(), 400);
    EXPECT_TRUE(inOrder(log, CompareDateOrder));
    EXPECT_TRUE(inOrder(*log.ByCall, CompareCallOrder));
    EXPECT_TRUE(inOrder(*log.SortIndex, CompareZoneOrder));
    for (TQsoRec *rec : *log.ByCall)
        ASSERT_GE(log.PositionOf(rec), 0) << "every indexed record is owned by the log";
}

TEST(TQsoData, CallWalkFindsTheCallsQsosNewestFirst)
{
    TQsoData log;
    log.AddQso(qso("DL1AB", 40000));
    log.AddQso(qso("DL1ABC", 40001));
    log.AddQso(qso("DL1ABC", 40005));
    log.AddQso(qso("DL1ABC", 40003));
    log.AddQso(qso("DL1ABD", 40002));
    std::int32_t end = log.EndOfCall("DL1ABC");
    std::vector<int> dates;
    for (std::int32_t i = end - 1; i >= 0 && log.ByCall->Get(i)->Call == "DL1ABC"; --i)
        dates.push_back(log.ByCall->Get(i)->Date);
    EXPECT_EQ(dates, (std::vector<int>{40005, 40003, 40001}));
    EXPECT_TRUE(log.HasCall("DL1AB"));
    EXPECT_FALSE(log.HasCall("DL1A"));

    log.Notes.SetNote("DL1AB", "op Al");
    log.Notes.SetNote("DL1XX", "gone");
    log.DropNoteIfUnused("DL1AB");
    log.DropNoteIfUnused("DL1XX");
    EXPECT_EQ(log.Notes.NoteOf("DL1AB"), "op Al");
    EXPECT_EQ(log.Notes.NoteOf("DL1XX"), "");
}

TEST(TQsoData, SetSortKeyFollowsTheShownQso)
{
    TQsoData log;
    for (int i = 0; i < 30; ++i)
        log.AddQso(qso("K" + std::to_string(i), static_cast<std::uint16_t>(40000 + i), 0, 5,
                       static_cast<std::uint8_t>(30 - i)));
    std::int32_t view = 10;
    const TQsoRec *shown = log.Get(10);
    log.SetSortKey(SortKey::Zone, view);
    EXPECT_EQ(log.ViewIndex, log.SortIndex);
    EXPECT_EQ(log.ViewIndex->Get(view), shown);
    TBAI<TQsoRec> *index = log.SortIndex;
    log.SetSortKey(SortKey::Zone, view);
    EXPECT_EQ(log.SortIndex, index) << "the order in force changes nothing";
    log.SetSortKey(SortKey::Call, view);
    EXPECT_EQ(log.SortIndex, nullptr);
    EXPECT_EQ(log.ViewIndex, log.ByCall);
    EXPECT_EQ(log.ViewIndex->Get(view), shown);
    log.SetSortKey(SortKey::Band, view);
    ASSERT_NE(log.SortIndex, nullptr);
    EXPECT_TRUE(inOrder(*log.SortIndex, CompareBandOrder));
    EXPECT_EQ(log.ViewIndex->Get(view), shown);
    log.SetSortKey(SortKey::Date, view);
    EXPECT_EQ(log.ViewIndex, static_cast<TBAI<TQsoRec> *>(&log));
    EXPECT_EQ(log.Get(view), shown);
}

TEST(QsoOrders, UnknownTimeSortsFirstAndOrdersCompareTheirComponents)
{
    auto a = qso("K1", 40000, -1);
    auto b = qso("K1", 40000, 0);
    EXPECT_LT(CompareDateOrder(a.get(), b.get()), 0);
    auto c = qso("AA", 40001, 0, 5, 3);
    auto d = qso("ZZ", 40000, 0, 5, 3);
    c->Country = 10;
    d->Country = 2;
    EXPECT_GT(CompareBandOrder(c.get(), d.get()), 0) << "band equal: country decides";
    EXPECT_GT(ComparePrefixOrder(c.get(), d.get()), 0);
    d->Country = 10;
    EXPECT_LT(CompareBandOrder(c.get(), d.get()), 0) << "then the call order";
    c->State = 1;
    c->County = 5;
    d->State = 1;
    d->County = 5;
    EXPECT_EQ(CompareCountyOrder(c.get(), d.get()), 0);
    EXPECT_EQ(ComparePrimaryKey(SortKey::Zone, c.get(), d.get()), 0);
    EXPECT_NE(ComparePrimaryKey(SortKey::Call, c.get(), d.get()), 0);
}

TEST(TNotes, NotesAreJoinedReplacedAndNamed)
{
    TNotes notes;
    int changes = 0;
    notes.onChange = [&] { ++changes; };
    notes.AddNote("W1AW", "op John");
    notes.AddNote("W1AW", "QSL via buro");
    EXPECT_EQ(notes.NoteOf("W1AW"), "op John/QSL via buro");
    notes.SetNote("K2XX", "BOB-AL PORTABLE");
    EXPECT_EQ(notes.NameFromNote("K2XX"), "Bob-Al");
    notes.SetNote("K2XX", "bob- x");
    EXPECT_EQ(notes.NameFromNote("K2XX"), "Bob");
    notes.SetNote("K2XX", "73 bob");
    EXPECT_EQ(notes.NameFromNote("K2XX"), "");
    notes.SetNote("K2XX", "");
    EXPECT_EQ(notes.IndexOfCall("K2XX"), -1);
    EXPECT_EQ(changes, 6);
    notes.AddNote("W1AW", std::string(300, 'x'));
    EXPECT_EQ(notes.NoteOf("W1AW").size(), 255u) << "notes stay within their length byte";
}

} // namespace
} // namespace vellum

namespace vellum {
namespace {

TEST(QsoOrders, PackedSortsGiveTheOrdersOfTheComparisons)
{
    std::mt19937 random(11);
    const char *calls[] = {"AB", "AB\0X", "ABCDEFGH", "ABCDEFGHI", "ABCDEFGHIJ", "ABCDEFGH/P", "K1", "K1/P", "", "Z"};
    std::vector<std::unique_ptr<TQsoRec>> owned;
    for (int i = 0; i < 3000; ++i) {
        auto r = std::make_unique<TQsoRec>();
        std::string call(calls[random() % 10]);
        if (call == "AB")
            call = random() % 2 ? std::string("AB\0X", 4) : "AB";
        r->Call = call;
        r->Date = static_cast<std::uint16_t>(random() % 4 == 0 ? 65535 : random() % 3);
        r->Time = static_cast<std::int32_t>(random() % 3) - 1;
        r->Band = static_cast<std::uint8_t>(random() % 3);
        r->Mode = static_cast<std::uint8_t>(random() % 2);
        owned.push_back(std::move(r));
    }
    using Fast = void (*)(TQsoRec **, std::int32_t);
    for (auto [fast, compare] : {std::pair<Fast, QsoCompareFn>{SortByCallOrder, CompareCallOrder},
                                 std::pair<Fast, QsoCompareFn>{SortByDateOrder, CompareDateOrder}}) {
        std::vector<TQsoRec *> items;
        for (auto &r : owned)
            items.push_back(r.get());
        fast(items.data(), static_cast<std::int32_t>(items.size()));
        for (std::size_t i = 0; i + 1 < items.size(); ++i)
            ASSERT_LE(compare(items[i], items[i + 1]), 0) << i;
        std::sort(items.begin(), items.end());
        EXPECT_EQ(std::unique(items.begin(), items.end()), items.end()) << "every record kept once";
    }
}

} // namespace
} // namespace vellum
