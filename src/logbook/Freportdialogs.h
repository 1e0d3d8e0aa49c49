#pragma once
// The logbook's two dialogs: "Select Report" (a layout and a sort for the
// window) and the "Report Generator" (editing the layouts of the definitions file).

#include "reportdefinitions.h"

#include <QDialog>

class QComboBox;
class QListWidget;
class QSpinBox;
class QToolButton;

namespace vellum {

class UserNotifier;

class TSelectReport : public QDialog {
    Q_OBJECT
public:
    TSelectReport(const TReportDefinitions &definitions, int report, SortKey sort, QWidget *parent = nullptr);
    int Report() const;
    SortKey Sort() const;

private:
    QComboBox *m_reports;
    QComboBox *m_sort;
};

class TReportDesignerDialog : public QDialog {
    Q_OBJECT
public:
    /// Edits definitions, starting with the one at index report. OK stores the shown
    /// definition into the set and writes the file (fileName); Shown() names it.
    TReportDesignerDialog(TReportDefinitions &definitions, int report, std::string fileName, bool cycleFiles,
                          UserNotifier &notifier, QWidget *parent = nullptr);
    int Shown() const { return m_shown; }

    // The speed buttons and "New", "Ok" (also what tests press).
    void AddField();
    void RemoveField();
    void RemoveAllFields();
    void MoveField(int step);
    void NewReport();
    /// Records the shown definition and writes the file; false (with a message) when
    /// it cannot be recorded: no fields, no name, a name another report has, a failed write.
    bool Record();

private:
    void show(int index);
    void fill(const std::vector<std::uint8_t> &columns);
    void followLists();
    std::vector<std::uint8_t> reportFields() const;

    TReportDefinitions &m_definitions;
    std::string m_fileName;
    bool m_cycleFiles;
    UserNotifier &m_notifier;
    int m_shown = 0;
    QComboBox *m_name;
    QComboBox *m_sort;
    QSpinBox *m_noteWidth;
    QListWidget *m_available;
    QListWidget *m_report;
    QToolButton *m_add, *m_remove, *m_removeAll, *m_up, *m_down;
};

} // namespace vellum
