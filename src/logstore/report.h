#pragma once
// Signal reports (RS/RST) as 16-bit values: 0 empty, 1..999 the digits, +1000 for aurora "A".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vellum {

/// Parses a report text; nothing when the text is not a valid report.
std::optional<std::uint16_t> EncodeRst(std::string_view text);
/// The text of a report value (1059 gives "59A").
std::string DecodeRst(std::uint16_t value);
/// The range check of the QSO window: 11..59 for RS modes, 111..599 for RST
/// modes, aurora reports checked as their digits with a 9 appended.
bool ReportInRange(std::uint16_t value, int mode);

} // namespace vellum
