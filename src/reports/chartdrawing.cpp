#include "chartdrawing.h"

#include "logstore/cp1252.h"
#include "logstore/fileio.h"
#include "logstore/qsotables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace vellum {

std::uint32_t LevelColor(int level)
{
    static constexpr std::uint32_t colors[] = {0x1f4e9a, 0xc0392b, 0x27864a, 0x8e44ad};
    return colors[std::clamp(level, 0, 3)];
}

namespace {

inline constexpr std::uint32_t AxisColor = 0x404040;
inline constexpr std::uint32_t GridColor = 0xd8d8d8;
inline constexpr std::uint32_t TextColor = 0x202020;

/// A "nice" step for about count divisions of range.
std::int32_t niceStep(std::int32_t range, int count)
{
    double raw = std::max(1.0, static_cast<double>(range) / count);
    double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= raw)
            return static_cast<std::int32_t>(factor * power);
    return static_cast<std::int32_t>(10 * power);
}

struct PlotArea {
    double left, top, width, height;
    double X(double fraction) const { return left + fraction * width; }
    double Y(double fraction) const { return top + height - fraction * height; }
};

void drawAxes(ChartCanvas &canvas, const PlotArea &area, const AwardChart &chart, std::int32_t maximum)
{
    std::int32_t step = niceStep(maximum, 5);
    std::int32_t top = (maximum + step - 1) / step * step;
    for (std::int32_t value = 0; value <= top; value += step) {
        double y = area.Y(static_cast<double>(value) / top);
        canvas.Line({area.left, y}, {area.left + area.width, y}, GridColor, 0.5);
        canvas.Text(area.left - 4, y + 3, std::to_string(value), 8, TextColor, PrintAlign::Right);
    }
    int years = std::max(1, chart.months / 12);
    int yearStep = std::max(1, niceStep(years, 8));
    for (MonthIndex month = (chart.firstMonth + 11) / 12 * 12; month < chart.firstMonth + chart.months;
         month += 12 * yearStep) {
        double x = area.X(chart.months > 1 ? static_cast<double>(month - chart.firstMonth) / (chart.months - 1) : 0);
        canvas.Line({x, area.top}, {x, area.top + area.height}, GridColor, 0.5);
        canvas.Text(x, area.top + area.height + 12, std::to_string(month / 12), 8, TextColor, PrintAlign::Center);
    }
    canvas.Line({area.left, area.top}, {area.left, area.top + area.height}, AxisColor, 1);
    canvas.Line({area.left, area.top + area.height}, {area.left + area.width, area.top + area.height}, AxisColor, 1);
}

std::vector<ChartPoint> seriesPoints(const PlotArea &area, const std::vector<std::int32_t> &values, std::int32_t top)
{
    std::vector<ChartPoint> points;
    std::size_t count = values.size();
    for (std::size_t i = 0; i < count; ++i)
        points.push_back({area.X(count > 1 ? static_cast<double>(i) / static_cast<double>(count - 1) : 0),
                          area.Y(static_cast<double>(values[i]) / top)});
    return points;
}

} // namespace

void DrawAwardChart(ChartCanvas &canvas, const AwardChart &chart, double width, double height)
{
    canvas.FillRect(0, 0, width, height, 0xffffff);
    std::string title = std::string(AwardNames[static_cast<std::size_t>(chart.award)]) + " standing over time";
    canvas.Text(width / 2, 20, title, 12, TextColor, PrintAlign::Center);
    if (chart.months == 0) {
        canvas.Text(width / 2, height / 2, "No QSOs count for this award", 10, TextColor, PrintAlign::Center);
        return;
    }
    PlotArea area{50, 34, width - 170, height - 70};
    std::int32_t maximum = 1;
    for (int level = 0; level < 4; ++level)
        if (chart.levelCounted[static_cast<std::size_t>(level)])
            maximum = std::max(maximum, chart.levels[static_cast<std::size_t>(level)].worked.back());
    std::int32_t step = niceStep(maximum, 5);
    std::int32_t top = (maximum + step - 1) / step * step;
    drawAxes(canvas, area, chart, maximum);
    double legendY = area.top + 8;
    double legendX = area.left + area.width + 14;
    for (int level = 0; level < 4; ++level) {
        if (!chart.levelCounted[static_cast<std::size_t>(level)])
            continue;
        const StandingSeries &series = chart.levels[static_cast<std::size_t>(level)];
        std::uint32_t color = LevelColor(level);
        canvas.Polyline(seriesPoints(area, series.worked, top), color, 2);
        canvas.Polyline(seriesPoints(area, series.confirmed, top), color, 0.8);
        std::string name = ModeGroupNames[static_cast<std::size_t>(level)];
        canvas.Line({legendX, legendY - 3}, {legendX + 16, legendY - 3}, color, 2);
        canvas.Text(legendX + 20, legendY, name + " wkd " + std::to_string(series.worked.back()), 8, color,
                    PrintAlign::Left);
        canvas.Line({legendX, legendY + 11}, {legendX + 16, legendY + 11}, color, 0.8);
        canvas.Text(legendX + 20, legendY + 14, name + " cfm " + std::to_string(series.confirmed.back()), 8, color,
                    PrintAlign::Left);
        legendY += 34;
    }
    canvas.Text(area.left, height - 8,
                MonthText(chart.firstMonth) + " to " + MonthText(chart.firstMonth + chart.months - 1) +
                    ": entities worked (thick) and confirmed (thin) at each month's end",
                8, TextColor, PrintAlign::Left);
}

void DrawBandYearGrid(ChartCanvas &canvas, const BandYearGrid &grid, double width, double height)
{
    canvas.FillRect(0, 0, width, height, 0xffffff);
    canvas.Text(width / 2, 16, "QSOs per band and year", 11, TextColor, PrintAlign::Center);
    std::vector<int> bands;
    for (int band = 0; band < static_cast<int>(grid.bandUsed.size()); ++band)
        if (grid.bandUsed[static_cast<std::size_t>(band)])
            bands.push_back(band);
    if (grid.years.empty() || bands.empty())
        return;
    double cellWidth = std::min(48.0, (width - 50) / static_cast<double>(bands.size()));
    double cellHeight = std::min(16.0, (height - 40) / static_cast<double>(grid.years.size() + 1));
    std::int64_t maximum = 1;
    for (const auto &row : grid.years)
        maximum = std::max(maximum, *std::max_element(row.begin(), row.end()));
    double top = 24;
    for (std::size_t b = 0; b < bands.size(); ++b) {
        const char *name = bands[b] == 0 ? "?" : BandInfoOf(bands[b]).name;
        canvas.Text(50 + (static_cast<double>(b) + 0.5) * cellWidth, top + cellHeight - 4, name, 7, TextColor,
                    PrintAlign::Center);
    }
    for (std::size_t y = 0; y < grid.years.size(); ++y) {
        double rowTop = top + static_cast<double>(y + 1) * cellHeight;
        canvas.Text(44, rowTop + cellHeight - 4, std::to_string(grid.firstYear + static_cast<int>(y)), 7, TextColor,
                    PrintAlign::Right);
        for (std::size_t b = 0; b < bands.size(); ++b) {
            std::int64_t count = grid.years[y][static_cast<std::size_t>(bands[b])];
            double x = 50 + static_cast<double>(b) * cellWidth;
            auto shade = static_cast<std::uint32_t>(255 - 155 * std::sqrt(static_cast<double>(count) / maximum));
            canvas.FillRect(x, rowTop, cellWidth - 1, cellHeight - 1, count ? (shade << 16) | (shade << 8) | 0xff : 0xf4f4f4);
            if (count)
                canvas.Text(x + cellWidth / 2, rowTop + cellHeight - 4, std::to_string(count), 6.5, TextColor,
                            PrintAlign::Center);
        }
    }
}

// --- SVG ------------------------------------------------------------------------------------

namespace {

std::string svgColor(std::uint32_t rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", rgb & 0xffffffu);
    return text;
}

std::string svgNumber(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string xmlEscaped(std::string_view utf8)
{
    std::string out;
    for (char c : utf8) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace

SvgCanvas::SvgCanvas(double width, double height)
{
    m_svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
            svgNumber(width) + "\" height=\"" + svgNumber(height) + "\" viewBox=\"0 0 " + svgNumber(width) + " " +
            svgNumber(height) + "\" font-family=\"sans-serif\">\n";
}

void SvgCanvas::Line(ChartPoint from, ChartPoint to, std::uint32_t rgb, double width)
{
    m_svg += "<line x1=\"" + svgNumber(from.x) + "\" y1=\"" + svgNumber(from.y) + "\" x2=\"" + svgNumber(to.x) +
             "\" y2=\"" + svgNumber(to.y) + "\" stroke=\"" + svgColor(rgb) + "\" stroke-width=\"" + svgNumber(width) +
             "\"/>\n";
}

void SvgCanvas::Polyline(const std::vector<ChartPoint> &points, std::uint32_t rgb, double width)
{
    m_svg += "<polyline fill=\"none\" stroke=\"" + svgColor(rgb) + "\" stroke-width=\"" + svgNumber(width) +
             "\" points=\"";
    for (const ChartPoint &point : points)
        m_svg += svgNumber(point.x) + "," + svgNumber(point.y) + " ";
    m_svg += "\"/>\n";
}

void SvgCanvas::FillRect(double x, double y, double w, double h, std::uint32_t rgb)
{
    m_svg += "<rect x=\"" + svgNumber(x) + "\" y=\"" + svgNumber(y) + "\" width=\"" + svgNumber(w) + "\" height=\"" +
             svgNumber(h) + "\" fill=\"" + svgColor(rgb) + "\"/>\n";
}

void SvgCanvas::Text(double x, double y, std::string_view text, double points, std::uint32_t rgb, PrintAlign align)
{
    const char *anchor = align == PrintAlign::Right ? "end" : align == PrintAlign::Center ? "middle" : "start";
    m_svg += "<text x=\"" + svgNumber(x) + "\" y=\"" + svgNumber(y) + "\" font-size=\"" + svgNumber(points) +
             "\" fill=\"" + svgColor(rgb) + "\" text-anchor=\"" + anchor + "\">" + xmlEscaped(Cp1252ToUtf8(text)) +
             "</text>\n";
}

void SvgCanvas::BeginGroup(double dx, double dy)
{
    m_svg += "<g transform=\"translate(" + svgNumber(dx) + "," + svgNumber(dy) + ")\">\n";
}

void SvgCanvas::EndGroup() { m_svg += "</g>\n"; }

std::string SvgCanvas::Finish() { return m_svg + "</svg>\n"; }

// --- the print engine -------------------------------------------------------------------------

PrintChartCanvas::PrintChartCanvas(PrintEngine &engine, double scale)
    : m_engine(engine), m_scale(scale), m_left(engine.Margins().left), m_top(engine.Y())
{
}

void PrintChartCanvas::Line(ChartPoint from, ChartPoint to, std::uint32_t, double)
{
    m_engine.Line(x(from.x), y(from.y), x(to.x), y(to.y));
}

void PrintChartCanvas::Polyline(const std::vector<ChartPoint> &points, std::uint32_t rgb, double width)
{
    for (std::size_t i = 1; i < points.size(); ++i)
        Line(points[i - 1], points[i], rgb, width);
}

void PrintChartCanvas::FillRect(double left, double top, double w, double h, std::uint32_t rgb)
{
    int brightness = static_cast<int>(((rgb >> 16) & 0xff) + ((rgb >> 8) & 0xff) + (rgb & 0xff)) / 3;
    int percent = (255 - brightness) * 100 / 255;
    if (percent > 0)
        m_engine.Shade({x(left), y(top), w * m_scale, h * m_scale}, percent);
}

void PrintChartCanvas::Text(double left, double baseline, std::string_view text, double points, std::uint32_t rgb,
                            PrintAlign align)
{
    PrintFont font;
    font.points = points * m_scale * 72;
    font.color = rgb;
    m_engine.SetFont(font);
    // The engine places a line by its top; the canvas gives the baseline.
    double lineY = m_engine.Y();
    m_engine.SetY(y(baseline) - font.points / 72.0);
    m_engine.PrintAt(text, x(left), align, 0);
    m_engine.SetY(lineY);
}

bool PrintAwardChart(PrintEngine &engine, const AwardChart &chart, const BandYearGrid &grid)
{
    if (!engine.NewPage())
        return false;
    double width = engine.PrintableWidth();
    double scale = width / 720.0; // the picture is drawn 720 points wide
    PrintChartCanvas chartCanvas(engine, scale);
    DrawAwardChart(chartCanvas, chart, 720, 420);
    engine.SetY(engine.Y() + 440 * scale);
    PrintChartCanvas gridCanvas(engine, scale);
    DrawBandYearGrid(gridCanvas, grid, 720, std::min(400.0, (engine.BottomLimit() - engine.Y()) / scale));
    return !engine.Aborted();
}

// --- files ------------------------------------------------------------------------------------

std::string ChartSvg(const AwardChart &chart, const BandYearGrid &grid)
{
    SvgCanvas canvas(ChartImageWidth, ChartImageHeight + GridImageHeight);
    DrawAwardChart(canvas, chart, ChartImageWidth, ChartImageHeight);
    canvas.BeginGroup(0, ChartImageHeight);
    DrawBandYearGrid(canvas, grid, ChartImageWidth, GridImageHeight);
    canvas.EndGroup();
    return canvas.Finish();
}

bool WriteChartFile(const std::string &fileName, std::span<const std::uint8_t> bytes, std::string &error)
{
    try {
        std::filesystem::path folder = std::filesystem::path(fileName).parent_path();
        std::error_code ignored;
        if (!folder.empty())
            std::filesystem::create_directories(folder, ignored);
        WriteWholeFile(fileName, bytes, false);
        return true;
    } catch (const EFileError &e) {
        error = e.what();
        return false;
    }
}

bool WriteChartSvg(const AwardChart &chart, const BandYearGrid &grid, const std::string &fileName, std::string &error)
{
    std::string svg = ChartSvg(chart, grid);
    return WriteChartFile(fileName, {reinterpret_cast<const std::uint8_t *>(svg.data()), svg.size()}, error);
}

} // namespace vellum
