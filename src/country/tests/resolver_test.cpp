// Resolution rules over the small test country data.

#include "testsupport/qsobuilder.h"
#include "testsupport/tempdir.h"
#include "testsupport/testcountry.h"

#include "country/countryfile.h"
#include "country/resolver.h"

#include "logstore/paths.h"
#include "logstore/qsodata.h"

#include <gtest/gtest.h>

#include <memory>

namespace vellum {
namespace {

using test::BuildTestCountryData;
using test::ChangeDay;
using test::QsoBuilder;

struct Resolved {
    std::int16_t country;
    std::uint8_t zone;
    std::uint8_t state;
};

class ResolverTest : public ::testing::Test {
protected:
    void SetUp() override { BuildTestCountryData(data); }

    Resolved resolve(const std::string &call, std::uint16_t date = 40000, std::uint8_t state = 0) const
    {
        TQsoRec rec = QsoBuilder(call).day(date).state(state).resolvedBy(resolver).build();
        return {rec.Country, rec.Zone, rec.State};
    }
    std::string prefixOf(const std::string &call, std::uint16_t date = 40000) const
    {
        return std::string(data.CountryPrefix(resolve(call, date).country));
    }
    std::int16_t country(const std::string &prefix) const { return test::CountryOf(data, prefix); }
    std::uint8_t state(const std::string &abbreviation) const
    {
        return static_cast<std::uint8_t>(data.StateIndex(abbreviation));
    }

    TCountryData data;
    CountryResolver resolver{data};
};

TEST_F(ResolverTest, DesignatorsAndNumbersAfterTheSlashAreIgnored)
{
    Resolved home = resolve("QQ2AB");
    EXPECT_EQ(home.country, country("QQ"));
    EXPECT_EQ(home.zone, 14);
    for (const char *call : {"QQ2AB/P", "QQ2AB/MM", "QQ2AB/QRP", "QQ2AB/m", "QQ2AB/12", "QQ2AB/", "/QQ2AB",
                             "P/QQ2AB", "QQ2AB/P/QRP"}) {
        Resolved r = resolve(call);
        EXPECT_EQ(r.country, home.country) << call;
        EXPECT_EQ(r.zone, home.zone) << call;
    }
}

TEST_F(ResolverTest, CallAreaDigitGivesZoneOnlyInCountriesWithStates)
{
    // HasStates 1: the area digit's zone without a state, the state's zone with one.
    EXPECT_EQ(resolve("W1AB").zone, 5);
    EXPECT_EQ(resolve("W1AB/6").zone, 3);
    EXPECT_EQ(resolve("W1AB/0").zone, 4);
    EXPECT_EQ(resolve("W1AB/6", 40000, state("NY")).zone, 5);
    EXPECT_EQ(resolve("W1AB/6", 40000, state("NY")).state, state("NY"));
    // A state index that is not in the table counts as no state.
    EXPECT_EQ(resolve("W1AB/6", 40000, 200).zone, 3);
    // HasStates 2: the state is cleared and the mapping's zone stays.
    Resolved qq = resolve("QQ2AB/6", 40000, state("NY"));
    EXPECT_EQ(qq.country, country("QQ"));
    EXPECT_EQ(qq.zone, 14);
    EXPECT_EQ(qq.state, 0);
    // HasStates 3 and 4 set the state; an unknown HasStates leaves it alone.
    EXPECT_EQ(resolve("KH6AB", 40000, state("NY")).state, state("HI"));
    EXPECT_EQ(resolve("KL7AB").state, state("AK"));
    Resolved odd = resolve("YY1AB/6", 40000, state("NY"));
    EXPECT_EQ(odd.country, country("YY"));
    EXPECT_EQ(odd.zone, 25);
    EXPECT_EQ(odd.state, state("NY"));
}

TEST_F(ResolverTest, CountryPrefixOrShorterPartReplacesTheHomeCall)
{
    EXPECT_EQ(prefixOf("XX/QQ2AB"), "XX");
    EXPECT_EQ(prefixOf("QQ2AB/XX"), "XX");
    EXPECT_EQ(resolve("QQ2AB/QV3").zone, 21);
    EXPECT_EQ(resolve("QV3/QQ2AB").zone, 21);
    // A part that begins with a digit but is no number is a prefix candidate.
    EXPECT_EQ(resolve("QQ2AB/5N").zone, 22);
    // Past the middle the text after the slash is the part, and it must be shorter to win.
    EXPECT_EQ(prefixOf("XX2E/QQ1A"), "XX");
    EXPECT_EQ(prefixOf("QQ2E/XX1A"), "QQ");
    // Not past the middle: the text before is the part; it is shorter and replaces base.
    EXPECT_EQ(prefixOf("XX2E/QQ1AB"), "XX");
    EXPECT_EQ(prefixOf("QQ2E/XX1AB"), "QQ");
    EXPECT_EQ(prefixOf("XX/QQ2AB/P"), "XX");
}

TEST_F(ResolverTest, LongBasesAreShortenedOneCharacterAtATime)
{
    EXPECT_EQ(resolve("QQ1ABC").zone, 15); // QQ1A, then QQ1
    EXPECT_EQ(resolve("QQ2ABC").zone, 14); // QQ2A, QQ2, QQ
    EXPECT_EQ(prefixOf("QABCDE"), "OLD");  // down to Q
    EXPECT_EQ(resolve("ZZ9ABC").country, 0);
    EXPECT_EQ(resolve("ZZ9ABC").zone, 0);
    EXPECT_EQ(resolve("").country, 0);
    EXPECT_EQ(resolve("/").country, 0);
    // A mapping that points at no country is passed over.
    EXPECT_EQ(prefixOf("QB1AB"), "OLD");
}

TEST_F(ResolverTest, MappingPeriodsStartInclusiveAndEndExclusive)
{
    EXPECT_EQ(prefixOf("QD1AB", ChangeDay - 1), "OLD");
    EXPECT_EQ(prefixOf("QD1AB", ChangeDay), "QQ");
    EXPECT_EQ(prefixOf("QD1AB", 0xFFFF), "QQ");
    EXPECT_EQ(prefixOf("QE1AB", test::QeEndDay - 1), "XX");
    EXPECT_EQ(prefixOf("QE1AB", test::QeEndDay), "OLD"); // ended: falls back to Q
    // Of two mappings with the same start, the one added last is in force.
    auto replacement = MappingInfo{"QD", country("XX"), 24, ChangeDay, 0xFFFF}.Encode();
    data.Mappings.AddCopy(replacement.data());
    EXPECT_EQ(prefixOf("QD1AB", ChangeDay + 5), "XX");
    EXPECT_EQ(prefixOf("QD1AB", ChangeDay - 1), "OLD");
}

TEST_F(ResolverTest, ExceptionCallsApplyToTheExactCallFromTheirDate)
{
    EXPECT_EQ(prefixOf("QQ9EX", ChangeDay - 1), "XX");
    Resolved later = resolve("QQ9EX", ChangeDay, state("NY"));
    EXPECT_EQ(data.CountryPrefix(later.country), "K");
    EXPECT_EQ(later.zone, 4);
    EXPECT_EQ(later.state, state("NY")); // the exception path leaves the state alone
    EXPECT_EQ(prefixOf("QQ9EX/P"), "QQ");
    EXPECT_EQ(prefixOf("QQ9E"), "QQ");
    // An exception whose country has ended is ignored; so is one pointing at no country.
    EXPECT_EQ(prefixOf("QQ8OLD", test::OldEndDay), "OLD");
    EXPECT_EQ(prefixOf("QQ8OLD", test::OldEndDay + 1), "QQ");
    EXPECT_EQ(prefixOf("QQ7BAD"), "QQ");
    // A search by the call alone starts at the call's first entry (date 0).
    std::int32_t first = data.Exceptions.IndexOfKey("QQ9EX");
    ASSERT_GE(first, 0);
    EXPECT_EQ(ExceptionInfo::Decode(data.Exceptions.Get(first)).date, 0);
    EXPECT_EQ(data.Exceptions.IndexOfKey("QQ9E"), -1);
    // A new exception for the same call and date is found first.
    data.AddExceptionCall("QQ9EX", country("QQ"), 17, ChangeDay);
    EXPECT_EQ(resolve("QQ9EX", ChangeDay).zone, 17);
    EXPECT_EQ(resolver.CountryOfCall("QQ9EX", ChangeDay + 5), country("QQ"));
    EXPECT_EQ(resolver.ZoneOfCall("QQ9EX", ChangeDay - 1), 20);
}

TEST_F(ResolverTest, WpxPrefixRules)
{
    struct Case {
        const char *call;
        const char *wpx;
    } cases[] = {
        {"QQ1AB", "QQ1"},    {"QQ1AB/4", "QQ4"},  {"QH6AB/7", "QH7"},   {"XX/QQ1AB", "XX0"},
        {"QQ1AB/QV3", "QV3"}, {"QQ1AB/4/P", "QQ4"}, {"QQ1AB/P/4", "QQ1"}, {"2EABC", "2E"},
        {"K12AB/4", "K4"},   {"QQ1AB/P", "QQ1"},  {"QQABC", "QQ0"},     {"QQ12345678A", "QQ12345"},
        {"", ""},            {"/", ""},           {"A", "A0"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(resolver.WpxPrefix(c.call), c.wpx) << c.call;
}

TEST_F(ResolverTest, BaseCallDropsPortableParts)
{
    EXPECT_EQ(BaseCall("KH6/K1ABC"), "K1ABC");
    EXPECT_EQ(BaseCall("K1ABC/KH6"), "K1ABC");
    EXPECT_EQ(BaseCall("K1ABC/P"), "K1ABC");
    EXPECT_EQ(BaseCall("PA/DL1ABC/P"), "DL1ABC");
    EXPECT_EQ(BaseCall("DL1ABC"), "DL1ABC");
    EXPECT_EQ(BaseCall("/"), "");
}

TEST_F(ResolverTest, DeletedWpxFamiliesCoverTrailingDigits)
{
    ParseDeletedWpx(data, "XX*\r\nQQ\n\nYY?\nQx5\nQQ\n  *\nABCDEFGHIJ\n");
    EXPECT_TRUE(resolver.IsDeletedWpx("XX"));
    EXPECT_TRUE(resolver.IsDeletedWpx("XX1"));
    EXPECT_TRUE(resolver.IsDeletedWpx("XX22"));
    EXPECT_TRUE(resolver.IsDeletedWpx("xx"));
    EXPECT_FALSE(resolver.IsDeletedWpx("xx1")); // a family matches with the same case only
    EXPECT_TRUE(resolver.IsDeletedWpx("QQ"));
    EXPECT_FALSE(resolver.IsDeletedWpx("QQ1"));
    EXPECT_FALSE(resolver.IsDeletedWpx("YY"));
    EXPECT_FALSE(resolver.IsDeletedWpx("Qx5"));
    EXPECT_FALSE(resolver.IsDeletedWpx("12"));
    EXPECT_FALSE(resolver.IsDeletedWpx(""));
    EXPECT_TRUE(resolver.IsDeletedWpx("ABCDEFG")); // cut to 7 characters
    EXPECT_EQ(data.DeletedWpx.Count(), 3);
}

TEST_F(ResolverTest, StatesCountiesAndSections)
{
    EXPECT_EQ(data.StateIndex(""), 0);
    EXPECT_EQ(data.StateIndex("ny"), state("NY"));
    EXPECT_GT(state("NY"), 0);
    EXPECT_EQ(data.StateIndex("TX"), 0);
    EXPECT_EQ(data.StateIndex("NYC"), 0);
    EXPECT_EQ(data.AllowedState(country("K"), "NY"), "NY");
    EXPECT_EQ(data.AllowedState(country("K"), "HI"), "");
    EXPECT_EQ(data.AllowedState(country("K"), "TX"), "");
    EXPECT_EQ(data.AllowedState(country("QQ"), "NY"), "");
    EXPECT_EQ(data.AllowedState(country("KH6"), ""), "HI");
    EXPECT_EQ(data.AllowedState(country("KL"), "NY"), "AK");
    EXPECT_EQ(data.AllowedState(999, "NY"), "");
    EXPECT_EQ(data.CountyName(state("NY"), 47), "Kings");
    EXPECT_EQ(data.CountyName(state("NY"), 1047), "Kings");
    EXPECT_EQ(data.CountyName(state("NY"), 48), "");
    EXPECT_EQ(data.CountyName(0, 47), "");
    EXPECT_EQ(data.CountyNumber("NY", "kings"), 47);
    EXPECT_EQ(data.CountyNumber("CA", "Kings"), 31);
    EXPECT_EQ(data.CountyNumber("TX", "Kings"), 0);
    EXPECT_EQ(data.CountyNumber("NY", "Queens"), 0);
    std::int32_t section = data.Sections.IndexOfKey("nli");
    ASSERT_GE(section, 0);
    EXPECT_EQ(data.Sections.Get(section)[SectionField::State], state("NY"));
}

TEST_F(ResolverTest, ChangesGoThroughMarkCountryDataModified)
{
    int told = 0;
    data.OnModified = [&told] { ++told; };
    EXPECT_FALSE(data.CountryDataNeedsSaving());
    data.AddExceptionCall("QQ5NEW", country("XX"), 20, 0);
    EXPECT_EQ(told, 1);
    EXPECT_TRUE(data.CountryModified);
    EXPECT_TRUE(data.CountryDataNeedsSaving());
    EXPECT_EQ(prefixOf("QQ5NEW"), "XX");
}

TEST(ResolverLogTest, ReadLogAndReplaceQsoResolveThroughTheCountryData)
{
    TCountryData data;
    BuildTestCountryData(data);
    CountryResolver resolver(data);
    test::TempDir temp("log");
    const std::string &dir = temp.path();
    std::string file = dir + "/TEST.VLL";
    {
        // Written without country data: the stored countries are wrong.
        TQsoData log;
        log.NewLog(file);
        for (const char *call : {"XX/QQ2AB", "W1AB/6", "KH6AB"})
            QsoBuilder(call).day(40000).country(77, 99).addTo(log);
        log.WriteLog(true);
    }
    LogServices services;
    services.resolver = &resolver;
    TQsoData log(services);
    ASSERT_TRUE(log.ReadLog(file, LoadMode::Load, DuplicateMode::EmptyLog));
    ASSERT_EQ(log.Count(), 3);
    for (TQsoRec *rec : log.ByCall()) {
        TQsoRec expected = *rec;
        resolver.ResolveCountry(expected);
        EXPECT_NE(rec->Country, 77) << rec->Call.view();
        EXPECT_EQ(rec->Country, expected.Country);
        EXPECT_EQ(rec->Zone, expected.Zone);
        EXPECT_EQ(rec->WpxPfx.view(), resolver.WpxPrefix(rec->Call.view()));
    }
    TQsoRec edited = *log.ByCall().Get(0);
    edited.Call = "QQ1AB/4";
    TQsoRec *replaced = log.ReplaceQso(edited, log.ByCall().Get(0));
    EXPECT_EQ(replaced->WpxPfx.view(), "QQ4");
}

} // namespace
} // namespace vellum
