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
#include "qso/countrylookups.h"
#include "testsupport/qsobuilder.h"
#include "testsupport/testcountry.h"

#include <gtest/gtest.h>

#include <functional>

namespace vellum {
namespace {

/// What the entry told its window.
struct RecordedEvents : QsoEntryEvents {
    std::vector<QsoField> focused, listsDue;
    int beeps = 0, logEdits = 0, customAwardsDue = 0, contestNumber = -1, companionsDue = 0;
    void Focus(QsoField field) override { focused.push_back(field); }
    void ListDue(QsoField field) override { listsDue.push_back(field); }
    void CompanionsDue() override { ++companionsDue; }
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

    ContestTexts texts = entry->ContestSettings();
    for (const char *wrong : {"100000", "-1", "12x"}) {
        texts.number = wrong;
        EXPECT_FALSE(entry->ApplyContestSettings(texts)) << wrong;
        EXPECT_EQ(lastMessage(), "Value in range 0 to 99999 expected");
    }
    texts.number = "20";
    texts.date = "2020-02-30";
    EXPECT_FALSE(entry->ApplyContestSettings(texts));
    EXPECT_EQ(config.ContestNextNumber, 8) << "nothing of a refused dialog is taken";
}

TEST_F(QsoEntryTest, TheRadioFrequencyGoesIntoNotesOnlyWithARadio)
{
    config.ContestNoteText = "at $$";
    context->Station().frequencyText = [] { return std::string("14,250KHz"); };
    entry->AddRealTime();
    entry->AppendRadioFrequency(QsoField::QsoNote);
    EXPECT_EQ(entry->Text(QsoField::QsoNote), "") << "no radio connected";
    context->Station().radioConnected = true;
    entry->Edit(QsoField::CallNotes, "old");
    entry->AppendRadioFrequency(QsoField::CallNotes);
    EXPECT_EQ(entry->Text(QsoField::CallNotes), "old 14,250KHz");
    entry->Edit(QsoField::Call, "dl1abc");
    entry->Leave(QsoField::Call);
    entry->EnterPressed();
    ASSERT_EQ(log->Count(), 1);
    EXPECT_EQ(log->Get(0)->QsoNote.text(), "at 14,250KHz") << "\"$$\" in the contest note text";
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

}

TEST_F(QsoEntryTest, AFailedFieldShowsTheErrorColourAndOpensItsList)
{
    entry->AddOffline();
    type(QsoField::Prefix, "QQQ");
    EXPECT_TRUE(entry->FieldFailed(QsoField::Prefix));
    EXPECT_EQ(events.listsDue, std::vector<QsoField>{QsoField::Prefix}) << "the country list opens";
    EXPECT_EQ(entry->Text(QsoField::Prefix), "QQQ") << "kept for the user to mend";
    type(QsoField::Prefix, "K");
    EXPECT_FALSE(entry->FieldFailed(QsoField::Prefix));
    type(QsoField::State, "ON");
    EXPECT_TRUE(entry->FieldFailed(QsoField::State));
    EXPECT_EQ(events.listsDue.back(), QsoField::State);
    type(QsoField::State, "CT");
    EXPECT_EQ(entry->Text(QsoField::Zone), "5") << "a state gives its CQ zone";
    test::AddTestCounty(countries, "CT001", "Fairfield");
    std::string county = countries.CountyName(countries.StateIndex("CT"), 1);
    ASSERT_FALSE(county.empty());
    type(QsoField::County, county);
    EXPECT_FALSE(entry->FieldFailed(QsoField::County));
    type(QsoField::County, "Nowhere");
    EXPECT_EQ(events.listsDue.back(), QsoField::County) << "the state's counties open";
    type(QsoField::State, "");
    type(QsoField::County, "Nowhere");
    EXPECT_EQ(lastMessage(), "No State information available");
    type(QsoField::Grid, "fn31pr");
    EXPECT_EQ(entry->Text(QsoField::Grid), "FN31pr");
    type(QsoField::Grid, "ZZ99");
    EXPECT_EQ(lastMessage(), "Not a good GRID");
    EXPECT_TRUE(entry->FieldFailed(QsoField::Grid));
    type(QsoField::Zone, "45");
    EXPECT_EQ(lastMessage(), "Valid range is 0..40");
    type(QsoField::Iota, "E1");
    EXPECT_EQ(events.listsDue.back(), QsoField::Iota) << "not a reference: the IOTA list opens";
    type(QsoField::Iota, "eu-5");
    EXPECT_EQ(entry->Text(QsoField::Iota), "EU005") << "written as stored, as an import writes it";
    EXPECT_FALSE(entry->FieldFailed(QsoField::Iota));
}

TEST_F(QsoEntryTest, WithoutAnIotaTableAWellFormedReferenceIsTaken)
{
    // An imported QSO carries an IOTA the program has no table for: it can still be corrected.
    countries.Iota.ClearAll();
    test::QsoBuilder("VK9XX").date(2020, 1, 1).with(&TQsoRec::Iota, "OC001").addTo(*log);
    entry->RefreshFromLog();
    entry->GoFirst();
    type(QsoField::QsoNote, "corrected");
    EXPECT_TRUE(entry->UpdateQso());
    EXPECT_EQ(log->Get(0)->Iota, "OC001");
    type(QsoField::Iota, "O1");
    EXPECT_TRUE(entry->FieldFailed(QsoField::Iota)) << "a reference must still be well formed";
}

TEST_F(QsoEntryTest, EachLeaveRuleTouchesOnlyItsFields)
{
    entry->AddOffline();
    CountryQsoLookups(countries).SetManager("W1AW", *DayNumber(2020, 1, 1), "K1MGR");
    type(QsoField::Call, "W1AW");
    type(QsoField::Date, "2021-05-01");
    EXPECT_EQ(entry->Text(QsoField::Manager), "K1MGR");
    type(QsoField::Grid, "FN31");
    type(QsoField::CallNotes, "Hiram");
    type(QsoField::State, "CA");
    EXPECT_EQ(entry->Text(QsoField::Zone), "3");
    type(QsoField::Zone, "4");
    int refreshes = events.companionsDue;
    type(QsoField::Date, "2019-05-01");
    EXPECT_EQ(entry->Text(QsoField::Manager), "") << "the manager in force on the new date";
    EXPECT_EQ(entry->Text(QsoField::Zone), "5") << "the zone the call resolves to";
    EXPECT_EQ(entry->Text(QsoField::Prefix), "K");
    EXPECT_EQ(entry->Text(QsoField::Grid), "FN31") << "what the user typed stays";
    EXPECT_EQ(entry->Text(QsoField::State), "CA");
    EXPECT_EQ(entry->Text(QsoField::CallNotes), "Hiram");
    type(QsoField::State, "");
    EXPECT_EQ(entry->Text(QsoField::Zone), "5") << "no state: the zone of the call";
    for (QsoField field : {QsoField::Prefix, QsoField::Zone, QsoField::Iota, QsoField::Grid})
        type(field, field == QsoField::Prefix ? "K" : field == QsoField::Zone ? "5" : field == QsoField::Iota ? "" : "FN42");
    EXPECT_GE(events.companionsDue - refreshes, 6) << "the summary panels follow every typed entity";
}

TEST_F(QsoEntryTest, ReportLengthFollowsTheMode)
{
    entry->AddOffline();
    EXPECT_EQ(entry->ReportLength(), 2) << "SSB: two-digit reports";
    entry->Choose(QsoList::Mode, ModeOfName("CW") - 1);
    EXPECT_EQ(entry->ReportLength(), 3);
    entry->Edit(QsoField::RstSent, "5991");
    EXPECT_EQ(entry->Text(QsoField::RstSent), "599");
}

TEST_F(QsoEntryTest, F2StaysMovesOnOrSearchesAsSetUp)
{
    config.F_F2_Confirm = 1;
    entry->AddOffline();
    for (const char *call : {"K1AA", "K2BB", "K3CC"})
        addOffline(call, "2020-01-01", "10:00");
    entry->EscapePressed();
    entry->GoFirst();
    config.F_F2_NextQSO = 0;
    entry->ConfirmLabel();
    EXPECT_EQ(entry->Text(QsoField::Call), "K1AA") << "Same QSO";
    EXPECT_TRUE(log->Get(0)->QslFlags & QslFlag::Cnfm);
    config.F_F2_NextQSO = 1;
    entry->ConfirmLabel();
    EXPECT_EQ(entry->Text(QsoField::Call), "K2BB") << "on to the next QSO, even when nothing changed";
    entry->ConfirmLabel();
    EXPECT_EQ(entry->Text(QsoField::Call), "K3CC");
    EXPECT_TRUE(log->Get(1)->QslFlags & QslFlag::Cnfm);
    config.F_F2_NextQSO = 2;
    entry->ConfirmLabel();
    EXPECT_EQ(entry->Mode(), QsoWindowMode::SearchEntry) << "a new search";
    EXPECT_TRUE(log->Get(2)->QslFlags & QslFlag::Cnfm);
    entry->EscapePressed();
    entry->GoFirst();
    entry->ConfirmLabel(AfterConfirm::SameQso); // as the same-call window does, whatever is set up
    EXPECT_EQ(entry->Mode(), QsoWindowMode::Browse);
    EXPECT_EQ(entry->Text(QsoField::Call), "K1AA");
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
    entry->Set(QsoField::Call, "");
    entry->Choose(QsoList::Mode, ModeOfName("CW") - 1);
    EXPECT_EQ(entry->Text(QsoField::RstSent), "") << "a mode searched for sets no report condition";
    EXPECT_FALSE(entry->RunSearch()) << "no CW QSO";
    entry->EscapePressed();

    // A panel's search that finds nothing goes back to the QSO shown before.
    entry->GoFirst();
    std::string before = entry->Text(QsoField::Call);
    EXPECT_FALSE(entry->SearchFor([](QsoEntry &e) { e.Set(QsoField::Call, "K1AA"); },
                                  {{-1, false, ConditionKind::WpxEqual, 0, "JA1"}}));
    EXPECT_EQ(entry->Mode(), QsoWindowMode::Browse);
    EXPECT_EQ(entry->Text(QsoField::Call), before);
    EXPECT_EQ(lastMessage(), "No matching QSO found");
}

TEST_F(QsoEntryTest, TheRadioAndASpotFeedTheQsoBeingEntered)
{
    entry->AddRealTime();
    entry->RadioReport(4, 7025); // CW on 40 m
    EXPECT_EQ(entry->Index(QsoList::Band) + 1, BandOfFreq(7025));
    EXPECT_EQ(entry->Index(QsoList::Mode) + 1, 4);
    EXPECT_EQ(entry->Text(QsoField::RstSent), "599") << "the mode's default report";
    context->Station().radioConnected = true; // a radio, its mode ignored
    context->Station().ignoreRadioMode = true;
    entry->RadioReport(14, 14200);        // SSB on 20 m
    EXPECT_EQ(entry->Index(QsoList::Band) + 1, BandOfFreq(14200));
    EXPECT_EQ(entry->Index(QsoList::Mode) + 1, 4) << "Ignore Mode in real-time";
    EXPECT_FALSE(entry->ListEnabled(QsoList::Band));
    EXPECT_TRUE(entry->ListEnabled(QsoList::Mode));
    context->Station().ignoreRadioMode = false;
    EXPECT_FALSE(entry->ListEnabled(QsoList::Mode)) << "the radio sets the mode";
    // FT8 is run in USB: the radio's SSB leaves it; its CW does not. 13cm holds its frequency though Sat does too.
    entry->Select(QsoList::Mode, ModeOfName("FT8") - 1);
    entry->Select(QsoList::Band, BandOfName("13cm") - 1);
    entry->RadioReport(14, 2320200);
    EXPECT_EQ(ModeName(entry->Index(QsoList::Mode) + 1), "FT8");
    EXPECT_EQ(BandLabel(entry->Index(QsoList::Band) + 1, false), "13cm");
    entry->RadioReport(4, 5357);
    EXPECT_EQ(ModeName(entry->Index(QsoList::Mode) + 1), "CW");
    EXPECT_EQ(BandLabel(entry->Index(QsoList::Band) + 1, false), "60m");
    entry->SpotCall("ja1xyz", TodayDayNumber());
    EXPECT_EQ(entry->Text(QsoField::Prefix), "JA");
    EXPECT_EQ(entry->Text(QsoField::Zone), "25");
    EXPECT_EQ(entry->CompanionCall(), "JA1XYZ") << "the WPX panel and the same-call window show the spot";
    entry->Edit(QsoField::Call, "K1");
    EXPECT_EQ(entry->CompanionCall(), "K1");
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
