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

/// What a whole run needs besides its list.
struct LabelJobSetup {
    LabelKind kind = LabelKind::Qsl;
    LabelOptions options;
    LabelLayout layout{};
    int missing = 0;
    PageRange pages;
    JobMonitor *monitor = nullptr;
};
/// A whole run on a surface: the page margins and the label printer of the run,
/// and the pass over the list.
LabelJobResult PrintLabelRun(PrintSurface &surface, const std::vector<LabelItem> &items, const LabelJobSetup &setup,
                             const LabelJobLookups &lookups);

/// The label editor's sample: a method label ("Direct"), an address label, then
/// labels "CALLSIGN<n> via MANAGER" filled with a sample QSO until each is full,
/// with greetings 1 and 2 as they stand and the footer; it stops after label 100,
/// or once more than 5 labels were made and the second page has begun. The
/// outlines of the positions are drawn on every output. Returns the labels made.
LabelJobResult RunLabelSample(TMyLabPr &printer);

/// Sets the printed marks of the entries the pass printed (after the job's output succeeded).
void MarkPrinted(const std::vector<LabelItem> &items, const LabelJobResult &result);

} // namespace vellum
