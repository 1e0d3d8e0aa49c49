#pragma once
// The same-call list: the QSOs already logged with a call, newest first.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

class TQsoData;
struct TQsoRec;

/// The QSOs of call in the log, newest first. With substring set, the search
/// text is the base call and a QSO is listed when its call equals it or its base
/// call contains it (a station's portable QSOs too); otherwise calls must equal.
std::vector<const TQsoRec *> QsosOfCall(const TQsoData &log, std::string_view call, bool substring);

/// "Other QSOs", the QSO's call, or the searched call + " found as " + the QSO's call.
std::string SameCallCaption(std::string_view searched, const TQsoRec *selected);

} // namespace vellum
