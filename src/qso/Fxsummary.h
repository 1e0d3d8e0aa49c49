#pragma once
// The award summary panels: for the country, zone, state, IOTA reference, grid,
// WPX prefix or county of the QSO in the QSO window, a band-by-mode grid of the
// best award status reached so far.

#include "app/qsowindow.h"

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class QTableWidget;

namespace vellum {

class QsoEntry;
class WindowHost;
class TQsoData;

/// Kinds of panel; the number is the panel's CompanionId.
enum class SummaryKind : int { Country = 0, Zone = 1, State = 2, Iota = 3, Grid = 8, Wpx = 11, County = 13 };

class TXSummary : public QWidget, public CompanionWindow {
    Q_OBJECT
public:
    TXSummary(SummaryKind kind, QsoEntry &entry, WindowHost &host);
    ~TXSummary() override;

    void RefreshCompanion() override;
    void HighlightCompanion() override;
    bool IsSummaryPanel() const override { return true; }
    /// The WPX panel shows the prefix of this call (a spotted call).
    void UpdateWPX(const std::string &call);

    /// The text of a cell (band column, row), for tests.
    QString CellText(int band, int row) const;
    /// The bands of the columns and the mode groups of the rows (0 for the one "MIX" row).
    const std::vector<int> &Bands() const { return m_bands; }
    const std::vector<int> &Groups() const { return m_groups; }
    /// Double click on a cell: a search for the QSOs behind it.
    void CellDoubleClicked(int row, int column);
    QTableWidget *Grid() const { return m_grid; }

private:
    void layoutGrid();
    void fill(const std::optional<std::vector<std::uint8_t>> &block, const QString &caption);
    std::string wpxOfCall(const std::string &call) const;

    SummaryKind m_kind;
    QsoEntry &m_entry;
    WindowHost &m_host;
    TQsoData &m_log;
    std::vector<int> m_bands;
    std::vector<int> m_groups;
    QTableWidget *m_grid;
};

} // namespace vellum
