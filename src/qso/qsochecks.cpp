#include "qsochecks.h"

#include "logstore/report.h"

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

} // namespace vellum
