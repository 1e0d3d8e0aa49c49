#pragma once
// "Print Filter": a filter as a table for the print engine - its general
// settings, then each placed field with its format, position and length.

#include "print/tableprint.h"

#include <memory>

namespace vellum {

struct ImportFilter;

struct FilterListing {
    std::unique_ptr<TextRows> rows;
    TablePrintJob job; ///< titled "I/E Filter for " + Description; its rows are `rows`
};

FilterListing MakeFilterListing(const ImportFilter &filter);

} // namespace vellum
