#pragma once
// Tables written as comma-separated values ("Write to File"): a line of column
// names, then one line per row. A value holding a comma, a double quote or a
// line break is written between double quotes with its quotes doubled; every
// other value stays bare. Texts are written as the program holds them (cp1252).

#include "tableprint.h"

#include <string>
#include <string_view>

namespace vellum {

std::string CsvValue(std::string_view value);
/// A tab-separated row as a CSV line (without its line end).
std::string CsvLine(std::string_view tabbedRow);

struct CsvResult {
    enum class Status { Written, Cancelled, Failed };
    Status status = Status::Written;
    std::int64_t rows = 0;
    std::string message;
    bool Ok() const { return status == Status::Written; }
};

/// Writes the table to fileName (its folder is made when missing) through a
/// temporary file renamed into place: a cancelled or failed write leaves the old
/// file as it was. The monitor shows "Writing QSOs" with the rows written.
CsvResult WriteTableCsv(const std::string &fileName, const std::vector<TableColumn> &columns, const TableRows &rows,
                        JobMonitor *monitor = nullptr, std::string_view caption = "Writing QSOs");

} // namespace vellum
