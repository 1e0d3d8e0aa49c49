// The custom award list: identifiers, long names for the Cust Awd order, the
// awards that fit a QSO, and the checks of the values a QSO carries.

#include "awards/customaward.h"

#include "country/countryfile.h"

#include "logstore/qsoorders.h"
#include "logstore/qsorec.h"
#include "logstore/qsotables.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum {
namespace {

TCustAwardList sampleList()
{
    TCustAwardList list;
    TCustAward club("CLUB");
    club.Name = "Club members";
    club.AddCountries("DL,OE");
    club.AddValue("g1", "Group one");
    club.AddValue("g2", "Group two");
    list.Add(club);
    TCustAward tenTen("1010");
    tenTen.Name = "Ten-Ten number";
    tenTen.SetModes("110");
    tenTen.SetBands("000000001000000");
    tenTen.Picture = "99999";
    list.Add(tenTen);
    TCustAward any("ANY");
    any.Name = "all stations";
    any.Picture = "!!X9";
    list.Add(any);
    return list;
}

TEST(CustomAwardList, IdentifiersAreUniqueIgnoringCase)
{
    TCustAwardList list = sampleList();
    EXPECT_FALSE(list.Add(TCustAward("club")));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.At(0).Ident, "1010") << "ordered by identifier";
    EXPECT_EQ(list.IndexOf("Club"), 2);
    EXPECT_EQ(list.IndexOf("CLU"), -1);
    EXPECT_EQ(list.IndexOf(""), -1);
    EXPECT_EQ(list.LongAwdName(""), "");
    EXPECT_EQ(list.LongAwdName("NONE"), "");
    EXPECT_EQ(list.LongAwdVal("NONE", "G1"), "");
    EXPECT_EQ(list.LongAwdVal("1010", "12345"), "12345") << "no value list: the value itself";
    EXPECT_EQ(list.LongAwdVal("CLUB", "g2"), "Group two");
    EXPECT_EQ(list.LongAwdVal("CLUB", "G3"), "");
}

TEST(CustomAwardList, ValueListsHaveUniqueKeysAndNamesInBothOrders)
{
    TCustAward award("A");
    EXPECT_EQ(award.AddValue("zz", "Alpha"), TCustAward::AddValueResult::Added);
    EXPECT_EQ(award.AddValue("AA", "Zulu"), TCustAward::AddValueResult::Added);
    EXPECT_EQ(award.AddValue("Zz", "Other"), TCustAward::AddValueResult::DuplicateKey);
    EXPECT_EQ(award.AddValue("BB", "ALPHA"), TCustAward::AddValueResult::DuplicateValue);
    EXPECT_EQ(award.AddValue("LONGKEY123", "Long"), TCustAward::AddValueResult::Added);
    ASSERT_EQ(award.Values().size(), 3u);
    EXPECT_EQ(award.Values()[0].key, "AA");
    EXPECT_EQ(award.Values()[1].key, "LONGKEY1");
    EXPECT_EQ(award.ValuesByName()[0].longName, "Alpha");
    EXPECT_EQ(award.ValueOfName("zulu")->key, "AA");
    EXPECT_EQ(award.ValueOfKey("nope"), nullptr);
}

TEST(CustomAwardList, AwardsThatFitAQsoAreListedByName)
{
    TCustAwardList list = sampleList();
    int phone = ModeOfName("SSB"), digital = ModeOfName("RTTY"), tenMetres = 9, twentyMetres = 5;
    // Positions by identifier: 0 "1010", 1 "ANY", 2 "CLUB".
    EXPECT_EQ(list.AwardsFor("DL", tenMetres, phone), (std::vector<std::int32_t>{1, 2, 0}))
        << "all stations, Club members, Ten-Ten number";
    EXPECT_EQ(list.AwardsFor("K", tenMetres, phone), (std::vector<std::int32_t>{1, 0}));
    EXPECT_EQ(list.AwardsFor("DL", twentyMetres, phone), (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(list.AwardsFor("DL", tenMetres, digital), (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(list.AwardsFor("DL", 0, phone), std::vector<std::int32_t>{}) << "no band, no award";
    EXPECT_EQ(list.ByName(), (std::vector<std::int32_t>{1, 2, 0}));
}

TEST(CustomAwardList, ValuesAreCheckedAgainstTheListOrThePicture)
{
    TCustAwardList list = sampleList();
    const TCustAward &club = list.At(list.IndexOf("CLUB"));
    EXPECT_EQ(club.CheckValue("g1"), AwardValueCheck::Ok);
    EXPECT_EQ(club.CheckValue("G9"), AwardValueCheck::NotInList);
    EXPECT_EQ(club.CheckValue(""), AwardValueCheck::Empty);
    const TCustAward &tenTen = list.At(list.IndexOf("1010"));
    EXPECT_EQ(tenTen.CheckValue("12345"), AwardValueCheck::Ok);
    EXPECT_EQ(tenTen.CheckValue("123"), AwardValueCheck::Ok) << "shorter than the picture";
    EXPECT_EQ(tenTen.CheckValue("1234A"), AwardValueCheck::DoesNotFitPicture);
    EXPECT_EQ(tenTen.CheckValue("123456"), AwardValueCheck::DoesNotFitPicture);
    const TCustAward &any = list.At(list.IndexOf("ANY"));
    EXPECT_EQ(any.FormatValue("ab-1xyz"), "AB-1");
    EXPECT_EQ(any.CheckValue("ab-1"), AwardValueCheck::Ok);
    EXPECT_EQ(any.CheckValue("ab-x"), AwardValueCheck::DoesNotFitPicture);
}

TEST(CustomAwardList, TheCustAwdOrderSortsByTheLongNames)
{
    TCustAwardList list = sampleList();
    SetCustomAwardNames(&list);
    TQsoRec clubGroupTwo, clubGroupOne, tenTen, none;
    clubGroupTwo.CustAwd = "CLUB";
    clubGroupTwo.CustValue = "G2";
    clubGroupOne.CustAwd = "club";
    clubGroupOne.CustValue = "G1";
    tenTen.CustAwd = "1010";
    tenTen.CustValue = "1";
    EXPECT_LT(CompareCustAwdOrder(&clubGroupOne, &clubGroupTwo), 0) << "Group one before Group two";
    EXPECT_LT(CompareCustAwdOrder(&clubGroupTwo, &tenTen), 0) << "Club members before Ten-Ten number";
    EXPECT_LT(CompareCustAwdOrder(&none, &clubGroupOne), 0) << "no award: empty names first";
    SetCustomAwardNames(nullptr);
}

TEST(CustomAwardList, TheQsosCountryComesFromTheCountryFile)
{
    const std::string file = VELLUM_DEFAULT_COUNTRY_FILE;
    if (!std::filesystem::exists(file))
        GTEST_SKIP() << file << " was not built";
    TCountryData countries;
    RecordingNotifier notes;
    ASSERT_TRUE(LoadCountryFile(countries, file, notes));
    TCustAwardList list = sampleList();
    TQsoRec rec;
    rec.Country = static_cast<std::int16_t>(countries.CountryIndexOfPrefix("OE"));
    rec.Band = 5;
    rec.Mode = static_cast<std::uint8_t>(ModeOfName("CW"));
    EXPECT_EQ(list.AwardsFor(rec, countries), (std::vector<std::int32_t>{1, 2}));
    rec.Country = static_cast<std::int16_t>(countries.CountryIndexOfPrefix("F"));
    EXPECT_EQ(list.AwardsFor(rec, countries), (std::vector<std::int32_t>{1}));
}

} // namespace
} // namespace vellum
