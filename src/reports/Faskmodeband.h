#pragma once
// "Select Band/Mode" (TGetReportMode): the mode group and band a listing or
// summary reports. Exactly one entry of each list is checked ("ALL" at first);
// checking a specific mode sets the band list back to "ALL" and the other way round.

#include "reporttable.h"

#include <QDialog>

#include <functional>
#include <optional>

class QListWidget;
class QListWidgetItem;

namespace vellum {

/// Named controls: GetReportMode_Mode, GetReportMode_Band, GetReportMode_OK, GetReportMode_Cancel.
class TGetReportMode : public QDialog {
    Q_OBJECT
public:
    explicit TGetReportMode(QWidget *parent = nullptr);
    ModeBandChoice Choice() const { return m_choice; }
    /// Checks a mode group (0 = ALL) or a band (0 = ALL) as a click would.
    void CheckGroup(int group);
    void CheckBand(int band);

private:
    void itemChanged(QListWidgetItem *item);
    void showChoice();

    QListWidget *m_modes;
    QListWidget *m_bands;
    ModeBandChoice m_choice;
    bool m_updating = false;
};

/// Asks "Select Band/Mode"; nothing when the user cancels. Tests answer through SetModeBandAsker.
std::optional<ModeBandChoice> AskUserForModeBand(QWidget *parent);
/// Replaces the dialog (tests); a null asker shows the dialog again.
void SetModeBandAsker(std::function<std::optional<ModeBandChoice>()> asker);

} // namespace vellum
