#include "labels/greetings.h"
#include "labels/printlist.h"

#include "country/resolver.h"
#include "logstore/qsodata.h"
#include "testsupport/qsobuilder.h"
#include "testsupport/testcountry.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

using test::QsoBuilder;

class PrintListTest : public ::testing::Test {
protected:
    void SetUp() override { test::BuildTestCountryData(countries); }

    TQsoRec *queued(const char *call, int day, int method, std::uint8_t flags = QslFlag::Label)
    {
        return QsoBuilder(call).date(2020, 5, day).time(12, 0).band(5).mode(1).qslMethod(static_cast<std::uint8_t>(method))
            .qslFlags(flags).addTo(log);
    }
    std::vector<std::string> calls(const LabelPrintList &list)
    {
        std::vector<std::string> out;
        for (const LabelItem &item : list.Items())
            out.push_back(item.call);
        return out;
    }

    TCountryData countries;
    CountryResolver resolver{countries};
    TQsoData log;
};

TEST_F(PrintListTest, QslRunListsLabelQsosInMethodCountryAndCallAreaOrder)
{
    queued("XX1BB", 1, QslMethodNr::Buro);
    queued("K2XX", 2, QslMethodNr::Direct);
    queued("W1AW", 3, QslMethodNr::Direct);
    queued("XX1AA", 4, QslMethodNr::Dollars);
    queued("XX1CC", 5, QslMethodNr::Buro, 0); // not queued for a label
    LabelPrintList list(log, resolver);
    list.Collect({});
    EXPECT_EQ(calls(list), (std::vector<std::string>{"XX1AA", "W1AW", "K2XX", "XX1BB"}));
    list.Collect({LabelKind::Qsl, QslMethodNr::Direct});
    EXPECT_EQ(calls(list), (std::vector<std::string>{"W1AW", "K2XX"}));
}

TEST_F(PrintListTest, ConfirmedQsosOfAStationComeFirstThenTheLogOrder)
{
    queued("XX1AA", 1, QslMethodNr::Buro);
    queued("XX1AA", 2, QslMethodNr::Buro, QslFlag::Label | QslFlag::Cnfm);
    queued("XX1AA", 3, QslMethodNr::Buro);
    LabelPrintList list(log, resolver);
    list.Collect({});
    ASSERT_EQ(list.Items().size(), 3u);
    EXPECT_TRUE(list.Items()[0].confirmed);
    EXPECT_LT(list.Items()[1].date, list.Items()[2].date);
}

TEST(UsCallArea, TheFirstDigitAndForFourItsPosition)
{
    EXPECT_EQ(UsCallAreaMark("W1AW"), "1");
    EXPECT_EQ(UsCallAreaMark("K2XX"), "2");
    EXPECT_EQ(UsCallAreaMark("N4AA"), "42");
    EXPECT_EQ(UsCallAreaMark("WA4AAA"), "43");
    EXPECT_EQ(UsCallAreaMark("KAAA"), "0");
    EXPECT_LT(QslMethodRank(QslMethodNr::Dollars), QslMethodRank(QslMethodNr::Direct));
    EXPECT_LT(QslMethodRank(QslMethodNr::Direct), QslMethodRank(QslMethodNr::Buro));
    EXPECT_LT(QslMethodRank(QslMethodNr::None), QslMethodRank(QslMethodNr::Ignore));
}

TEST_F(PrintListTest, SequenceRunFollowsTheQueueNumbers)
{
    queued("XX1AA", 1, 0, 0)->PrtSeqNr = 3;
    queued("XX1BB", 2, 0, 0)->PrtSeqNr = 1;
    queued("XX1CC", 3, 0, 0);
    queued("XX1DD", 4, 0, 0)->PrtSeqNr = 2;
    LabelPrintList list(log, resolver);
    list.Collect({LabelKind::Sequence});
    EXPECT_EQ(calls(list), (std::vector<std::string>{"XX1BB", "XX1DD", "XX1AA"}));
}

TEST_F(PrintListTest, SwlRunListsEverySwlRecordByCall)
{
    for (const char *call : {"ONL2", "DE1", "BRS9"}) {
        auto swl = std::make_unique<TSwlRec>();
        swl->Call = call;
        swl->Date = 40000;
        log.SwlList.Add(swl.release());
    }
    LabelPrintList list(log, resolver);
    list.Collect({LabelKind::Swl});
    EXPECT_EQ(calls(list), (std::vector<std::string>{"BRS9", "DE1", "ONL2"}));
    list.MarkAll();
    EXPECT_EQ(CountPrintedMarks(log, LabelKind::Swl), 3);
    ClearPrintedMarks(log, LabelKind::Swl);
    EXPECT_EQ(CountPrintedMarks(log, LabelKind::Swl), 0);
}

TEST_F(PrintListTest, BuroQsosWithoutABureauAreCountedAndTheAlternateMethodApplies)
{
    queued("XX1AA", 1, QslMethodNr::Buro);
    TQsoRec *lost = queued("ZZ9ZZ", 2, QslMethodNr::Buro); // resolves to no country: no bureau
    queued("ZZ8ZZ", 3, QslMethodNr::Direct);
    LabelPrintList list(log, resolver);
    PrintListSettings settings;
    settings.alternateMethod = QslMethodNr::Ignore;
    list.Collect(settings);
    EXPECT_EQ(list.NoBuroCount(), 1);
    EXPECT_EQ(list.StatusText(), "Printing 2 QSOs");
    log.MarkSaved();
    list.ApplyAlternateMethod();
    EXPECT_EQ(list.Items().size(), 2u);
    EXPECT_EQ(lost->QslFlags & QslFlag::Label, 0);
    EXPECT_TRUE(log.IsModified());

    lost->QslFlags |= QslFlag::Label;
    settings.alternateMethod = QslMethodNr::Direct;
    list.Collect(settings);
    list.ApplyAlternateMethod();
    EXPECT_EQ(lost->QslMethod, QslMethodNr::Direct);
    EXPECT_EQ(list.Items().size(), 3u);
    EXPECT_EQ(list.Items()[0].method, QslMethodNr::Direct);
}

TEST_F(PrintListTest, PrintedMarksAreClearedAndCountedPerKind)
{
    queued("XX1AA", 1, QslMethodNr::Buro);
    queued("XX1BB", 2, QslMethodNr::Buro);
    LabelPrintList list(log, resolver);
    list.Collect({});
    LabelPrintList::SetPrinted(list.Items()[0]);
    EXPECT_EQ(CountPrintedMarks(log, LabelKind::Qsl), 1);
    ClearPrintedMarks(log, LabelKind::Sequence);
    EXPECT_EQ(CountPrintedMarks(log, LabelKind::Qsl), 0);
}

TEST(Greetings, PlaceholdersAreReplacedOnce)
{
    GreetingValues values;
    values.confirmed = true;
    values.printGroups = true;
    values.groupName = "Contest";
    values.firstName = "John";
    EXPECT_EQ(FillGreeting("@@ && 73 %% @@", values), "Tnx QSL  John 73 Contest @@");
    values.confirmed = false;
    values.firstName.clear();
    values.printGroups = false;
    EXPECT_EQ(FillGreeting("@@&& %%", values), "Pse QSL %%");
}

TEST(Greetings, FirstNameFromTheCallsNote)
{
    TNotes notes;
    notes.SetNote("DL1ABC", "john smith");
    notes.SetNote("F5XX", "JEAN-PIERRE DUPONT");
    GreetingValues values;
    values.firstName = notes.NameFromNote("DL1ABC");
    EXPECT_EQ(FillGreeting("&& 73", values), " John 73");
    EXPECT_EQ(notes.NameFromNote("F5XX"), "Jean-Pierre");
}

} // namespace
} // namespace vellum
