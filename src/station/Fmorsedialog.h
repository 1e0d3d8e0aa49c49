#pragma once
// "CW Parameters" (TMorseDialog): the keyer's speeds, weight, tone and flags,
// applied at once; the speed measurement and the tune key.

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;

namespace vellum {

class TCwKeyer;

class TMorseDialog : public QDialog {
    Q_OBJECT
public:
    explicit TMorseDialog(TCwKeyer &keyer, QWidget *parent = nullptr);
    ~TMorseDialog() override;
    bool Measuring() const;

    void done(int result) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QSpinBox *spin(const char *name, int low, int high, int value);
    QCheckBox *check(const char *name, const QString &caption, bool value);
    void apply();
    void flagToggled(QCheckBox *box);
    void showComputed();
    void measure();
    void pollMeasurement();
    void tune();

    TCwKeyer &m_keyer;
    QSpinBox *m_charWpm, *m_spacingWpm, *m_weight, *m_tone;
    QCheckBox *m_sidetone, *m_marquee, *m_immediate, *m_showKeys;
    QLabel *m_wpm, *m_measured;
    QPushButton *m_measure, *m_tune;
    QTimer *m_poll;
    bool m_loading = true;
};

} // namespace vellum
