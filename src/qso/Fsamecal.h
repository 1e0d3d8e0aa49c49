#pragma once
// The same-call window "Other QSOs", a companion of the QSO window.

#include "app/qsowindow.h"

#include <QWidget>

#include <string>
#include <vector>

class QTableWidget;

namespace vellum {

class QsoEntry;
class WindowHost;
class TQsoData;
struct TQsoRec;

class TSameCall : public QWidget, public CompanionWindow {
    Q_OBJECT
public:
    TSameCall(QsoEntry &entry, WindowHost &host);
    ~TSameCall() override;

    /// Lists the QSOs of call (newest first) and selects the QSO window's QSO when listed.
    void ShowCalls(const std::string &call);
    /// Double click, Enter, "Goto QSO": the QSO window shows the selected QSO.
    void GotoQso();
    /// "Confirm / Label" (F2): Confirm/Label of the selected QSO, staying on it.
    void ConfirmLabel();
    void RefreshCompanion() override;
    const std::vector<const TQsoRec *> &Listed() const { return m_listed; }
    QTableWidget *Table() const { return m_table; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateCaption();
    /// The QSO window shows the selected QSO; false (after a message) when it cannot.
    bool showSelected();
    QsoEntry &m_entry;
    WindowHost &m_host;
    TQsoData &m_log;
    std::string m_call;
    std::vector<const TQsoRec *> m_listed;
    QTableWidget *m_table;
};

} // namespace vellum
