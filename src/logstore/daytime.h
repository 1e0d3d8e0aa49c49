#pragma once
// Day numbers (days since 1 March 1900), times of day and their texts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vellum {

inline constexpr std::uint16_t NoDate = 0;
inline constexpr std::uint16_t OpenEndDate = 0xFFFF;
inline constexpr std::uint16_t LastValidDay = 65475; ///< 5 June 2079
inline constexpr std::uint16_t AwardStartDefault = 16695; ///< 15 November 1945

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

/// The day number of a date; years 0..29 mean 2000..2029 and 30..99 mean 1930..1999.
/// Invalid dates (month or day out of range, before 2 March 1900 or after 5 June 2079) give nothing.
std::optional<std::uint16_t> DayNumber(int year, int month, int day);
/// The calendar date of a day number.
CalendarDate SplitDayNumber(std::uint16_t dayNumber);

/// Today's UTC day number and the current UTC time of day in seconds.
std::uint16_t TodayDayNumber();
std::int32_t NowUtcSeconds();

/// Date formats (wheel index of Personal_DateFormat): 1 mm/dd/yyyy, 2 dd/mm/yyyy, 3 yyyy-mm-dd.
enum class DateFormat : std::uint8_t { MonthDayYear = 1, DayMonthYear = 2, YearMonthDay = 3 };
/// A date in the configured format; 0 gives an empty text.
std::string FormatDate(std::uint16_t dayNumber, DateFormat format, bool twoDigitYear);
/// Parses a date typed in the configured format (two- or four-digit year).
std::optional<std::uint16_t> ParseDate(std::string_view text, DateFormat format);
/// "dd-mmm-yyyy" with English month abbreviations.
std::string FormatDayMonthName(std::uint16_t dayNumber);
extern const char *const MonthAbbreviations[12];

/// "hh:mm" or "hh:mm:ss"; -1 gives "??:??".
std::string FormatTime(std::int32_t seconds, bool showSeconds);
/// Seconds of a time of day from its parts; out-of-range parts give nothing.
std::optional<std::int32_t> TimeOfDay(int hours, int minutes, int seconds = 0);

} // namespace vellum
