#pragma once
// What the editors of the reference tables (QSL managers, manager addresses,
// IOTA) and the "Master Calls" window share: the services they are given, the
// file dialogs (which tests script), the cp1252 conversion at the screen's
// edge, and the frame of an editor: "Save Changes and Exit", "Cancel Changes
// and Exit", export and import.

#include "logstore/Ftext.h"
#include "logstore/services.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class QBoxLayout;
class QLineEdit;
class QTableView;

namespace vellum {

class TCountryData;

/// The file dialogs of the reference windows.
class TextFileChooser {
public:
    virtual ~TextFileChooser() = default;
    /// Each returns the chosen file, or an empty text when cancelled.
    virtual QString OpenFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) = 0;
    virtual QString SaveFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) = 0;
};

/// The chooser over QFileDialog.
TextFileChooser &StandardFileChooser();

/// What the program hands a reference window.
struct ReferenceServices {
    UserNotifier &notifier;            ///< message boxes
    const LogSettings &settings;       ///< "Cycle Files" and the date format
    ProgressService *progress = nullptr; ///< the progress window of imports (none: no progress shown)
    TextFileChooser *chooser = nullptr;  ///< null: StandardFileChooser()
};

/// A table model over a working copy whose rows keep the table's order: an
/// edited row moves to its sorted place, and views follow it.
class TSortedRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TSortedRowsModel(QStringList headings, UserNotifier &notifier, QObject *parent);
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    /// A row was edited or inserted and now stands at row.
    void rowPlaced(int row);

protected:
    /// Runs change, which moves the row at from to to, announcing the move to views.
    void moveRow(int from, int to, const std::function<void()> &change);
    /// Runs change, which inserts a row at position.
    void insertRow(int position, const std::function<void()> &change);
    /// Runs change, which removes the row at position.
    void removeRow(int position, const std::function<void()> &change);
    /// Tells the user why an edit was refused; the cell keeps its value.
    bool refuse(const QString &why) const;

private:
    QStringList m_headings;
    UserNotifier &m_notifier;
};

/// The frame of a reference-table editor. The dialog edits a working copy;
/// "Save Changes and Exit" puts it into the country data and writes the country
/// file, "Cancel Changes and Exit" (or closing the window) drops it.
class TReferenceEditor : public QDialog {
    Q_OBJECT
public:
    /// Whether the editor was left with "Save Changes and Exit" (exec() returns Accepted then too).
    bool SavedChanges() const { return result() == QDialog::Accepted; }

    /// Puts the working copy into the country data, marks it modified and
    /// writes the country file; a failed write is reported and the data stays
    /// changed and marked modified, so a later save writes it. Closes the dialog.
    void SaveChangesAndExit();
    /// Writes the working copy's export text to a file the user chooses.
    void ExportClick();
    /// Imports a file the user chooses into the working copy.
    void ImportClick();

protected:
    TReferenceEditor(TCountryData &data, const ReferenceServices &services, QWidget *parent);

    /// Adds the four buttons, named prefix + "Save", "Cancel", "Export", "Import".
    void addButtons(QBoxLayout *layout, const QString &prefix, const QString &exportCaption,
                    const QString &importCaption);
    UserNotifier &notifier() const { return m_services.notifier; }
    const LogSettings &settings() const { return m_services.settings; }

    /// The working copy into the country data.
    virtual void applyWorkingCopy(TCountryData &data) = 0;
    /// The export text and the number of rows it holds.
    virtual std::string exportText(std::int64_t &rows) = 0;
    virtual const char *exportNoun() const = 0;
    /// Runs the import of a file into the working copy; true when it ran.
    virtual bool importFile(const std::string &fileName, UserNotifier &notifier, ProgressService *progress) = 0;
    /// Around an import, which may replace the whole working copy: the views
    /// let go of it before, and show it again after.
    virtual void workingCopyAboutToBeReplaced() {}
    virtual void workingCopyReplaced() = 0;

private:
    TextFileChooser &chooser() const;
    TCountryData &m_data;
    ReferenceServices m_services;
};

/// An editor of a table shown in a grid: the QSL managers and the IOTA list.
class TTableEditor : public TReferenceEditor {
    Q_OBJECT
public:
    QTableView *Grid() const { return m_grid; }
    /// The Insert and Delete commands of the grid (Delete acts on the current row).
    virtual void InsertRowClick() = 0;
    void DeleteRowClick();

protected:
    using TReferenceEditor::TReferenceEditor;

    /// Builds the window: the grid over model (named prefix + "Grid", with the
    /// actions prefix + "Insert" and prefix + "Delete" on the Insert and Delete
    /// keys and in its context menu), the search field (prefix + "Search") and
    /// the buttons. The search field keeps letters and digits, upper-cased.
    void buildTableEditor(TSortedRowsModel *model, const QString &prefix, const QString &searchCaption,
                          const QString &exportCaption, const QString &importCaption);
    /// The row to select for the search text (-1: none).
    virtual int searchRow(const std::string &text) const = 0;
    virtual void deleteRow(int row) = 0;
    /// Makes row the current row of the grid and scrolls to it.
    void selectRow(int row);

private:
    void searchEdited(const QString &text);
    QTableView *m_grid = nullptr;
    QLineEdit *m_search = nullptr;
};

} // namespace vellum
