#pragma once
// The notations a filter can give a field: the format names of each field
// kind (index = stored format), the lengths the editor sets, and the layouts of
// the date formats.

#include "importfilter.h"

#include <optional>
#include <string_view>
#include <vector>

namespace vellum {

/// Stored format numbers of the kinds whose rules name them.
namespace BandFormat {
enum : int { Meters3 = 0, Meters2 = 1, FreqMHz = 2, FreqKHz = 3, MetersM = 4, MetersLeft = 5, Code10 = 6, Code6 = 7, Code160 = 8 };
}
namespace ModeFormat {
enum : int { CwPhoFsk = 0, CwSsbRtt = 1, Digit1Cw = 2, Digit0Cw = 3, LetterCpr = 4, RightAligned = 5, LetterCsr = 6,
             DigitUsb = 7, ModeName = 8 };
}
namespace NoteFormat {
enum : int { WithCall = 0, WithQso = 1, FollowsQso = 2 };
}
namespace TimeFormat {
enum : int { Colon = 0, HourMinute = 1, Seconds = 2 };
}
namespace StateFormat {
enum : int { Abbreviation = 0, Section = 1, CountyState = 2 };
}
namespace AwardFormat {
enum : int { YesNoStar = 0, OneZeroStar = 1, ZeroOneTwo = 2, Logwin = 3 };
}
/// The extra format of "QSL Date": a flag letter from the QSO's date.
inline constexpr int FlagQsoDate = 17;

/// The format names of a field (for "QSL Date" with "Flag QSO date" added).
/// A plain field has the list "?????", "String", "Number".
std::vector<std::string_view> FormatNames(int field);
/// The name of the field's stored format; "?????" when out of range. A plain
/// field names its fixed type.
std::string_view FormatName(int field, int format);
/// The stored format of a field from its name (any letter case); nothing when none.
std::optional<int> FormatOfName(int field, std::string_view name);
/// The length a format sets; nothing where the user gives the length.
std::optional<int> FixedLength(int field, int format);

/// Where year, month and day stand in a date format (1-based columns); a month
/// width of 3 is a month name.
struct DateLayout {
    const char *name;
    int length;
    int yearAt, yearWidth;
    int monthAt, monthWidth;
    int dayAt, dayWidth;
};
inline constexpr int DateFormatCount = 17;
/// The layout of a date format; nothing for "Flag QSO date" and unknown formats.
const DateLayout *DateLayoutOf(int format);

/// Why a filter cannot be used: a field placed with a length of 0, one that
/// ends past column 255 or a format outside its list; empty when it is sound.
std::vector<std::string> FilterProblems(const ImportFilter &filter);

/// The allocation list of the editor: for each column 1..255, "  7 Callsign"
/// with the names of all fields that cover it joined by " Also ".
std::vector<std::string> ColumnAllocation(const ImportFilter &filter);

} // namespace vellum
