#include "filterlisting.h"

#include "delimitedline.h"
#include "filterfile.h"
#include "filterformats.h"
#include "filtertext.h"
#include "importfilter.h"

#include "logstore/daytime.h"

#include <array>

namespace vellum {

namespace {

std::string dayText(std::uint16_t day)
{
    static constexpr std::array<const char *, 12> months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (day == 0)
        return {};
    CalendarDate date = SplitDayNumber(day);
    return std::to_string(date.day) + "-" + months[static_cast<std::size_t>(date.month - 1)] + "-" +
           std::to_string(date.year);
}

std::string row(std::string_view name, std::string_view value, std::string_view position = {},
                std::string_view length = {})
{
    return std::string(name) + "\t" + std::string(value) + "\t" + std::string(position) + "\t" + std::string(length);
}

std::string yesNo(std::uint8_t flag) { return flag ? "Y" : "N"; }

} // namespace

FilterListing MakeFilterListing(const ImportFilter &filter)
{
    std::vector<std::string> lines = {
        row("Description", filter.Description.view()),
        row("Ext", filter.Ext.view()),
        row("Reclen", std::to_string(filter.RecLen)),
        row("Id", filter.Id.view()),
        row("Usage", UsageName(filter.Usage)),
        row("Datechar", filter.DateChar ? std::string(1, filter.DateChar) : std::string()),
        row("Modified", dayText(ModifiedDay(filter))),
        row("Filter_freq", yesNo(filter.FilterFreq)),
        row("Filter_import", yesNo(filter.FilterImport)),
        row("Filter_dupes", yesNo(filter.FilterDupes)),
        row("Layout", IsDelimitedFilter(filter) ? "comma-separated (Pos = order)" : "fixed columns"),
    };
    for (int field = 0; field < ImportFieldCount; ++field) {
        const FieldSpec &spec = filter.FieldSpecs[static_cast<std::size_t>(field)];
        if (spec.position != 0)
            lines.push_back(row(ImportFieldNames[static_cast<std::size_t>(field)].name, FormatName(field, spec.format),
                                std::to_string(spec.position), std::to_string(spec.length)));
    }
    FilterListing listing;
    listing.rows = std::make_unique<TextRows>(std::move(lines));
    listing.job.title = "I/E Filter for " + filter.Description.str();
    listing.job.columns = {MakeTableColumn("Fieldname", 25, PrintAlign::Left),
                           MakeTableColumn("Value", 30, PrintAlign::Left),
                           MakeTableColumn("Pos", 8, PrintAlign::Right),
                           MakeTableColumn("Length", 3, PrintAlign::Right)};
    listing.job.rows = listing.rows.get();
    return listing;
}

} // namespace vellum
