// The bulk and label commands of the QSO window over a real log, without a window.
#include "qso/bulkcommands.h"
#include "qso/qsoentry.h"

#include "app/programcontext.h"
#include "config/configrecord.h"
#include "country/countrydata.h"
#include "country/countryfile.h"
#include "country/resolver.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"
#include "logstore/qsoorders.h"
#include "testsupport/qsobuilder.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

using test::QsoBuilder;

class BulkCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadCountryFile(countries, VELLUM_DEFAULT_COUNTRY_FILE, notifier));
        config = BuiltInConfig();
        config.F_F2_Method = 3; // Direct
        config.F_F2_NextQSO = 0;
        context = std::make_unique<ProgramContext>(config, countries, notifier, "");
        log = &context->MakeLog();
    }
    TQsoRec *add(const char *call, int day, std::uint8_t flags = 0, std::uint16_t labelNumber = 0)
    {
        return QsoBuilder(call).date(2021, 3, day).time(12, 0).band(5).mode(1).qslFlags(flags).qslMethod(1)
            .with(&TQsoRec::PrtSeqNr, labelNumber).resolvedBy(context->Resolver()).addTo(*log);
    }
    /// The entry and the commands, made once the log holds its QSOs (browsing the last).
    BulkCommands &commands()
    {
        entry = std::make_unique<QsoEntry>(*context, *log);
        entry->Start();
        bulk = std::make_unique<BulkCommands>(*entry);
        notifier.shown.clear();
        log->MarkSaved();
        return *bulk;
    }
    std::string message(std::size_t i) const { return i < notifier.shown.size() ? notifier.shown[i].text : ""; }

    RecordingNotifier notifier;
    TConfigRecord config;
    TCountryData countries;
    std::unique_ptr<ProgramContext> context;
    TQsoData *log = nullptr;
    std::unique_ptr<QsoEntry> entry;
    std::unique_ptr<BulkCommands> bulk;
};

TEST_F(BulkCommandsTest, SetConfirmedCountsOnlyWhatItChangedAndMarksTheAwardTablesOutOfDate)
{
    add("DL1ABC", 1, QslFlag::Cnfm);
    add("DL2ABC", 2);
    BulkCommands &c = commands();
    log->MarkAwardTablesValid();
    EXPECT_EQ(c.SetConfirmed(), 1);
    EXPECT_EQ(message(0), "Confirming up to 2 QSOs \rAre you sure");
    EXPECT_EQ(message(1), "One QSO  were confirmed");
    EXPECT_TRUE(log->IsModified());
    EXPECT_FALSE(log->AwardTablesValid());
    for (const TQsoRec *q : *log)
        EXPECT_TRUE(q->QslFlags & QslFlag::Cnfm);

    log->MarkSaved();
    notifier.shown.clear();
    EXPECT_EQ(c.SetConfirmed(), 0);
    EXPECT_EQ(message(1), "No QSO  were confirmed");
    EXPECT_FALSE(log->IsModified());
}

TEST_F(BulkCommandsTest, NoToTheQuestionChangesNothing)
{
    add("DL1ABC", 1);
    BulkCommands &c = commands();
    notifier.answers = {Answer::No};
    EXPECT_EQ(c.SetQslDate(), 0);
    EXPECT_EQ(log->Get(0)->QslDate, 0);
    EXPECT_FALSE(log->IsModified());
    notifier.answers = {Answer::No};
    EXPECT_EQ(c.DeleteQsos(), 0);
    EXPECT_EQ(log->Count(), 1);
}

TEST_F(BulkCommandsTest, SetQslDateGivesQsosWithoutOneTheirOwnDate)
{
    TQsoRec *dated = add("DL1ABC", 1);
    dated->QslDate = 100;
    TQsoRec *open = add("DL2ABC", 2);
    BulkCommands &c = commands();
    EXPECT_EQ(c.SetQslDate(), 1);
    EXPECT_EQ(open->QslDate, open->Date);
    EXPECT_EQ(dated->QslDate, 100);
    EXPECT_EQ(message(1), "One QSO  were changed");
}

TEST_F(BulkCommandsTest, CommandsActOnTheQsosTheWindowShows)
{
    add("DL1ABC", 1);
    add("DL2ABC", 2);
    add("DL1ABC", 3);
    BulkCommands &c = commands();
    entry->SetAdmits([](const TQsoRec &q) { return q.Call == std::string_view("DL1ABC"); });
    EXPECT_EQ(c.SetConfirmed(), 2);
    EXPECT_EQ(message(0), "Confirming up to 2 QSOs \rAre you sure");
    EXPECT_FALSE(log->Get(1)->QslFlags & QslFlag::Cnfm);
}

TEST_F(BulkCommandsTest, SetUsaStatesTakesTheLatestEarlierStateOfTheCall)
{
    TQsoRec *known = add("W1AW", 5);
    known->State = 7;
    known->County = 12;
    TQsoRec *later = add("W1AW", 9);
    TQsoRec *earlier = add("W1AW", 2);
    TQsoRec *other = add("DL1ABC", 9);
    std::int32_t position = 0;
    log->SetSortKey(SortKey::State, position);
    BulkCommands &c = commands();
    EXPECT_EQ(c.SetUsaStates(TodayDayNumber()), 1);
    EXPECT_EQ(later->State, 7);
    EXPECT_EQ(later->County, 12);
    EXPECT_EQ(earlier->State, 0);
    EXPECT_EQ(other->State, 0);
    EXPECT_EQ(message(0), "One QSO  were changed");
    // The state order was sorted again: the QSOs without a state first.
    const TBAI<TQsoRec> &view = log->ViewIndex();
    for (std::int32_t i = 1; i < view.Count(); ++i)
        EXPECT_LE(view.Get(i - 1)->State, view.Get(i)->State);
    EXPECT_FALSE(log->AwardTablesValid());
}

TEST_F(BulkCommandsTest, DeletingEveryQsoLeavesTheWindowAddingOffline)
{
    add("DL1ABC", 1);
    add("DL2ABC", 2);
    BulkCommands &c = commands();
    EXPECT_EQ(c.DeleteQsos(), 2);
    EXPECT_EQ(message(0), "Deleting 2 QSOs \rAre you sure");
    EXPECT_EQ(log->Count(), 0);
    EXPECT_EQ(entry->Mode(), QsoWindowMode::AddOffline);
    EXPECT_TRUE(log->IsModified());
}

TEST_F(BulkCommandsTest, SetPrintFlagsSkipsIgnoreAndUsesTheF2Method)
{
    TQsoRec *plain = add("DL1ABC", 1);
    TQsoRec *ignored = add("DL2ABC", 2);
    ignored->QslMethod = QslMethodNr::Ignore;
    TQsoRec *labelled = add("DL3ABC", 3, QslFlag::Label);
    BulkCommands &c = commands();
    EXPECT_EQ(c.SetPrintFlags(true), 1);
    EXPECT_EQ(notifier.shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(message(0), "Setting label fields and no QSO filter active!\rDo you want to proceed?");
    EXPECT_EQ(message(1), "One QSO changed");
    EXPECT_TRUE(plain->QslFlags & QslFlag::Label);
    EXPECT_EQ(plain->QslMethod, 3);
    EXPECT_FALSE(ignored->QslFlags & QslFlag::Label);
    EXPECT_EQ(labelled->QslMethod, 1);

    notifier.shown.clear();
    EXPECT_EQ(c.SetPrintFlags(false), 2);
    EXPECT_EQ(message(0), "Clearing label fields and no QSO filter active!\rDo you want to proceed?");
    EXPECT_EQ(message(1), "2 QSOs changed");
}

TEST_F(BulkCommandsTest, ClearSequencedPrintRecountsTheQueue)
{
    add("DL1ABC", 1, 0, 1);
    add("DL2ABC", 2, 0, 2);
    add("DL3ABC", 3, 0, 3);
    log->RecountHighestPrtSeqNr();
    ASSERT_EQ(log->HighestPrtSeqNr(), 3);
    BulkCommands &c = commands();
    EXPECT_EQ(c.ClearSequencedPrint(), 3);
    EXPECT_EQ(message(1), "3 QSOs cleared");
    EXPECT_EQ(log->HighestPrtSeqNr(), 0);
    EXPECT_EQ(log->QueueForLabel(), 1);
}

TEST_F(BulkCommandsTest, AfterASequenceRunPrintedQsosGetTodayAndLeaveTheQueue)
{
    TQsoRec *first = add("DL1ABC", 1, 0, 1);
    TQsoRec *second = add("DL2ABC", 2, 0, 2);
    TQsoRec *third = add("DL3ABC", 3, 0, 5);
    log->RecountHighestPrtSeqNr();
    ASSERT_EQ(log->HighestPrtSeqNr(), 5);
    BulkCommands &c = commands();
    c.BeforeLabelRun(LabelKind::Sequence);
    EXPECT_EQ(c.AfterLabelRun(LabelKind::Sequence, 44000), 0); // nothing printed: no question
    EXPECT_TRUE(notifier.shown.empty());
    first->QslFlags |= QslFlag::Mark;
    third->QslFlags |= QslFlag::Mark;
    EXPECT_EQ(c.AfterLabelRun(LabelKind::Sequence, 44000), 2);
    EXPECT_EQ(message(0), BulkText::UpdateQslDates);
    EXPECT_EQ(first->QslDate, 44000);
    EXPECT_EQ(first->PrtSeqNr, 0);
    EXPECT_EQ(second->PrtSeqNr, 2);
    EXPECT_EQ(second->QslDate, 0);
    EXPECT_EQ(log->HighestPrtSeqNr(), 2);
    EXPECT_EQ(log->QueueForLabel(), 3);
    EXPECT_TRUE(first->QslFlags & QslFlag::Mark); // the marks stay until the next run
}

TEST_F(BulkCommandsTest, AfterAQslRunPrintedQsosLoseTheirLabelFlag)
{
    TQsoRec *printed = add("DL1ABC", 1, QslFlag::Label | QslFlag::Mark);
    TQsoRec *waiting = add("DL2ABC", 2, QslFlag::Label);
    BulkCommands &c = commands();
    EXPECT_EQ(c.AfterLabelRun(LabelKind::Qsl, 44000), 1);
    EXPECT_FALSE(printed->QslFlags & QslFlag::Label);
    EXPECT_TRUE(waiting->QslFlags & QslFlag::Label);
    c.BeforeLabelRun(LabelKind::Qsl);
    EXPECT_FALSE(printed->QslFlags & QslFlag::Mark);
}

TEST_F(BulkCommandsTest, ConfirmSwlTwiceOffersToRemoveTheFirstEntry)
{
    add("DL1ABC", 1);
    BulkCommands &c = commands();
    ASSERT_TRUE(c.CanConfirmSwl());
    c.ConfirmSwl("onl383-very-long-call");
    ASSERT_EQ(log->SwlList.Count(), 1);
    EXPECT_EQ(log->SwlList.Get(0)->Call.view(), "ONL383-VERY-");
    EXPECT_EQ(log->SwlList.Get(0)->Date, log->Get(0)->Date);
    EXPECT_TRUE(log->IsModified());
    c.ConfirmSwl("ONL383-VERY-LONG");
    EXPECT_EQ(message(0), BulkText::SwlExists);
    EXPECT_EQ(log->SwlList.Count(), 0);
}

TEST_F(BulkCommandsTest, PrintedSwlRecordsAreDeletedWhenTheUserAgrees)
{
    add("DL1ABC", 1);
    BulkCommands &c = commands();
    c.ConfirmSwl("ONL1");
    c.ConfirmSwl("ONL2");
    log->SwlList.Get(0)->Printed = 1;
    EXPECT_EQ(c.AfterLabelRun(LabelKind::Swl, 44000), 1);
    ASSERT_EQ(log->SwlList.Count(), 1);
    EXPECT_EQ(log->SwlList.Get(0)->Call.view(), "ONL2");
    EXPECT_TRUE(c.ClearSwlLabels());
    EXPECT_EQ(log->SwlList.Count(), 0);
}

TEST_F(BulkCommandsTest, WalksOverTheLogShowTheProgressWindow)
{
    struct RecordingProgress : ProgressService {
        std::vector<std::string> captions;
        std::int64_t lastDone = 0, total = 0;
        int open = 0;
        void begin(std::string_view caption, std::int64_t n) override
        {
            captions.emplace_back(caption);
            total = n;
            ++open;
        }
        void advance(std::int64_t done) override { lastDone = done; }
        void end() override { --open; }
    } progress;
    for (int i = 0; i < 3000; ++i)
        QsoBuilder("DL" + std::to_string(i) + "X").date(2021, 1, 1 + i % 28).time(i / 60 % 24, i % 60).band(5).mode(1)
            .addTo(*log);
    LogServices services = log->Services();
    services.progress = &progress;
    log->SetServices(services);
    BulkCommands &c = commands();
    EXPECT_EQ(c.SetConfirmed(), 3000);
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Confirming QSOs"});
    EXPECT_EQ(progress.total, 3000);
    EXPECT_EQ(progress.lastDone, 2048);
    EXPECT_EQ(progress.open, 0);
}

TEST_F(BulkCommandsTest, NoChangeReachesTheLogFileBeforeTheUserSaves)
{
    test::TempDir dir("bulk");
    add("DL1ABC", 1);
    add("DL2ABC", 2);
    log->LogFileName = dir.file("TEST.VLL");
    log->WriteLog(true);
    const std::vector<std::uint8_t> saved = test::ReadFile(log->LogFileName);
    BulkCommands &c = commands();
    c.SetConfirmed();
    c.SetPrintFlags(true);
    c.DeleteQsos();
    EXPECT_EQ(test::ReadFile(log->LogFileName), saved);
    EXPECT_TRUE(log->IsModified());
}

} // namespace
} // namespace vellum
