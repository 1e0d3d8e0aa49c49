#pragma once
// "Import / Export Filters": the list of the filters, from which every import
// and export starts, the merging of another log, and the filter editor.

#include "exchange/filterfile.h"

#include <QDialog>
#include <QMainWindow>

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace vellum {

class WindowHost;

/// Asks for a file: (parent, title, default extension, file-type filter, save) -> name, empty for Cancel.
using FilterFileAsker = std::function<QString(QWidget *, const QString &, const QString &, const QString &, bool)>;
/// The asker the filter window and editor use (null: the file dialogs). Tests answer it themselves.
void SetFilterFileAsker(FilterFileAsker asker);

class TPickIEFilter : public QMainWindow {
    Q_OBJECT
public:
    /// Reads the filter file of the program directory.
    explicit TPickIEFilter(WindowHost &host, QWidget *parent = nullptr);

    const FilterList &Filters() const { return m_list; }
    /// The current filter's row; -1 when the list is empty.
    int Current() const;
    void SetCurrent(int row);
    /// Enables the menu items by the user level, the open log and the current filter.
    void UpdateEnabling();

    void ImportClick();
    void ExportClick();
    void MergeVELLUMlog1Click();
    void EditClick();
    void NewClick();
    void CopyClick();
    void DeleteClick();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *addItem(QMenu *menu, const char *name, const char *caption, void (TPickIEFilter::*slot)());
    void fillGrid(int current);
    void importFile(const ImportFilter &filter, const std::string &file);
    void refreshQsoWindow();
    bool saveFilters();

    WindowHost &m_host;
    FilterList m_list;
    QTableWidget *m_grid;
};

/// The filter editor: edits a copy of one filter.
class TIEDialog2 : public QDialog {
    Q_OBJECT
public:
    TIEDialog2(WindowHost &host, const ImportFilter &filter, QWidget *parent = nullptr);
    /// The filter as edited (after "Save Changes and Exit").
    const ImportFilter &Filter() const { return m_filter; }

    void ShowField(int field);
    void ViewAsciiFile();
    void PrintFilter();
    void SaveAndExit();

private:
    QWidget *generalPage();
    QWidget *fieldsPage();
    void storeField();
    void typeChanged(int format);
    void updateLength();
    void refreshAllocation();
    void showLayout();
    void storeGeneral();

    WindowHost &m_host;
    ImportFilter m_filter;
    int m_field = -1;
    bool m_showing = false;
    QTabWidget *m_pages;
    QLineEdit *m_description, *m_modified, *m_id, *m_ext, *m_dateChar, *m_noteExt;
    QComboBox *m_usage, *m_fieldBox, *m_type;
    QSpinBox *m_recLen, *m_position, *m_length;
    QCheckBox *m_freq, *m_import, *m_dupes;
    QLabel *m_fileLabel, *m_layout = nullptr;
    QListWidget *m_allocation;
    QPlainTextEdit *m_sample;
};

/// Opens "Import / Export Filters" (one window at a time).
void ShowFilterWindow(WindowHost &host);

} // namespace vellum
