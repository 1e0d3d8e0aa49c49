#pragma once
// The report engine's surface over a Qt paint device: the printer, the print
// preview and the PDF writer. Text is drawn as text, so a PDF's words can be
// searched and extracted.

#include "printsurface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QString>

#include <optional>

class QPagedPaintDevice;

namespace vellum {

/// Sets the paper of a device: a printer paper whose name contains spec.name
/// (ignoring case), or a custom size, and the orientation. Returns a warning
/// ("Unknown Paper", ...) or an empty text.
std::string ApplyPaper(QPagedPaintDevice &device, const PaperSpec &spec);

/// The core's cp1252 text as a Qt string.
QString PrintText(std::string_view cp1252);

class PaintSurface : public PrintSurface {
public:
    /// device: where pages go (painting starts at the first BeginPage); unprintable:
    /// the printer's margins (none for a PDF); preview: the print preview.
    PaintSurface(QPagedPaintDevice &device, PrintMargins unprintable, bool preview);
    ~PaintSurface() override;

    double PageWidth() const override;
    double PageHeight() const override;
    PrintMargins Unprintable() const override { return m_unprintable; }
    double LineHeight(const PrintFont &font) override;
    double TextWidth(const PrintFont &font, std::string_view text) override;
    bool BeginPage() override;
    void Text(double x, double y, std::string_view text, const PrintFont &font, PrintAlign align,
              double clipWidth) override;
    void Line(double x1, double y1, double x2, double y2) override;
    void Shade(const PrintRect &rect, int percent) override;
    void RoundRect(const PrintRect &rect, double radius) override;
    bool IsPreview() const override { return m_preview; }

    /// The painter of the pages, for drawings the surface's primitives do not cover
    /// (the world map); valid between BeginPage and Finish.
    QPainter &Painter() { return m_painter; }
    /// The dots per inch of the device.
    double Dpi() const { return m_dpi; }

    /// Ends painting; false when the device failed.
    bool Finish();
    int Pages() const { return m_pages; }

private:
    QFont qtFont(const PrintFont &font) const;
    /// The Qt font and metrics of a font, made again only when the font changes.
    const QFontMetricsF &use(const PrintFont &font);
    void setPenColor(std::uint32_t rgb);
    double dots(double inches) const { return inches * m_dpi; }
    QRectF dots(const PrintRect &rect) const;

    QPagedPaintDevice &m_device;
    PrintMargins m_unprintable;
    bool m_preview;
    QPainter m_painter;
    double m_dpi;
    int m_pages = 0;
    bool m_failed = false;
    PrintFont m_fontInUse;
    QFont m_qfont;
    std::optional<QFontMetricsF> m_metrics;
};

} // namespace vellum
