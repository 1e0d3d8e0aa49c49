#pragma once
// "PSK31 Settings" (TPskDialog): the engine settings of the open PSK31 window,
// each change in force at once.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace vellum {

class TPSK31Window;
struct TPsk31Settings;

class TPskDialog : public QDialog {
    Q_OBJECT
public:
    explicit TPskDialog(TPSK31Window &window);
    /// The window's receive or transmit frequency changed: the fields follow.
    void FrequenciesChanged();
    /// Keying a port failed and fell back to VOX: the wheel shows it.
    void KeyingFellBack();

private:
    QWidget *receivePage();
    QWidget *transmitPage();
    QWidget *displayPage();
    QWidget *otherPage();
    QSpinBox *spinBox(const char *name, int low, int high, int step, int value);
    QCheckBox *checkBox(const char *name, const QString &caption, bool checked);
    TPsk31Settings &settings() const;
    void lockSpinners();

    TPSK31Window &m_window;
    QSpinBox *m_rxFrequency = nullptr;
    QSpinBox *m_txFrequency = nullptr;
    QComboBox *m_keying = nullptr;
    QCheckBox *m_afc = nullptr;
    QCheckBox *m_net = nullptr;
    QLineEdit *m_mixer = nullptr;
};

} // namespace vellum
