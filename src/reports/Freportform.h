#pragma once
// The report window (TReportForm): the report's title as caption, its table in
// a grid, and a popup menu with "Print" (through the print engine) and
// "Write to File" (CSV). Double-clicking a line calls its QSOs up in the QSO
// window: the best QSO of an item-award entry, the QSO of a submission line, or
// the QSOs behind a status cell of a listing.

#include "reportcatalog.h"

#include <QWidget>

#include <optional>

class QTableWidget;

namespace vellum {

class WindowHost;

/// Named controls: Report_Grid; popup items PrintReport1, WritetoFile1.
class TReportForm : public QWidget {
    Q_OBJECT
public:
    /// The window shows the produced report; it is freed when closed.
    TReportForm(WindowHost &host, ProducedReport report, QWidget *parent = nullptr);
    ~TReportForm() override;

    const ReportTable &Table() const { return m_report.table; }
    void Print();
    void WriteToFile();
    /// Writes the CSV file (its folders made); false after telling the user why not.
    bool WriteCsv(const QString &fileName);
    /// The double-click on a cell: a listing searches the cell's QSOs, other reports call the row's QSO up.
    void CallUpCell(int row, int column);
    /// Calls the QSO of the row up (item-award reports and submissions).
    void CallUpRow(int row);

private:
    void fillGrid();
    void searchCellQsos(const ListingCells &cells, int row, int column);

    WindowHost &m_host;
    ProducedReport m_report;
    /// The QSO of each row, copied: the log may free its records while the window is open.
    std::vector<std::optional<TQsoRec>> m_rowQsos;
    QTableWidget *m_grid;
};

/// Produces a report of the catalog for the open log, asking first what it needs
/// ("Select Band/Mode", "Get award"), sets a submission's marks once it is
/// produced, and shows it. Returns the window, or null when cancelled or no log is open.
TReportForm *OpenReport(WindowHost &host, const ReportSpec &spec);

} // namespace vellum
