#include "tableprint.h"

#include "config/configrecord.h"
#include "logstore/daytime.h"

#include <algorithm>
#include <cmath>

namespace vellum {

namespace {

constexpr double LeftMargin = 0.8, RightMargin = 0.5, TopMargin = 1.0, BottomMargin = 1.0;
constexpr double HeaderTop = 0.5, FooterBottom = 0.5;
constexpr double CellPadding = 0.05; ///< each side of a cell: 0.1 inch between columns
constexpr double CopyGap = 0.05;     ///< between the copies of a multi-column table
constexpr int ShadePercent = 5;
constexpr const char *VersionText = "5.03";

PrintFont rowFont(const TableStyle &style) { return {style.fontName, double(style.fontSize), false, false, 0}; }

PrintFont headerFont(const TableStyle &style)
{
    return {style.fontName, double(style.fontSize + 1), style.boldHeader, false, 0};
}

/// The column's printed width: its characters at the font size (120 characters of
/// a point size per inch), and the cell padding.
double stopWidth(const TableColumn &column, const TableStyle &style)
{
    return column.width * style.fontSize / 120.0 + 2 * CellPadding;
}

/// The stops of the columns, cut where the printable width ends.
std::vector<TabStop> tableStops(const TablePrintJob &job, const TableStyle &style, double printable, int &dropped)
{
    std::vector<TabStop> stops;
    double left = 0;
    dropped = 0;
    for (const TableColumn &column : job.columns) {
        if (left + 2 * CellPadding >= printable) {
            ++dropped;
            continue;
        }
        TabStop stop{std::min(stopWidth(column, style), printable - left), column.align, CellPadding, {}, 0};
        left += stop.width;
        stops.push_back(stop);
    }
    return stops;
}

double widthOf(const std::vector<TabStop> &stops)
{
    double width = 0;
    for (const TabStop &stop : stops)
        width += stop.width;
    return width;
}

void setStops(std::vector<TabStop> &stops, BoxSides box, int shade)
{
    for (TabStop &stop : stops) {
        stop.box = box;
        stop.shade = shade;
    }
}

/// Prints one page after another until the rows or the range end.
class TablePrinter {
public:
    TablePrinter(PrintSurface &surface, const TablePrintJob &job, const TableStyle &style, JobMonitor *monitor)
        : m_engine(surface, job.setup.pages, monitor), m_job(job), m_style(style),
          m_geometry(LayoutTable(surface, job, style))
    {
        m_engine.SetMargins(m_geometry.margins);
    }

    TablePrintResult Run()
    {
        TablePrintResult result;
        const std::int64_t count = m_job.rows ? m_job.rows->Count() : 0;
        if (JobMonitor *monitor = m_engine.Monitor())
            monitor->Begin("Printing", count);
        do {
            if (!m_engine.NewPage())
                break;
            printPageFrame();
            printCopies(count);
        } while (m_row < count && !m_engine.Aborted());
        if (JobMonitor *monitor = m_engine.Monitor())
            monitor->End();
        result.pages = m_engine.PageNumber();
        result.rows = m_row;
        if (m_engine.Aborted())
            result.status = TablePrintResult::Status::Aborted;
        if (m_geometry.droppedColumns > 0)
            result.message = std::to_string(m_geometry.droppedColumns) +
                             " column(s) did not fit on the page and were left out";
        return result;
    }

private:
    void printPageFrame()
    {
        m_engine.SetFont(headerFont(m_style));
        m_engine.SetY(m_geometry.headerTop);
        const PrintMargins &m = m_engine.Margins();
        std::string title = m_job.title + "  " + m_style.dateText;
        m_engine.PrintLeft(title, m.left);
        m_engine.PrintRight("Page " + std::to_string(m_engine.PageNumber()), m_engine.PageWidth() - m.right);
        if (!m_style.reportHeader.empty()) {
            m_engine.NewLine();
            m_engine.PrintLeft(m_style.reportHeader, m.left);
        }
        m_engine.SetFont(rowFont(m_style));
        m_engine.SetY(m_geometry.footerTop);
        m_engine.PrintCenter(m_style.footer, m.left + m_engine.PrintableWidth() / 2);
        m_engine.SetY(m_geometry.rowsTop);
    }

    void printTitles()
    {
        std::vector<TabStop> stops = m_geometry.stops;
        setStops(stops, m_style.lines == TableLines::None ? BoxSides{} : BoxSides::All(), 0);
        m_engine.SetTabs(std::move(stops));
        std::string titles;
        for (std::size_t i = 0; i < m_geometry.stops.size(); ++i)
            titles += (i ? "\t" : "") + m_job.columns[i].name;
        m_engine.PrintTabLine(titles);
    }

    void printCopies(std::int64_t count)
    {
        m_engine.SetColumns(m_geometry.copies, CopyGap, m_geometry.copyWidth);
        if (!m_job.multiColumn)
            printTitles();
        const double top = m_engine.Y();
        do {
            printRows(count);
        } while (m_row < count && !m_engine.Aborted() && m_engine.NextColumn(top));
        m_engine.SetColumns(1, 0);
    }

    void printRows(std::int64_t count)
    {
        int printed = 0;
        while (m_row < count && printed < m_geometry.rowsPerCopy) {
            bool last = m_row + 1 == count || printed + 1 == m_geometry.rowsPerCopy;
            m_engine.SetTabs(rowStops(m_row, last));
            // Rows of pages outside the range are counted, not made.
            m_engine.PrintTabLine(m_engine.Drawing() ? m_job.rows->Row(m_row) : std::string());
            ++m_row;
            ++printed;
            if (!m_engine.Progress(m_row))
                return;
        }
    }

    std::vector<TabStop> rowStops(std::int64_t row, bool lastOnPage) const
    {
        std::vector<TabStop> stops = m_geometry.stops;
        switch (m_style.lines) {
        case TableLines::None: break;
        case TableLines::Lines: setStops(stops, BoxSides::All(), 0); break;
        case TableLines::LinesAndShades:
            setStops(stops, {true, false, true, lastOnPage}, row % 2 ? ShadePercent : 0);
            break;
        }
        return stops;
    }

    PrintEngine m_engine;
    const TablePrintJob &m_job;
    const TableStyle &m_style;
    TableGeometry m_geometry;
    std::int64_t m_row = 0;
};

} // namespace

TableColumn MakeTableColumn(std::string name, int width, PrintAlign align)
{
    int least = static_cast<int>(name.size());
    return {std::move(name), std::max(width, least), align};
}

std::string LongDateText(std::uint16_t dayNumber)
{
    static const char *const months[12] = {"January", "February", "March",     "April",   "May",      "June",
                                           "July",    "August",   "September", "October", "November", "December"};
    CalendarDate date = SplitDayNumber(dayNumber);
    if (date.month < 1 || date.month > 12)
        return {};
    return std::string(months[date.month - 1]) + " " + std::to_string(date.day) + ", " + std::to_string(date.year);
}

TableStyle TableStyleFrom(const TConfigRecord &config)
{
    TableStyle style;
    style.fontName = config.F_RepFontName.str().empty() ? "Arial" : config.F_RepFontName.str();
    style.fontSize = config.F_RepFontSize;
    style.boldHeader = config.F_RepBoldHeader;
    style.lines = config.F_RepEmbellish <= 2 ? static_cast<TableLines>(config.F_RepEmbellish) : TableLines::None;
    style.reportHeader = config.F_ReportHeader.str();
    style.footer = std::string("Printed with Vellum ") + VersionText + " - " + config.Personal_Callsign.str();
    style.dateText = LongDateText(TodayDayNumber());
    return style;
}

std::string CheckTableJob(const TablePrintJob &job, const TableStyle &style)
{
    if (job.columns.empty())
        return "The report has no columns: nothing to print";
    if (style.fontSize < 1)
        return "The report font size is 0: nothing to print";
    for (std::size_t i = 0; i < job.columns.size(); ++i)
        if (job.columns[i].width < 1)
            return "Column " + std::to_string(i + 1) + " has no width: nothing to print";
    return {};
}

TableGeometry LayoutTable(PrintSurface &surface, const TablePrintJob &job, const TableStyle &style)
{
    TableGeometry g;
    PrintEngine engine(surface);
    engine.SetMargins({LeftMargin, TopMargin, RightMargin, BottomMargin});
    g.margins = engine.Margins();
    PrintMargins unprintable = surface.Unprintable();
    g.lineHeight = surface.LineHeight(rowFont(style));
    g.headerLineHeight = surface.LineHeight(headerFont(style));
    g.headerTop = std::max(HeaderTop, unprintable.top);
    int headerLines = style.reportHeader.empty() ? 1 : 2;
    g.rowsTop = std::max(g.margins.top, g.headerTop + headerLines * g.headerLineHeight);
    g.footerTop = surface.PageHeight() - std::max(FooterBottom, unprintable.bottom) - g.lineHeight;
    const double printable = engine.PrintableWidth();
    g.stops = tableStops(job, style, printable, g.droppedColumns);
    g.copyWidth = widthOf(g.stops);
    if (job.multiColumn && g.copyWidth > 0)
        g.copies = std::max(1, static_cast<int>(std::floor((printable + CopyGap) / (g.copyWidth + CopyGap) + 1e-9)));
    double rowsTop = g.rowsTop + (job.multiColumn ? 0 : g.lineHeight);
    double room = engine.BottomLimit() - rowsTop;
    g.rowsPerCopy = g.lineHeight > 0 && !g.stops.empty() && room > 0
                        ? static_cast<int>(std::floor(room / g.lineHeight + 1e-9))
                        : 0;
    return g;
}

TablePrintResult PrintTable(PrintSurface &surface, const TablePrintJob &job, const TableStyle &style,
                            JobMonitor *monitor)
{
    TablePrintResult result;
    result.message = CheckTableJob(job, style);
    if (!result.message.empty()) {
        result.status = TablePrintResult::Status::Rejected;
        return result;
    }
    if (LayoutTable(surface, job, style).rowsPerCopy < 1) {
        result.status = TablePrintResult::Status::NothingFits;
        result.message = "Not a single row fits on this page: check the paper, the margins and the report font";
        return result;
    }
    TablePrinter printer(surface, job, style, monitor);
    return printer.Run();
}

} // namespace vellum
