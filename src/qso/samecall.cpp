#include "samecall.h"

#include "country/resolver.h"
#include "logstore/qsodata.h"

namespace vellum {

std::vector<const TQsoRec *> QsosOfCall(const TQsoData &log, std::string_view call, bool substring)
{
    std::vector<const TQsoRec *> found;
    if (call.empty())
        return found;
    if (!substring) {
        for (std::int32_t i = log.EndOfCall(call) - 1; i >= 0 && log.ByCall().Get(i)->Call == call; --i)
            found.push_back(log.ByCall().Get(i));
        std::stable_sort(found.begin(), found.end(),
                         [](const TQsoRec *a, const TQsoRec *b) { return CompareDateOrder(a, b) > 0; });
        return found;
    }
    std::string base = BaseCall(call);
    for (std::int32_t i = log.Count() - 1; i >= 0; --i) {
        const TQsoRec *rec = log.Get(i);
        if (rec->Call == base || BaseCall(rec->Call.view()).find(base) != std::string::npos)
            found.push_back(rec);
    }
    return found;
}

std::string SameCallCaption(std::string_view searched, const TQsoRec *selected)
{
    if (!selected)
        return "Other QSOs";
    if (selected->Call == searched)
        return selected->Call.str();
    return std::string(searched) + " found as " + selected->Call.str();
}

} // namespace vellum
