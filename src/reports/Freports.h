#pragma once
// The "Reports" menu of the QSO window: a submenu per award with its reports,
// "Contest" with the rate sheet, "Change Award Flags" and "Award Chart"; and the
// QSL tools of the "Labels" menu.

namespace vellum {

class WindowHost;

void RegisterReportWindows(WindowHost &host);

} // namespace vellum
