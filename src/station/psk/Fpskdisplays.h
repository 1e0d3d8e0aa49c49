#pragma once
// The displays of the PSK31 window: the level meter with the squelch line, the
// spectrum with the phase vectors of the main channel, and the scrolling
// waterfall. Each draws off screen and copies the picture in one piece.

#include "pskengine.h"
#include "pskview.h"

#include <QImage>
#include <QPolygon>
#include <QWidget>

#include <array>
#include <complex>

namespace vellum {

struct PskMarker {
    int hz = 0; ///< 0: not set
    QString label;
};

/// What the displays show; the window fills it from the engine.
struct PskDisplayData {
    std::array<int, psk::SpectrumBins> spectrum{};
    std::array<std::complex<int>, 8> vectors{};
    psk::PskView view;
    psk::PskPalette palette = psk::MakePalette(false);
    int receiveHz = 1000;
    int channel2Hz = 0;
    bool channel2Shown = false;
    bool overload = false;
    int level = 0;      ///< percent
    int threshold = 50; ///< percent of the meter's height
    std::array<PskMarker, 2> markers;

    /// The spectrum at pixel x of a display width wide, 0 to 1.
    double LevelAt(int x, int width) const;
};

/// Displays lower than this are not drawn.
inline constexpr int SmallestDisplayHeight = 20;

class TPskMeter : public QWidget {
    Q_OBJECT
public:
    TPskMeter(const PskDisplayData &data, QWidget *parent);
    static constexpr int MeterWidth = 18;

signals:
    /// The left button released at a height: the new squelch threshold in percent.
    void thresholdChosen(int percent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    const PskDisplayData &m_data;
    QImage m_image;
};

/// The spectrum and the waterfall are tuned by clicking.
class TPskTuningDisplay : public QWidget {
    Q_OBJECT
public:
    TPskTuningDisplay(const PskDisplayData &data, QWidget *parent);

signals:
    /// The left button released at a frequency; withControl: exactly Ctrl was held.
    void frequencyChosen(int hz, bool withControl);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    /// The channel lines, the markers and, with labels, the view's edge frequencies.
    void drawOverlay(QPainter &painter, bool labels) const;
    const PskDisplayData &m_data;
};

class TPskSpectrum : public TPskTuningDisplay {
    Q_OBJECT
public:
    using TPskTuningDisplay::TPskTuningDisplay;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawVectors(QPainter &painter) const;
    QImage m_image;
    QPolygon m_trace; ///< one point a pixel, reallocated when the width changes
};

class TPskWaterfall : public TPskTuningDisplay {
    Q_OBJECT
public:
    using TPskTuningDisplay::TPskTuningDisplay;
    /// New data arrived: the next paint scrolls the history by one line.
    void SetNewData() { m_newData = true; }
    /// Frequency labels on the waterfall (shown when the spectrum is hidden).
    void SetLabels(bool labels) { m_labels = labels; }
    const QImage &History() const { return m_history; }
    int LinesDrawn() const { return m_lines; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void scroll();
    QImage m_history;
    QImage m_working;
    bool m_newData = false;
    bool m_labels = false;
    int m_lines = 0;
};

/// Meter, spectrum and waterfall side by side above a row of buttons, laid out for
/// the view: 0 spectrum and waterfall, 1 spectrum only, 2 waterfall only.
class TPskDisplayPanel : public QWidget {
    Q_OBJECT
public:
    TPskDisplayPanel(const PskDisplayData &data, QWidget *parent);
    TPskMeter *Meter() const { return m_meter; }
    TPskSpectrum *Spectrum() const { return m_spectrum; }
    TPskWaterfall *Waterfall() const { return m_waterfall; }
    QWidget *ButtonRow() const { return m_buttons; }
    void SetView(int view);
    int View() const { return m_view; }
    /// Every display draws again (the waterfall scrolls when it has new data).
    void Redraw();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layOut();
    TPskMeter *m_meter;
    TPskSpectrum *m_spectrum;
    TPskWaterfall *m_waterfall;
    QWidget *m_buttons;
    int m_view = 0;
};

} // namespace vellum
