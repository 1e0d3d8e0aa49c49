#include "Fpaintsurface.h"

#include "logstore/cp1252.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPageSize>

#include <algorithm>
#include <optional>

namespace vellum {

QString PrintText(std::string_view cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }

namespace {

std::optional<QPageSize> namedPaper(const std::string &name)
{
    const QString wanted = PrintText(name);
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        QPageSize size(static_cast<QPageSize::PageSizeId>(id));
        if (size.isValid() && size.name().contains(wanted, Qt::CaseInsensitive))
            return size;
    }
    return std::nullopt;
}

} // namespace

std::string ApplyPaper(QPagedPaintDevice &device, const PaperSpec &spec)
{
    std::string warning;
    if (spec.IsCustom()) {
        if (spec.widthTenthMm <= 0 || spec.heightTenthMm <= 0 ||
            !device.setPageSize(QPageSize(QSizeF(spec.widthTenthMm / 10.0, spec.heightTenthMm / 10.0),
                                          QPageSize::Millimeter, QStringLiteral("Custom"), QPageSize::ExactMatch)))
            warning = "Not able to set custom Paper Size";
    } else if (!spec.name.empty()) {
        std::optional<QPageSize> size = namedPaper(spec.name);
        if (!size)
            warning = "Unknown Paper";
        else if (!device.setPageSize(*size))
            warning = "Not able to select paper: " + spec.name;
    }
    device.setPageOrientation(spec.portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    return warning;
}

PaintSurface::PaintSurface(QPagedPaintDevice &device, PrintMargins unprintable, bool preview)
    : m_device(device), m_unprintable(unprintable), m_preview(preview), m_dpi(device.logicalDpiX())
{
    if (m_dpi <= 0)
        m_dpi = 72;
}

PaintSurface::~PaintSurface() { Finish(); }

double PaintSurface::PageWidth() const
{
    return m_device.pageLayout().fullRectPoints().width() / 72.0;
}

double PaintSurface::PageHeight() const
{
    return m_device.pageLayout().fullRectPoints().height() / 72.0;
}

QFont PaintSurface::qtFont(const PrintFont &font) const
{
    QFont qfont(PrintText(font.name));
    qfont.setPointSizeF(font.points > 0 ? font.points : 1);
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    return qfont;
}

const QFontMetricsF &PaintSurface::use(const PrintFont &font)
{
    const bool same = m_metrics && font.name == m_fontInUse.name && font.points == m_fontInUse.points &&
                      font.bold == m_fontInUse.bold && font.italic == m_fontInUse.italic;
    if (!same) {
        m_fontInUse = font;
        m_qfont = qtFont(font);
        m_metrics.emplace(m_qfont, &m_device);
    }
    return *m_metrics;
}

double PaintSurface::LineHeight(const PrintFont &font)
{
    if (font.points <= 0)
        return 0;
    return use(font).lineSpacing() / m_dpi;
}

double PaintSurface::TextWidth(const PrintFont &font, std::string_view text)
{
    return use(font).horizontalAdvance(PrintText(text)) / m_dpi;
}

bool PaintSurface::BeginPage()
{
    if (m_failed)
        return false;
    if (m_pages == 0) {
        if (!m_painter.begin(&m_device)) {
            m_failed = true;
            return false;
        }
    } else if (!m_device.newPage()) {
        m_failed = true;
        return false;
    }
    ++m_pages;
    m_painter.setPen(QPen(Qt::black, dots(0.01)));
    return true;
}

void PaintSurface::Text(double x, double y, std::string_view text, const PrintFont &font, PrintAlign align,
                        double clipWidth)
{
    const QFontMetricsF &metrics = use(font);
    if (m_painter.font() != m_qfont)
        m_painter.setFont(m_qfont);
    QString shown = PrintText(text);
    double width = metrics.horizontalAdvance(shown);
    double anchor = dots(x);
    double left = align == PrintAlign::Left ? anchor : align == PrintAlign::Right ? anchor - width : anchor - width / 2;
    setPenColor(font.color);
    // Only a text wider than its cell needs the clip.
    const bool clip = clipWidth > 0 && width > dots(clipWidth);
    if (clip) {
        double clipLeft = align == PrintAlign::Left    ? anchor
                          : align == PrintAlign::Right ? anchor - dots(clipWidth)
                                                       : anchor - dots(clipWidth) / 2;
        m_painter.setClipRect(QRectF(clipLeft, dots(y), dots(clipWidth), metrics.lineSpacing()));
    }
    m_painter.drawText(QPointF(left, dots(y) + metrics.ascent()), shown);
    if (clip)
        m_painter.setClipping(false);
}

void PaintSurface::setPenColor(std::uint32_t rgb)
{
    const QColor color(static_cast<QRgb>(rgb));
    if (m_painter.pen().color() != color) {
        QPen pen = m_painter.pen();
        pen.setColor(color);
        m_painter.setPen(pen);
    }
}

void PaintSurface::Line(double x1, double y1, double x2, double y2)
{
    setPenColor(0);
    m_painter.drawLine(QPointF(dots(x1), dots(y1)), QPointF(dots(x2), dots(y2)));
}

QRectF PaintSurface::dots(const PrintRect &rect) const
{
    return {dots(rect.left), dots(rect.top), dots(rect.width), dots(rect.height)};
}

void PaintSurface::Shade(const PrintRect &rect, int percent)
{
    int level = 255 - 255 * std::clamp(percent, 0, 100) / 100;
    m_painter.fillRect(dots(rect), QColor(level, level, level));
}

void PaintSurface::RoundRect(const PrintRect &rect, double radius)
{
    m_painter.save();
    m_painter.setBrush(Qt::white);
    m_painter.drawRoundedRect(dots(rect), dots(radius), dots(radius));
    m_painter.restore();
}

bool PaintSurface::Finish()
{
    if (m_painter.isActive())
        return m_painter.end() && !m_failed;
    return !m_failed;
}

} // namespace vellum
