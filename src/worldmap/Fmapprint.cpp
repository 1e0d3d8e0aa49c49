#include "Fmapprint.h"

#include "Fmaprenderer.h"
#include "mapdata.h"
#include "maprender.h"

#include "print/Fpaintsurface.h"
#include "print/printengine.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

#include <filesystem>
#include <memory>

namespace vellum::worldmap {

namespace {

constexpr double MarginInches = 0.5;
constexpr double CaptionGapInches = 0.15;

} // namespace

bool PrintMap(QPagedPaintDevice &device, PrintMargins unprintable, const MapScene &scene, const std::string &caption)
{
    PaintSurface surface(device, unprintable, false);
    PrintEngine engine(surface);
    engine.SetMargins({engine.AtLeastUnprintable(MarginInches, unprintable.left),
                       engine.AtLeastUnprintable(MarginInches, unprintable.top),
                       engine.AtLeastUnprintable(MarginInches, unprintable.right),
                       engine.AtLeastUnprintable(MarginInches, unprintable.bottom)});
    if (!engine.NewPage())
        return false;
    PrintFont font;
    font.points = 12;
    font.bold = true;
    engine.SetFont(font);
    const PrintMargins &margins = engine.Margins();
    surface.Text(margins.left, margins.top, caption, font, PrintAlign::Left, engine.PrintableWidth());
    double top = margins.top + engine.LineHeight() + CaptionGapInches;
    double height = engine.BottomLimit() - top;
    if (height <= 0)
        return false;
    QPainter &painter = surface.Painter();
    painter.save();
    painter.translate(margins.left * surface.Dpi(), top * surface.Dpi());
    QSizeF size(engine.PrintableWidth() * surface.Dpi(), height * surface.Dpi());
    // Lines keep their widths in points of the page rather than in device dots.
    double pointsToDots = surface.Dpi() / 96.0;
    painter.scale(pointsToDots, pointsToDots);
    MapRenderer().Paint(painter, scene, size / pointsToDots);
    painter.restore();
    return surface.Finish();
}

void WriteMapPdf(const MapScene &scene, const std::string &caption, const std::string &fileName)
{
    std::unique_ptr<QGuiApplication> application = OffscreenApplication();
    QString temporary = QString::fromStdString(fileName + ".tmp");
    bool printed = false;
    {
        QPdfWriter writer(temporary);
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.setResolution(300);
        printed = PrintMap(writer, {}, scene, caption);
    }
    std::error_code error;
    if (printed)
        std::filesystem::rename(temporary.toStdString(), fileName, error);
    if (!printed || error) {
        QFile::remove(temporary);
        throw MapFileError(fileName + ": the map cannot be printed into it");
    }
}

} // namespace vellum::worldmap
