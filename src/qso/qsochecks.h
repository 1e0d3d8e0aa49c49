#pragma once
// The checks a QSO passes before it is added or updated.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vellum {

/// At least 3 characters of A-Z, 0-9, "?" and "/", at least one letter or "?",
/// no "/" first, last or directly after another "/".
bool ValidCallsign(std::string_view call);

enum class ReportProblem { None, BadValue, BadCombination };

inline constexpr const char *BadCallsignText = "Bad Callsign";
inline constexpr const char *BadRstText = "Bad RST field value";
inline constexpr const char *BadCombinationText = "Invalid Combination of Mode and RST";

struct CheckedReports {
    ReportProblem problem = ReportProblem::None;
    std::uint16_t sent = 0;
    std::uint16_t received = 0;
};

/// Parses both reports and checks them against the mode: a non-zero sent report
/// must pass the range check, and then a non-zero received report too.
CheckedReports CheckReports(std::string_view sent, std::string_view received, int mode);

/// The message of a report problem (empty for none).
const char *ReportProblemText(ReportProblem problem);

/// A whole number as typed (blanks around it allowed); nothing for any other text.
std::optional<int> ParseWholeNumber(std::string_view text);
/// "hh:mm" or "hh:mm:ss" as typed; nothing for other texts or times out of range.
std::optional<std::int32_t> ParseTimeText(std::string_view text);
/// An IOTA reference as stored: blanks around it and dashes left out ("EU-005" -> "EU005").
std::string IotaKey(std::string_view typed);

} // namespace vellum
