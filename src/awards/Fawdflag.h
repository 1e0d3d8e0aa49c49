#pragma once
// "Change award flags": clears or promotes one award flag pair on every QSO of
// the selection in force.

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLineEdit;

namespace vellum {

class TQsoData;

/// Controls (objectName): F_AwardFlag (the 16 flag pairs), F_Action0..F_Action3
/// (the four actions), ChangeBtn, F_FlagsChanged (read-only count), CloseBtn.
class TChangeAwardFlagsForm : public QDialog {
    Q_OBJECT
public:
    /// The log must outlive the dialog.
    explicit TChangeAwardFlagsForm(TQsoData &log, QWidget *parent = nullptr);

signals:
    /// Some QSOs changed: the windows that show award standing refresh.
    void flagsChanged(qint64 count);

private slots:
    void ChangeClick();

private:
    TQsoData &m_log;
    QComboBox *m_pair;
    QButtonGroup *m_actions;
    QLineEdit *m_changed;
};

} // namespace vellum
