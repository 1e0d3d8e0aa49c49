// The award tables kept through a real log: adds, deletes, replaces, rebuilds,
// reading and merging log files, and a randomized comparison of the incremental
// model with a full rebuild.

#include "awardfixture.h"

#include "testsupport/tempdir.h"

#include "awards/awardqueries.h"

#include "country/countryfile.h"

#include <filesystem>
#include <random>

namespace vellum::test {
namespace {

class AwardModelTest : public AwardTest {
protected:
    /// The need classes of spots of every call of RandomQsos, on a few bands and modes, for DXCC and WAZ.
    std::vector<int> NeedClasses()
    {
        std::vector<int> classes;
        for (const char *call : {"DL1ABC", "DL2XYZ", "K1ABC", "W6XYZ", "JA1ABC", "VK2ABC", "G3ABC", "F5XYZ",
                                 "9A2AA", "PY2AB", "ZL1AB", "UA3ABC", "DL9NEW"})
            for (int band : {3, 5, 7})
                for (int mode : {0, 4, 14, 13})
                    for (AwardIndex award : {AwardDXCC, AwardWAZ}) {
                        SpotInfo spot{call, resolver.CountryOfCall(call, Today), band, mode, Today};
                        classes.push_back(NeedClass(model, log.get(), spot, award));
                    }
        return classes;
    }

    TConstStatusBlock Country(const std::string &prefix) { return *model.CountryBlock(CountryOf(prefix)); }
    TConstStatusBlock Zone(int zone) { return *model.ZoneBlock(*log, zone); }
    TConstStatusBlock State(const std::string &abbreviation)
    {
        return *model.StateBlock(*log, countries.StateIndex(abbreviation));
    }
};

TEST_F(AwardModelTest, CutoffsAgainstTodayThroughTheLog)
{
    model.EnsureAwardTables(*log);
    ASSERT_TRUE(log->AwardTablesValid());
    Add({.call = "DL1ABC", .date = static_cast<std::uint16_t>(Today - 10000)});
    Add({.call = "JA1ABC", .date = static_cast<std::uint16_t>(Today - 10001)});
    Add({.call = "VK2ABC", .date = static_cast<std::uint16_t>(Today - 10001), .qslDate = Today});
    EXPECT_TRUE(log->AwardTablesValid());
    EXPECT_EQ(MixedStatus(Country("DL")), asWorked);
    EXPECT_EQ(MixedStatus(Country("JA")), asNotWorked);
    EXPECT_EQ(MixedStatus(Country("VK")), asNotWorked) << "the mailed cutoff is 10000 days too";

    // A longer mailed window takes the QSL-sent QSO in; the tables follow the setting.
    config.MailedCutoff = 10001;
    EXPECT_FALSE(model.TablesCurrent(*log));
    model.EnsureAwardTables(*log);
    EXPECT_EQ(MixedStatus(Country("VK")), asQslSent);
    EXPECT_EQ(MixedStatus(Country("JA")), asNotWorked);

    // Tomorrow the QSO at the cutoff drops out: a new today makes the tables out of date.
    model.SetToday(Today + 1);
    EXPECT_FALSE(model.TablesCurrent(*log));
    Add({.call = "G3ABC"});
    EXPECT_FALSE(log->AwardTablesValid()) << "an add into out-of-date tables invalidates them";
    model.EnsureAwardTables(*log);
    EXPECT_EQ(MixedStatus(Country("DL")), asNotWorked);
    EXPECT_EQ(MixedStatus(Country("G")), asWorked);
}

TEST_F(AwardModelTest, EmptyReportAndValidForDxcc)
{
    model.EnsureAwardTables(*log);
    Add({.call = "K1ABC", .confirmed = true, .rstRcvd = 0, .state = "CT"});
    EXPECT_EQ(RebuiltSnapshot().size(), 0u) << "an empty received report counts for no award";

    Add({.call = "K1ABD", .confirmed = true, .validDx = false, .state = "CT"});
    EXPECT_EQ(MixedStatus(Country("K")), asNotWorked);
    EXPECT_EQ(MixedStatus(Zone(5)), asConfirmed);
    EXPECT_EQ(MixedStatus(State("CT")), asConfirmed);
    EXPECT_EQ(MixedStatus(*model.WpxBlock("K1")), asConfirmed);
    EXPECT_EQ(RebuiltSnapshot().size(), 3u);
}

TEST_F(AwardModelTest, AwardFlagsGiveEachLevelItsStatus)
{
    model.EnsureAwardTables(*log);
    Add({.call = "DL1ABC", .band = 7, .confirmed = true, .awdFlags = 0x00000040});
    TConstStatusBlock dl = Country("DL");
    EXPECT_EQ(BandStatus(dl, 7), asSubmitted);
    EXPECT_EQ(ModeGroupStatus(dl, mgCW), asConfirmed);
    EXPECT_EQ(MixedStatus(dl), asConfirmed);
    EXPECT_EQ(BandStatus(Zone(14), 7), asConfirmed);
    EXPECT_EQ(MixedStatus(Zone(14)), asConfirmed);
}

TEST_F(AwardModelTest, CountsAndDeletesOfEqualQsos)
{
    model.EnsureAwardTables(*log);
    TQsoRec *first = Add({.call = "DL1ABC", .confirmed = true, .time = 100});
    Add({.call = "DL1ABC", .confirmed = true, .time = 200});
    for (int cell : {0, int(mgCW), BandCell(5, mgCW)})
        EXPECT_EQ(Country("DL").Count(cell), 2) << cell;
    log->DeleteQso(first);
    EXPECT_TRUE(log->AwardTablesValid()) << "count 2 drops to 1 exactly";
    EXPECT_EQ(Country("DL").Count(0), 1);
    EXPECT_EQ(Snapshot(), RebuiltSnapshot());
}

TEST_F(AwardModelTest, DeletingTheBestQsoInvalidatesAndTheRebuildFallsBack)
{
    model.EnsureAwardTables(*log);
    TQsoRec *confirmed = Add({.call = "DL1ABC", .confirmed = true, .time = 100});
    Add({.call = "DL2XYZ", .time = 200});
    EXPECT_EQ(MixedStatus(Country("DL")), asConfirmed);
    log->DeleteQso(confirmed);
    EXPECT_FALSE(log->AwardTablesValid());
    model.EnsureAwardTables(*log);
    EXPECT_EQ(MixedStatus(Country("DL")), asWorked);
    EXPECT_EQ(Country("DL").Count(0), 1);
}

TEST_F(AwardModelTest, ReplacingAQsoToConfirmItStaysExact)
{
    model.EnsureAwardTables(*log);
    TQsoRec *worked = Add({.call = "JA1ABC", .band = 3});
    Add({.call = "JA2ABC", .band = 3});
    TQsoRec edited = *worked;
    edited.QslFlags |= QslFlag::Cnfm;
    log->ReplaceQso(edited, worked);
    EXPECT_TRUE(log->AwardTablesValid());
    EXPECT_EQ(BandStatus(Country("JA"), 3), asConfirmed);
    EXPECT_EQ(Snapshot(), RebuiltSnapshot());
}

TEST_F(AwardModelTest, CountsSaturateAt255)
{
    model.EnsureAwardTables(*log);
    std::vector<TQsoRec *> qsos;
    for (int i = 0; i < 300; ++i)
        qsos.push_back(Add({.call = "DL1ABC", .confirmed = true, .time = i}));
    EXPECT_EQ(Country("DL").Count(0), 255);
    EXPECT_EQ(RebuiltSnapshot()["C" + std::to_string(CountryOf("DL"))][1], 255) << "the rebuild saturates too";
    // The count of a saturated cell is a lower bound: removals stay exact for the
    // status until the count would reach 0.
    for (int i = 0; i < 254; ++i)
        log->DeleteQso(qsos[static_cast<std::size_t>(i)]);
    EXPECT_TRUE(log->AwardTablesValid());
    EXPECT_EQ(Country("DL").Count(0), 1);
    log->DeleteQso(qsos[254]);
    EXPECT_FALSE(log->AwardTablesValid());
    model.EnsureAwardTables(*log);
    EXPECT_EQ(Country("DL").Count(0), 45);
}

TEST_F(AwardModelTest, StartDateKeepsQsosOutOnAddRebuildAndRemove)
{
    model.EnsureAwardTables(*log);
    TQsoRec *old = Add({.call = "DL1ABC", .date = Day(1945, 11, 14), .confirmed = true});
    EXPECT_EQ(MixedStatus(Country("DL")), asNotWorked);
    log->DeleteQso(old);
    EXPECT_TRUE(log->AwardTablesValid()) << "a QSO that never counted leaves exactly";

    Add({.call = "DL1ABC", .date = Day(1950, 1, 1), .confirmed = true, .awdFlags = 0x08});
    Add({.call = "DL1ABD", .date = Day(1970, 1, 1), .mode = 14, .confirmed = true});
    // A report's rebuild with its own start date, and back.
    model.RebuildAwardTables(*log, {Day(1969, 1, 1), Day(1969, 1, 1), Day(1969, 1, 1), Day(1969, 1, 1)});
    EXPECT_EQ(MixedStatus(Country("DL")), asConfirmed);
    EXPECT_EQ(model.StartDatesOf(*log)[mgCW], Day(1969, 1, 1));
    model.RebuildAwardTables(*log, DefaultStartDates());
    EXPECT_EQ(MixedStatus(Country("DL")), asChecked);
}

TEST_F(AwardModelTest, SelectionDecidesWhatCounts)
{
    Add({.call = "DL1ABC", .confirmed = true, .group = 2});
    Add({.call = "JA1ABC", .confirmed = true, .group = 1});
    TSelection contest = AllQsosSelection();
    contest.Name = "Contest";
    contest.GroupActive = 1;
    contest.SetGroup(2, true);
    log->Selections.push_back(contest);
    model.EnsureAwardTables(*log);
    EXPECT_EQ(MixedStatus(Country("JA")), asConfirmed);

    ASSERT_TRUE(SetCurrentSelection(*log, 1));
    EXPECT_FALSE(log->AwardTablesValid());
    model.EnsureAwardTables(*log);
    EXPECT_EQ(MixedStatus(Country("JA")), asNotWorked);
    EXPECT_EQ(MixedStatus(Country("DL")), asConfirmed);
    // A selection changed behind the model's back is noticed too.
    log->CurSelection = AllQsosSelection();
    EXPECT_FALSE(model.TablesCurrent(*log));
}

TEST_F(AwardModelTest, WpxTableEntriesAndAMissingEntryOnRemoval)
{
    model.EnsureAwardTables(*log);
    TQsoRec *dl = Add({.call = "DL1ABC", .confirmed = true});
    Add({.call = "K1ABC", .mode = 14, .confirmed = true, .state = "CT"});
    Add({.call = "9A2AA", .mode = 14});
    ASSERT_EQ(countries.Wpx.Count(), 3);
    EXPECT_EQ(countries.Wpx.KeyString(0), "9A2");
    EXPECT_EQ(countries.Wpx.KeyString(1), "DL1");
    EXPECT_EQ(countries.Wpx.KeyString(2), "K1");
    EXPECT_EQ(Snapshot(), RebuiltSnapshot()) << "the rebuild makes the same table in the same order";

    // The WPX table vanished under the model (the country data was reloaded).
    countries.Wpx.FreeAll();
    log->DeleteQso(dl);
    EXPECT_FALSE(log->AwardTablesValid());
    model.EnsureAwardTables(*log);
    EXPECT_EQ(countries.Wpx.Count(), 2);
}

TEST_F(AwardModelTest, DeletedPrefixesAreMarked)
{
    ParseDeletedWpx(countries, "ZZ9\nQQ*\n");
    model.EnsureAwardTables(*log);
    Add({.call = "DL1ABC"});
    TQsoRec rec = Make({.call = "QQ5ABC"});
    rec.WpxPfx = "QQ5";
    model.AddQsoToAwards(*log, rec);
    EXPECT_TRUE(model.WpxEntryDeleted("QQ5"));
    EXPECT_FALSE(model.WpxEntryDeleted("DL1"));
}

TEST_F(AwardModelTest, TwoLogsDoNotShareTables)
{
    Add({.call = "DL1ABC", .confirmed = true});
    model.EnsureAwardTables(*log);
    TQsoData other(log->Services());
    model.EnsureAwardTables(other);
    EXPECT_FALSE(model.TablesCurrent(*log)) << "the country blocks now hold the other log";
    model.EnsureAwardTables(*log);
    EXPECT_EQ(MixedStatus(*model.CountryBlock(CountryOf("DL"))), asConfirmed);
}

TEST_F(AwardModelTest, ReadingAndMergingLogFiles)
{
    test::TempDir temp("awards");
    const std::string &dir = temp.path();
    Add({.call = "DL1ABC", .confirmed = true});
    Add({.call = "JA1ABC", .band = 7});
    log->LogFileName = dir + "/A.VLL";
    log->WriteLog(true);

    TQsoData loaded(log->Services());
    ASSERT_TRUE(loaded.ReadLog(dir + "/A.VLL", LoadMode::Load, DuplicateMode::EmptyLog));
    EXPECT_FALSE(loaded.AwardTablesValid());
    model.EnsureAwardTables(loaded);
    EXPECT_EQ(BandStatus(*model.CountryBlock(CountryOf("JA")), 7), asWorked);

    // A merge that replaces a duplicate removes through the model, then invalidates.
    TQsoData merged(log->Services());
    ASSERT_TRUE(merged.ReadLog(dir + "/A.VLL", LoadMode::Load, DuplicateMode::EmptyLog));
    model.EnsureAwardTables(merged);
    ASSERT_TRUE(merged.ReadLog(dir + "/A.VLL", LoadMode::Merge, DuplicateMode::Replace));
    EXPECT_FALSE(merged.AwardTablesValid());
    EXPECT_EQ(merged.Count(), 2);
    model.EnsureAwardTables(merged);
    EXPECT_EQ(MixedStatus(*model.CountryBlock(CountryOf("DL"))), asConfirmed);
    std::filesystem::remove_all(dir);
}

TEST_F(AwardModelTest, OutOfRangeIndexesCountAsNone)
{
    model.EnsureAwardTables(*log);
    TQsoRec rec = Make({.call = "DL1ABC", .confirmed = true});
    rec.Zone = 77;
    rec.State = 200;
    rec.Country = 9999;
    rec.WpxPfx = "DL1";
    model.AddQsoToAwards(*log, rec);
    TQsoRec noBand = Make({.call = "JA1ABC", .band = 0, .confirmed = true});
    noBand.WpxPfx = "JA1";
    model.AddQsoToAwards(*log, noBand);
    BlockSnapshot snapshot = Snapshot();
    EXPECT_EQ(snapshot.size(), 1u) << "only the WPX prefix of the first QSO counts";
    EXPECT_TRUE(snapshot.count("P:DL1"));
    model.RemoveQsoFromAwards(*log, noBand);
    EXPECT_TRUE(log->AwardTablesValid());
}

/// Random QSOs over a small pool of calls, so that entities repeat and cells
/// rise and fall, with every status the model knows.
class RandomQsos {
public:
    explicit RandomQsos(std::uint32_t seed) : m_random(seed) {}

    QsoSpec Next()
    {
        static const char *const calls[] = {"DL1ABC", "DL2XYZ", "K1ABC",  "W6XYZ", "JA1ABC", "VK2ABC",
                                            "G3ABC",  "F5XYZ",  "9A2AA",  "PY2AB", "ZL1AB",  "UA3ABC"};
        static const char *const states[] = {"", "CT", "MA", "CA", "TX"};
        static const std::uint8_t modes[] = {4, 14, 13, 1, 10, 0};
        QsoSpec spec;
        spec.call = calls[below(12)];
        spec.date = static_cast<std::uint16_t>(Today - 12000 + below(12100));
        spec.time = below(86400);
        spec.band = static_cast<std::uint8_t>(below(10) == 0 ? 0 : 1 + below(15));
        spec.mode = modes[below(6)];
        spec.confirmed = below(3) == 0;
        spec.qslDate = below(3) == 0 ? static_cast<std::uint16_t>(spec.date + 10) : 0;
        spec.awdFlags = below(6) == 0 ? (1u << below(32)) : 0;
        spec.rstRcvd = below(15) == 0 ? 0 : 599;
        spec.validDx = below(8) != 0;
        spec.state = spec.call[0] == 'K' || spec.call[0] == 'W' ? states[below(5)] : "";
        spec.group = static_cast<std::uint8_t>(below(3));
        return spec;
    }
    int below(int n) { return static_cast<int>(m_random() % static_cast<std::uint32_t>(n)); }

private:
    std::mt19937 m_random;
};

TEST_F(AwardModelTest, IncrementalModelAgreesWithRebuildAfterRandomChanges)
{
    RandomQsos random(2024);
    for (int i = 0; i < 200; ++i)
        Add(random.Next());
    model.EnsureAwardTables(*log);
    int exactRemovals = 0, comparisons = 0;
    for (int step = 0; step < 4000; ++step) {
        int action = random.below(10);
        if (action < 4 || log->Count() < 50) {
            Add(random.Next());
        } else {
            TQsoRec *victim = log->Get(random.below(log->Count()));
            bool wasValid = log->AwardTablesValid();
            if (action < 7) {
                log->DeleteQso(victim);
            } else {
                // An edit of the QSO window: confirm it, change band, mode, flags or date.
                TQsoRec edited = Make(random.Next());
                edited.Call = victim->Call;
                edited.Country = victim->Country;
                edited.Zone = victim->Zone;
                log->ReplaceQso(edited, victim);
            }
            exactRemovals += (wasValid && log->AwardTablesValid()) ? 1 : 0;
        }
        if (step % 7 == 0 && log->AwardTablesValid()) {
            BlockSnapshot incremental = Snapshot();
            std::vector<int> classes = NeedClasses();
            ASSERT_EQ(incremental, RebuiltSnapshot()) << "after step " << step;
            ASSERT_EQ(classes, NeedClasses()) << "after step " << step;
            ++comparisons;
        }
        if (!log->AwardTablesValid())
            model.EnsureAwardTables(*log);
    }
    EXPECT_GT(exactRemovals, 1000) << "most removals must stay incremental for the comparison to mean anything";
    EXPECT_GT(comparisons, 400);
    for (const auto &[name, bytes] : Snapshot())
        for (int cell = 0; cell < StatusCellCount; ++cell)
            ASSERT_LT(bytes[2 * static_cast<std::size_t>(cell) + 1], 255) << name << ": counts must stay exact";
}

} // namespace
} // namespace vellum::test
