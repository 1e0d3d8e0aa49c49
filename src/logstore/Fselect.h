#pragma once
// "Selection Editor / Select": edits the log's selections and chooses the one
// in force.

#include "selection.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace vellum {

class TQsoData;
class UserNotifier;

/// Controls (objectName): F_Selection ("Current selection", editable), F_FirstDate,
/// F_LastDate ("Date Filter"), F_GroupFilter, F_DateFilter ("Enabled Filters"),
/// F_Groups (the group list, double click toggles), F_QRP, F_YLop ("Additional
/// QSO Filters"), AddBtn, DeleteBtn, UpdateBtn, CancelBtn, OKBtn.
class TSelectionForm : public QDialog {
    Q_OBJECT
public:
    /// The log must outlive the dialog; dates are shown and read in format;
    /// "Please check your dates" goes to notifier.
    TSelectionForm(TQsoData &log, DateFormat format, UserNotifier &notifier, QWidget *parent = nullptr);

    /// What "OK" did to the log (Cancelled also after "Cancel"). After Switched or
    /// ListChanged the QSO window goes to its first QSO, refreshes its companions
    /// and caption; the award tables are already out of date.
    TSelectionEditor::Outcome Result() const { return m_result; }

private slots:
    void SelectionActivated(int index);
    void GroupsDoubleClicked(QListWidgetItem *item);
    void UpdateClick();
    void AddClick();
    void DeleteClick();
    void OKClick();

private:
    void buildForm();
    void showShown();
    void fillNames();

    TQsoData &m_log;
    DateFormat m_format;
    UserNotifier &m_notifier;
    TSelectionEditor m_editor;
    TSelectionEditor::Outcome m_result = TSelectionEditor::Outcome::Cancelled;

    QComboBox *m_selection = nullptr;
    QLineEdit *m_firstDate = nullptr;
    QLineEdit *m_lastDate = nullptr;
    QCheckBox *m_groupFilter = nullptr;
    QCheckBox *m_dateFilter = nullptr;
    QListWidget *m_groups = nullptr;
    QCheckBox *m_qrp = nullptr;
    QCheckBox *m_yl = nullptr;
};

} // namespace vellum
