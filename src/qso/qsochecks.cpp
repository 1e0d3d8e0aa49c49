#include "qsochecks.h"

#include "logstore/daytime.h"
#include "logstore/report.h"
#include "logstore/trim.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace vellum {

bool ValidCallsign(std::string_view call)
{
    if (call.size() < 3 || call.front() == '/' || call.back() == '/')
        return false;
    bool letter = false;
    char previous = 0;
    for (char c : call) {
        bool isLetter = (c >= 'A' && c <= 'Z') || c == '?';
        bool isDigit = c >= '0' && c <= '9';
        if (!isLetter && !isDigit && c != '/')
            return false;
        if (c == '/' && previous == '/')
            return false;
        letter = letter || isLetter;
        previous = c;
    }
    return letter;
}

CheckedReports CheckReports(std::string_view sent, std::string_view received, int mode)
{
    CheckedReports result;
    auto s = EncodeRst(sent);
    auto r = EncodeRst(received);
    if (!s || !r) {
        result.problem = ReportProblem::BadValue;
        return result;
    }
    result.sent = *s;
    result.received = *r;
    if ((*s != 0 && !ReportInRange(*s, mode)) || (*s != 0 && *r != 0 && !ReportInRange(*r, mode)) ||
        (*s == 0 && *r != 0 && !ReportInRange(*r, mode)))
        result.problem = ReportProblem::BadCombination;
    return result;
}

const char *ReportProblemText(ReportProblem problem)
{
    switch (problem) {
    case ReportProblem::BadValue: return BadRstText;
    case ReportProblem::BadCombination: return BadCombinationText;
    default: return "";
    }
}

std::optional<int> ParseWholeNumber(std::string_view text)
{
    text = Trim(text);
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> ParseTimeText(std::string_view text)
{
    text = Trim(text);
    std::vector<std::optional<int>> parts;
    for (std::size_t start = 0;;) {
        std::size_t colon = text.find(':', start);
        parts.push_back(ParseWholeNumber(text.substr(start, colon == std::string_view::npos ? colon : colon - start)));
        if (colon == std::string_view::npos)
            break;
        start = colon + 1;
    }
    if (parts.size() < 2 || parts.size() > 3 || !std::all_of(parts.begin(), parts.end(), [](auto &p) { return p.has_value(); }))
        return std::nullopt;
    return TimeOfDay(*parts[0], *parts[1], parts.size() == 3 ? *parts[2] : 0);
}

std::string IotaKey(std::string_view typed)
{
    std::string key;
    for (char c : Trim(typed))
        if (c != '-')
            key += c;
    return key;
}

} // namespace vellum
