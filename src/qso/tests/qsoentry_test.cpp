// QSO entry driven without a window: what a keyboard logger meets on every QSO.

#include "qso/qsoentry.h"

#include "app/programcontext.h"
#include "config/configrecord.h"
#include "country/countrydata.h"
#include "country/countryfile.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"
#include "logstore/qsoorders.h"
#include "logstore/qsotables.h"
#include "testsupport/qsobuilder.h"

#include <gtest/gtest.h>

#include <functional>

namespace vellum {
namespace {

/// What the entry told its window.
struct RecordedEvents : QsoEntryEvents {
    std::vector<QsoField> focused;
    int beeps = 0, logEdits = 0, customAwardsDue = 0, contestNumber = -1;
    void Focus(QsoField field) override { focused.push_back(field); }
    void Beep() override { ++beeps; }
    void LogEdited() override { ++logEdits; }
    void CustomAwardsDue() override { ++customAwardsDue; }
    void ContestNumber(int number) override { contestNumber = number; }
};

class QsoEntryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadCountryFile(countries, VELLUM_DEFAULT_COUNTRY_FILE, notifier));
        config = BuiltInConfig();
        config.Personal_Latitude = 52.52;
        config.Personal_Longitude = 13.405;
        config.Personal_DateFormat = 3; // yyyy-mm-dd
        config.DefQSO_Mode = 14;        // SSB
        config.DefQSO_band = 5;         // 20 m
        context = std::make_unique<ProgramContext>(config, countries, notifier, "");
        log = &context->MakeLog();
        entry = std::make_unique<QsoEntry>(*context, *log);
        entry->SetEvents(&events);
        entry->Start();
    }

    /// Types a field as a user would and leaves it.
    void type(QsoField field, const std::string &text)
    {
        entry->Edit(field, text);
        entry->Leave(field);
    }
    void addOffline(const std::string &call, const std::string &date, const std::string &time)
    {
        type(QsoField::Call, call);
        type(QsoField::Date, date);
        type(QsoField::Time, time);
        entry->EnterPressed();
    }
    std::string lastMessage() const { return notifier.shown.empty() ? "" : notifier.shown.back().text; }
    std::vector<int> labelNumbers() const
    {
        std::vector<int> numbers;
        for (const TQsoRec *q : *log)
            numbers.push_back(q->PrtSeqNr);
        return numbers;
    }

    RecordingNotifier notifier;
    TConfigRecord config;
    TCountryData countries;
    std::unique_ptr<ProgramContext> context;
    TQsoData *log = nullptr;
    RecordedEvents events;
    std::unique_ptr<QsoEntry> entry;
};

TEST_F(QsoEntryTest, ARealTimeContestQsoIsResolvedNumberedAndFollowedByABlankOne)
{
    config.ContestEnabled = 1;
    config.ContestNextNumber = 7;
    config.ContestNoteText = "nr ##";
    entry->AddRealTime();
    EXPECT_EQ(events.contestNumber, 7) << "the main window shows the number while adding in real time";
    entry->Edit(QsoField::Call, "dl1abc");
    EXPECT_EQ(entry->Text(QsoField::Call), "DL1ABC") << "calls are upper case as typed";
    entry->Leave(QsoField::Call);
    EXPECT_EQ(entry->Text(QsoField::Prefix), "DL");
    EXPECT_EQ(entry->Text(QsoField::Zone), "14");
    EXPECT_FALSE(entry->DirectionText().empty());
    ASSERT_TRUE(entry->Bearing());
    EXPECT_EQ(entry->MacroFields().call, "DL1ABC");
    EXPECT_EQ(entry->MacroFields().contestNumber, 7);
    entry->EnterPressed();
    ASSERT_EQ(log->Count(), 1);
    const TQsoRec &q = *log->Get(0);
    EXPECT_EQ(q.Call, "DL1ABC");
    EXPECT_EQ(q.Zone, 14);
    EXPECT_EQ(q.Mode, 14);
    EXPECT_EQ(q.RstSent, 59);
    EXPECT_EQ(q.QsoNote.text(), "nr 7");
    EXPECT_EQ(config.ContestNextNumber, 8);
    EXPECT_EQ(events.contestNumber, 8);
    EXPECT_TRUE(entry->Text(QsoField::Call).empty()) << "a blank QSO follows";
    EXPECT_EQ(entry->Index(QsoList::Mode), 13) << "mode and band carry over";
    EXPECT_EQ(events.focused.back(), QsoField::Call);

    type(QsoField::Call, "DL1ABC");
    EXPECT_TRUE(entry->CallIsDupe()) << "the same call on the same band and mode in the contest";
    EXPECT_EQ(events.beeps, 1);
    entry->Choose(QsoList::Band, 6);
    EXPECT_FALSE(entry->CallIsDupe()) << "another band is a new QSO";
}

TEST_F(QsoEntryTest, FieldChecksRefuseTheQsoAndPointAtTheField)
{
    entry->AddOffline();
    struct Case {
        QsoField field;
        std::string text, message;
    };
    for (const Case &c : {Case{QsoField::Zone, "41", "Valid range is 0..40"},
                          Case{QsoField::Group, "254", "Valid range is 0..253"},
                          Case{QsoField::Date, "2019-02-30", "Not a valid date: 2019-02-30"},
                          Case{QsoField::Time, "24:00", "Not a valid time: 24:00"},
                          Case{QsoField::RstSent, "599", "Invalid Combination of Mode and RST"},
                          Case{QsoField::Call, "K1", "Bad Callsign"}}) {
        entry->ClearQso();
        type(QsoField::Call, "W1AW");
        entry->Set(c.field, c.text);
        EXPECT_FALSE(entry->AddQso()) << c.text;
        EXPECT_EQ(lastMessage(), c.message);
        EXPECT_EQ(events.focused.back(), c.field);
    }
    EXPECT_EQ(log->Count(), 0);

    entry->ClearQso();
    type(QsoField::Prefix, "QQQ");
    EXPECT_EQ(lastMessage(), "Unknown country prefix QQQ");
    EXPECT_TRUE(entry->Text(QsoField::Prefix).empty());
    type(QsoField::Prefix, "K");
    type(QsoField::State, "ON");
    EXPECT_EQ(lastMessage(), "The state ON does not belong to this country");
    type(QsoField::State, "CT");
    EXPECT_EQ(entry->Text(QsoField::Zone), "5") << "a state gives its CQ zone";
    type(QsoField::Grid, "fn31pr");
    EXPECT_EQ(entry->Text(QsoField::Grid), "FN31pr");
}

TEST_F(QsoEntryTest, ARefusedUpdateLeavesTheLogAndTheLabelQueueAsTheyWere)
{
    config.F_F2_label = 2;
    entry->AddOffline();
    addOffline("K1AA", "2020-01-01", "10:00");
    addOffline("K2BB", "2020-01-02", "10:00");
    addOffline("K1AA", "2020-01-03", "10:00");
    entry->EscapePressed();
    entry->GoFirst();
    entry->ConfirmLabel();
    entry->GoFirst();
    entry->GoNext();
    entry->ConfirmLabel();
    ASSERT_EQ(labelNumbers(), (std::vector<int>{1, 2, 0}));

    entry->GoLast();
    entry->Set(QsoField::Grid, "XX99");
    notifier.answers = {Answer::Yes}; // insert behind K1AA's number 1
    entry->ConfirmLabel();
    EXPECT_EQ(lastMessage(), "Not a good GRID");
    EXPECT_EQ(labelNumbers(), (std::vector<int>{1, 2, 0})) << "no QSO renumbered for an update that did not happen";
    EXPECT_EQ(log->HighestPrtSeqNr(), 2);

    entry->Set(QsoField::Grid, "");
    notifier.answers = {Answer::Yes};
    entry->ConfirmLabel();
    EXPECT_EQ(labelNumbers(), (std::vector<int>{1, 3, 2})) << "queued behind the same call, the others moved up";
    EXPECT_EQ(log->HighestPrtSeqNr(), 3);
}

TEST_F(QsoEntryTest, AFullLabelQueueIsSaidAndNothingChanges)
{
    log->BeginBulkAppend();
    // Queued with the last number there is, after the QSO below in date order.
    log->AppendQso(test::QsoBuilder("K9ZZ").day(60000).band(5).mode(4).with(&TQsoRec::PrtSeqNr, std::uint16_t{0xFFFF}).make());
    log->EndBulkAppend();
    config.F_F2_label = 2;
    entry->AddOffline();
    addOffline("K1AA", "2020-01-01", "10:00");
    entry->EscapePressed();
    entry->GoFirst();
    entry->ConfirmLabel();
    EXPECT_EQ(lastMessage(), "The label sequence is full (65535 QSOs); print or clear it first");
    EXPECT_EQ(labelNumbers(), (std::vector<int>{0, 0xFFFF}));
}

TEST_F(QsoEntryTest, LeavingAChangedQsoAsksAndKeepsTheCorrection)
{
    entry->AddOffline();
    addOffline("K1AA", "2020-01-01", "10:00");
    entry->EscapePressed();
    ASSERT_EQ(entry->Mode(), QsoWindowMode::Browse);
    entry->Edit(QsoField::QsoNote, "worked again");
    notifier.answers = {Answer::Cancel};
    EXPECT_FALSE(entry->AgreeToLeaveMode());
    EXPECT_EQ(log->Get(0)->QsoNote.text(), "");
    notifier.answers = {Answer::Yes};
    EXPECT_TRUE(entry->AgreeToLeaveMode());
    EXPECT_EQ(log->Get(0)->QsoNote.text(), "worked again");

    entry->DeleteQso();
    EXPECT_EQ(log->Count(), 0);
    EXPECT_EQ(entry->Mode(), QsoWindowMode::AddOffline) << "an empty log is entered into";
}

TEST_F(QsoEntryTest, AnEditIsNeverDroppedByMovingAway)
{
    entry->AddOffline();
    for (const char *call : {"K1AA", "K2BB", "K3CC"})
        addOffline(call, "2020-01-01", "10:00");
    entry->EscapePressed();
    entry->GoFirst();
    const std::vector<std::pair<const char *, std::function<void()>>> moves = {
        {"Page Down", [&] { entry->GoNext(); }},
        {"Last", [&] { entry->GoLast(); }},
        {"scroll bar", [&] { entry->GoTo(2); }},
        {"sort order", [&] { entry->SetSortOrder(static_cast<int>(SortKey::Call)); }},
        {"Add Off-line", [&] { entry->AddOffline(); }},
        {"Add Real-time", [&] { entry->AddRealTime(); }},
    };
    for (const auto &[what, move] : moves) {
        std::string call = entry->Text(QsoField::Call);
        entry->Edit(QsoField::QsoNote, std::string("kept ") + what);
        notifier.answers = {Answer::Cancel};
        move();
        EXPECT_EQ(entry->Text(QsoField::Call), call) << what << ": Cancel stays";
        EXPECT_EQ(entry->Text(QsoField::QsoNote), std::string("kept ") + what) << what;
        notifier.answers = {Answer::Yes};
        move();
        EXPECT_EQ(lastMessage(), "Update this QSO with the changes you made?") << what;
        const TQsoRec *updated = nullptr;
        for (const TQsoRec *q : *log)
            if (q->Call == call)
                updated = q;
        ASSERT_NE(updated, nullptr);
        EXPECT_EQ(updated->QsoNote.text(), std::string("kept ") + what) << what << ": Yes updates the QSO left";
        if (entry->Mode() != QsoWindowMode::Browse)
            entry->EscapePressed();
        entry->GoFirst();
    }
    entry->Edit(QsoField::QsoNote, "dropped");
    notifier.answers = {Answer::No};
    entry->GoNext();
    for (const TQsoRec *q : *log)
        EXPECT_NE(q->QsoNote.text(), "dropped") << "No drops the edit, as asked";
}

TEST_F(QsoEntryTest, AQsoOfAnAwardNoLongerDefinedKeepsItsAwardAndValue)
{
    test::QsoBuilder("K1AA").date(2020, 1, 1).band(5).mode(4).with(&TQsoRec::CustAwd, "ZZZZ")
        .with(&TQsoRec::CustValue, "42").addTo(*log);
    entry->GoFirst();
    EXPECT_EQ(entry->AwardChoices().back().second, "ZZZZ") << "the QSO's award is listed though undefined";
    entry->Edit(QsoField::QsoNote, "corrected");
    ASSERT_TRUE(entry->UpdateQso());
    EXPECT_EQ(log->Get(0)->CustAwd, "ZZZZ");
    EXPECT_EQ(log->Get(0)->CustValue, "42");
    EXPECT_EQ(log->Get(0)->QsoNote.text(), "corrected");
}

TEST_F(QsoEntryTest, SearchBrowsesTheMatchesAndCancelReturns)
{
    entry->AddOffline();
    for (const char *call : {"K1AA", "DL1AB", "K1AB", "JA1XX"})
        addOffline(call, "2020-01-01", "10:00");
    entry->EscapePressed();
    entry->StartSearch(false);
    ASSERT_EQ(entry->Mode(), QsoWindowMode::SearchEntry);
    EXPECT_EQ(entry->Index(QsoList::Mode), -1) << "lists start without a choice";
    entry->Set(QsoField::Call, "K1*");
    config.DefQSO_CallSearch = 2; // pattern
    ASSERT_TRUE(entry->RunSearch());
    EXPECT_EQ(entry->Mode(), QsoWindowMode::Filtered);
    EXPECT_EQ(entry->CountQsos(), 2);
    EXPECT_EQ(lastMessage(), "2 QSOs found");
    std::string first = entry->Text(QsoField::Call);
    entry->GoNext();
    EXPECT_NE(entry->Text(QsoField::Call), first);
    EXPECT_EQ(entry->Text(QsoField::Call).substr(0, 2), "K1");
    entry->GoNext();
    EXPECT_EQ(events.beeps, 1) << "no third match";
    entry->CancelFilter();
    EXPECT_EQ(entry->Mode(), QsoWindowMode::Browse);

    entry->StartSearch(true);
    EXPECT_EQ(entry->Text(QsoField::Call), "K1*") << "the previous search comes back";
}

TEST_F(QsoEntryTest, TheRadioAndASpotFeedTheQsoBeingEntered)
{
    entry->AddRealTime();
    entry->RadioReport(4, 7025); // CW on 40 m
    EXPECT_EQ(entry->Index(QsoList::Band) + 1, BandOfFreq(7025));
    EXPECT_EQ(entry->Index(QsoList::Mode) + 1, 4);
    EXPECT_EQ(entry->Text(QsoField::RstSent), "599") << "the mode's default report";
    entry->SpotCall("JA1XYZ", TodayDayNumber());
    EXPECT_EQ(entry->Text(QsoField::Prefix), "JA");
    EXPECT_EQ(entry->Text(QsoField::Zone), "25");
    entry->ClockTick(TodayDayNumber(), 3600);
    EXPECT_EQ(entry->Text(QsoField::Time), "01:00") << "the clock runs while adding in real time";
    entry->Entered(QsoField::Time);
    entry->ClockTick(TodayDayNumber(), 7200);
    EXPECT_EQ(entry->Text(QsoField::Time), "01:00") << "until the user goes to the time";
    entry->StepTime(-61);
    EXPECT_EQ(entry->Text(QsoField::Time), "23:59");
}

} // namespace
} // namespace vellum
