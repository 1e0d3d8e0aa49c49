// Fuzz target: report definitions text (VELLUM.REP). Reading any bytes must not
// crash and must give definitions the program can use: at least one, names of at
// most 25 characters and unique ignoring case, note widths 1 to 255, at least one
// column and every column a field. The text written must read back to itself.

#include "logbook/logbookfields.h"
#include "logbook/reportdefinitions.h"
#include "logstore/compare.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace vellum;

void checkUsable(const TReportDefinitions &set)
{
    if (set.Count() < 1)
        std::abort();
    for (int i = 0; i < set.Count(); ++i) {
        ReportDefinition d = set.Get(i);
        if (d.name.size() > ReportNameCapacity || d.noteWidth < 1 || d.noteWidth > 255 || d.columns.empty())
            std::abort();
        for (std::uint8_t column : d.columns)
            if (column >= LogbookFieldCount)
                std::abort();
        for (int j = 0; j < i; ++j)
            if (CompareNoCase(set.Name(j), d.name) == 0)
                std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::vector<std::string> problems;
    auto set = TReportDefinitions::FromText(std::string_view(reinterpret_cast<const char *>(data), size), problems);
    checkUsable(set);
    const std::string text = set.Text();
    auto again = TReportDefinitions::FromText(text, problems);
    checkUsable(again);
    if (again.Text() != text)
        std::abort();
    return 0;
}
