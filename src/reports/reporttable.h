#pragma once
// What every report produces: a title, columns (name, width in characters,
// alignment) and lines of tab-separated cells. The report window shows it in a
// grid, prints it through the print engine and writes it as CSV.

#include "print/tableprint.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

struct ReportTable {
    std::string title;                ///< at most 80 characters
    std::vector<TableColumn> columns;
    std::vector<std::string> lines;   ///< tab-separated, a cell per column
    bool multiColumn = false;         ///< printed as copies side by side (WPX submission)

    /// Adds a column; a negative width means right-aligned (as the submission tables give them).
    void AddColumn(std::string name, int width, PrintAlign align = PrintAlign::Left);
    /// The rows for printing and CSV.
    TextRows Rows() const { return TextRows(lines); }
};

/// Builds one tab-separated line cell by cell.
class ReportLine {
public:
    ReportLine &Add(std::string_view cell);
    /// A count: the number, or "." when it is 0.
    ReportLine &Count(std::int64_t count);
    ReportLine &Number(std::int64_t number);
    std::string Take() { return std::move(m_text); }

private:
    std::string m_text;
    bool m_first = true;
};

/// The choice of "Select Band/Mode": a mode group (0 = all) and a band (0 = all);
/// at most one of the two is specific.
struct ModeBandChoice {
    int group = 0;
    int band = 0;
    /// Choosing a group resets the band to all, and the other way round.
    void ChooseGroup(int newGroup);
    void ChooseBand(int newBand);
};

/// " (Mode = CW, ALL bands)", " (ALL modes, Band = 20m)".
std::string SelectedModeBandText(const ModeBandChoice &choice);

/// The date of a report line: "dd-mmm-yyyy" (11 characters).
std::string ReportDate(std::uint16_t day);

} // namespace vellum
