#pragma once
// "Report Setup" (TMyReportSetup): where a print job goes - the printer, the
// preview or a PDF file - and which pages. Every print job of the program asks
// it; the printer chosen with "Setup" stays chosen for the rest of the run.

#include "printengine.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPrinter;
class QRadioButton;
class QSpinBox;

namespace vellum {

/// The program's printer: the one "Report Setup" shows and every job prints on.
QPrinter &SharedPrinter();
/// "%s on %s" (printer name, port) or "No printers installed!".
QString SelectedPrinterText();

class TMyReportSetup : public QDialog {
    Q_OBJECT
public:
    explicit TMyReportSetup(QWidget *parent = nullptr);
    /// Shows the dialog; on OK stores the destination and pages into choice and returns true.
    bool Ask(PrintSetupChoice &choice);
    /// The choice as the controls stand (what OK stores).
    PrintSetupChoice Choice() const;

private:
    void followChoice();
    void chooseFile();
    void printerSetup();

    QRadioButton *m_printer, *m_preview, *m_file, *m_all, *m_range;
    QLineEdit *m_fileName;
    QSpinBox *m_from, *m_to;
    QLabel *m_selectedPrinter, *m_fromLabel, *m_toLabel;
};

} // namespace vellum
