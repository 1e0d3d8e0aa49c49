// The cty.dat reader and the converter, on small texts written here.

#include "testsupport/testcountry.h"

#include "country/ctyconvert.h"
#include "country/resolver.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

// Five entities in the cty.dat layout: a "*" entity, zone overrides, exact
// calls (one too long, one listed again with another zone), a prefix too long
// for a mapping, and the three countries with states.
const char *const SampleCty = R"(Hawaii:                   31:  61:  OC:   21.12:   157.48:    10.0:  KH6:
    AH6,KH6,=K1HI;
Alaska:                   01:  01:  NA:   61.40:   148.87:     8.0:  KL:
    AL,KL;
United States of America: 05:  08:  NA:   37.60:    91.87:     5.0:  K:
    K,W,W6(3)[6],=N2NL/MM(7),=WA1WCC/100RCA,
    =K1HI(4);
Italy:                    15:  28:  EU:   42.82:   -12.58:    -1.0:  I:
    I,IT9<37.5/-14.0>{AF}~-2.0~,PP0ZF;
Sicily:                   15:  28:  EU:   37.50:   -14.00:    -1.0:  *IT9:
    IT9,IW9,=IT9ABC(33);
)";

DefaultTables sampleDefaults()
{
    DefaultTables tables;
    tables.starEntities = ParseStarEntities("# comment\n*IT9  I  Sicily\n", "star.txt");
    tables.states = ParseUsStates("NY 5 43.30 -74.22 New York\nHI 31 19.90 -155.67 Hawaii\n"
                                  "AK 1 63.59 -154.49 Alaska\n",
                                  "states.txt");
    tables.sections = ParseArrlSections("NLI NY New York City - Long Island\nPR - Puerto Rico\n", "sections.txt");
    return tables;
}

TEST(CtyDatTest, ReadsHeadersPrefixesAndOverrides)
{
    std::vector<CtyEntity> entities = ParseCtyDat(SampleCty);
    ASSERT_EQ(entities.size(), 5u);
    const CtyEntity &us = entities[2];
    EXPECT_EQ(us.name, "United States of America");
    EXPECT_EQ(us.cqZone, 5);
    EXPECT_EQ(us.ituZone, 8);
    EXPECT_EQ(us.westLongitude, 91.87);
    EXPECT_EQ(us.utcBehind, 5.0);
    EXPECT_EQ(us.line, 5);
    ASSERT_EQ(us.prefixes.size(), 6u);
    EXPECT_EQ(us.prefixes[2].text, "W6");
    EXPECT_EQ(us.prefixes[2].cqZone, 3);
    EXPECT_EQ(us.prefixes[2].ituZone, 6);
    EXPECT_TRUE(us.prefixes[3].exactCall);
    EXPECT_EQ(us.prefixes[3].text, "N2NL/MM");
    EXPECT_EQ(entities[3].prefixes[1].text, "IT9");
    EXPECT_EQ(entities[3].prefixes[1].cqZone, -1);
    EXPECT_TRUE(entities[4].waeOnly);
    EXPECT_EQ(entities[4].primaryPrefix, "IT9");
}

TEST(CtyDatTest, FormatErrorsNameTheLine)
{
    auto errorOf = [](const char *text) {
        try {
            ParseCtyDat(text);
        } catch (const CtyFormatError &e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_EQ(errorOf("\n\nItaly: 15: 28: EU: 42.82: -12.58: -1.0: I:\n    I,IT9"),
              "cty.dat line 3: the prefix list of Italy does not end with \";\"");
    EXPECT_EQ(errorOf("Italy: 15: 28: EU: north: -12.58: -1.0: I:\n I;"),
              "cty.dat line 1: latitude \"north\" is not a number");
    EXPECT_EQ(errorOf("Italy: 15: 28: EU: 42.82: -12.58\n: -1.0: I:\n I;"),
              "cty.dat line 1: the entity header does not have eight fields ending in \":\"");
    EXPECT_EQ(errorOf("Italy: 15: 28: EU: 42.82: -12.58: -1.0: I:\n I,\n I(15,\n IT;"),
              "cty.dat line 3: override in \"I(15\" is not closed");
    EXPECT_EQ(errorOf("Italy: 15: 28: EU: 42.82: -12.58: -1.0: I:\n I,I-T;"),
              "cty.dat line 2: \"I-T\" is not a prefix or call");
    EXPECT_EQ(errorOf(""), "");
}

TEST(CtyConvertTest, BuildsCountriesMappingsAndExceptionCalls)
{
    TCountryData data;
    ConversionReport report = ConvertCtyDat(ParseCtyDat(SampleCty), sampleDefaults(), nullptr, data);
    // Entry 0 and four countries: Sicily is folded into Italy.
    ASSERT_EQ(data.CountryCount(), 5);
    EXPECT_LT(data.CountryIndexOfPrefix("IT9"), 0);
    CountryInfo italy = data.Country(data.CountryIndexOfPrefix("I"));
    EXPECT_EQ(italy.longitude, 12.58); // East positive
    EXPECT_EQ(italy.utcOffset, 1.0);   // ahead of UTC positive
    EXPECT_EQ(italy.continent, static_cast<std::uint8_t>(Continent::Europe));
    EXPECT_EQ(italy.endDate, 0xFFFF);
    CountryInfo us = data.Country(data.CountryIndexOfPrefix("K"));
    EXPECT_EQ(us.longitude, -91.87);
    EXPECT_EQ(us.utcOffset, -5.0);
    EXPECT_EQ(us.hasStates, HasStatesValue::Yes);
    EXPECT_EQ(data.Country(data.CountryIndexOfPrefix("KH6")).hasStates, HasStatesValue::Hawaii);
    EXPECT_EQ(data.Country(data.CountryIndexOfPrefix("KL")).hasStates, HasStatesValue::Alaska);
    EXPECT_EQ(italy.hasStates, HasStatesValue::No);

    CountryResolver resolver(data);
    auto prefixOf = [&](const char *call) { return std::string(data.CountryPrefix(resolver.CountryOfCall(call, 40000))); };
    EXPECT_EQ(prefixOf("IW9XYZ"), "I");
    EXPECT_EQ(resolver.ZoneOfCall("IT9ABC", 40000), 33);
    EXPECT_EQ(resolver.ZoneOfCall("W6ABC", 40000), 3);
    EXPECT_EQ(resolver.ZoneOfCall("N2NL/MM", 40000), 7);
    EXPECT_EQ(prefixOf("K1HI"), "KH6"); // the first listing of a call wins
    EXPECT_EQ(prefixOf("AH6AB"), "KH6");

    EXPECT_EQ(report.longPrefixes, std::vector<std::string>{"PP0ZF (Italy)"});
    EXPECT_EQ(report.longCalls, std::vector<std::string>{"=WA1WCC/100RCA (United States of America)"});
    EXPECT_EQ(report.duplicates, std::vector<std::string>{"=K1HI (United States of America)"});

    // Entry 0 placeholders, then the defaults: states, sections, the IOTA placeholder.
    EXPECT_EQ(data.Mappings.KeyString(0), "");
    EXPECT_EQ(data.Exceptions.KeyString(0), "");
    EXPECT_EQ(data.States.Count(), 4);
    EXPECT_EQ(data.StateCqZone(data.StateIndex("HI")), 31);
    EXPECT_EQ(data.Sections.Get(data.Sections.IndexOfKey("NLI"))[SectionField::State], data.StateIndex("NY"));
    EXPECT_EQ(data.Sections.Get(data.Sections.IndexOfKey("PR"))[SectionField::State], 0);
    EXPECT_EQ(data.Iota.Count(), 1);
}

TEST(CtyConvertTest, KeepTakesReferenceTablesAndEditedCountryFields)
{
    TCountryData existing;
    test::BuildTestCountryData(existing);
    CountryInfo edited = existing.Country(existing.CountryIndexOfPrefix("K"));
    existing.Countries.DeleteAt(existing.CountryIndexOfPrefix("K"));
    edited.buro = FlagNo;
    edited.iota = "NA111";
    edited.mapNumber = 7;
    existing.Countries.AddRecord(edited.Encode().data());

    TCountryData data;
    ConvertCtyDat(ParseCtyDat(SampleCty), sampleDefaults(), &existing, data);
    EXPECT_EQ(data.Counties.Count(), existing.Counties.Count());
    EXPECT_EQ(data.CountyNumber("CA", "Kings"), 31);
    EXPECT_EQ(data.States.Count(), existing.States.Count());
    EXPECT_EQ(data.Managers.Count(), 1);
    EXPECT_EQ(data.Addresses.TailString(0), existing.Addresses.TailString(0));
    EXPECT_EQ(data.Iota.Count(), 2);
    CountryInfo us = data.Country(data.CountryIndexOfPrefix("K"));
    EXPECT_EQ(us.buro, FlagNo);
    EXPECT_EQ(us.iota, "NA111");
    EXPECT_EQ(us.mapNumber, 7);
    EXPECT_EQ(us.name, "United States of America"); // cty.dat gives the rest
}

TEST(CtyConvertTest, StarEntityWithoutParentIsAnError)
{
    DefaultTables tables = sampleDefaults();
    tables.starEntities = ParseStarEntities("*IT9 ZZ\n", "star.txt");
    TCountryData data;
    EXPECT_THROW(ConvertCtyDat(ParseCtyDat(SampleCty), tables, nullptr, data), CtyFormatError);
    // A "*" entity missing from the table stays a country of its own, and is reported.
    tables.starEntities.clear();
    ConversionReport report = ConvertCtyDat(ParseCtyDat(SampleCty), tables, nullptr, data);
    EXPECT_GE(data.CountryIndexOfPrefix("IT9"), 1);
    ASSERT_EQ(report.notes.size(), 1u);
}

TEST(CtyConvertTest, DataFileErrorsNameFileAndLine)
{
    EXPECT_THROW(ParseUsStates("NY 5 43.30 -74.22\n", "states.txt"), CtyFormatError);
    EXPECT_THROW(ParseUsStates("NY 55 43.30 -74.22 New York\n", "states.txt"), CtyFormatError);
    EXPECT_THROW(ParseArrlSections("NLIX NY\n", "sections.txt"), CtyFormatError);
    try {
        ParseStarEntities("# x\n\nIT9 I\n", "star.txt");
        FAIL();
    } catch (const CtyFormatError &e) {
        EXPECT_EQ(std::string(e.what()), "star.txt line 3: \"IT9\" does not begin with \"*\"");
    }
}

} // namespace
} // namespace vellum
