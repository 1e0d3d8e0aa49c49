#pragma once
// Drawing the award chart and the band-by-year grid on a canvas: the screen
// and PNG (QPainter), SVG (written here as text) and the print engine's pages
// all draw the same picture. Coordinates are in points from the top-left corner.

#include "awardchart.h"
#include "print/printengine.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

struct ChartPoint {
    double x = 0, y = 0;
};

class ChartCanvas {
public:
    virtual ~ChartCanvas() = default;
    virtual void Line(ChartPoint from, ChartPoint to, std::uint32_t rgb, double width) = 0;
    virtual void Polyline(const std::vector<ChartPoint> &points, std::uint32_t rgb, double width) = 0;
    virtual void FillRect(double x, double y, double w, double h, std::uint32_t rgb) = 0;
    /// Text (cp1252) whose baseline starts at (x, y), or ends there (right), or is centred on x.
    virtual void Text(double x, double y, std::string_view text, double points, std::uint32_t rgb, PrintAlign align) = 0;
};

/// The picture of the award standing over time: axes, a line per counted level
/// worked (solid) and confirmed (thin), a legend and the title.
void DrawAwardChart(ChartCanvas &canvas, const AwardChart &chart, double width, double height);
/// The band-by-year grid: a row per year, a column per band used, cells shaded by count.
void DrawBandYearGrid(ChartCanvas &canvas, const BandYearGrid &grid, double width, double height);

/// The colour of a level's line (mixed, phone, CW, digital).
std::uint32_t LevelColor(int level);

/// A canvas that writes SVG.
class SvgCanvas : public ChartCanvas {
public:
    SvgCanvas(double width, double height);
    void Line(ChartPoint from, ChartPoint to, std::uint32_t rgb, double width) override;
    void Polyline(const std::vector<ChartPoint> &points, std::uint32_t rgb, double width) override;
    void FillRect(double x, double y, double w, double h, std::uint32_t rgb) override;
    void Text(double x, double y, std::string_view text, double points, std::uint32_t rgb, PrintAlign align) override;
    /// What is drawn until EndGroup is shifted by (dx, dy).
    void BeginGroup(double dx, double dy);
    void EndGroup();
    /// The document, closed.
    std::string Finish();

private:
    std::string m_svg;
};

/// A canvas on a page of the print engine (inches): the picture fills the
/// printable area; lines are drawn black, fills as grey shades.
class PrintChartCanvas : public ChartCanvas {
public:
    PrintChartCanvas(PrintEngine &engine, double scale);
    void Line(ChartPoint from, ChartPoint to, std::uint32_t rgb, double width) override;
    void Polyline(const std::vector<ChartPoint> &points, std::uint32_t rgb, double width) override;
    void FillRect(double x, double y, double w, double h, std::uint32_t rgb) override;
    void Text(double x, double y, std::string_view text, double points, std::uint32_t rgb, PrintAlign align) override;

private:
    double x(double points) const { return m_left + points * m_scale; }
    double y(double points) const { return m_top + points * m_scale; }
    PrintEngine &m_engine;
    double m_scale;
    double m_left;
    double m_top;
};

/// The size of the picture of the chart above the grid, in points.
inline constexpr int ChartImageWidth = 760;
inline constexpr int ChartImageHeight = 420;
inline constexpr int GridImageHeight = 300;

/// The chart above the grid as SVG text.
std::string ChartSvg(const AwardChart &chart, const BandYearGrid &grid);
/// Writes bytes through a temporary file renamed into place (the folder made when missing); false with error set
/// when the file cannot be written (the old file is left as it was).
bool WriteChartFile(const std::string &fileName, std::span<const std::uint8_t> bytes, std::string &error);
bool WriteChartSvg(const AwardChart &chart, const BandYearGrid &grid, const std::string &fileName, std::string &error);

/// Prints the chart (and below it the grid) on one page of the engine.
bool PrintAwardChart(PrintEngine &engine, const AwardChart &chart, const BandYearGrid &grid);

} // namespace vellum
