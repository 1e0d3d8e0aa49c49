#pragma once
// Signal reports as 16-bit values: 0 empty, 1..999 the RS/RST digits, +1000 for aurora
// "A"; reports in dB (the weak-signal modes) as DbReportZero + dB, a range (0x8000 to
// 0x80FF) that no RST value reaches.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vellum {

inline constexpr std::uint16_t DbReportZero = 0x8080; ///< the value of "+00"
inline constexpr int DbReportLimit = 50;            ///< dB reports lie in -50..+50

inline bool IsDbReport(std::uint16_t value) { return (value & 0xFF00) == 0x8000; }
/// The dB of a dB report value.
inline int DbOfReport(std::uint16_t value) { return static_cast<int>(value) - DbReportZero; }

/// Parses a report text: digits with an optional trailing "A", or a signed dB report
/// ("-12", "+05", at most two digits); nothing when the text is not a valid report.
std::optional<std::uint16_t> EncodeRst(std::string_view text);
/// The text of a report value (1059 gives "59A", a dB report "-12" or "+05").
std::string DecodeRst(std::uint16_t value);
/// The range check of the QSO window: 11..59 for RS modes, 111..599 for RST
/// modes, aurora reports checked as their digits with a 9 appended; dB reports
/// -50..+50, and only in dB modes, which take no other report.
bool ReportInRange(std::uint16_t value, int mode);

} // namespace vellum
