#include "radiofields.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vellum {

namespace {

bool reversed(FieldFormat format)
{
    return format == FieldFormat::BcdR || format == FieldFormat::BinaryR || format == FieldFormat::StringR;
}

std::int64_t decodeText(std::span<const std::uint8_t> bytes)
{
    std::string text(bytes.begin(), bytes.end());
    const char *start = text.c_str();
    while (*start == ' ')
        ++start;
    char *end = nullptr;
    double value = std::strtod(start, &end);
    if (end == start || !std::isfinite(value))
        return 0;
    constexpr double limit = 9.0e18;
    return std::llround(std::clamp(value, -limit, limit));
}

std::int64_t decodeBinary(std::span<const std::uint8_t> bytes)
{
    std::uint64_t value = (bytes.front() & 0x80) != 0 ? ~std::uint64_t{0} : 0; // the sign fills the top
    for (std::uint8_t byte : bytes)
        value = (value << 8) | byte;
    return static_cast<std::int64_t>(value);
}

std::optional<std::vector<std::uint8_t>> encodeBcd(std::int64_t value, std::size_t length)
{
    if (value < 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(length);
    for (std::size_t i = length; i-- > 0;) {
        int low = static_cast<int>(value % 10);
        int high = static_cast<int>(value / 10 % 10);
        bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
        value /= 100;
    }
    if (value != 0)
        return std::nullopt; // digits beyond the field
    return bytes;
}

std::optional<std::vector<std::uint8_t>> encodeBinary(std::int64_t value, std::size_t length)
{
    if (length < 8) {
        std::int64_t span = std::int64_t{1} << (8 * length);
        if (value >= span || value < -span / 2)
            return std::nullopt;
    }
    auto bits = static_cast<std::uint64_t>(value);
    std::vector<std::uint8_t> bytes(length);
    for (std::size_t i = length; i-- > 0;) {
        bytes[i] = static_cast<std::uint8_t>(bits & 0xFF);
        bits >>= 8;
    }
    return bytes;
}

std::optional<std::vector<std::uint8_t>> encodeText(std::int64_t value, std::size_t length)
{
    std::string digits = std::to_string(value < 0 ? -static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value));
    std::size_t room = length - (value < 0 ? 1 : 0);
    if (length == 0 || digits.size() > room)
        return std::nullopt;
    std::string text = (value < 0 ? "-" : "") + std::string(room - digits.size(), '0') + digits;
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

} // namespace

std::int64_t DecodeFieldValue(FieldFormat format, std::span<const std::uint8_t> bytes, std::uint8_t lengthOrMask)
{
    if (bytes.empty() || format == FieldFormat::Flag)
        return 0;
    if (format == FieldFormat::ByteM)
        return bytes.front() & lengthOrMask;
    // Wider fields are refused when a definition is read; these bounds keep any caller within 64 bits.
    bool text = format == FieldFormat::String || format == FieldFormat::StringR;
    bytes = bytes.first(std::min(bytes.size(), text ? MaxTextFieldBytes : MaxNumericFieldBytes));
    std::vector<std::uint8_t> ordered(bytes.begin(), bytes.end());
    if (reversed(format))
        std::reverse(ordered.begin(), ordered.end());
    switch (format) {
    case FieldFormat::Bcd:
    case FieldFormat::BcdR: {
        std::int64_t value = 0;
        for (std::uint8_t byte : ordered)
            value = value * 100 + (byte >> 4) * 10 + (byte & 0x0F);
        return value;
    }
    case FieldFormat::Binary:
    case FieldFormat::BinaryR: return decodeBinary(ordered);
    default: return decodeText(ordered);
    }
}

std::optional<std::vector<std::uint8_t>> EncodeFieldValue(FieldFormat format, std::int64_t value,
                                                          std::uint8_t lengthOrMask)
{
    std::optional<std::vector<std::uint8_t>> bytes;
    switch (format) {
    case FieldFormat::ByteM:
        if (value < 0 || value > 255)
            return std::nullopt;
        return std::vector<std::uint8_t>{static_cast<std::uint8_t>(value & lengthOrMask)};
    case FieldFormat::Flag: return std::nullopt;
    case FieldFormat::Bcd:
    case FieldFormat::BcdR: bytes = encodeBcd(value, lengthOrMask); break;
    case FieldFormat::Binary:
    case FieldFormat::BinaryR: bytes = encodeBinary(value, lengthOrMask); break;
    case FieldFormat::String:
    case FieldFormat::StringR: bytes = encodeText(value, lengthOrMask); break;
    }
    if (bytes && reversed(format))
        std::reverse(bytes->begin(), bytes->end());
    return bytes;
}

std::string ConsoleBytes(std::span<const std::uint8_t> bytes, CommandFormat format)
{
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            text += i % 8 == 0 ? "\n  " : " ";
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
        text += hex;
    }
    if (format == CommandFormat::String) {
        text += "\n  '";
        for (std::uint8_t byte : bytes)
            text += byte == 13 ? '|' : static_cast<char>(byte);
        text += "'";
    }
    return text;
}

} // namespace vellum
