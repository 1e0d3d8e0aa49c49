#pragma once
// Filters written as text, the form the shipped default filters are kept in:
//
//   [CSV]                                 the identifier
//   Description=Comma-separated text       general settings by their names
//   Usage=Imp/Exp                         Import, Imp/Exp or Binary Imp
//   Callsign=1,String,12                  a field: position, format name, length
//
// Lines starting with ";" are comments. A field's length may be left out where
// its format fixes it.

#include "importfilter.h"

#include <string>
#include <string_view>
#include <vector>

namespace vellum {

struct FilterTextResult {
    std::vector<ImportFilter> filters;
    std::vector<std::string> errors; ///< "line 7: ..." for each line that was not understood
};

/// Reads filters from their text form; each gets Modified = today (a day number of the log).
FilterTextResult ParseFilterText(std::string_view text, std::uint16_t today);

/// The usage names "Import", "Imp/Exp", "Binary Imp".
std::string_view UsageName(FilterUsage usage);

} // namespace vellum
