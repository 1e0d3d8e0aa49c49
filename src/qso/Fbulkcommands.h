#pragma once
// The QSO window's bulk and label commands as menu items: "Multiple QSOs
// operations", the "&Labels" items that set and clear marks and run the label
// printing dialog, and "Confirm SWL" (Ctrl+F2).

#include <QString>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace vellum {

class WindowHost;

/// Registers the items with the host (called by RegisterQsoWindows).
void RegisterBulkCommands(WindowHost &host);

/// Asks the listener's call of "Confirm SWL"; nothing when cancelled. Tests answer it themselves.
using SwlCallAsker = std::function<std::optional<std::string>(QWidget *parent)>;
/// The asker in force (null: the input box "Confirm for SWL").
void SetSwlCallAsker(SwlCallAsker asker);

} // namespace vellum
