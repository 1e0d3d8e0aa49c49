#pragma once
// The world map drawn with QPainter: water inside the map's outline, the
// visible layers' areas filled (land colour, palette or the selection's
// yellow) and outlined, the graticule behind or in front, the night shading,
// and the scene's lines, labels and home point. Antialiased on every device:
// the window, a PNG, a printer.

#include "mapscene.h"

#include <QColor>
#include <QPainterPath>
#include <QSizeF>

#include <memory>

class QGuiApplication;
class QPainter;

namespace vellum::worldmap {

QColor ToQColor(MapColor color);

/// An offscreen Qt application for a program that has none (vellum-cli); null when one runs.
std::unique_ptr<QGuiApplication> OffscreenApplication();

class MapRenderer {
public:
    /// Draws the whole scene into the rectangle (0, 0, size) of the painter.
    void Paint(QPainter &painter, const MapScene &scene, QSizeF size) const;

    /// The layers only (no night, lines or labels).
    void PaintMap(QPainter &painter, const MapScene &scene, const MapProjection &projection) const;
    /// The night shading over the map.
    void PaintNight(QPainter &painter, const MapScene &scene, const MapProjection &projection) const;

    /// The scene's lines, home point and labels.
    void PaintOverlay(QPainter &painter, const MapScene &scene, const MapProjection &projection) const;

    /// The screen path of an area (all its rings, odd-even filled).
    static QPainterPath AreaPath(const MapArea &area, const MapProjection &projection);

private:
    void paintGraticule(QPainter &painter, const MapScene &scene, const MapProjection &projection) const;
};

} // namespace vellum::worldmap
