#pragma once
// The logbook window (TLogbook): the QSOs of the open log in a report layout,
// with printing, CSV output and the way into the QSO window. RegisterLogbookWindows
// makes it the Logbook companion and adds "Logbook" to the QSO window's menu.

#include "Flogbookmodel.h"
#include "logbooklist.h"
#include "reportdefinitions.h"

#include "app/qsowindow.h"
#include "logstore/services.h"

#include <QWidget>

#include <memory>

class QTableView;

namespace vellum {

class QsoEntry;
class TQsoData;
class WindowHost;

/// The report definitions of the run, read from the definitions file when first needed.
class LogbookReports {
public:
    /// The definitions; the first call reads the file and tells notifier what had to be mended.
    TReportDefinitions &Definitions(UserNotifier &notifier);
    /// Writes what is left unsaved (when the logbook window closes).
    void SaveRemaining(UserNotifier &notifier, bool cycleFiles);

private:
    std::unique_ptr<TReportDefinitions> m_definitions;
};

class TLogbook : public QWidget, public CompanionWindow, public LogObserver {
    Q_OBJECT
public:
    TLogbook(WindowHost &host, TQsoData &log, LogbookReports &reports);
    ~TLogbook() override;

    // CompanionWindow: the log or the QSO window changed.
    void RefreshCompanion() override;
    // LogObserver: a QSO changed; records the list holds may be gone, so it lets go of them at once.
    void logChanged() override;

    const LogbookList &List() const { return m_list; }
    const LogbookModel &Model() const { return *m_model; }
    QTableView *Table() const { return m_table; }
    int CurrentReport() const { return m_report; }
    SortKey CurrentSort() const { return m_list.Sort(); }
    /// The QSO of the current row; null when none.
    const TQsoRec *CurrentQso() const;

    /// Makes report current with the sort (Select Report's OK).
    void UseReport(int report, SortKey sort);
    void GotoQso();
    void ConfirmLabel();
    void ConfirmSwl();
    void SelectReport();
    void Print();
    void WriteToFile();
    /// Writes the list as CSV to fileName with the progress window; false after a message.
    bool WriteCsv(const QString &fileName);
    void ReportEditor();

protected:
    void closeEvent(QCloseEvent *event) override;
    /// The program styles its windows when they are first shown: the columns follow the font.
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildMenu();
    void rebuild();
    void showCaption();
    void followQsoWindow();
    void applyColumnWidths();
    bool filterActive() const;
    LogbookList::Admits admits() const;
    TReportDefinitions &definitions();

    WindowHost &m_host;
    TQsoData &m_log;
    LogbookReports &m_reports;
    LogbookList m_list;
    LogbookModel *m_model;
    QTableView *m_table;
    int m_report = 0;
    bool m_stale = false;
};

void RegisterLogbookWindows(WindowHost &host);

} // namespace vellum
