#pragma once
// "Print QSL labels" (TPrintLabelsDialog): the label layout, the empty positions
// of a partly used sheet, the QSL method, the label options, the QSOs to
// countries without a bureau with their alternate method, and Print, Edit, Mark
// All and Close. Printing goes through "Report Setup"; the printed marks are set
// only when the job went to the printer or a file and finished without error.

#include "labellayout.h"
#include "labelprinter.h"
#include "printlist.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace vellum {

class ProgramContext;
class TQsoData;

/// Controls: CurrentLabel, Missing, QslMethod, PrintQSLMgr, PrintMethod, PrintGroup,
/// NoBuroCount, AlternateMethod, Status, Print, Edit, MarkAll, Close.
class TPrintLabelsDialog : public QDialog {
    Q_OBJECT
public:
    TPrintLabelsDialog(ProgramContext &context, TQsoData &log, LabelKind kind, QWidget *parent = nullptr);

    const LabelPrintList &PrintList() const { return m_list; }
    /// "Print": true when the job printed to the end.
    bool Print();
    void Edit();
    void MarkAll();

private:
    void buildControls();
    void fillLabelList();
    void collect();
    void storeOptions();
    void setButtonsEnabled(bool enabled);
    LabelLayout chosenLayout() const;

    ProgramContext &m_context;
    TQsoData &m_log;
    LabelKind m_kind;
    LabelPrintList m_list;
    std::vector<LabelChoice> m_labels;
    QComboBox *m_label = nullptr;
    QSpinBox *m_missing = nullptr;
    QComboBox *m_method = nullptr;
    QCheckBox *m_managers = nullptr;
    QCheckBox *m_methodLabels = nullptr;
    QCheckBox *m_groups = nullptr;
    QLabel *m_count = nullptr;
    QComboBox *m_alternate = nullptr;
    QLabel *m_status = nullptr;
    std::vector<QPushButton *> m_buttons;
};

} // namespace vellum
