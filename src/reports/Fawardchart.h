#pragma once
// The award chart window: the standing of an award over time (entities worked
// and confirmed per month, mixed and per mode group) above the QSOs per band
// and year; printed through the print engine, saved as PNG or SVG.

#include "awardchart.h"

#include <QWidget>

class QComboBox;

namespace vellum {

class WindowHost;

/// Named controls: AwardChart_Award (DXCC, WAZ, WAS, WPX), AwardChart_Picture,
/// AwardChart_Print, AwardChart_SavePng, AwardChart_SaveSvg.
class TAwardChartForm : public QWidget {
    Q_OBJECT
public:
    TAwardChartForm(WindowHost &host, TQsoData &log, QWidget *parent = nullptr);
    ~TAwardChartForm() override;

    /// Shows another award (index of AwardNames).
    void ShowAward(AwardIndex award);
    const AwardChart &Chart() const { return m_chart; }
    const BandYearGrid &Grid() const { return m_grid; }
    /// Computes the chart again from the log (the log changed).
    void Recompute();
    void Print();
    bool SavePng(const QString &fileName);
    bool SaveSvg(const QString &fileName);

private:
    void saveAs(bool png);

    WindowHost &m_host;
    TQsoData &m_log;
    AwardIndex m_award = AwardDXCC;
    AwardChart m_chart;
    BandYearGrid m_grid;
    QComboBox *m_awardChoice;
    QWidget *m_picture;
};

} // namespace vellum
