#pragma once
// The printing pass of a label run: walks the print list, starts a new label at
// each change of station, manager, QSL method, confirmation or group, fills it,
// adds the greetings, the method labels and the managers' address labels, and
// tells which entries got a line on a page that was drawn. The caller sets the
// printed marks only once the whole job's output was written without error.

#include "labelprinter.h"
#include "printlist.h"

#include <functional>
#include <string>
#include <vector>

namespace vellum {

class TQsoData;

struct LabelJobLookups {
    /// The address lines of a manager; empty when none is stored.
    std::function<std::vector<std::string>(std::string_view manager)> addressOf;
    /// The operator's first name of a call (for "&&").
    std::function<std::string(std::string_view call)> firstNameOf;
    /// The name of a group number (for "%%").
    std::function<std::string(int group)> groupName;
};
/// The lookups over a log's notes and group names and the country data's addresses.
class TCountryData;
LabelJobLookups LookupsOf(const TQsoData &log, const TCountryData *countries);

struct LabelJobResult {
    bool aborted = false;        ///< the user aborted, the output failed, or no page could hold a label
    std::string problem;         ///< why the job did not start, or stopped
    std::vector<std::size_t> printed; ///< entries of the list that got a line on a drawn page
    int pages = 0;
    int labels = 0;
};

/// Prepares the printer and runs the pass over items.
LabelJobResult RunLabelPass(TMyLabPr &printer, const std::vector<LabelItem> &items, const LabelJobLookups &lookups);

/// Sets the printed marks of the entries the pass printed (after the job's output succeeded).
void MarkPrinted(const std::vector<LabelItem> &items, const LabelJobResult &result);

} // namespace vellum
