#pragma once
// "Radio Frequency control": the radio's mode, VFO A and B and split, set as
// they are changed and shown again whenever the radio's values change.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace vellum {

class TStation;

class TSetRadioFrequency : public QDialog {
    Q_OBJECT
public:
    explicit TSetRadioFrequency(TStation &station, QWidget *parent = nullptr);

    /// Reads the radio and shows its values ("Read").
    void ReadRadio();
    /// Shows the last known state: VFO A when it differs, VFO B when it differs and is
    /// not 0, split and mode.
    void ShowValues();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillModes();
    void send();
    void splitToggled(bool on);
    /// Up/Down in a frequency field: a step by the mode's class and the keys held.
    void step(QLineEdit *field, int direction, Qt::KeyboardModifiers modifiers);
    int chosenMode() const;
    static double value(const QLineEdit *field);
    static void showFrequency(QLineEdit *field, double kHz);

    TStation &m_station;
    QComboBox *m_mode;
    QLineEdit *m_vfoA;
    QLineEdit *m_vfoB;
    QCheckBox *m_split;
    double m_lastVfoB = 0;
    bool m_updating = false;
};

/// The step of Up/Down in a frequency field (kHz): 0.5 in phone modes, 0.1 in the
/// others; ten times that with Shift, 0.01 with Ctrl.
double FrequencyStep(int mode, bool shift, bool control);

} // namespace vellum
