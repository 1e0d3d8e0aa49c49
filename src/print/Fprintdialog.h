#pragma once
// Running a print job from a window: "Report Setup" first, then the status
// window "Printing" (TFPrintDialog) with its Abort button while the pages go to
// the printer, the preview or a PDF file.

#include "pdfoutput.h"
#include "tableprint.h"

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;

namespace vellum {

class UserNotifier;

/// The status window of a running job. It is modal, so the only input the
/// program takes while a job runs is its Abort button.
class TFPrintDialog : public QDialog, public JobMonitor {
    Q_OBJECT
public:
    explicit TFPrintDialog(QWidget *parent = nullptr, const QString &caption = QStringLiteral("Printing"));
    void Begin(std::string_view caption, std::int64_t total) override;
    bool Advance(std::int64_t done) override;
    void End() override;
    bool AbortRequested() const { return m_abort; }
    void RequestAbort() { m_abort = true; }

private:
    QLabel *m_text;
    QProgressBar *m_bar;
    std::int64_t m_total = 0;
    std::int64_t m_shown = -1;
    bool m_abort = false;
};

/// Asks where a job goes; the dialog by default. Tests answer it themselves.
using PrintSetupAsker = std::function<bool(QWidget *parent, PrintSetupChoice &choice)>;
/// The asker every print job of the program uses (null: "Report Setup").
void SetPrintSetupAsker(PrintSetupAsker asker);

/// Asks where a job goes with the asker in force ("Report Setup" by default).
bool AskPrintSetup(QWidget *parent, PrintSetupChoice &choice);

/// A job that draws on a surface, telling the status window (null for the preview).
using SurfacePrintJob = std::function<TablePrintResult(PrintSurface &surface, JobMonitor *monitor)>;
/// Runs a job to the destination chosen: the preview, a PDF file or the printer,
/// with the status window; paper (unless its name is empty) is set for the job
/// and set back after it. The result says whether the output was written.
TablePrintResult RunSurfacePrint(QWidget *parent, const PrintSetupChoice &setup, const std::string &title,
                                 const PaperSpec &paper, const SurfacePrintJob &job, UserNotifier &notifier);

/// Shows "Report Setup" for the job and, unless it is cancelled, prints the job to
/// the chosen destination. Problems are told to the notifier. Returns whether the
/// job printed to the end.
bool RunTablePrint(QWidget *parent, TablePrintJob &job, const TableStyle &style, UserNotifier &notifier);
/// The same for a job that lays its pages out itself (the award chart).
bool RunPagePrint(QWidget *parent, const std::string &title, const PageJob &job, UserNotifier &notifier);

} // namespace vellum
