#include "qso/qsosearch.h"

#include "logstore/daytime.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

TEST(SearchTests, ExactPatternAndSubstring)
{
    EXPECT_TRUE(ExactTest("QQ?AB", "QQ1AB"));
    EXPECT_TRUE(ExactTest("QQ1AB", "QQ?AB")) << "? in either text";
    EXPECT_FALSE(ExactTest("QQ?AB", "QQ10AB"));
    EXPECT_TRUE(PatternTest("QQ?AB", "qq2ab"));
    EXPECT_FALSE(PatternTest("QQ?AB", "QQ10AB"));
    EXPECT_TRUE(PatternTest("QQ*", "QQ1ABC"));
    EXPECT_FALSE(PatternTest("QQ*", "XQQ1"));
    EXPECT_TRUE(PatternTest("!QQ*", "DL1ABC"));
    EXPECT_FALSE(PatternTest("!QQ*", "QQ1ABC"));
    EXPECT_TRUE(PatternTest("*", "X"));
    EXPECT_FALSE(PatternTest("*", ""));
    EXPECT_TRUE(PatternTest("", ""));
    EXPECT_FALSE(PatternTest("", "X"));
    EXPECT_TRUE(PatternTest("*/P", "DL1ABC/P"));
    EXPECT_FALSE(PatternTest("*/P", "DL1ABC/PP"));
    EXPECT_TRUE(PatternTest("D*1*C", "DL1ABC"));
    EXPECT_FALSE(PatternTest("D*9*C", "DL1ABC"));
    EXPECT_TRUE(PatternTest("AB*AB", "ABAB")) << "segments may not overlap but may touch";
    EXPECT_FALSE(PatternTest("ABA*BA", "ABA"));
    EXPECT_EQ(SubstringPattern("buro"), "*buro*");
    EXPECT_EQ(SubstringPattern("*buro"), "*buro*");
    EXPECT_EQ(SubstringPattern("buro*"), "*buro*");
    EXPECT_TRUE(PatternTest(SubstringPattern("via"), "QSL via buro"));
}

TEST(SearchTests, FuzzyCalls)
{
    EXPECT_TRUE(FuzzyTest("QQ1CDE", "QQ1CED")) << "two swapped characters";
    EXPECT_TRUE(FuzzyTest("QQ1CDE", "QQ1CDF")) << "one change";
    EXPECT_TRUE(FuzzyTest("QQ1CDE", "QQ1CD")) << "one missing at the end";
    EXPECT_TRUE(FuzzyTest("QQ1CDE", "QQ1CDE"));
    EXPECT_FALSE(FuzzyTest("QQ1CDE", "QQ1XYE"));
    EXPECT_FALSE(FuzzyTest("QQ1CDE", "QX1CDF")) << "two changes apart";
    EXPECT_FALSE(FuzzyTest("QQ1CDE", "QQ1C"));
    EXPECT_FALSE(FuzzyTest("QQ1CDE", "Q1CDE")) << "one missing at the start";
}

class Context : public SearchContext {
public:
    std::string CountryPrefix(const TQsoRec &) const override { return "DL"; }
    std::string StateAbbreviation(const TQsoRec &) const override { return ""; }
    std::string CountyName(const TQsoRec &) const override { return ""; }
    std::string CallNote(const TQsoRec &) const override { return "op Hans"; }
    std::string Manager(const TQsoRec &) const override { return ""; }
    std::pair<std::uint16_t, std::uint16_t> DateRange(std::uint16_t around) override
    {
        ++asked;
        return {around, static_cast<std::uint16_t>(around + 10)};
    }
    int asked = 0;
};

TEST(SearchTests, ConditionsFromFieldsMatchQsos)
{
    TQsoRec rec;
    rec.Call = "DL1ABC";
    rec.Date = 45000;
    rec.Time = 12 * 3600;
    rec.Mode = 4;
    rec.Band = 5;
    rec.QslFlags = QslFlag::Cnfm;
    rec.AwdFlags = 0x04; // DXCC mixed submitted
    Context context;
    QsoFilter filter;

    SearchFields fields;
    fields.time = 12 * 3600 - 480;
    filter.Conditions = BuildConditions(fields);
    EXPECT_TRUE(filter.Matches(rec, context)) << "11:52:00 finds 12:00";
    fields.time = 12 * 3600 - 481;
    filter.Conditions = BuildConditions(fields);
    EXPECT_FALSE(filter.Matches(rec, context));

    fields = {};
    fields.qslDate = *DayNumber(1901, 1, 1);
    filter.Conditions = BuildConditions(fields);
    EXPECT_TRUE(filter.Matches(rec, context)) << "1 January 1901: QSL not sent";
    rec.QslDate = 45001;
    EXPECT_FALSE(filter.Matches(rec, context));

    fields = {};
    fields.confirmed = false;
    filter.Conditions = BuildConditions(fields);
    EXPECT_FALSE(filter.Matches(rec, context)) << "N: the flag negated";
    fields.confirmed = true;
    fields.callNote = "hans";
    fields.awardWheels = {{"DXCC mixed", 1}, {"WAZ mixed", 0}};
    filter.Conditions = BuildConditions(fields);
    EXPECT_TRUE(filter.Matches(rec, context));
    ASSERT_EQ(filter.Conditions.size(), 4u);
    EXPECT_EQ(filter.Conditions[0].field, 13);
    EXPECT_EQ(filter.Conditions[2].field, 27);
    EXPECT_EQ(filter.Conditions[3].field, 30);
    EXPECT_TRUE(filter.Conditions[3].negate);

    fields = {};
    fields.call = "DL?ABC";
    filter.Conditions = BuildConditions(fields);
    filter.CallKind = CallSearch::Pattern;
    EXPECT_TRUE(filter.Matches(rec, context));
    filter.CallKind = CallSearch::Substring;
    fields.call = "1AB";
    filter.Conditions = BuildConditions(fields);
    EXPECT_TRUE(filter.Matches(rec, context));

    fields = {};
    fields.date = 44995;
    filter.Conditions = BuildConditions(fields);
    filter.DateKind = DateSearch::Range;
    EXPECT_TRUE(filter.Matches(rec, context));
    EXPECT_TRUE(filter.Matches(rec, context));
    EXPECT_EQ(context.asked, 1) << "the range is asked for once";
    filter.DateKind = DateSearch::GreaterEqual;
    EXPECT_TRUE(filter.Matches(rec, context));
    filter.DateKind = DateSearch::Exact;
    EXPECT_FALSE(filter.Matches(rec, context));

    filter.Conditions = {{-1, false, ConditionKind::ModeGroupEqual, 2, {}}};
    EXPECT_TRUE(filter.Matches(rec, context));
    filter.OwnTest = [](const TQsoRec &) { return false; };
    EXPECT_FALSE(filter.Matches(rec, context)) << "a window's own test decides alone";
}

} // namespace
} // namespace vellum
