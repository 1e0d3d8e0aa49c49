#pragma once
// The note texts of an import: cleaning an imported note buffer, and adding a
// text to a note unless the note holds it already.

#include <string>
#include <string_view>

namespace vellum {

struct NoteCleaning {
    bool frequency = false; ///< the note filter "Frequency": drop the first "<number> kHz"
    bool importFrom = false; ///< the note filter "Import from": drop the first "IMPORT(ED) FROM <name>"
};

/// A note buffer as stored: without its trailing "|", the filtered texts
/// removed, runs of blanks made one blank.
std::string CleanImportedNote(std::string_view text, const NoteCleaning &cleaning);

/// Whether text holds part, letters a..z compared without regard to case.
bool ContainsNoCase(std::string_view text, std::string_view part);

/// Adds text to note: nothing when the note holds it already (any case); an
/// empty note takes it; otherwise it follows after one blank.
void AddToNote(std::string &note, std::string_view text);

} // namespace vellum
