#include "logstore/qsodata.h"
#include "testsupport/qsobuilder.h"

#include <gtest/gtest.h>

#include <random>

namespace vellum {
namespace {

/// Records what the log tells the program around it.
class RecordingObserver : public LogObserver {
public:
    int changes = 0;
    int countdownStops = 0;
    int savingQuestions = 0;
    int reloads = 0;
    bool needsSaving = false;
    std::vector<DiskState> disk;
    void logChanged() override { ++changes; }
    void stopBackupCountdown() override { ++countdownStops; }
    void diskIndicator(DiskState state) override { disk.push_back(state); }
    bool countryDataNeedsSaving() override
    {
        ++savingQuestions;
        return needsSaving;
    }
    void reloadCountryData() override { ++reloads; }
};

/// Counts the QSOs the log hands to the award model.
class CountingAwards : public AwardHooks {
public:
    int added = 0;
    int removed = 0;
    void AddQsoToAwards(TQsoData &, const TQsoRec &) override { ++added; }
    void RemoveQsoFromAwards(TQsoData &, const TQsoRec &) override { ++removed; }
};

LogServices observedBy(LogObserver &observer, AwardHooks *awards = nullptr)
{
    LogServices services;
    services.observer = &observer;
    services.awards = awards;
    return services;
}

std::unique_ptr<TQsoRec> qso(const std::string &call, std::uint16_t date, std::int32_t time = 0, std::uint8_t band = 5,
                             std::uint8_t zone = 14)
{
    return test::QsoBuilder(call).day(date).seconds(time).band(band).mode(4).with(&TQsoRec::Zone, zone).make();
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
    TQsoData log(observedBy(observer));
    std::int32_t view = 0;
    log.SetSortKey(SortKey::Zone, view);
    ASSERT_EQ(log.CurrentSortKey(), SortKey::Zone);

    std::mt19937 random(7);
    for (int i = 0; i < 500; ++i)
        log.AddQso(qso("K" + std::to_string(random() % 60), static_cast<std::uint16_t>(40000 + random() % 50),
                       static_cast<std::int32_t>(random() % 86400), static_cast<std::uint8_t>(1 + random() % 15),
                       static_cast<std::uint8_t>(1 + random() % 40)));
    EXPECT_TRUE(log.IsModified());
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
    EXPECT_EQ(log.ByCall().Count(), 400);
    EXPECT_EQ(log.ViewIndex().Count(), 400);
    EXPECT_TRUE(inOrder(log, CompareDateOrder));
    EXPECT_TRUE(inOrder(log.ByCall(), CompareCallOrder));
    EXPECT_TRUE(inOrder(log.ViewIndex(), CompareZoneOrder));
    for (TQsoRec *rec : log.ByCall())
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
    for (std::int32_t i = end - 1; i >= 0 && log.ByCall().Get(i)->Call == "DL1ABC"; --i)
        dates.push_back(log.ByCall().Get(i)->Date);
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
    EXPECT_EQ(log.CurrentSortKey(), SortKey::Zone);
    EXPECT_TRUE(inOrder(log.ViewIndex(), CompareZoneOrder));
    EXPECT_EQ(log.ViewIndex().Get(view), shown);
    const TBAI<TQsoRec> *index = &log.ViewIndex();
    log.SetSortKey(SortKey::Zone, view);
    EXPECT_EQ(&log.ViewIndex(), index) << "the order in force changes nothing";
    log.SetSortKey(SortKey::Call, view);
    EXPECT_EQ(&log.ViewIndex(), &log.ByCall());
    EXPECT_EQ(log.ViewIndex().Get(view), shown);
    log.SetSortKey(SortKey::Band, view);
    EXPECT_TRUE(inOrder(log.ViewIndex(), CompareBandOrder));
    EXPECT_EQ(log.ViewIndex().Get(view), shown);
    log.SetSortKey(SortKey::Date, view);
    EXPECT_EQ(log.ViewIndex().Count(), 30);
    EXPECT_EQ(log.ViewIndex().Get(view), shown);
    EXPECT_EQ(log.Get(view), shown) << "the Date order browses the master list";
}

std::unique_ptr<TQsoRec> queued(const std::string &call, std::uint16_t number)
{
    auto r = qso(call, static_cast<std::uint16_t>(40000 + number % 1000));
    r->PrtSeqNr = number;
    return r;
}

std::vector<std::uint16_t> labelNumbersInViewOrder(const TQsoData &log)
{
    std::vector<std::uint16_t> numbers;
    for (const TQsoRec *rec : log.ViewIndex())
        numbers.push_back(rec->PrtSeqNr);
    return numbers;
}

TEST(TQsoData, QueueForLabelCountsUpInsertsBehindAndStopsAtTheLastNumber)
{
    TQsoData fresh;
    EXPECT_EQ(fresh.QueueForLabel(), 1);
    EXPECT_EQ(fresh.QueueForLabel(), 2);
    EXPECT_EQ(fresh.HighestPrtSeqNr(), 2);

    // Queued QSOs 1 to 3 and one that is not queued, browsed in label order.
    TQsoData log;
    for (const char *call : {"K1A", "K1B", "K1C"})
        log.AddQso(queued(call, log.QueueForLabel()));
    log.AddQso(queued("K1X", 0));
    std::int32_t view = 0;
    log.SetSortKey(SortKey::SeqPrtNr, view);
    log.MarkSaved();
    EXPECT_EQ(log.QueueForLabel(1), 2) << "behind number 1";
    EXPECT_EQ(log.HighestPrtSeqNr(), 4);
    EXPECT_TRUE(log.IsModified()) << "numbers of queued QSOs changed";
    EXPECT_EQ(log.ByCall().Get(log.EndOfCall("K1B") - 1)->PrtSeqNr, 3);
    EXPECT_EQ(log.ByCall().Get(log.EndOfCall("K1X") - 1)->PrtSeqNr, 0) << "not queued stays so";
    log.AddQso(queued("K1D", 2));
    EXPECT_EQ(labelNumbersInViewOrder(log), (std::vector<std::uint16_t>{0, 1, 2, 3, 4}));

    log.MarkSaved();
    EXPECT_EQ(log.QueueForLabel(4), 5) << "behind the highest is the next number";
    EXPECT_EQ(log.QueueForLabel(70), 6) << "a number above the highest renumbers nothing";
    EXPECT_FALSE(log.IsModified());
    EXPECT_EQ(labelNumbersInViewOrder(log), (std::vector<std::uint16_t>{0, 1, 2, 3, 4}));

    // The numbers are 16 bits: the queue is full at 65535 and 0 means "not queued".
    TQsoData full;
    full.BeginBulkAppend();
    full.AppendQso(queued("K2A", 100));
    full.AppendQso(queued("K2B", 65534));
    full.EndBulkAppend();
    ASSERT_EQ(full.HighestPrtSeqNr(), 65534);
    EXPECT_EQ(full.QueueForLabel(100), 101);
    EXPECT_EQ(full.ByCall().Get(1)->PrtSeqNr, 65535);
    EXPECT_EQ(full.HighestPrtSeqNr(), 65535);
    EXPECT_EQ(full.QueueForLabel(), 0);
    EXPECT_EQ(full.QueueForLabel(100), 0);
    EXPECT_EQ(full.ByCall().Get(1)->PrtSeqNr, 65535) << "no number wraps to 0";
    EXPECT_EQ(full.HighestPrtSeqNr(), 65535);
}

TEST(TQsoData, EveryObserverIsToldAndAskedUntilOneAnswers)
{
    RecordingObserver first, second, third;
    TQsoData log(observedBy(first));
    log.AddObserver(second);
    log.AddObserver(second);
    log.AddQso(qso("K1A", 40000));
    EXPECT_EQ(first.changes, 1);
    EXPECT_EQ(second.changes, 1) << "an observer added twice is told once";

    second.needsSaving = true;
    log.LogFileName = "unsaved.vll";
    log.CloseLog(false);
    EXPECT_EQ(first.savingQuestions, 1);
    EXPECT_EQ(second.savingQuestions, 1);
    EXPECT_EQ(first.reloads, 1) << "every observer reloads what it holds";
    EXPECT_EQ(second.reloads, 1);
    first.needsSaving = true;
    EXPECT_TRUE(log.observer().countryDataNeedsSaving());
    EXPECT_EQ(second.savingQuestions, 1) << "the first answer ends the asking";

    // An observer that leaves while it is told: the others are still told.
    class Leaving : public LogObserver {
    public:
        TQsoData *log = nullptr;
        int changes = 0;
        void logChanged() override
        {
            ++changes;
            log->RemoveObserver(*this);
        }
    } leaving;
    leaving.log = &log;
    log.RemoveObserver(second);
    log.AddObserver(leaving);
    log.AddObserver(third);
    log.AddQso(qso("K1B", 40001));
    log.AddQso(qso("K1C", 40002));
    EXPECT_EQ(leaving.changes, 1);
    EXPECT_EQ(third.changes, 2);
    EXPECT_EQ(first.changes, 3);
    EXPECT_EQ(second.changes, 1) << "removed";
    log.RemoveObserver(first);
    log.AddQso(qso("K1D", 40003));
    EXPECT_EQ(first.changes, 3) << "the observer of the services can leave too";
    EXPECT_EQ(third.changes, 3);
}

TEST(TQsoData, SavedAndAwardTableStates)
{
    RecordingObserver observer;
    CountingAwards awards;
    TQsoData log(observedBy(observer, &awards));
    log.SetModified();
    log.MarkOutOfDate();
    log.MarkSaved();
    EXPECT_FALSE(log.IsModified());
    EXPECT_FALSE(log.IsOutOfDate());
    EXPECT_EQ(observer.disk.back(), LogObserver::DiskState::Clear);
    log.SetModified();
    EXPECT_EQ(observer.disk.back(), LogObserver::DiskState::ModifiedUnsaved) << "marked again after a save";

    // Valid tables follow every QSO added or deleted; invalid ones wait for a rebuild.
    EXPECT_FALSE(log.AwardTablesValid());
    log.AddQso(qso("K1A", 40000));
    EXPECT_EQ(awards.added, 0);
    log.MarkAwardTablesValid();
    TQsoRec *b = nullptr;
    {
        auto rec = qso("K1B", 40001);
        b = rec.get();
        log.AddQso(std::move(rec));
    }
    log.DeleteQso(log.Get(0));
    EXPECT_EQ(awards.added, 1);
    EXPECT_EQ(awards.removed, 1);
    log.InvalidateAwardTables();
    EXPECT_FALSE(log.AwardTablesValid());
    log.ReplaceQso(*b, b);
    EXPECT_EQ(awards.added, 1);
    EXPECT_EQ(awards.removed, 1);
}

TEST(TQsoData, BulkAppendSortsOnceAndChangesInPlaceSortAgain)
{
    RecordingObserver observer;
    TQsoData log(observedBy(observer));
    std::int32_t view = 0;
    log.SetSortKey(SortKey::Zone, view);
    log.BeginBulkAppend(3);
    log.AppendQso(qso("K3C", 40002, 0, 5, 9));
    log.AppendQso(qso("K1A", 40009, 0, 5, 3));
    log.AppendQso(qso("K2B", 40001, 0, 5, 5));
    log.EndBulkAppend();
    EXPECT_EQ(observer.changes, 0) << "the caller reports the bulk change";
    log.AddQso(qso("K0Z", 40005, 0, 5, 4));
    EXPECT_TRUE(inOrder(log, CompareDateOrder));
    EXPECT_TRUE(inOrder(log.ByCall(), CompareCallOrder));
    EXPECT_TRUE(inOrder(log.ViewIndex(), CompareZoneOrder));
    EXPECT_EQ(log.ViewIndex().Count(), 4);

    log.MarkSaved();
    log.MarkAwardTablesValid();
    EXPECT_EQ(log.ChangeQsos([](TQsoRec &) { return false; }), 0);
    EXPECT_FALSE(log.IsModified()) << "nothing changed";
    EXPECT_EQ(log.ChangeQsos([](TQsoRec &rec) {
        if (rec.Call != "K1A")
            return false;
        rec.Call = "W9A";
        rec.Zone = 40;
        rec.Date = 39000;
        return true;
    }), 1);
    EXPECT_TRUE(inOrder(log, CompareDateOrder));
    EXPECT_TRUE(inOrder(log.ByCall(), CompareCallOrder));
    EXPECT_TRUE(inOrder(log.ViewIndex(), CompareZoneOrder));
    EXPECT_EQ(log.Get(0)->Call, "W9A");
    EXPECT_TRUE(log.HasCall("W9A"));
    EXPECT_TRUE(log.IsModified());
    EXPECT_FALSE(log.AwardTablesValid());
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
