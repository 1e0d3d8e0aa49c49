#include "Fpskdisplays.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vellum {

namespace {

const QColor MainChannelColour(255, 32, 32);

/// Makes image the size of the widget; true when it had to be made anew.
bool fitImage(QImage &image, const QSize &size)
{
    if (image.size() == size)
        return false;
    image = QImage(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    return true;
}

} // namespace

double PskDisplayData::LevelAt(int x, int width) const
{
    int bin = psk::BinOf(psk::FrequencyAt(view, x, width));
    return std::clamp(spectrum[static_cast<std::size_t>(bin)], 0, 100) / 100.0;
}

// --- the meter -----------------------------------------------------------------

TPskMeter::TPskMeter(const PskDisplayData &data, QWidget *parent) : QWidget(parent), m_data(data)
{
    setFixedWidth(MeterWidth);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPskMeter::paintEvent(QPaintEvent *)
{
    if (height() < SmallestDisplayHeight)
        return;
    fitImage(m_image, size());
    m_image.fill(Qt::black);
    QPainter painter(&m_image);
    int h = height();
    int bar = psk::MulDiv(std::clamp(m_data.level, 0, 100), h, 100);
    painter.fillRect(0, h - bar, width(), bar, m_data.overload ? Qt::red : Qt::cyan);
    int y = h - psk::MulDiv(m_data.threshold, h, 100);
    painter.setPen(Qt::yellow);
    painter.drawLine(0, y, width(), y);
    painter.fillRect(width() / 2 - 2, y - 2, 5, 5, Qt::yellow);
    painter.end();
    QPainter(this).drawImage(0, 0, m_image);
}

void TPskMeter::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && height() > 0)
        emit thresholdChosen(std::clamp(psk::MulDiv(height() - event->position().toPoint().y(), 100, height()), 0, 100));
}

// --- spectrum and waterfall ------------------------------------------------------

TPskTuningDisplay::TPskTuningDisplay(const PskDisplayData &data, QWidget *parent) : QWidget(parent), m_data(data)
{
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPskTuningDisplay::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || width() < 2)
        return;
    bool control = (event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) == Qt::ControlModifier;
    emit frequencyChosen(psk::FrequencyAt(m_data.view, event->position().toPoint().x(), width()), control);
}

void TPskTuningDisplay::drawOverlay(QPainter &painter, bool labels) const
{
    const int w = width(), h = height();
    auto line = [&](int hz, const QPen &pen) {
        int x = psk::PixelOf(m_data.view, hz, w);
        painter.setPen(pen);
        painter.drawLine(x, 0, x, h);
        painter.drawLine(x - 1, 0, x - 1, h);
    };
    if (m_data.channel2Shown)
        line(m_data.channel2Hz, QPen(Qt::cyan, 1, Qt::DotLine));
    line(m_data.receiveHz, QPen(MainChannelColour));
    QFontMetrics metrics = painter.fontMetrics();
    auto label = [&](const QString &text, int x, QColor ink, QColor paper) {
        QRect box(x, h - metrics.height(), metrics.horizontalAdvance(text), metrics.height());
        painter.fillRect(box, paper);
        painter.setPen(ink);
        painter.drawText(box, Qt::AlignCenter, text);
    };
    if (labels) {
        label(QString::number(m_data.view.start), 2, Qt::yellow, Qt::black);
        QString end = QString::number(m_data.view.end);
        label(end, w - 2 - metrics.horizontalAdvance(end), Qt::yellow, Qt::black);
    }
    for (const PskMarker &marker : m_data.markers) {
        int x = psk::PixelOf(m_data.view, marker.hz, w);
        if (marker.hz != 0 && x > 0 && x < w - 1)
            label(marker.label, x - metrics.horizontalAdvance(marker.label) / 2, Qt::black, Qt::yellow);
    }
}

void TPskSpectrum::paintEvent(QPaintEvent *)
{
    if (height() < SmallestDisplayHeight || width() < 2)
        return;
    fitImage(m_image, size());
    m_image.fill(Qt::black);
    QPainter painter(&m_image);
    const int w = width(), h = height();
    int step = h < 100 ? h / 5 : h / 10;
    painter.setPen(Qt::yellow);
    for (int y = h - step - 1; step > 0 && y > 0; y -= step)
        painter.drawLine(0, y, w, y);
    if (m_trace.size() != w)
        m_trace.resize(w);
    for (int x = 0; x < w; ++x)
        m_trace[x] = QPoint(x, h - static_cast<int>(std::lround(m_data.LevelAt(x, w) * h)));
    painter.setPen(Qt::cyan);
    painter.drawPolyline(m_trace);
    drawOverlay(painter, true);
    drawVectors(painter);
    painter.end();
    QPainter(this).drawImage(0, 0, m_image);
}

void TPskSpectrum::drawVectors(QPainter &painter) const
{
    int r = std::max(5, std::min(height() / 5, 15));
    painter.setPen(Qt::yellow);
    painter.setBrush(Qt::black);
    painter.drawEllipse(0, 0, 2 * r, 2 * r);
    painter.setPen(Qt::cyan);
    for (const std::complex<int> &point : m_data.vectors)
        painter.drawLine(r, r, r + psk::MulDiv(r, point.real(), 1000), r - psk::MulDiv(r, point.imag(), 1000));
    painter.setBrush(Qt::NoBrush);
}

void TPskWaterfall::paintEvent(QPaintEvent *)
{
    if (height() < SmallestDisplayHeight || width() < 2)
        return;
    if (fitImage(m_history, size()))
        m_working = m_history;
    if (m_newData)
        scroll();
    QPainter(this).drawImage(0, 0, m_working);
}

void TPskWaterfall::scroll()
{
    m_newData = false;
    const int w = width();
    m_working = QImage(m_history.size(), QImage::Format_RGB32);
    QPainter(&m_working).drawImage(0, 1, m_history, 0, 0, w, m_history.height() - 1);
    auto *top = reinterpret_cast<QRgb *>(m_working.scanLine(0));
    for (int x = 0; x < w; ++x) {
        int index = std::clamp(static_cast<int>(std::lround(m_data.LevelAt(x, w) * 255)), 0, 255);
        top[x] = 0xFF000000u | m_data.palette[static_cast<std::size_t>(index)];
    }
    m_history = m_working.copy();
    QPainter painter(&m_working); // the overlay never enters the history
    drawOverlay(painter, m_labels);
    ++m_lines;
}

// --- the panel ------------------------------------------------------------------

TPskDisplayPanel::TPskDisplayPanel(const PskDisplayData &data, QWidget *parent)
    : QWidget(parent), m_meter(new TPskMeter(data, this)), m_spectrum(new TPskSpectrum(data, this)),
      m_waterfall(new TPskWaterfall(data, this)), m_buttons(new QWidget(this))
{
    m_spectrum->setObjectName(QStringLiteral("PskSpectrum"));
    m_waterfall->setObjectName(QStringLiteral("PskWaterfall"));
    m_meter->setObjectName(QStringLiteral("PskMeter"));
    setMinimumHeight(40);
}

void TPskDisplayPanel::SetView(int view)
{
    m_view = std::clamp(view, 0, 2);
    m_waterfall->SetLabels(m_view == 2);
    layOut();
}

void TPskDisplayPanel::Redraw()
{
    m_meter->update();
    m_spectrum->update();
    m_waterfall->update();
}

void TPskDisplayPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void TPskDisplayPanel::layOut()
{
    int buttonHeight = m_buttons->sizeHint().height();
    int h = std::max(0, height() - buttonHeight);
    m_buttons->setGeometry(0, h, width(), buttonHeight);
    m_meter->setGeometry(0, 0, TPskMeter::MeterWidth, h);
    int left = TPskMeter::MeterWidth + 1;
    int b = std::max(0, width() - left - 2);
    int spectrumWidth = m_view == 0 ? b / 2 - 2 : m_view == 1 ? b : 0;
    int waterfallLeft = m_view == 0 ? left + b / 2 + 2 : left;
    int waterfallWidth = m_view == 0 ? std::max(0, width() - waterfallLeft - 2) : m_view == 2 ? b : 0;
    m_spectrum->setGeometry(left, 0, std::max(0, spectrumWidth), h);
    m_spectrum->setVisible(spectrumWidth > 0);
    m_waterfall->setGeometry(waterfallLeft, 0, waterfallWidth, h);
    m_waterfall->setVisible(waterfallWidth > 0);
}

} // namespace vellum
