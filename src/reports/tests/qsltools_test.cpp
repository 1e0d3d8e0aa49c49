// "Mark QSOs for QSL" and "Change QSL routing" over a constructed log.

#include "reportfixture.h"

#include "country/managers.h"
#include "reports/qsltools.h"

namespace vellum::test {
namespace {

constexpr std::uint8_t B40 = 3, B20 = 5, Buro = 1, Service = 2, Direct = 3, Ignore = 6;

class QslToolsTest : public ReportTest {
protected:
    std::vector<std::string> LabelledCalls() const
    {
        std::vector<std::string> calls;
        for (const TQsoRec *qso : *log)
            if (qso->QslFlags & QslFlag::Label)
                calls.push_back(qso->Call.str() + "/" + std::to_string(qso->QslMethod));
        std::sort(calls.begin(), calls.end());
        return calls;
    }
    MarkQslOptions Options(MarkQslAward award) const
    {
        MarkQslOptions options;
        options.award = award;
        options.mixed.method = Direct;
        options.today = Day(2024, 6, 1);
        options.homeCountry = static_cast<std::int16_t>(countries.CountryIndexOfPrefix("QQ"));
        return options;
    }
};

TEST_F(QslToolsTest, MarksQsosOfCountriesStillNeeded)
{
    Add(Qso("XX1A", "XX"));                                                      // needed: marked
    Add(Qso("XX1B", "XX").date(2019, 1, 1));                                      // before the date
    Add(Qso("K1A", "K"));                                                        // K is confirmed below
    Add(Qso("K1B", "K").band(B40).mode(14).qslFlags(QslFlag::ValidDX | QslFlag::Cnfm));
    Add(Qso("YY1A", "YY").qslMethod(Ignore));                                    // "Ignore"
    Add(Qso("KL1A", "KL").qslFlags(0));                                          // not valid for DXCC
    Add(Qso("KH6A", "KH6").qslFlags(QslFlag::ValidDX | QslFlag::Label).qslMethod(Buro)); // labelled already
    log->MarkSaved();
    MarkQslOptions options = Options(MarkQslAward::Dxcc);
    options.onlyAfter = Day(2020, 1, 1);
    EXPECT_EQ(MarkQsosForQsl(model, *log, options), 1);
    EXPECT_EQ(LabelledCalls(), (std::vector<std::string>{"KH6A/1", "XX1A/3"}));
    EXPECT_TRUE(log->IsModified());

    // The mode row marks what the mixed level no longer needs: K in CW.
    MarkQslOptions mode = Options(MarkQslAward::Dxcc);
    mode.mixed.method = 0;
    mode.mode.method = Service;
    EXPECT_EQ(MarkQsosForQsl(model, *log, mode), 2); // K1A in CW, XX1B
    EXPECT_EQ(LabelledCalls(), (std::vector<std::string>{"K1A/2", "KH6A/1", "XX1A/3", "XX1B/2"}));
}

TEST_F(QslToolsTest, RecentQslSentKeepsARowFromApplying)
{
    Add(Qso("XX1A", "XX").qslDate(Day(2024, 5, 20)));
    MarkQslOptions options = Options(MarkQslAward::Dxcc);
    options.mixed.weeks = 4;
    EXPECT_EQ(MarkQsosForQsl(model, *log, options), 0);
    options.mixed.weeks = 1;
    EXPECT_EQ(MarkQsosForQsl(model, *log, options), 1);
}

TEST_F(QslToolsTest, DxSingleBandMarksOneQsoPerCallAndBand)
{
    Add(Qso("XX1A", "XX").date(2022, 1, 1));
    Add(Qso("XX1A", "XX").date(2022, 2, 1).mode(14));
    Add(Qso("XX1A", "XX").date(2022, 3, 1).band(B40));
    Add(Qso("XX2B", "XX").date(2022, 1, 1).qslDate(Day(2022, 2, 1))); // QSL sent: covered
    Add(Qso("XX2B", "XX").date(2022, 4, 1));
    Add(Qso("QQ1H", "QQ"));                                            // the home country
    EXPECT_EQ(MarkQsosForQsl(model, *log, Options(MarkQslAward::DxSingleBand)), 2);
    std::vector<std::string> marked;
    for (const TQsoRec *qso : *log)
        if (qso->QslFlags & QslFlag::Label)
            marked.push_back(qso->Call.str() + " " + std::to_string(qso->Band) + " " + std::to_string(qso->Mode));
    std::sort(marked.begin(), marked.end());
    EXPECT_EQ(marked, (std::vector<std::string>{"XX1A 3 4", "XX1A 5 14"})); // the newest on 20m

    // All band/mode: the 20m CW QSO is another band and mode pair.
    EXPECT_EQ(MarkQsosForQsl(model, *log, Options(MarkQslAward::DxAllBandMode)), 1);
}

TEST_F(QslToolsTest, CountyItemsInHandAreSkipped)
{
    auto ny = static_cast<std::uint8_t>(countries.StateIndex("NY"));
    Add(Qso("K2A", "K").state(ny).with(&TQsoRec::County, std::uint16_t{47}).date(2022, 1, 1));
    Add(Qso("K2B", "K").state(ny).with(&TQsoRec::County, std::uint16_t{47}).date(2022, 2, 1));
    Add(Qso("K2C", "K").state(ny).with(&TQsoRec::County, std::uint16_t{47}).band(B40));
    Add(Qso("K2D", "K").state(ny).with(&TQsoRec::County, std::uint16_t{61}));
    Add(Qso("K2E", "K").state(ny).with(&TQsoRec::County, std::uint16_t{61}).qslFlags(QslFlag::ValidDX | QslFlag::Cnfm));
    EXPECT_EQ(MarkQsosForQsl(model, *log, Options(MarkQslAward::County)), 2);
    EXPECT_EQ(LabelledCalls(), (std::vector<std::string>{"K2B/3", "K2C/3"}));
}

TEST_F(QslToolsTest, RemoveDuplicateQslsLeavesOneOfTwoLabelledTwins)
{
    Add(Qso("XX1A", "XX").date(2022, 1, 1).qslFlags(QslFlag::ValidDX | QslFlag::Label).qslMethod(Buro));
    Add(Qso("XX1A", "XX").date(2022, 2, 1).qslFlags(QslFlag::ValidDX | QslFlag::Label).qslMethod(Buro));
    Add(Qso("XX1A", "XX").date(2022, 3, 1).band(B40).qslFlags(QslFlag::ValidDX | QslFlag::Label).qslMethod(Buro));
    EXPECT_EQ(RemoveDuplicateQsls(*log), 1);
    std::int64_t labelled20 = 0;
    for (const TQsoRec *qso : *log)
        labelled20 += qso->Band == B20 && (qso->QslFlags & QslFlag::Label);
    EXPECT_EQ(labelled20, 1);
    EXPECT_EQ(LabelledCalls().size(), 2u);
}

TEST_F(QslToolsTest, RoutingCountsAndDirectToService)
{
    Add(Qso("XX1A", "XX").qslFlags(QslFlag::ValidDX | QslFlag::Label).qslMethod(Direct));
    Add(Qso("XX1B", "XX").qslFlags(QslFlag::ValidDX | QslFlag::Label).qslMethod(Buro));
    Add(Qso("XX1C", "XX").qslMethod(Direct)); // not labelled
    RoutingCounts counts = CountLabelledByRoute(resolver, *log);
    EXPECT_EQ(counts[static_cast<std::size_t>(QslRoute::NoManager)][Direct - 1], 1);
    EXPECT_EQ(counts[static_cast<std::size_t>(QslRoute::NoManager)][Buro - 1], 1);
    EXPECT_EQ(DirectToServiceForNonUsaManagers(resolver, *log), 1);
    EXPECT_EQ(LabelledCalls(), (std::vector<std::string>{"XX1A/2", "XX1B/1"}));
    EXPECT_EQ(BuroToDirectWithoutBuro(resolver, *log), 0); // XX has a bureau
}

TEST_F(QslToolsTest, PassOnMethodsToTheSameCall)
{
    Add(Qso("XX1A", "XX").date(2022, 1, 1).qslFlags(QslFlag::ValidDX | QslFlag::Label).qslMethod(Direct));
    Add(Qso("XX1A", "XX").date(2022, 2, 1).band(B40));                                            // gets Direct
    Add(Qso("XX1A", "XX").date(2022, 3, 1).qslFlags(QslFlag::ValidDX | QslFlag::Label).qslMethod(Buro)); // raised
    Add(Qso("XX1A", "XX").date(2022, 4, 1).mode(14).qslDate(Day(2024, 5, 30)));                   // sent lately
    Add(Qso("XX9Z", "XX"));
    EXPECT_EQ(PassOnQslMethods(resolver, *log, 30, Day(2024, 6, 1)), 2);
    EXPECT_EQ(LabelledCalls(), (std::vector<std::string>{"XX1A/3", "XX1A/3", "XX1A/3"}));
}

} // namespace
} // namespace vellum::test
