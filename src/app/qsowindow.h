#pragma once
// What the main window and the other windows need of the QSO window, the hub of
// all on-air work. The QSO subsystem registers the maker of its window with the
// window host; without one the log is shown read-only.

#include "qsomode.h"

#include <QWidget>

#include <cstdint>

namespace vellum {

class QsoEntry;

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
    /// Sizes the window for its size step again (after its fonts or scale changed).
    virtual void ApplySizeStep() { adjustSize(); }
    /// The QSO entry core behind the window: what the radio, the keyer, the rotator,
    /// the spot list and the companion windows read and call. Null for a read-only window.
    virtual QsoEntry *Entry() { return nullptr; }
};

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
