#pragma once
// "Editing group names": the log's list of group names.

#include "selection.h"

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace vellum {

class TQsoData;

/// Controls (objectName): F_GroupList (the names, "Listing of known group
/// names"), F_GroupName (up to 25 characters), AddBtn, ChangeBtn, DeleteBtn,
/// InsertBtn, OKBtn. Closing the dialog otherwise drops the edits.
class TGroupNamesForm : public QDialog {
    Q_OBJECT
public:
    /// The log must outlive the dialog.
    explicit TGroupNamesForm(TQsoData &log, QWidget *parent = nullptr);

private slots:
    void RowClicked(int row);
    void AddClick();
    void ChangeClick();
    void InsertClick();
    void DeleteClick();
    void OKClick();

private:
    void showList();

    TQsoData &m_log;
    TGroupNameEditor m_editor;
    QListWidget *m_list = nullptr;
    QLineEdit *m_name = nullptr;
};

} // namespace vellum
