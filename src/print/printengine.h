#pragma once
// The report engine: margins, fonts, lines of text at positions, tab stops with
// boxes and shading, side-by-side text columns, rounded rectangles, pages with
// their numbers and the page range, and the abort flag of the job's status
// window. Positions are inches from the paper's top-left corner. Pages outside
// the range are laid out but not drawn; the job ends after the range's last page.

#include "printsurface.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

/// The pages a job puts out, both ends included; "All" is 1 to 9999.
struct PageRange {
    int from = 1;
    int to = 9999;
    bool Contains(int page) const { return page >= from && page <= to; }
};

/// Where a print job goes ("Report Setup").
enum class PrintDestination { Printer = 0, Preview = 1, File = 2 };

struct PrintSetupChoice {
    PrintDestination destination = PrintDestination::Printer;
    std::string fileName; ///< the PDF written for File
    PageRange pages;
};

/// The job's status window: what it shows and whether the user aborted.
class JobMonitor {
public:
    virtual ~JobMonitor() = default;
    virtual void Begin(std::string_view caption, std::int64_t total) { (void)caption, (void)total; }
    /// Progress; false when the user aborted the job.
    virtual bool Advance(std::int64_t done) { (void)done; return true; }
    virtual void End() {}
};

struct BoxSides {
    bool left = false, top = false, right = false, bottom = false;
    static BoxSides All() { return {true, true, true, true}; }
    bool Any() const { return left || top || right || bottom; }
};

/// A tab stop: a cell of a tab-separated line.
struct TabStop {
    double width = 1;  ///< inches, padding included
    PrintAlign align = PrintAlign::Left;
    double padding = 0; ///< inches left and right of the text inside the cell
    BoxSides box;
    int shade = 0;      ///< percent grey behind the cell
};

class PrintEngine {
public:
    PrintEngine(PrintSurface &surface, PageRange pages = {}, JobMonitor *monitor = nullptr);

    PrintSurface &Surface() { return m_surface; }
    double PageWidth() const { return m_surface.PageWidth(); }
    double PageHeight() const { return m_surface.PageHeight(); }
    /// Sets the margins, each raised to the printer's unprintable margin.
    void SetMargins(const PrintMargins &margins);
    const PrintMargins &Margins() const { return m_margins; }
    double PrintableWidth() const { return PageWidth() - m_margins.left - m_margins.right; }
    /// The distance a margin must keep at least: the unprintable part, or min.
    double AtLeastUnprintable(double min, double unprintable) const { return min > unprintable ? min : unprintable; }

    void SetFont(const PrintFont &font) { m_font = font; }
    const PrintFont &Font() const { return m_font; }
    double LineHeight() { return m_surface.LineHeight(m_font); }
    double TextWidth(std::string_view text) { return m_surface.TextWidth(m_font, text); }

    // --- pages ---
    /// Starts the next page (the first call starts page 1) at the top margin.
    /// False when the job is over: past the range, aborted, or the output failed.
    bool NewPage();
    int PageNumber() const { return m_page; }
    /// Whether the page being laid out is drawn.
    bool Drawing() const { return m_page > 0 && m_pages.Contains(m_page); }
    bool PastRange() const { return m_page >= m_pages.to; }
    /// The job's abort flag (the user, or a failed output).
    bool Aborted() const { return m_aborted; }
    void Abort() { m_aborted = true; }
    /// Tells the status window; false (and the job aborted) when the user aborted.
    bool Progress(std::int64_t done);
    JobMonitor *Monitor() const { return m_monitor; }

    // --- the line position ---
    double Y() const { return m_y; }
    void SetY(double y) { m_y = y; }
    void NewLine() { m_y += LineHeight(); }
    /// The lowest a line's top may be for the line to end above the bottom margin.
    double BottomLimit() const { return PageHeight() - m_margins.bottom; }
    bool LineFits() { return m_y + LineHeight() <= BottomLimit() + 1e-9; }

    // --- text ---
    void PrintLeft(std::string_view text, double x);
    void PrintRight(std::string_view text, double x);
    void PrintCenter(std::string_view text, double x);
    void PrintAt(std::string_view text, double x, PrintAlign align, double clipWidth = 0);

    // --- tab stops ---
    /// The stops of PrintTabLine, side by side from left (relative to the current text column).
    void SetTabs(std::vector<TabStop> tabs, double left = 0);
    const std::vector<TabStop> &Tabs() const { return m_tabs; }
    double TabsWidth() const;
    /// Prints text's tab-separated parts in the stops (missing trailing parts are empty,
    /// parts beyond the last stop are dropped) at the current line and moves down a line.
    void PrintTabLine(std::string_view text);
    /// Draws the given sides around the stops of the current line without text.
    void BoxTabs(BoxSides sides, double y, double height);

    // --- text columns ---
    /// count columns side by side from the left margin, gap inches apart, each width
    /// inches wide (0: sharing the printable width); a count of 1 ends them.
    void SetColumns(int count, double gap, double width = 0);
    int ColumnCount() const { return m_columns; }
    int Column() const { return m_column; }
    double ColumnWidth() const;
    double ColumnLeft() const;
    /// Moves to the top (top) of the next column; false when this was the last column.
    bool NextColumn(double top);

    // --- shapes ---
    void Line(double x1, double y1, double x2, double y2);
    void Shade(const PrintRect &rect, int percent);
    /// previewOnly: drawn on the preview only (outlines of label positions).
    void RoundRect(const PrintRect &rect, double radius, bool previewOnly = false);

private:
    PrintSurface &m_surface;
    PageRange m_pages;
    JobMonitor *m_monitor;
    PrintMargins m_margins;
    PrintFont m_font;
    std::vector<TabStop> m_tabs;
    double m_tabLeft = 0;
    int m_columns = 1;
    int m_column = 0;
    double m_columnGap = 0;
    double m_columnWidth = 0;
    int m_page = 0;
    double m_y = 0;
    bool m_aborted = false;
};

/// The cells of a tab-separated line.
std::vector<std::string_view> SplitTabs(std::string_view line);

} // namespace vellum
