#include "Fprintdialog.h"

#include "Fpaintsurface.h"
#include "Freportsetup.h"
#include "pdfoutput.h"

#include "logstore/services.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

namespace vellum {

namespace {

PrintSetupAsker &setupAsker()
{
    static PrintSetupAsker asker;
    return asker;
}

bool askSetup(QWidget *parent, PrintSetupChoice &choice)
{
    if (setupAsker())
        return setupAsker()(parent, choice);
    TMyReportSetup dialog(parent);
    return dialog.Ask(choice);
}

/// The printer's unprintable margins; the job paints on the full page.
PrintMargins printerMargins(QPrinter &printer)
{
    printer.setFullPage(true);
    QMarginsF m = printer.pageLayout().minimumMargins();
    double toInch = 1.0 / 72; // points, unless the layout says otherwise
    if (printer.pageLayout().units() == QPageLayout::Millimeter)
        toInch = 1.0 / 25.4;
    else if (printer.pageLayout().units() == QPageLayout::Inch)
        toInch = 1.0;
    return {m.left() * toInch, m.top() * toInch, m.right() * toInch, m.bottom() * toInch};
}

TablePrintResult printOn(QPrinter &printer, const SurfacePrintJob &job, JobMonitor *monitor, bool preview)
{
    PaintSurface surface(printer, printerMargins(printer), preview);
    TablePrintResult result = job(surface, monitor);
    surface.Finish();
    return result;
}

TablePrintResult runPreview(QWidget *parent, const std::string &title, const SurfacePrintJob &job)
{
    TablePrintResult result;
    QPrintPreviewDialog preview(&SharedPrinter(), parent);
    preview.setObjectName(QStringLiteral("PrintPreview"));
    preview.setWindowTitle(QStringLiteral("Preview: ") + PrintText(title));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter *printer) { result = printOn(*printer, job, nullptr, true); });
    preview.exec();
    return result;
}

/// The printer's paper while a job runs on a paper of its own; set back afterwards.
class PaperForJob {
public:
    PaperForJob(QPrinter &printer, const PaperSpec &paper, UserNotifier &notifier)
        : m_printer(printer), m_saved(printer.pageLayout()), m_changed(!paper.name.empty())
    {
        if (!m_changed)
            return;
        std::string warning = ApplyPaper(printer, paper);
        if (!warning.empty())
            notifier.warning(warning);
    }
    ~PaperForJob()
    {
        if (m_changed)
            m_printer.setPageLayout(m_saved);
    }
    PaperForJob(const PaperForJob &) = delete;
    PaperForJob &operator=(const PaperForJob &) = delete;

private:
    QPrinter &m_printer;
    QPageLayout m_saved;
    bool m_changed;
};

} // namespace

TablePrintResult RunSurfacePrint(QWidget *parent, const PrintSetupChoice &setup, const std::string &title,
                                 const PaperSpec &paper, const SurfacePrintJob &job, UserNotifier &notifier)
{
    if (setup.destination == PrintDestination::Preview) {
        PaperForJob onPaper(SharedPrinter(), paper, notifier);
        return runPreview(parent, title, job);
    }
    TFPrintDialog status(parent);
    status.show();
    if (setup.destination == PrintDestination::File)
        return WriteSurfacePdf([&](PrintSurface &surface) { return job(surface, &status); }, title, setup.fileName,
                               paper);
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        notifier.error("No printers installed!");
        return {TablePrintResult::Status::Rejected, 0, 0, {}};
    }
    PaperForJob onPaper(SharedPrinter(), paper, notifier);
    return printOn(SharedPrinter(), job, &status, false);
}

bool AskPrintSetup(QWidget *parent, PrintSetupChoice &choice) { return askSetup(parent, choice); }

namespace {

TablePrintResult runJob(QWidget *parent, const TablePrintJob &job, const TableStyle &style, UserNotifier &notifier)
{
    return RunSurfacePrint(parent, job.setup, job.title, {},
                           [&](PrintSurface &surface, JobMonitor *monitor) {
                               return PrintTable(surface, job, style, monitor);
                           },
                           notifier);
}

} // namespace

bool RunPagePrint(QWidget *parent, const std::string &title, const PageJob &job, UserNotifier &notifier)
{
    PrintSetupChoice setup;
    if (!askSetup(parent, setup))
        return false;
    if (setup.destination == PrintDestination::File && setup.fileName.empty()) {
        notifier.error("Please give the name of the file to print to");
        return false;
    }
    TablePrintResult result = RunSurfacePrint(
        parent, setup, title, {}, [&](PrintSurface &surface, JobMonitor *) { return RunPageJob(surface, job); },
        notifier);
    if (!result.message.empty())
        notifier.error(result.message);
    return result.Ok();
}

void SetPrintSetupAsker(PrintSetupAsker asker) { setupAsker() = std::move(asker); }

TFPrintDialog::TFPrintDialog(QWidget *parent, const QString &caption) : QDialog(parent)
{
    setObjectName(QStringLiteral("FPrintDialog"));
    setWindowTitle(caption);
    setWindowModality(Qt::ApplicationModal);
    auto *layout = new QVBoxLayout(this);
    m_text = new QLabel(this);
    m_bar = new QProgressBar(this);
    auto *abort = new QPushButton(QStringLiteral("Abort"), this);
    abort->setObjectName(QStringLiteral("Abort"));
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addWidget(abort);
    connect(abort, &QPushButton::clicked, this, [this] { m_abort = true; });
}

void TFPrintDialog::Begin(std::string_view caption, std::int64_t total)
{
    m_text->setText(PrintText(caption));
    m_total = total;
    m_bar->setRange(0, 1000);
    m_bar->setValue(0);
    QApplication::processEvents();
}

bool TFPrintDialog::Advance(std::int64_t done)
{
    // The bar moves in thousandths: events are processed when it moves, not at every row.
    std::int64_t shown = m_total > 0 ? done * 1000 / m_total : 0;
    if (shown != m_shown) {
        m_shown = shown;
        m_bar->setValue(static_cast<int>(shown));
        QApplication::processEvents();
    }
    return !m_abort;
}

void TFPrintDialog::End() { hide(); }

bool RunTablePrint(QWidget *parent, TablePrintJob &job, const TableStyle &style, UserNotifier &notifier)
{
    std::string problem = CheckTableJob(job, style);
    if (!problem.empty()) {
        notifier.error(problem);
        return false;
    }
    if (!askSetup(parent, job.setup))
        return false;
    if (job.setup.destination == PrintDestination::File && job.setup.fileName.empty()) {
        notifier.error("Please give the name of the file to print to");
        return false;
    }
    TablePrintResult result = runJob(parent, job, style, notifier);
    if (!result.message.empty() && result.Ok())
        notifier.warning(result.message);
    else if (!result.message.empty())
        notifier.error(result.message);
    return result.Ok();
}

} // namespace vellum
