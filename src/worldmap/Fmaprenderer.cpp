#include "Fmaprenderer.h"

#include "areaindex.h"
#include "mapgeometry.h"
#include "nightshade.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

namespace vellum::worldmap {

namespace {

const QColor OutsideColor(0xF4, 0xF4, 0xF0);
const QColor BorderColor(0x40, 0x40, 0x40);
const QColor StateBorderColor(0x70, 0x70, 0x70);
const QColor GraticuleColor(0x30, 0x50, 0x70, 0x70);
constexpr int NightStep = 4;
constexpr double NightOpacity = 1.0;

QPainterPath pathOf(const std::vector<ScreenPath> &pieces, bool closed)
{
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const ScreenPath &piece : pieces) {
        if (piece.empty())
            continue;
        path.moveTo(piece.front().x, piece.front().y);
        for (std::size_t i = 1; i < piece.size(); ++i)
            path.lineTo(piece[i].x, piece[i].y);
        if (closed)
            path.closeSubpath();
    }
    return path;
}

/// A thin pen drawn by the painter's fast antialiased line drawing (cosmetic),
/// as wide in device pixels as `width` is in the painter's units.
QPen thinPen(const QPainter &painter, const QColor &color, double width)
{
    QPen pen(color, width * std::max(std::abs(painter.transform().m11()), 1e-3));
    pen.setCosmetic(true);
    return pen;
}

QPainterPath linePath(const GeometryProjector &projector, const std::vector<LonLat> &points)
{
    std::vector<ScreenPath> pieces;
    projector.Line(points, pieces);
    return pathOf(pieces, false);
}

/// Whether the area must stay out of the equidistant projection: the one at the
/// antipode of its centre would be turned inside out around the outline.
bool hiddenAtAntipode(const MapArea &area, const MapProjection &projection)
{
    if (projection.Kind() != ProjectionKind::EquiDistant)
        return false;
    LonLat centre = projection.View().centre;
    return AreaIndex::Contains(area, {WrapLongitude(centre.lon + 180), -centre.lat});
}

} // namespace

QColor ToQColor(MapColor color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

QPainterPath MapRenderer::AreaPath(const MapArea &area, const MapProjection &projection)
{
    GeometryProjector projector(projection);
    std::vector<ScreenPath> pieces;
    for (const MapRing &ring : area.rings)
        projector.Polygon(ring.points, pieces);
    return pathOf(pieces, true);
}

void MapRenderer::Paint(QPainter &painter, const MapScene &scene, QSizeF size) const
{
    MapProjection projection(scene.projection, scene.view, size.width(), size.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setClipRect(QRectF(QPointF(0, 0), size));
    painter.fillRect(QRectF(QPointF(0, 0), size), OutsideColor);
    PaintMap(painter, scene, projection);
    if (scene.subsolar)
        PaintNight(painter, scene, projection);
    PaintOverlay(painter, scene, projection);
    painter.restore();
}

void MapRenderer::PaintMap(QPainter &painter, const MapScene &scene, const MapProjection &projection) const
{
    GeometryProjector projector(projection);
    QPainterPath outline = pathOf({projector.Outline()}, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ToQColor(scene.water));
    painter.drawPath(outline);
    if (scene.graticule && !scene.graticuleInFront)
        paintGraticule(painter, scene, projection);
    if (scene.map) {
        for (std::size_t l = 0; l < scene.map->layers.size(); ++l) {
            if (!scene.LayerVisible(l))
                continue;
            bool filled = l == 0;
            const std::vector<MapArea> &areas = scene.map->layers[l].areas;
            for (std::size_t a = 0; a < areas.size(); ++a) {
                if (hiddenAtAntipode(areas[a], projection))
                    continue;
                QPainterPath path = AreaPath(areas[a], projection);
                if (path.isEmpty())
                    continue;
                bool selected = scene.selected == a && scene.selectedLayer == l;
                if (filled || selected) {
                    QColor fill = selected ? ToQColor(Yellow)
                                           : ToQColor(scene.colorCountries ? PaletteColor(a) : scene.land);
                    painter.setBrush(fill);
                } else {
                    painter.setBrush(Qt::NoBrush);
                }
                painter.setPen(thinPen(painter, filled ? BorderColor : StateBorderColor, filled ? 0.6 : 0.4));
                painter.drawPath(path);
            }
        }
    }
    if (scene.graticule && scene.graticuleInFront)
        paintGraticule(painter, scene, projection);
    painter.setPen(QPen(BorderColor, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);
}

void MapRenderer::paintGraticule(QPainter &painter, const MapScene &scene, const MapProjection &projection) const
{
    GeometryProjector projector(projection);
    QPainterPath grid;
    for (const std::vector<LonLat> &line : GraticuleLines(scene.projection, projection.View().centre, scene.miles))
        grid.addPath(linePath(projector, line));
    painter.setPen(thinPen(painter, GraticuleColor, 0.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(grid);
}

void MapRenderer::PaintNight(QPainter &painter, const MapScene &scene, const MapProjection &projection) const
{
    NightMask mask(projection, *scene.subsolar, NightStep);
    QImage image(mask.Columns(), mask.Rows(), QImage::Format_ARGB32_Premultiplied);
    // The shade multiplies the map by the night colour twice: light grey darkens it to about half.
    QColor grey = ToQColor(scene.nightColor);
    QColor night(grey.red() * grey.red() / 255, grey.green() * grey.green() / 255, grey.blue() * grey.blue() / 255);
    for (int row = 0; row < mask.Rows(); ++row) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(row));
        for (int column = 0; column < mask.Columns(); ++column) {
            int alpha = static_cast<int>(mask.At(column, row) * NightOpacity);
            line[column] = qPremultiply(qRgba(night.red(), night.green(), night.blue(), alpha));
        }
    }
    // Sample (c, r) lies at pixel (c * step, r * step): the image is stretched to match.
    QRectF target(-NightStep / 2.0, -NightStep / 2.0, mask.Columns() * double(NightStep),
                  mask.Rows() * double(NightStep));
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    painter.drawImage(target, image);
    painter.restore();
}

void MapRenderer::PaintOverlay(QPainter &painter, const MapScene &scene, const MapProjection &projection) const
{
    GeometryProjector projector(projection);
    painter.setBrush(Qt::NoBrush);
    for (const SceneLine &line : scene.lines) {
        painter.setPen(QPen(ToQColor(line.color), line.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(linePath(projector, line.points));
    }
    if (scene.home)
        if (auto home = projection.Forward(*scene.home)) {
            painter.setPen(QPen(Qt::black, 1));
            painter.setBrush(ToQColor(Red));
            painter.drawEllipse(QPointF(home->x, home->y), 4, 4);
        }
    QFontMetricsF metrics(painter.font());
    for (const SceneLabel &label : scene.labels) {
        auto at = projection.Forward(label.at);
        if (!at)
            continue;
        QString text = QString::fromLatin1(label.text.data(), static_cast<qsizetype>(label.text.size()));
        QRectF box(at->x, at->y - metrics.height(), metrics.horizontalAdvance(text), metrics.height());
        painter.fillRect(box, ToQColor(label.background));
        painter.setPen(ToQColor(label.color));
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

} // namespace vellum::worldmap
