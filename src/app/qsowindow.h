#pragma once
// What the main window needs of the QSO window, the hub of all on-air work.
// The program creates it through one factory, so the window that shows the log
// can be replaced without touching the main window.

#include <QWidget>

#include <functional>

namespace vellum {

class TQsoData;
class TMainForm;

/// Modes of the QSO window, as PanStatus shows them.
enum class QsoWindowMode : int { Browse = 0, AddRealTime = 1, AddOffline = 2, SearchEntry = 3, Filtered = 4 };

class TQsoWindowBase : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual QsoWindowMode Mode() const { return QsoWindowMode::Browse; }
    /// Asks the window to leave its present mode (saving or dropping a QSO being
    /// entered); false when the user cancels.
    virtual bool AgreeToLeaveMode() { return true; }
    /// The one-second clock: UTC day number and seconds of the day.
    virtual void ClockTick(std::uint16_t day, std::int32_t seconds) { (void)day, (void)seconds; }
    /// Direction and distance to the QSO's location are due.
    virtual void ShowLocation() {}
    /// The log changed behind the window (a merge, an import): show it again.
    virtual void RefreshFromLog() {}
    /// Switches to adding QSOs in real time (after New).
    virtual void StartAddRealTime() {}
    /// Rebuilds the list of custom awards that fit the QSO shown.
    virtual void RefreshCustomAwards() {}
};

/// Creates the QSO window of a log; the main window owns it while the log is open.
using QsoWindowFactory = std::function<TQsoWindowBase *(TQsoData &log, TMainForm &main)>;

/// The factory in use; the default shows the log's QSOs read-only.
QsoWindowFactory &CurrentQsoWindowFactory();

/// A companion window of the QSO window, refreshed at idle time.
class CompanionWindow {
public:
    virtual ~CompanionWindow() = default;
    virtual void RefreshCompanion() = 0;
    /// Moves the highlight to the QSO window's band and mode (summary panels).
    virtual void HighlightCompanion() {}
    virtual bool IsSummaryPanel() const { return false; }
};

} // namespace vellum
