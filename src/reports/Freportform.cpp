#include "Freportform.h"

#include "Faskmodeband.h"
#include "Fentitysearch.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "awards/Fgetaward.h"
#include "print/Fprintdialog.h"
#include "print/Fpaintsurface.h"
#include "print/tablecsv.h"
#include "qso/qsoentry.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vellum {

TReportForm::TReportForm(WindowHost &host, ProducedReport report, QWidget *parent)
    : QWidget(parent, Qt::Window), m_host(host), m_report(std::move(report)), m_grid(new QTableWidget(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("ReportForm"));
    setWindowTitle(PrintText(m_report.table.title));
    m_grid->setObjectName(QStringLiteral("Report_Grid"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->verticalHeader()->hide();
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *print = new QAction(QStringLiteral("Print"), this);
    print->setObjectName(QStringLiteral("PrintReport1"));
    connect(print, &QAction::triggered, this, &TReportForm::Print);
    auto *write = new QAction(QStringLiteral("Write to File"), this);
    write->setObjectName(QStringLiteral("WritetoFile1"));
    connect(write, &QAction::triggered, this, &TReportForm::WriteToFile);
    m_grid->addAction(print);
    m_grid->addAction(write);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &TReportForm::CallUpCell);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    for (const TQsoRec *qso : m_report.lineQsos)
        m_rowQsos.push_back(qso ? std::optional<TQsoRec>(*qso) : std::nullopt);
    m_report.lineQsos.clear();
    fillGrid();
    resize(720, 480);
}

TReportForm::~TReportForm() = default;

void TReportForm::fillGrid()
{
    const ReportTable &table = m_report.table;
    m_grid->setColumnCount(static_cast<int>(table.columns.size()));
    m_grid->setRowCount(static_cast<int>(table.lines.size()));
    QFontMetrics metrics(m_grid->font());
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        const TableColumn &column = table.columns[c];
        m_grid->setHorizontalHeaderItem(static_cast<int>(c), new QTableWidgetItem(PrintText(column.name)));
        m_grid->setColumnWidth(static_cast<int>(c), metrics.horizontalAdvance(QLatin1Char('M')) * (column.width + 1));
    }
    for (std::size_t r = 0; r < table.lines.size(); ++r) {
        std::vector<std::string_view> cells = SplitTabs(table.lines[r]);
        for (std::size_t c = 0; c < cells.size() && c < table.columns.size(); ++c) {
            auto *item = new QTableWidgetItem(PrintText(cells[c]));
            PrintAlign align = table.columns[c].align;
            item->setTextAlignment(Qt::AlignVCenter | (align == PrintAlign::Right    ? Qt::AlignRight
                                                       : align == PrintAlign::Center ? Qt::AlignHCenter
                                                                                     : Qt::AlignLeft));
            m_grid->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
}

void TReportForm::Print()
{
    TextRows rows = m_report.table.Rows();
    TablePrintJob job;
    job.title = m_report.table.title;
    job.columns = m_report.table.columns;
    job.rows = &rows;
    job.multiColumn = m_report.table.multiColumn;
    RunTablePrint(this, job, TableStyleFrom(m_host.Context().Config()), m_host.Notifier());
}

void TReportForm::WriteToFile()
{
    QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Write to File"), QString(),
                                                QStringLiteral("Comma separated values (*.csv)"));
    if (!name.isEmpty())
        WriteCsv(name);
}

bool TReportForm::WriteCsv(const QString &fileName)
{
    TextRows rows = m_report.table.Rows();
    CsvResult result = WriteTableCsv(fileName.toStdString(), m_report.table.columns, rows, nullptr, "Writing report");
    if (result.status == CsvResult::Status::Failed)
        m_host.Notifier().error(result.message);
    return result.Ok();
}

void TReportForm::CallUpCell(int row, int column)
{
    if (m_report.listing)
        searchCellQsos(*m_report.listing, row, column);
    else
        CallUpRow(row);
}

void TReportForm::searchCellQsos(const ListingCells &cells, int row, int column)
{
    if (row < 0 || column < 0)
        return;
    auto qsos = QsosOfCell(m_report.table, cells, static_cast<std::size_t>(row), static_cast<std::size_t>(column));
    if (const CellRefusal *refusal = std::get_if<CellRefusal>(&qsos)) {
        m_host.Notifier().information(*refusal == CellRefusal::NotAStatusColumn
                                          ? "Please select a mode or a band"
                                          : "Cannot select a QSO that never occured");
        return;
    }
    TQsoData *log = m_host.Context().Log();
    QsoEntry *entry = m_host.Entry();
    if (!log || !entry)
        return;
    if (SearchEntityQsos(*entry, std::get<EntityQsos>(qsos), log->settings().dateFormat()))
        m_host.FocusQsoWindow();
}

void TReportForm::CallUpRow(int row)
{
    if (m_rowQsos.empty()) {
        m_host.Notifier().information("Cannot select QSO(s) from this report");
        return;
    }
    if (row < 0 || static_cast<std::size_t>(row) >= m_rowQsos.size())
        return;
    const std::optional<TQsoRec> &key = m_rowQsos[static_cast<std::size_t>(row)];
    TQsoData *log = m_host.Context().Log();
    QsoEntry *entry = m_host.Entry();
    const TQsoRec *target = key && log ? log->FindQso(*key) : nullptr;
    if (!target) {
        m_host.Notifier().information("QSO does not exist");
        return;
    }
    if (!entry || !entry->AgreeToLeaveMode())
        return;
    entry->ShowQso(target);
    m_host.FocusQsoWindow();
}

namespace {

/// Asks what the report needs; false when the user cancelled.
bool askInputs(WindowHost &host, const ReportSpec &spec, ReportInputs &inputs)
{
    QWidget *parent = host.MainWindow();
    if (spec.AsksModeBand()) {
        std::optional<ModeBandChoice> choice = AskUserForModeBand(parent);
        if (!choice)
            return false;
        inputs.choice = *choice;
    }
    if (spec.AsksCustomAward()) {
        const TCustAwardList &awards = host.Context().CustomAwards();
        std::int32_t award = TGetCustAwdForm::GetAward(awards, parent);
        if (award < 0)
            return false;
        inputs.custom = &awards.At(award);
    }
    const TConfigRecord &config = host.Context().Config();
    inputs.contest = {config.ContestStartDate, config.ContestStartTime};
    return true;
}

} // namespace

TReportForm *OpenReport(WindowHost &host, const ReportSpec &spec)
{
    TQsoData *log = host.Context().Log();
    if (!log)
        return nullptr;
    ReportInputs inputs{host.Context().Awards(), *log, host.Notifier()};
    if (!askInputs(host, spec, inputs))
        return nullptr;
    ProducedReport report = ProduceReport(spec, inputs);
    // The marks are set only once the report exists; the QSO window and the
    // award standing follow the changed flags.
    if (CommitReport(*log, report) > 0)
        host.Post(HostMessage::LogChanged);
    if (QsoEntry *entry = host.Entry(); entry && spec.Marks())
        entry->RefreshFromLog();
    auto *form = new TReportForm(host, std::move(report), host.MainWindow());
    form->show();
    return form;
}

} // namespace vellum
