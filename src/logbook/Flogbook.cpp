#include "Flogbook.h"

#include "Freportdialogs.h"
#include "logbookreport.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "awards/customaward.h"
#include "config/configrecord.h"
#include "logstore/Ftext.h"
#include "logstore/qsodata.h"
#include "print/Fprintdialog.h"
#include "print/tablecsv.h"
#include "qso/qsoentry.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace vellum {

TReportDefinitions &LogbookReports::Definitions(UserNotifier &notifier)
{
    if (!m_definitions) {
        std::vector<std::string> problems;
        try {
            m_definitions = std::make_unique<TReportDefinitions>(
                TReportDefinitions::Load(ReportDefinitionsFileName(), problems));
        } catch (const std::exception &error) {
            problems.push_back(error.what());
            m_definitions = std::make_unique<TReportDefinitions>();
        }
        if (!problems.empty()) {
            std::string text = ReportDefinitionsFileName() + ":";
            for (const std::string &problem : problems)
                text += "\n" + problem;
            notifier.warning(text);
        }
    }
    return *m_definitions;
}

void LogbookReports::SaveRemaining(UserNotifier &notifier, bool cycleFiles)
{
    if (!m_definitions)
        return;
    try {
        m_definitions->Save(ReportDefinitionsFileName(), cycleFiles);
    } catch (const std::exception &error) {
        notifier.error(error.what());
    }
}

namespace {

LogbookSources sourcesFor(WindowHost &host, const TQsoData &log)
{
    const TConfigRecord &config = host.Context().Config();
    LogbookSources sources;
    sources.log = &log;
    sources.countries = &host.Context().Countries();
    sources.awards = &host.Context().CustomAwards();
    sources.dateFormat = log.settings().dateFormat();
    sources.bandInMHz = config.DefQSO_ShowBandMHz;
    return sources;
}

} // namespace

TLogbook::TLogbook(WindowHost &host, TQsoData &log, LogbookReports &reports)
    : QWidget(nullptr), m_host(host), m_log(log), m_reports(reports)
{
    setObjectName(QStringLiteral("Logbook"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_model = new LogbookModel(sourcesFor(host, log), this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("LogbookGrid"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Set while the table has no rows: a minimum raised later makes the header visit
    // every row (styling the window would take minutes on a million QSOs).
    m_table->verticalHeader()->setMinimumSectionSize(1);
    m_table->setToolTip(QStringLiteral("Double-click to go to QSO (popup)"));
    layout->addWidget(m_table);
    // Enter and a double-click activate the row.
    connect(m_table, &QTableView::activated, this, [this] { GotoQso(); });
    buildMenu();
    m_report = StartingReport(definitions(), host.Context().Config().F_CurrentReport.view());
    m_list.Build(m_log, definitions().Get(m_report).sort, admits());
    m_model->Show(definitions().Get(m_report), m_list);
    applyColumnWidths();
    showCaption();
    followQsoWindow();
    m_log.AddObserver(*this);
    resize(760, 360);
    host.PlaceCompanion(CompanionId::Logbook, this);
}

TLogbook::~TLogbook()
{
    if (m_host.Context().Log() == &m_log)
        m_log.RemoveObserver(*this);
    // Definitions change only here; what the generator added without recording goes now.
    m_reports.SaveRemaining(m_host.Notifier(), m_host.Context().Settings().cycleFiles());
    m_host.CompanionClosed(CompanionId::Logbook, this);
}

void TLogbook::closeEvent(QCloseEvent *event) { event->accept(); }

TReportDefinitions &TLogbook::definitions() { return m_reports.Definitions(m_host.Notifier()); }

void TLogbook::buildMenu()
{
    m_table->setContextMenuPolicy(Qt::ActionsContextMenu);
    struct PopupItem {
        const char *name;
        const char *caption;
        QKeySequence key;
        void (TLogbook::*command)();
    };
    const PopupItem items[] = {
        {"GotoQSO1", "Goto QSO", QKeySequence(Qt::Key_Return), &TLogbook::GotoQso},
        {"ConfirmLabel1", "Confirm/Label", QKeySequence(Qt::Key_F2), &TLogbook::ConfirmLabel},
        {"ConfirmSWL1", "Confirm SWL", QKeySequence(Qt::CTRL | Qt::Key_F2), &TLogbook::ConfirmSwl},
        {"SelectReport1", "Select Report", {}, &TLogbook::SelectReport},
        {"Print1", "Print", {}, &TLogbook::Print},
        {"WritetoFile1", "Write to File", {}, &TLogbook::WriteToFile},
        {"ReportEditor1", "Report Editor", {}, &TLogbook::ReportEditor},
    };
    for (const PopupItem &item : items) {
        auto *action = new QAction(QString::fromLatin1(item.caption), m_table);
        action->setObjectName(QString::fromLatin1(item.name));
        action->setShortcut(item.key);
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, item.command);
        m_table->addAction(action);
    }
}

bool TLogbook::filterActive() const
{
    QsoEntry *entry = m_host.Entry();
    return entry && entry->Mode() == QsoWindowMode::Filtered;
}

LogbookList::Admits TLogbook::admits() const
{
    QsoEntry *entry = m_host.Entry();
    if (!entry || &entry->Log() != &m_log)
        return {};
    return [entry](const TQsoRec &qso) { return entry->IsShown(qso); };
}

void TLogbook::logChanged()
{
    if (m_stale)
        return;
    m_stale = true;
    m_model->Forget();
    m_host.RequestRefresh(CompanionId::Logbook);
}

void TLogbook::rebuild()
{
    m_list.Build(m_log, m_list.Sort(), admits());
    m_model->Show(definitions().Get(m_report), m_list);
    m_stale = false;
}

void TLogbook::RefreshCompanion()
{
    rebuild();
    showCaption();
    followQsoWindow();
}

void TLogbook::showCaption()
{
    setWindowTitle(ScreenText(LogbookCaption(definitions().Get(m_report), m_list.Sort())));
}

void TLogbook::followQsoWindow()
{
    QsoEntry *entry = m_host.Entry();
    const TQsoRec *shown = entry ? entry->ShownQso() : nullptr;
    std::int64_t row = shown ? m_list.RowOf(shown) : -1;
    if (row >= 0) {
        m_table->setCurrentIndex(m_model->index(static_cast<int>(row), 0));
        m_table->scrollTo(m_model->index(static_cast<int>(row), 0));
    }
}

void TLogbook::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        applyColumnWidths();
}

void TLogbook::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    applyColumnWidths();
}

void TLogbook::applyColumnWidths()
{
    const ReportDefinition &definition = m_model->Definition();
    const QFontMetrics metrics = m_table->fontMetrics();
    const int charWidth = std::max(metrics.horizontalAdvance(QLatin1Char('0')), metrics.averageCharWidth());
    m_table->verticalHeader()->setDefaultSectionSize(metrics.height() + 4);
    for (std::size_t i = 0; i < definition.columns.size(); ++i)
        m_table->setColumnWidth(static_cast<int>(i),
                                (LogbookGridWidth(definition.columns[i], definition.noteWidth, m_model->BandInMHz()) + 1) *
                                    charWidth);
}

const TQsoRec *TLogbook::CurrentQso() const
{
    int row = m_table->currentIndex().row();
    if (m_stale || row < 0 || row >= m_list.Count())
        return nullptr;
    return m_list.At(row);
}

void TLogbook::UseReport(int report, SortKey sort)
{
    if (report < 0 || report >= definitions().Count())
        return;
    const bool columnsChanged = report != m_report;
    m_report = report;
    m_host.Context().Config().F_CurrentReport = definitions().Name(report);
    if (m_stale)
        m_list.Build(m_log, sort, admits());
    else
        m_list.ChangeSort(m_log, sort, admits());
    m_model->Show(definitions().Get(m_report), m_list);
    m_stale = false;
    if (columnsChanged)
        applyColumnWidths();
    showCaption();
    followQsoWindow();
}

void TLogbook::GotoQso()
{
    QsoEntry *entry = m_host.Entry();
    const TQsoRec *chosen = CurrentQso();
    if (!entry || !chosen)
        return;
    // Leaving the QSO window's QSO may update the log and free the record: the
    // row's QSO is found again by its key.
    TQsoRec key = *chosen;
    if (!entry->AgreeToLeaveMode())
        return;
    const TQsoRec *target = m_stale ? m_log.FindQso(key) : chosen;
    if (!target)
        return;
    if (!entry->IsShown(*target)) {
        m_host.Notifier().information("QSO is not in current Selection");
        return;
    }
    entry->ShowQso(target);
}

void TLogbook::ConfirmLabel()
{
    QsoEntry *entry = m_host.Entry();
    GotoQso();
    if (!entry || !CurrentQso())
        return;
    entry->ConfirmLabel(AfterConfirm::SameQso);
    activateWindow();
    m_table->setFocus();
}

void TLogbook::ConfirmSwl()
{
    TQsoWindowBase *window = m_host.QsoWindow();
    QAction *command = window ? window->findChild<QAction *>(QStringLiteral("ConfirmSWL1")) : nullptr;
    GotoQso();
    if (command && command->isEnabled())
        command->trigger();
    activateWindow();
    m_table->setFocus();
}

void TLogbook::SelectReport()
{
    TSelectReport dialog(definitions(), m_report, m_list.Sort(), this);
    if (dialog.exec() == QDialog::Accepted)
        UseReport(dialog.Report(), dialog.Sort());
}

void TLogbook::Print()
{
    if (m_stale)
        rebuild();
    const ReportDefinition &definition = m_model->Definition();
    LogbookRows rows(m_list, m_model->Cells(), definition.columns);
    TablePrintJob job;
    job.title = LogbookTitle(definition, m_list.Sort(), filterActive());
    job.columns = LogbookColumns(definition, m_model->BandInMHz());
    job.rows = &rows;
    RunTablePrint(this, job, TableStyleFrom(m_host.Context().Config()), m_host.Notifier());
}

void TLogbook::WriteToFile()
{
    QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Write to File"), QString(),
                                                QStringLiteral("Comma separated values (*.csv)"));
    if (!name.isEmpty())
        WriteCsv(name);
}

bool TLogbook::WriteCsv(const QString &fileName)
{
    if (m_stale)
        rebuild();
    const ReportDefinition &definition = m_model->Definition();
    LogbookRows rows(m_list, m_model->Cells(), definition.columns);
    TFPrintDialog progress(this, QStringLiteral("Write to File"));
    progress.show();
    CsvResult result =
        WriteTableCsv(fileName.toStdString(), LogbookColumns(definition, m_model->BandInMHz()), rows, &progress);
    if (result.status == CsvResult::Status::Failed)
        m_host.Notifier().error(result.message);
    return result.Ok();
}

void TLogbook::ReportEditor()
{
    TReportDesignerDialog dialog(definitions(), m_report, ReportDefinitionsFileName(),
                                 m_log.settings().cycleFiles(), m_host.Notifier(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The edited definition's columns and sort; another report's columns when it was another.
    const int shown = dialog.Shown();
    m_report = -1;
    UseReport(shown, definitions().Get(shown).sort);
}

void RegisterLogbookWindows(WindowHost &host)
{
    auto reports = std::make_shared<LogbookReports>();
    host.RegisterCompanion(CompanionId::Logbook, [reports](WindowHost &h) -> QWidget * {
        TQsoData *log = h.Context().Log();
        return log ? new TLogbook(h, *log, *reports) : nullptr;
    });
    host.AddQsoMenuItem({QStringLiteral("&Window"), QStringLiteral("Logbook1"), QStringLiteral("Logbook"), {},
                         [&host] { host.OpenCompanion(CompanionId::Logbook); }});
}

} // namespace vellum
