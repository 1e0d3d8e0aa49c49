// Submission marking, the five-band selection and changing award flags.

#include "awardfixture.h"

#include "awards/submission.h"

#include "logstore/qsotables.h"

#include <set>

namespace vellum::test {
namespace {

class SubmissionTest : public AwardTest {
protected:
    /// A confirmed CW QSO of a country (and a zone) on a band.
    TQsoRec *AddFor(int country, std::uint8_t band, std::uint32_t flags = 0, std::uint8_t zone = 14)
    {
        std::int32_t time = m_next++;
        return QsoBuilder("T" + std::to_string(country) + "X" + std::to_string(time % 1000))
            .day(Day(2020, 1, 1))
            .seconds(time)
            .band(band)
            .mode(4)
            .reports(599, 0)
            .qslFlags(QslFlag::Cnfm | QslFlag::ValidDX)
            .awdFlags(flags)
            .country(static_cast<std::int16_t>(country), zone)
            .addTo(*log);
    }
    std::int32_t m_next = 0;
};

constexpr std::uint32_t DxccMixed = 0x04, DxccMode = 0x10, DxccBand = 0x40;

TEST_F(SubmissionTest, NothingIsMarkedBelowTheMinimum)
{
    for (int country = 1; country <= 99; ++country)
        AddFor(country, 3);
    log->MarkSaved();
    SubmissionResult result = MarkSubmission(model, *log, AwardDXCC, notifier);
    EXPECT_EQ(result.marks, 0);
    EXPECT_FALSE(log->IsModified());
    EXPECT_TRUE(SubmittedQsos(*log, AwardDXCC).empty());
}

TEST_F(SubmissionTest, MarksTheRemainingEntitiesAtEveryEligibleLevel)
{
    for (int country = 1; country <= 40; ++country)
        AddFor(country, 3, DxccMixed | DxccMode | DxccBand);
    std::vector<TQsoRec *> older, newer;
    for (int country = 41; country <= 100; ++country)
        older.push_back(AddFor(country, 3));
    for (int country = 41; country <= 100; ++country)
        newer.push_back(AddFor(country, 3));
    AddFor(101, 4); // 30m counts for no DXCC level
    log->MarkSaved();

    SubmissionResult result = MarkSubmission(model, *log, AwardDXCC, notifier);
    EXPECT_EQ(result.qsos, 60) << "one QSO for each of the 60 remaining countries";
    EXPECT_EQ(result.marks, 180) << "at the band, mode and mixed level";
    for (TQsoRec *qso : newer)
        EXPECT_EQ(qso->AwdFlags, DxccMixed | DxccMode | DxccBand) << "the most recent QSO serves all levels";
    for (TQsoRec *qso : older)
        EXPECT_EQ(qso->AwdFlags, 0u);
    EXPECT_TRUE(log->IsModified());
    EXPECT_FALSE(log->AwardTablesValid());
    EXPECT_EQ(SubmittedQsos(*log, AwardDXCC).size(), 100u);
    EXPECT_TRUE(notifier.shown.empty());

    // A second run finds nothing left to submit.
    EXPECT_EQ(MarkSubmission(model, *log, AwardDXCC, notifier).marks, 0);
}

TEST_F(SubmissionTest, QsosWithoutTheValidForDxccFlagAreNeverSubmitted)
{
    for (int country = 1; country <= 100; ++country)
        AddFor(country, 3);
    TQsoRec *invalid = AddFor(1, 3);
    invalid->QslFlags &= static_cast<std::uint8_t>(~QslFlag::ValidDX);
    MarkSubmission(model, *log, AwardDXCC, notifier);
    EXPECT_EQ(invalid->AwdFlags, 0u);
    EXPECT_EQ(SubmittedQsos(*log, AwardDXCC).size(), 100u);
}

TEST_F(SubmissionTest, FiveBandDxccNeedsTheMinimumOnEveryBandAndTakesAtMostFiveMore)
{
    const std::uint8_t fiveBands[] = {2, 3, 5, 7, 9};
    for (std::uint8_t band : fiveBands)
        for (int country = 1; country <= (band == 9 ? 99 : 110); ++country)
            AddFor(country, band);
    FiveBandResult refused = SelectFiveBand(model, *log, AwardDXCC, notifier);
    EXPECT_FALSE(refused.allowed);
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].text, "You cannot submit for a five band award");
    EXPECT_TRUE(MarkedQsos(*log).empty());

    for (int country = 100; country <= 110; ++country) {
        AddFor(country, 9);
        AddFor(country, 9); // a second QSO of the same country on 10m
    }
    notifier.shown.clear();
    FiveBandResult result = SelectFiveBand(model, *log, AwardDXCC, notifier);
    ASSERT_TRUE(result.allowed);
    EXPECT_TRUE(notifier.shown.empty());
    for (std::uint8_t band : fiveBands)
        EXPECT_EQ(result.selected[band], 105) << BandTable[band].name;
    std::set<std::pair<int, int>> seen;
    for (const TQsoRec *qso : MarkedQsos(*log))
        EXPECT_TRUE(seen.insert({qso->Country, qso->Band}).second) << "two QSOs of one country on one band";
    EXPECT_EQ(seen.size(), 525u);
}

TEST_F(SubmissionTest, FiveBandWazCountsTheSumAndSkipsSubmittedBands)
{
    const std::uint8_t fiveBands[] = {2, 3, 5, 7, 9};
    for (std::uint8_t band : fiveBands)
        for (std::uint8_t zone = 1; zone <= 29; ++zone)
            AddFor(1, band, 0, zone);
    FiveBandResult refused = SelectFiveBand(model, *log, AwardWAZ, notifier);
    EXPECT_FALSE(refused.allowed) << "145 zones are below 150";

    TQsoRec *stale = AddFor(1, 1, 0, 1); // 160m is not in the set
    for (std::uint8_t band : fiveBands)
        AddFor(1, band, 0, 30);
    stale->QslFlags |= QslFlag::Mark;
    notifier.shown.clear();
    FiveBandResult result = SelectFiveBand(model, *log, AwardWAZ, notifier);
    ASSERT_TRUE(result.allowed) << "30 zones on each of five bands";
    for (std::uint8_t band : fiveBands)
        EXPECT_EQ(result.selected[band], 30);
    EXPECT_FALSE(stale->QslFlags & QslFlag::Mark) << "old marks are cleared first";

    // 40 zones already submitted on 20m: that band is left out, and the user is told.
    for (std::uint8_t zone = 1; zone <= 40; ++zone)
        AddFor(1, 5, 0x00040000, zone);
    notifier.shown.clear();
    result = SelectFiveBand(model, *log, AwardWAZ, notifier);
    ASSERT_TRUE(result.allowed);
    EXPECT_EQ(result.excludedBands, std::vector<int>{5});
    EXPECT_EQ(result.selected[5], 0);
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].kind, MessageKind::Information);
    EXPECT_EQ(notifier.shown[0].text, "Band(s) not included because\rthey were submitted already\r20m");
}

TEST_F(SubmissionTest, ChangeAwardFlags)
{
    ASSERT_STREQ(AwardFlagTable[3].name, "DXCC mixed");
    TQsoRec *submitted = AddFor(1, 3, 0x04);
    TQsoRec *checked = AddFor(2, 3, 0x08);
    TQsoRec *both = AddFor(3, 3, 0x0C | 0x40);
    TQsoRec *outside = AddFor(4, 3, 0x04);
    outside->Group = 9;
    TSelection noGroup9 = AllQsosSelection();
    noGroup9.GroupActive = 1;
    noGroup9.SetGroup(0, true);
    log->Selections.push_back(noGroup9);
    SetCurrentSelection(*log, 1);
    model.EnsureAwardTables(*log);
    log->MarkSaved();

    EXPECT_EQ(ChangeAwardFlags(*log, 3, FlagAction::SubmittedToChecked), 2);
    EXPECT_EQ(submitted->AwdFlags, 0x08u);
    EXPECT_EQ(both->AwdFlags, 0x48u);
    EXPECT_EQ(outside->AwdFlags, 0x04u) << "outside the selection";
    EXPECT_TRUE(log->IsModified());
    EXPECT_FALSE(log->AwardTablesValid());

    EXPECT_EQ(ChangeAwardFlags(*log, 3, FlagAction::ClearSubmitted), 0);
    EXPECT_EQ(ChangeAwardFlags(*log, 3, FlagAction::ClearChecked), 3);
    EXPECT_EQ(checked->AwdFlags, 0u);
    EXPECT_EQ(both->AwdFlags, 0x40u) << "other pairs stay";
    EXPECT_EQ(ChangeAwardFlags(*log, 2, FlagAction::ClearBoth), 1);
    EXPECT_EQ(ChangeAwardFlags(*log, 16, FlagAction::ClearBoth), 0);
}

} // namespace
} // namespace vellum::test
