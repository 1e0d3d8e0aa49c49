#include "logbookreport.h"

namespace vellum {

std::vector<TableColumn> LogbookColumns(const ReportDefinition &definition, bool bandInMHz)
{
    std::vector<TableColumn> columns;
    for (std::uint8_t field : definition.columns)
        if (field < LogbookFieldCount) {
            const LogbookFieldInfo &info = LogbookFieldTable[field];
            columns.push_back(
                MakeTableColumn(info.name, LogbookFieldWidth(field, definition.noteWidth, bandInMHz), info.align));
        }
    return columns;
}

std::string LogbookCaption(const ReportDefinition &definition, SortKey sort)
{
    return "Report: " + definition.name + " sorted by " + SortName(sort);
}

std::string LogbookTitle(const ReportDefinition &definition, SortKey sort, bool filterActive)
{
    return LogbookCaption(definition, sort) + (filterActive ? " (Filter Active)" : "");
}

int StartingReport(const TReportDefinitions &definitions, std::string_view current)
{
    int index = definitions.IndexOfName(current);
    return index < 0 ? 0 : index;
}

} // namespace vellum
