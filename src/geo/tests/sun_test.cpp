#include "geo/sun.h"

#include "logstore/daytime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vellum {
namespace {

std::int32_t hm(int hours, int minutes) { return hours * 3600 + minutes * 60; }

/// Within two minutes of a published time: the tables give whole minutes and the
/// computation is good to about one.
void expectNear(std::int32_t computed, std::int32_t published, const char *what)
{
    ASSERT_GE(computed, 0) << what;
    std::int32_t apart = std::abs(computed - published);
    EXPECT_LE(std::min(apart, 86400 - apart), 120) << what << ": " << SunTimeText(computed) << " against "
                                                   << SunTimeText(published);
}

TEST(SunTimes, AgreeWithPublishedTables)
{
    struct Case {
        const char *place;
        int year, month, day;
        GeoPoint where;
        std::int32_t rise, set; // UTC
    };
    const Case cases[] = {
        {"London midsummer", 2024, 6, 21, {51.5074, -0.1278}, hm(3, 43), hm(20, 21)},
        {"New York midwinter", 2024, 12, 21, {40.7128, -74.0060}, hm(12, 16), hm(21, 32)},
        // East of Greenwich the morning's sunrise falls on the UTC day before.
        {"Sydney midsummer", 2024, 12, 21, {-33.8688, 151.2093}, hm(18, 41), hm(9, 5)},
        {"Equator at the equinox", 2024, 3, 20, {0, 0}, hm(6, 4), hm(18, 11)},
    };
    for (const Case &c : cases) {
        SunTimes sun = SunTimesOn(c.year, c.month, c.day, c.where);
        expectNear(sun.rise, c.rise, c.place);
        expectNear(sun.set, c.set, c.place);
        SunTimes byDay = SunTimesOnDay(*DayNumber(c.year, c.month, c.day), c.where);
        EXPECT_EQ(byDay.rise, sun.rise) << c.place;
        EXPECT_EQ(byDay.set, sun.set) << c.place;
    }
}

TEST(SunTimes, PolarDayNightAndBadInputHaveNoTimes)
{
    GeoPoint tromso{69.6492, 18.9553};
    for (int month : {6, 12}) {
        SunTimes sun = SunTimesOn(2024, month, 21, tromso);
        EXPECT_EQ(sun.rise, NoSunTime) << month;
        EXPECT_EQ(sun.set, NoSunTime) << month;
    }
    // The poles themselves: no hour angle exists, nothing divides by zero.
    for (double pole : {90.0, -90.0}) {
        SunTimes sun = SunTimesOn(2024, 3, 1, {pole, 0});
        EXPECT_EQ(sun.rise, NoSunTime);
        EXPECT_EQ(sun.set, NoSunTime);
    }
    for (GeoPoint bad : {GeoPoint{std::nan(""), 0}, GeoPoint{0, HUGE_VAL}, GeoPoint{91, 0}})
        EXPECT_EQ(SunTimesOn(2024, 3, 1, bad).rise, NoSunTime);
    EXPECT_EQ(SunTimeText(NoSunTime), "--:--");
    EXPECT_EQ(SunTimeText(hm(6, 4) + 31), "06:05") << "shown to the nearest minute";
    EXPECT_EQ(SunTimeText(86399), "00:00");
}

TEST(SunTimes, OneYearTableFromAFirstDay)
{
    std::uint16_t first = *DayNumber(2025, 1, 1);
    auto rows = OneYearSunTable(first, {52.5, 13.4}, {-33.9, 151.2});
    ASSERT_EQ(rows.size(), 365u);
    EXPECT_EQ(rows.front().day, first);
    EXPECT_EQ(rows.back().day, first + 364);
    EXPECT_EQ(rows[172].home.rise, SunTimesOnDay(first + 172, {52.5, 13.4}).rise);
    // The last valid day ends the table instead of wrapping the day number.
    EXPECT_EQ(OneYearSunTable(LastValidDay - 1, {0, 0}, {0, 0}).size(), 2u);
}

TEST(GreyLine, ListsPlacesWhereTheSunSetsAsItRisesAtHome)
{
    std::uint16_t day = *DayNumber(2024, 12, 21);
    GeoPoint home{52.5, 13.4};
    SunTimes atHome = SunTimesOnDay(day, home);
    std::vector<GreyLinePlace> places;
    for (double longitude = -180; longitude < 180; longitude += 7.5)
        for (double latitude = -60; latitude <= 60; latitude += 20)
            places.push_back({"P", "Place", {latitude, longitude}});
    auto wide = GreyLineList(day, atHome, 30 * 60, places);
    ASSERT_FALSE(wide.empty());
    for (const GreyLineRow &row : wide) {
        auto a = SunTimeDistance(atHome.rise, row.dx.set), b = SunTimeDistance(atHome.set, row.dx.rise);
        EXPECT_EQ(row.difference, std::min(a.value_or(86400), b.value_or(86400)));
        EXPECT_LE(row.difference, 30 * 60);
    }
    auto narrow = GreyLineList(day, atHome, 5 * 60, places);
    EXPECT_LT(narrow.size(), wide.size());
    // A window of 00:00 lists only differences of exactly 0 seconds.
    for (const GreyLineRow &row : GreyLineList(day, atHome, 0, places))
        EXPECT_EQ(row.difference, 0);
    // No sunrise and no sunset at home: nothing can match.
    EXPECT_TRUE(GreyLineList(day, SunTimesOnDay(day, {80, 0}), 86400, places).empty());
}

TEST(GreyLine, DifferencesGoTheShortWayRoundMidnight)
{
    EXPECT_EQ(SunTimeDistance(hm(23, 58), hm(0, 2)), 4 * 60);
    EXPECT_EQ(SunTimeDistance(hm(6, 0), hm(7, 30)), 90 * 60);
    EXPECT_FALSE(SunTimeDistance(NoSunTime, hm(7, 30)));
}

} // namespace
} // namespace vellum
