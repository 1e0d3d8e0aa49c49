#pragma once
// "Rotator Control": a heading to turn to, the correction, the offset and what
// each band does.

#include "rotator.h"

#include <QDialog>

class QComboBox;
class QSpinBox;

namespace vellum {

class TStation;

/// "Rotator Control": a heading to turn to, and the correction, offset and per-band
/// behaviour; Cancel puts the rotator settings back as they were on opening.
class TRotateForm : public QDialog {
    Q_OBJECT
public:
    TRotateForm(TStation &station, QWidget *parent = nullptr);

    void SetHeading(int heading);
    /// The status text of the rotator as the caption.
    void ShowStatus(const std::string &text);

private:
    void showBand(int band);
    void storeShown();
    void rotate();
    void halt();
    void cancel();

    TStation &m_station;
    RotatorBlock m_kept;
    int m_shownBand = 1;
    QSpinBox *m_heading;
    QSpinBox *m_correction;
    QSpinBox *m_offset;
    QComboBox *m_band;
    QComboBox *m_status;
};

} // namespace vellum
