#include "daytime.h"

#include <chrono>
#include <cstdio>

namespace vellum {

const char *const MonthAbbreviations[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

namespace {
bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}
} // namespace

std::optional<std::uint16_t> DayNumber(int year, int month, int day)
{
    int fullYear = year >= 1900 ? year : (year < 30 ? year + 2000 : (year < 100 ? year + 1900 : year));
    if (year < 0 || (year >= 100 && year < 1900) || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(fullYear, month))
        return std::nullopt;
    long y = fullYear - 1900;
    long m = 0;
    if (month > 2) {
        m = month - 3;
    } else {
        m = month + 9;
        y -= 1;
    }
    long n = (153 * m + 2) / 5 + (1461 * y) / 4 + day - 1;
    if (n < 1 || n > LastValidDay)
        return std::nullopt;
    return static_cast<std::uint16_t>(n);
}

CalendarDate SplitDayNumber(std::uint16_t n)
{
    long t = 4L * n + 3;
    long c = t / 1461;
    long r = ((t % 1461) / 4) * 5 + 2;
    long m = r / 153;
    CalendarDate date;
    date.day = static_cast<int>((r % 153) / 5 + 1);
    if (m > 9) {
        date.month = static_cast<int>(m - 9);
        date.year = static_cast<int>(1901 + c);
    } else {
        date.month = static_cast<int>(m + 3);
        date.year = static_cast<int>(1900 + c);
    }
    return date;
}

std::uint16_t TodayDayNumber()
{
    using namespace std::chrono;
    auto days = floor<std::chrono::days>(system_clock::now());
    year_month_day ymd{days};
    return DayNumber(static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                     static_cast<int>(static_cast<unsigned>(ymd.day())))
        .value_or(0);
}

std::int32_t NowUtcSeconds()
{
    using namespace std::chrono;
    auto now = system_clock::now();
    auto sinceMidnight = now - floor<days>(now);
    return static_cast<std::int32_t>(duration_cast<seconds>(sinceMidnight).count());
}

std::string FormatDate(std::uint16_t dayNumber, DateFormat format, bool twoDigitYear)
{
    if (dayNumber == NoDate)
        return {};
    CalendarDate d = SplitDayNumber(dayNumber);
    char year[8];
    if (twoDigitYear)
        std::snprintf(year, sizeof year, "%02d", d.year % 100);
    else
        std::snprintf(year, sizeof year, "%04d", d.year);
    char text[32];
    switch (format) {
    case DateFormat::DayMonthYear: std::snprintf(text, sizeof text, "%02d/%02d/%s", d.day, d.month, year); break;
    case DateFormat::YearMonthDay: std::snprintf(text, sizeof text, "%s-%02d-%02d", year, d.month, d.day); break;
    default: std::snprintf(text, sizeof text, "%02d/%02d/%s", d.month, d.day, year); break;
    }
    return text;
}

std::optional<std::uint16_t> ParseDate(std::string_view text, DateFormat format)
{
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            if (digits[part] >= 4)
                return std::nullopt;
            parts[part] = parts[part] * 10 + (c - '0');
            ++digits[part];
        } else if ((c == '/' || c == '-' || c == '.') && part < 2 && digits[part] > 0) {
            ++part;
        } else if (c != ' ') {
            return std::nullopt;
        }
    }
    if (part != 2 || digits[2] == 0)
        return std::nullopt;
    switch (format) {
    case DateFormat::DayMonthYear: return DayNumber(parts[2], parts[1], parts[0]);
    case DateFormat::YearMonthDay: return DayNumber(parts[0], parts[1], parts[2]);
    default: return DayNumber(parts[2], parts[0], parts[1]);
    }
}

std::string FormatDayMonthName(std::uint16_t dayNumber)
{
    CalendarDate d = SplitDayNumber(dayNumber);
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%s-%04d", d.day, MonthAbbreviations[d.month - 1], d.year);
    return text;
}

std::string FormatTime(std::int32_t seconds, bool showSeconds)
{
    if (seconds < 0)
        return "??:??";
    char text[16];
    int h = static_cast<int>(seconds / 3600 % 100), m = static_cast<int>(seconds / 60 % 60),
        s = static_cast<int>(seconds % 60);
    if (showSeconds)
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", h, m, s);
    else
        std::snprintf(text, sizeof text, "%02d:%02d", h, m);
    return text;
}

std::optional<std::int32_t> TimeOfDay(int hours, int minutes, int seconds)
{
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59)
        return std::nullopt;
    return hours * 3600 + minutes * 60 + seconds;
}

} // namespace vellum
