#include "printengine.h"

#include <algorithm>

namespace vellum {

std::vector<std::string_view> SplitTabs(std::string_view line)
{
    std::vector<std::string_view> cells;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            cells.push_back(line.substr(start));
            return cells;
        }
        cells.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

PrintEngine::PrintEngine(PrintSurface &surface, PageRange pages, JobMonitor *monitor)
    : m_surface(surface), m_pages(pages), m_monitor(monitor)
{
    SetMargins({});
}

void PrintEngine::SetMargins(const PrintMargins &margins)
{
    PrintMargins unprintable = m_surface.Unprintable();
    m_margins = {AtLeastUnprintable(margins.left, unprintable.left), AtLeastUnprintable(margins.top, unprintable.top),
                 AtLeastUnprintable(margins.right, unprintable.right),
                 AtLeastUnprintable(margins.bottom, unprintable.bottom)};
}

bool PrintEngine::NewPage()
{
    if (m_aborted || PastRange())
        return false;
    ++m_page;
    m_column = 0;
    m_y = m_margins.top;
    if (Drawing() && !m_surface.BeginPage()) {
        m_aborted = true;
        return false;
    }
    return true;
}

bool PrintEngine::Progress(std::int64_t done)
{
    if (m_monitor && !m_monitor->Advance(done))
        m_aborted = true;
    return !m_aborted;
}

void PrintEngine::PrintLeft(std::string_view text, double x) { PrintAt(text, x, PrintAlign::Left); }
void PrintEngine::PrintRight(std::string_view text, double x) { PrintAt(text, x, PrintAlign::Right); }
void PrintEngine::PrintCenter(std::string_view text, double x) { PrintAt(text, x, PrintAlign::Center); }

void PrintEngine::PrintAt(std::string_view text, double x, PrintAlign align, double clipWidth)
{
    if (Drawing() && !text.empty())
        m_surface.Text(x, m_y, text, m_font, align, clipWidth);
}

void PrintEngine::SetTabs(std::vector<TabStop> tabs, double left)
{
    m_tabs = std::move(tabs);
    m_tabLeft = left;
}

double PrintEngine::TabsWidth() const
{
    double width = 0;
    for (const TabStop &tab : m_tabs)
        width += tab.width;
    return width;
}

void PrintEngine::PrintTabLine(std::string_view text)
{
    const double height = LineHeight();
    std::vector<std::string_view> cells = SplitTabs(text);
    double x = ColumnLeft() + m_tabLeft;
    for (std::size_t i = 0; i < m_tabs.size(); ++i) {
        const TabStop &tab = m_tabs[i];
        PrintRect cell{x, m_y, tab.width, height};
        if (tab.shade > 0)
            Shade(cell, tab.shade);
        std::string_view value = i < cells.size() ? cells[i] : std::string_view();
        double inner = std::max(0.0, tab.width - 2 * tab.padding);
        double anchor = tab.align == PrintAlign::Left    ? x + tab.padding
                        : tab.align == PrintAlign::Right ? x + tab.width - tab.padding
                                                         : x + tab.width / 2;
        if (Drawing() && !value.empty() && inner > 0)
            m_surface.Text(anchor, m_y, value, m_font, tab.align, inner);
        if (tab.box.left)
            Line(cell.left, cell.top, cell.left, cell.Bottom());
        if (tab.box.right)
            Line(cell.Right(), cell.top, cell.Right(), cell.Bottom());
        if (tab.box.top)
            Line(cell.left, cell.top, cell.Right(), cell.top);
        if (tab.box.bottom)
            Line(cell.left, cell.Bottom(), cell.Right(), cell.Bottom());
        x += tab.width;
    }
    m_y += height;
}

void PrintEngine::BoxTabs(BoxSides sides, double y, double height)
{
    double x = ColumnLeft() + m_tabLeft;
    for (const TabStop &tab : m_tabs) {
        if (sides.left)
            Line(x, y, x, y + height);
        if (sides.right)
            Line(x + tab.width, y, x + tab.width, y + height);
        if (sides.top)
            Line(x, y, x + tab.width, y);
        if (sides.bottom)
            Line(x, y + height, x + tab.width, y + height);
        x += tab.width;
    }
}

void PrintEngine::SetColumns(int count, double gap, double width)
{
    m_columns = std::max(1, count);
    m_columnGap = gap;
    m_columnWidth = width;
    m_column = 0;
}

double PrintEngine::ColumnWidth() const
{
    return m_columnWidth > 0 ? m_columnWidth : (PrintableWidth() - m_columnGap * (m_columns - 1)) / m_columns;
}

double PrintEngine::ColumnLeft() const { return m_margins.left + m_column * (ColumnWidth() + m_columnGap); }

bool PrintEngine::NextColumn(double top)
{
    if (m_column + 1 >= m_columns)
        return false;
    ++m_column;
    m_y = top;
    return true;
}

void PrintEngine::Line(double x1, double y1, double x2, double y2)
{
    if (Drawing())
        m_surface.Line(x1, y1, x2, y2);
}

void PrintEngine::Shade(const PrintRect &rect, int percent)
{
    if (Drawing())
        m_surface.Shade(rect, percent);
}

void PrintEngine::RoundRect(const PrintRect &rect, double radius, bool previewOnly)
{
    if (Drawing() && (!previewOnly || m_surface.IsPreview()))
        m_surface.RoundRect(rect, radius);
}

} // namespace vellum
