#include "report.h"

#include "qsotables.h"

namespace vellum {

namespace {

/// "-12", "+05", "+0": a sign and one or two digits.
std::optional<std::uint16_t> encodeDb(std::string_view text)
{
    bool negative = text.front() == '-';
    text.remove_prefix(1);
    if (text.empty() || text.size() > 2)
        return std::nullopt;
    int dB = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        dB = dB * 10 + (c - '0');
    }
    return static_cast<std::uint16_t>(DbReportZero + (negative ? -dB : dB));
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
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return static_cast<std::uint16_t>(aurora ? value + 1000 : value);
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
