#pragma once
// The QSL tools of the QSO window's "Labels" menu: "Mark QSOs for QSL"
// (TMarkQSLDialog) and "Change QSL routing" (TChangeQSL).

#include "qsltools.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace vellum {

class WindowHost;

/// Named controls: MarkQSL_Award, MarkQSL_After, MarkQSL_Method0..2 and
/// MarkQSL_Weeks0..2 (rows Mixed, Band, Mode), MarkQSL_OK.
class TMarkQSLDialog : public QDialog {
    Q_OBJECT
public:
    TMarkQSLDialog(WindowHost &host, TQsoData &log, QWidget *parent = nullptr);
    /// Marks with the dialog's choices (OK); the number marked, or -1 for a date that is no date.
    std::int64_t Run();

private:
    void awardChanged();
    bool bigAward() const;

    WindowHost &m_host;
    TQsoData &m_log;
    QComboBox *m_award;
    QLineEdit *m_after;
    std::array<QComboBox *, 3> m_methods{};
    std::array<QSpinBox *, 3> m_weeks{};
    std::array<QWidget *, 3> m_labels{};
};

/// Named controls: ChangeQSL_Counts (rows: route classes, columns: methods),
/// ChangeQSL_Same, ChangeQSL_BuroToDirect, ChangeQSL_DirectToService,
/// ChangeQSL_RemoveDuplicates, ChangeQSL_Panel. Double-clicking a count makes
/// the QSO window show only the QSOs counted there until the dialog closes; the
/// dialog closes with the log.
class TChangeQSL : public QDialog {
    Q_OBJECT
public:
    TChangeQSL(WindowHost &host, TQsoData &log, QWidget *parent = nullptr);
    /// Runs one of the four buttons' operations (0..3) and shows "n QSOs changed".
    std::int64_t RunOperation(int operation);
    void Recount();
    QTableWidget *Counts() const { return m_counts; }
    /// The double-click on a count: the QSO window shows only the QSOs of that route class and method.
    void ShowOnlyCell(int row, int column);
    /// Closing ends what ShowOnlyCell started.
    void done(int result) override;

private:
    void endShowingOnly();

    WindowHost &m_host;
    TQsoData &m_log;
    QTableWidget *m_counts;
    QLabel *m_panel;
    RoutingCounts m_routing{};
    bool m_showingOnly = false;
};

/// Adds "Mark for QSL" and "Change QSL routing" to the QSO window's "Labels" menu.
void RegisterQslTools(WindowHost &host);

} // namespace vellum
