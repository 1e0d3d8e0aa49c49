#pragma once
// Tabular printing: a title, columns of a width in characters and an alignment,
// and rows of tab-separated cells, laid out page by page through the report
// engine - page header with the date and page number, the report header line,
// column titles, rows with the chosen lines and shades, and the footer; or, for
// narrow tables, as many copies of the table side by side as fit.

#include "printengine.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vellum {

struct TConfigRecord;

struct TableColumn {
    std::string name;  ///< at most 20 characters
    int width = 1;     ///< characters; never less than the name's length
    PrintAlign align = PrintAlign::Left;
};

/// A column of a name, width and alignment, its width raised to the name's length.
TableColumn MakeTableColumn(std::string name, int width, PrintAlign align);

/// The rows of a table, made when they are printed (a log may have a million).
class TableRows {
public:
    virtual ~TableRows() = default;
    virtual std::int64_t Count() const = 0;
    /// The row's cells, tab-separated.
    virtual std::string Row(std::int64_t index) const = 0;
};

/// Rows held as texts.
class TextRows : public TableRows {
public:
    explicit TextRows(std::vector<std::string> lines) : m_lines(std::move(lines)) {}
    std::int64_t Count() const override { return static_cast<std::int64_t>(m_lines.size()); }
    std::string Row(std::int64_t index) const override { return m_lines[static_cast<std::size_t>(index)]; }

private:
    std::vector<std::string> m_lines;
};

/// A print job (TFprint): what is printed and where it goes.
struct TablePrintJob {
    std::string title; ///< at most 80 characters
    std::vector<TableColumn> columns;
    const TableRows *rows = nullptr;
    bool multiColumn = false;
    PrintSetupChoice setup;
};

/// F_RepEmbellish.
enum class TableLines { None = 0, Lines = 1, LinesAndShades = 2 };

/// How tables look: the report settings of the configuration.
struct TableStyle {
    std::string fontName = "Arial";
    int fontSize = 10;          ///< points; column widths follow it too
    bool boldHeader = true;
    TableLines lines = TableLines::None;
    std::string reportHeader;   ///< a second header line when not empty
    std::string footer;         ///< centred at the foot of every page
    std::string dateText;       ///< "mmmm d, yyyy" after the title
};

/// The style of the configuration's report settings, dated today.
TableStyle TableStyleFrom(const TConfigRecord &config);
/// "January 5, 2026".
std::string LongDateText(std::uint16_t dayNumber);

struct TablePrintResult {
    enum class Status { Printed, Aborted, NothingFits, Rejected };
    Status status = Status::Printed;
    int pages = 0;            ///< pages laid out (drawn or outside the range)
    std::int64_t rows = 0;    ///< rows laid out
    std::string message;      ///< why it was not printed, or what was left out
    bool Ok() const { return status == Status::Printed; }
};

/// The geometry of a table on a surface, before anything is drawn.
struct TableGeometry {
    PrintMargins margins;
    double headerTop = 0;       ///< the page header's line
    double rowsTop = 0;         ///< the first row (or the column titles)
    double lineHeight = 0;
    double headerLineHeight = 0;
    double footerTop = 0;
    std::vector<TabStop> stops; ///< the columns as printed (cut at the right margin)
    int copies = 1;             ///< tables side by side (multi-column)
    double copyWidth = 0;
    int droppedColumns = 0;     ///< columns left out at the right margin
    int rowsPerCopy = 0;        ///< rows that fit below the titles of one page column
};

/// Why the job's layout cannot be printed (zero columns, widths or font size); empty when it can.
std::string CheckTableJob(const TablePrintJob &job, const TableStyle &style);
/// The layout on this surface; rowsPerCopy 0 when nothing fits on the page.
TableGeometry LayoutTable(PrintSurface &surface, const TablePrintJob &job, const TableStyle &style);
/// Prints the job's pages in its page range. The monitor's abort ends the job after the row it is on.
TablePrintResult PrintTable(PrintSurface &surface, const TablePrintJob &job, const TableStyle &style,
                            JobMonitor *monitor = nullptr);

} // namespace vellum
