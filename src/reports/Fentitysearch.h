#pragma once
// Searching the QSO window for the QSOs behind a cell of an award listing: the
// entity in its field, the cell's band and mode group, and what its status
// letter says about confirmation and the award flags.

#include "awardlistings.h"

#include "logstore/daytime.h"

namespace vellum {

class QsoEntry;

/// Runs the search in the QSO window; false when the window may not start a
/// search now or no QSO matches (the window then says so).
bool SearchEntityQsos(QsoEntry &entry, const EntityQsos &qsos, DateFormat dateFormat);

} // namespace vellum
