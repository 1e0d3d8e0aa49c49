#include "report.h"

#include "qsotables.h"

namespace vellum {

namespace {

/// The number of 1 to maxDigits decimal digits; nothing for any other text.
std::optional<int> digitsValue(std::string_view text, std::size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

/// "-12", "+05", "+0": a sign and one or two digits.
std::optional<std::uint16_t> encodeDb(std::string_view text)
{
    std::optional<int> dB = digitsValue(text.substr(1), 2);
    if (!dB)
        return std::nullopt;
    return static_cast<std::uint16_t>(DbReportZero + (text.front() == '-' ? -*dB : *dB));
}

} // namespace

std::optional<std::uint16_t> EncodeRst(std::string_view text)
{
    if (text.empty())
        return 0;
    if (text.front() == '+' || text.front() == '-')
        return encodeDb(text);
    if (text.size() == 1)
        return text == "0" ? std::optional<std::uint16_t>(0) : std::nullopt;
    bool aurora = false;
    if (text.back() == 'A' || text.back() == 'a') {
        aurora = true;
        text.remove_suffix(1);
    }
    std::optional<int> value = digitsValue(text, 3);
    if (!value)
        return std::nullopt;
    return static_cast<std::uint16_t>(aurora ? *value + 1000 : *value);
}

std::string DecodeRst(std::uint16_t value)
{
    if (value == 0)
        return {}; // 0 is the empty report
    if (IsDbReport(value)) {
        int dB = DbOfReport(value);
        std::string digits = std::to_string(dB < 0 ? -dB : dB);
        return (dB < 0 ? "-" : "+") + std::string(digits.size() < 2 ? "0" : "") + digits;
    }
    if (value >= 1000)
        return std::to_string(value % 1000) + static_cast<char>(value / 1000 + 64);
    return std::to_string(value);
}

bool ReportInRange(std::uint16_t value, int mode)
{
    const ModeInfo &info = ModeInfoOf(mode);
    if (info.dbReport || IsDbReport(value))
        return info.dbReport && IsDbReport(value) && DbOfReport(value) >= -DbReportLimit &&
               DbOfReport(value) <= DbReportLimit;
    unsigned v = value >= 1000 ? (value % 1000) * 10 + 9 : value;
    return info.threeDigitReport ? (v >= 111 && v <= 599) : (v >= 11 && v <= 59);
}

} // namespace vellum
