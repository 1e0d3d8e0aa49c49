#pragma once
// Sunrise and sunset of a UTC day at a position, and the two tables made of them:
// a year of rise and set times, and the grey-line list of places where the sun
// sets while it rises at home (or the other way round).

#include "bearing.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vellum {

/// Seconds of the UTC day (0..86399); NoSunTime when the sun does not rise (or set).
inline constexpr std::int32_t NoSunTime = -1;

struct SunTimes {
    std::int32_t rise = NoSunTime;
    std::int32_t set = NoSunTime;
};

/// Sunrise and sunset (upper limb at the horizon with standard refraction, 90.833°
/// from the zenith) on the UTC day given as a year, month and day, at a position.
/// Accurate to about a minute between the polar circles. Polar day and polar night
/// give NoSunTime for both; non-finite or out-of-range positions give NoSunTime too.
SunTimes SunTimesOn(int year, int month, int day, GeoPoint where);
/// The same for a day number (days since 1 March 1900).
SunTimes SunTimesOnDay(std::uint16_t dayNumber, GeoPoint where);

/// "hh:mm", or "--:--" for NoSunTime.
std::string SunTimeText(std::int32_t seconds);

/// How far apart two times of day are, the short way round midnight; nothing
/// when either is NoSunTime.
std::optional<std::int32_t> SunTimeDistance(std::int32_t a, std::int32_t b);

/// One row of the one-year table: a day, the sun at home and at the other place.
struct SunYearRow {
    std::uint16_t day = 0;
    SunTimes home;
    SunTimes dx;
};
/// 365 rows from firstDay on.
std::vector<SunYearRow> OneYearSunTable(std::uint16_t firstDay, GeoPoint home, GeoPoint dx);

/// A named place for the grey-line list (a country by prefix and name).
struct GreyLinePlace {
    std::string prefix;
    std::string name;
    GeoPoint where;
};
struct GreyLineRow {
    const GreyLinePlace *place = nullptr;
    SunTimes dx;
    std::int32_t difference = 0; ///< seconds
};
/// The places where the sun sets within window seconds of sunrise at home, or rises
/// within window seconds of sunset at home, on the day; in the order of places.
/// Times that do not exist never match, so a day without sunrise and sunset at
/// home lists nothing.
std::vector<GreyLineRow> GreyLineList(std::uint16_t day, SunTimes home, std::int32_t window,
                                      const std::vector<GreyLinePlace> &places);

} // namespace vellum
