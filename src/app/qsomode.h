#pragma once
// The five modes of QSO entry, shared by the QSO entry core, the QSO window and
// the main window's status panel.

namespace vellum {

/// Modes of the QSO window, as PanStatus shows them.
enum class QsoWindowMode : int { Browse = 0, AddRealTime = 1, AddOffline = 2, SearchEntry = 3, Filtered = 4 };

} // namespace vellum
