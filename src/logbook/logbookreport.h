#pragma once
// A logbook report as a table: the columns of a definition and the rows of a
// listed QSO each, made only when asked for (the window's visible rows, a page
// being printed, a line of the CSV file).

#include "logbookfields.h"
#include "logbooklist.h"
#include "reportdefinitions.h"

#include "print/tableprint.h"

#include <string>
#include <vector>

namespace vellum {

/// The table columns of a definition: the field names, widths and alignments.
std::vector<TableColumn> LogbookColumns(const ReportDefinition &definition, bool bandInMHz);
/// "Report: " + name + " sorted by " + sort name.
std::string LogbookCaption(const ReportDefinition &definition, SortKey sort);
/// The print title: the caption, followed by " (Filter Active)" while the search filters.
std::string LogbookTitle(const ReportDefinition &definition, SortKey sort, bool filterActive);
/// The definition the logbook starts with: the one named current (ignoring case), else the first.
int StartingReport(const TReportDefinitions &definitions, std::string_view current);

class LogbookRows : public TableRows {
public:
    LogbookRows(const LogbookList &list, const LogbookCells &cells, std::vector<std::uint8_t> columns)
        : m_list(list), m_cells(cells), m_columns(std::move(columns))
    {
    }
    std::int64_t Count() const override { return m_list.Count(); }
    std::string Row(std::int64_t index) const override
    {
        return m_cells.Row(m_columns, *m_list.At(index), index + 1);
    }

private:
    const LogbookList &m_list;
    const LogbookCells &m_cells;
    std::vector<std::uint8_t> m_columns;
};

} // namespace vellum
