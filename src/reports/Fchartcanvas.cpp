#include "Fchartcanvas.h"

#include "chartimage.h"
#include "print/Fpaintsurface.h"
#include "print/pdfoutput.h"

#include <QBuffer>
#include <QImage>
#include <QPolygonF>

namespace vellum {

namespace {

QColor qtColor(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb | 0xff000000u)); }

} // namespace

void QPainterCanvas::Line(ChartPoint from, ChartPoint to, std::uint32_t rgb, double width)
{
    m_painter.setPen(QPen(qtColor(rgb), width));
    m_painter.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
}

void QPainterCanvas::Polyline(const std::vector<ChartPoint> &points, std::uint32_t rgb, double width)
{
    QPolygonF polygon;
    for (const ChartPoint &point : points)
        polygon << QPointF(point.x, point.y);
    m_painter.setPen(QPen(qtColor(rgb), width));
    m_painter.drawPolyline(polygon);
}

void QPainterCanvas::FillRect(double x, double y, double w, double h, std::uint32_t rgb)
{
    m_painter.fillRect(QRectF(x, y, w, h), qtColor(rgb));
}

void QPainterCanvas::Text(double x, double y, std::string_view text, double points, std::uint32_t rgb, PrintAlign align)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setPointSizeF(points);
    m_painter.setFont(font);
    m_painter.setPen(qtColor(rgb));
    QString string = PrintText(text);
    double width = QFontMetricsF(font, m_painter.device()).horizontalAdvance(string);
    double left = align == PrintAlign::Right ? x - width : align == PrintAlign::Center ? x - width / 2 : x;
    m_painter.drawText(QPointF(left, y), string);
}

QImage RenderChartImage(const AwardChart &chart, const BandYearGrid &grid, int width, int chartHeight, int gridHeight)
{
    QImage image(width, chartHeight + gridHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterCanvas canvas(painter);
    DrawAwardChart(canvas, chart, width, chartHeight);
    painter.translate(0, chartHeight);
    DrawBandYearGrid(canvas, grid, width, gridHeight);
    return image;
}

bool WriteChartPng(const AwardChart &chart, const BandYearGrid &grid, const std::string &fileName, std::string &error)
{
    EnsureGuiApplication();
    QImage image = RenderChartImage(chart, grid, ChartImageWidth, ChartImageHeight, GridImageHeight);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        error = "the picture cannot be encoded as PNG";
        return false;
    }
    return WriteChartFile(fileName, {reinterpret_cast<const std::uint8_t *>(png.constData()), static_cast<std::size_t>(png.size())},
                      error);
}

} // namespace vellum
