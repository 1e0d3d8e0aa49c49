#pragma once
// The value codecs of radio definition fields (BCD, binary, byte mask, flag and
// decimal text, each optionally reversed) and the test console's view of bytes.

#include "radiodefinition.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vellum {

/// The value of a field's bytes (already cut to the field): 64-bit throughout.
/// A flag has no integer value (0).
std::int64_t DecodeFieldValue(FieldFormat format, std::span<const std::uint8_t> bytes, std::uint8_t lengthOrMask);

/// The bytes a value is written as, in the order they go into the command;
/// nothing when the value does not fit the field (it is never cut).
std::optional<std::vector<std::uint8_t>> EncodeFieldValue(FieldFormat format, std::int64_t value,
                                                          std::uint8_t lengthOrMask);

/// Bytes as the test console shows them: "FE FE 94 E0", eight to a line,
/// continuation lines indented by two blanks; for a String definition the
/// text follows in quotes on an indented line, a carriage return shown as "|".
std::string ConsoleBytes(std::span<const std::uint8_t> bytes, CommandFormat format);

} // namespace vellum
