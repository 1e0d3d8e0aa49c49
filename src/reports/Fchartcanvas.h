#pragma once
// The chart canvas over a QPainter: the chart window, PNG files and the
// screenshots draw through it.

#include "chartdrawing.h"

#include <QPainter>

namespace vellum {

class QPainterCanvas : public ChartCanvas {
public:
    explicit QPainterCanvas(QPainter &painter) : m_painter(painter) {}
    void Line(ChartPoint from, ChartPoint to, std::uint32_t rgb, double width) override;
    void Polyline(const std::vector<ChartPoint> &points, std::uint32_t rgb, double width) override;
    void FillRect(double x, double y, double w, double h, std::uint32_t rgb) override;
    void Text(double x, double y, std::string_view text, double points, std::uint32_t rgb, PrintAlign align) override;

private:
    QPainter &m_painter;
};

/// The award chart above the band-by-year grid, as a picture of the given size in points.
QImage RenderChartImage(const AwardChart &chart, const BandYearGrid &grid, int width, int chartHeight, int gridHeight);

} // namespace vellum
