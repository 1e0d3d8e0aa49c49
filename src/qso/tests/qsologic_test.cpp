#include "qso/qsochecks.h"
#include "qso/qsologic.h"

#include "config/configrecord.h"
#include "country/countrydata.h"
#include "country/countryfile.h"
#include "country/resolver.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"
#include "testsupport/qsobuilder.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

TEST(QsoChecks, Callsigns)
{
    EXPECT_TRUE(ValidCallsign("K1A"));
    EXPECT_TRUE(ValidCallsign("DL1ABC/P"));
    EXPECT_TRUE(ValidCallsign("KH6/K1ABC"));
    EXPECT_TRUE(ValidCallsign("9?1"));
    EXPECT_FALSE(ValidCallsign("K1")) << "two characters";
    EXPECT_FALSE(ValidCallsign("123"));
    EXPECT_FALSE(ValidCallsign("DL1ABC//P"));
    EXPECT_FALSE(ValidCallsign("DL1ABC/"));
    EXPECT_FALSE(ValidCallsign("/DL1ABC"));
    EXPECT_FALSE(ValidCallsign("dl1abc"));
    EXPECT_FALSE(ValidCallsign("DL1-AB"));
}

TEST(QsoChecks, ReportsAgainstTheMode)
{
    const int cw = 4, ssb = 14;
    EXPECT_EQ(CheckReports("599", "59A", cw).problem, ReportProblem::None);
    EXPECT_EQ(CheckReports("59", "59A", ssb).problem, ReportProblem::BadCombination);
    EXPECT_EQ(CheckReports("", "", ssb).problem, ReportProblem::None);
    EXPECT_EQ(CheckReports("0", "", cw).problem, ReportProblem::None);
    EXPECT_EQ(CheckReports("5X9", "599", cw).problem, ReportProblem::BadValue);
    EXPECT_EQ(CheckReports("599", "599", ssb).problem, ReportProblem::BadCombination);
    EXPECT_EQ(CheckReports("", "599", ssb).problem, ReportProblem::BadCombination);
    auto ok = CheckReports("579", "589", cw);
    EXPECT_EQ(ok.sent, 579);
    EXPECT_EQ(ok.received, 589);
    EXPECT_STREQ(ReportProblemText(ReportProblem::BadValue), "Bad RST field value");
}

class QsoLogicTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecordingNotifier notifier;
        ASSERT_TRUE(LoadCountryFile(countries, VELLUM_DEFAULT_COUNTRY_FILE, notifier));
        config = BuiltInConfig();
        services.resolver = &resolver;
        log = std::make_unique<TQsoData>(services);
        logic = std::make_unique<QsoLogic>(*log, countries, resolver, config, lookups);
    }

    TQsoRec *add(const std::string &call, std::uint16_t date, std::int32_t time, std::uint8_t band = 5,
                 std::uint8_t mode = 4)
    {
        return test::QsoBuilder(call).day(date).seconds(time).band(band).mode(mode).resolvedBy(resolver).addTo(*log);
    }

    TCountryData countries;
    CountryResolver resolver{countries};
    TConfigRecord config;
    QsoLookups lookups;
    LogServices services;
    std::unique_ptr<TQsoData> log;
    std::unique_ptr<QsoLogic> logic;
};

TEST_F(QsoLogicTest, ProcessingACallFillsCountryZoneAndTheLatestQsosDetails)
{
    CallInfo dl = logic->ProcessCall("DL1ABC", 45000);
    EXPECT_EQ(dl.prefix, "DL");
    EXPECT_EQ(dl.countryName, "Fed. Rep. of Germany");
    EXPECT_EQ(dl.zone, 14);
    EXPECT_TRUE(dl.validDx);
    EXPECT_FALSE(logic->ProcessCall("DL1ABC/MM", 45000).validDx);

    TQsoRec *earlier = add("W1AW", 44000, 0);
    (void)earlier;
    TQsoRec edited = *log->Get(0);
    edited.State = static_cast<std::uint8_t>(countries.StateIndex("CT"));
    edited.Grid = "FN31pr";
    edited.QslFlags |= QslFlag::YLop;
    log->ReplaceQso(edited, log->Get(0));
    log->Notes.SetNote("W1AW", "op Hiram");
    CallInfo w = logic->ProcessCall("W1AW", 45000);
    EXPECT_EQ(w.state, "CT");
    EXPECT_EQ(w.grid, "FN31pr");
    EXPECT_TRUE(w.ylOperator);
    EXPECT_EQ(w.callNote, "op Hiram");
    EXPECT_EQ(w.zone, 5);

    CallInfo none = logic->ProcessCall("QQ0QQQ", 45000);
    if (none.country == 0) {
        EXPECT_TRUE(none.prefix.empty());
        EXPECT_TRUE(none.countryName.empty());
    }
}

TEST_F(QsoLogicTest, AnOverruledCountryIsLearnedForLaterQsos)
{
    add("AB1CD", 45000, 100);
    add("AB1CD", 45001, 100);
    add("AB1CD", 44000, 100);
    TQsoRec overruled;
    overruled.Call = "AB1CD";
    overruled.Date = 45000;
    overruled.Time = 50;
    overruled.Country = static_cast<std::int16_t>(countries.CountryIndexOfPrefix("KH6"));
    overruled.Zone = 31;
    ASSERT_GT(overruled.Country, 0);
    EXPECT_EQ(logic->LearnException(overruled), 2);
    int changed = 0;
    for (const TQsoRec *q : *log)
        if (q->Country == overruled.Country) {
            ++changed;
            EXPECT_GE(q->Date, 45000);
        }
    EXPECT_EQ(changed, 2);
    EXPECT_TRUE(countries.CountryModified);
    EXPECT_EQ(resolver.CountryOfCall("AB1CD", 45002), overruled.Country) << "the next QSO resolves to the choice";
    EXPECT_EQ(logic->LearnException(overruled), 0) << "nothing to learn when resolution agrees";
}

TEST_F(QsoLogicTest, ContestDupesCountFromTheStartOnSameBandAndMode)
{
    add("K1ABC", 45000, 3600, 5, 4);
    add("K1ABC", 44999, 3600, 7, 4);
    EXPECT_TRUE(logic->IsContestDupe("K1ABC", 5, 4, 45000, 0, nullptr));
    EXPECT_FALSE(logic->IsContestDupe("K1ABC", 7, 4, 45000, 0, nullptr)) << "the 15m QSO lies before the start";
    EXPECT_FALSE(logic->IsContestDupe("K1ABC", 5, 14, 45000, 0, nullptr));
    EXPECT_FALSE(logic->IsContestDupe("K1ABC", 5, 4, 45000, 7200, nullptr)) << "after the only QSO";
    EXPECT_FALSE(logic->IsContestDupe("K1ABC", 5, 4, 45000, 0, [](const TQsoRec &) { return false; }));
}

TEST_F(QsoLogicTest, BlankQsoAndCarryOver)
{
    config.DefQSO_Mode = 4;
    config.DefQSO_band = 7;
    config.DefQSO_Group = 3;
    config.DefQSO_Label = 1;
    TQsoRec blank = logic->BlankQso(nullptr);
    EXPECT_EQ(blank.Mode, 4);
    EXPECT_EQ(blank.Band, 7);
    EXPECT_EQ(blank.Group, 3);
    EXPECT_EQ(blank.RstSent, 599);
    EXPECT_TRUE(blank.QslFlags & QslFlag::Label);
    TQsoRec previous = blank;
    previous.Mode = 14;
    previous.Date = 45000;
    previous.Time = 77;
    previous.QslFlags |= QslFlag::QRP;
    previous.Call = "X1X";
    TQsoRec next = logic->BlankQso(&previous);
    EXPECT_EQ(next.Mode, 14);
    EXPECT_EQ(next.RstSent, 59);
    EXPECT_EQ(next.Date, 45000);
    EXPECT_TRUE(next.QslFlags & QslFlag::QRP);
    EXPECT_TRUE(next.Call.empty());
}

TEST_F(QsoLogicTest, DirectionPrefersGridThenStateThenCountry)
{
    config.Personal_Latitude = 52.52;
    config.Personal_Longitude = 13.405;
    std::int16_t usa = static_cast<std::int16_t>(countries.CountryIndexOfPrefix("K"));
    EXPECT_EQ(logic->DirectionText("FN31", "", "CT", usa).substr(0, 6), "FN31: ");
    EXPECT_EQ(logic->DirectionText("", "", "CT", usa).substr(0, 4), "CT: ");
    EXPECT_EQ(logic->DirectionText("", "NA001", "", usa).substr(0, 3), "K: ") << "IOTA without a position";
    EXPECT_EQ(logic->DirectionText("", "", "", 0), "");
}

TEST_F(QsoLogicTest, NavigationSkipsQsosTheSelectionDoesNotAdmit)
{
    for (int i = 0; i < 10; ++i)
        add("K" + std::to_string(i % 3) + "AA", static_cast<std::uint16_t>(45000 + i), 0);
    QsoNavigator all(log->ViewIndex(), nullptr); // the Date order: the master list
    EXPECT_EQ(all.First(), 0);
    EXPECT_EQ(all.Last(), 9);
    EXPECT_FALSE(all.Step(9, 1)) << "past the end";
    QsoNavigator even(log->ViewIndex(), [](const TQsoRec &r) { return r.Date % 2 == 0; });
    EXPECT_EQ(even.Step(0, 1), 2);
    EXPECT_EQ(even.Last(), 8);
    QsoNavigator byCall(log->ByCall(), nullptr);
    auto next = byCall.StepSorted(0, 1, [](const TQsoRec *a, const TQsoRec *b) {
        return a->Call.view().compare(b->Call.view());
    });
    ASSERT_TRUE(next);
    EXPECT_NE(log->ByCall().Get(*next)->Call, log->ByCall().Get(0)->Call) << "Next Sorted skips the call's QSOs";
    EXPECT_EQ(*next, 4);
}

} // namespace
} // namespace vellum

#include "qso/banddecoder.h"

namespace vellum {
namespace {

TEST(BandDecoder, BytesWithinTheChosenRange)
{
    EXPECT_EQ(BandDecoderByte(1, 1), 1);
    EXPECT_EQ(BandDecoderByte(9, 1), 129);
    EXPECT_FALSE(BandDecoderByte(10, 1)) << "6m lies outside 160m-10m";
    EXPECT_EQ(BandDecoderByte(10, 2), 0);
    EXPECT_EQ(BandDecoderByte(14, 3), 65);
    EXPECT_FALSE(BandDecoderByte(9, 3));
    EXPECT_FALSE(BandDecoderByte(15, 2)) << "no byte for satellites";
    ParallelPortOutput missing("/nonexistent/parport9");
    EXPECT_FALSE(missing.Write(1));
}

} // namespace
} // namespace vellum
