#pragma once
// The custom award definition file SAVE/VELLUM.AWD, read once at start-up.
//
//   [1010]                     starts the award "1010" (identifier cut to 4)
//   awdname=Ten-Ten number     its name (cut to 20)
//   prefix=DL                  country prefixes; several lines accumulate
//   modes=110                  phone, CW, digital: "1"/"Y"/"y" on, else off
//   bands=000000001            bands 1 to 15, read like modes
//   pictmsk=99999999           the value picture (cut to 8)
//   G1=Group one               any other key: a value (key upper-cased, cut to 8) and its long name
//
// Lines are trimmed; empty lines and lines without "=" are skipped; keys are
// compared exactly (lower case).

#include "customaward.h"

#include "logstore/services.h"

#include <string>
#include <string_view>

namespace vellum {

namespace CustAwardText {
inline constexpr const char *DuplicateAward = "Duplicate award = ";
inline constexpr const char *DuplicateKey = "Duplicate key = ";
inline constexpr const char *DuplicateValue = "Duplicate value = ";
inline constexpr const char *BadKey = "Bad key value = ";
inline constexpr const char *BadValuePair = "Bad value pair: ";
inline constexpr const char *NoAward = "No award defined";
inline constexpr const char *BadAward = "Bad award = ";
} // namespace CustAwardText

/// Reads award definitions from text into list (after the awards it holds).
/// Every message is shown as an error, followed by a line naming the source
/// and the line ("VELLUM.AWD line 7: [ABC]"). An award whose identifier is
/// listed already is dropped with "Duplicate award = " + identifier, and
/// reading goes on. A key line before the first award ("No award defined"),
/// with an empty key ("Bad key value = ") or an empty value ("Bad value pair: "),
/// a repeated value key or long name ("Duplicate key = ", "Duplicate value = ")
/// and an empty identifier ("Bad award = ") end the reading: the awards read
/// completely before stay in the list, the one being read is dropped, and the
/// result is false.
bool ReadCustomAwards(std::string_view text, TCustAwardList &list, UserNotifier &notifier,
                      std::string_view sourceName = "VELLUM.AWD");

/// The definition file of the program directory (SAVE/VELLUM.AWD, found without regard to case).
std::string CustomAwardFileName();

/// Fills list (emptied first) from a definition file. A missing file gives an
/// empty list and true; a file that cannot be read is reported as an error
/// naming it and gives an empty list and false; otherwise as ReadCustomAwards.
bool LoadCustomAwards(TCustAwardList &list, const std::string &fileName, UserNotifier &notifier);

} // namespace vellum
