#pragma once
// The comma-separated layout of a filter whose identifier begins with "CSV":
// its fields' columns give only their order, each line holds their values
// separated by commas, quoted where a value holds a comma, a quote or blanks at
// its ends (a quote inside doubled). One line is one QSO: a quoted value never
// runs on into the next line.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

struct ImportFilter;

/// Whether the filter writes and reads comma-separated values: its identifier begins with "CSV".
bool IsDelimitedFilter(const ImportFilter &filter);
bool IsDelimitedFilterId(std::string_view id);

/// How many characters of a line the filter reads: any number for a delimited
/// filter (each value is checked against its field), 255 for the others.
std::size_t LineCapacityOf(const ImportFilter &filter);

/// The fields of a delimited filter in the order of their values: placed, by
/// column (then by field number), without the notes that follow on their own line.
std::vector<int> DelimitedFieldOrder(const ImportFilter &filter);

struct DelimitedValues {
    std::vector<std::string> values;
    bool unterminatedQuote = false; ///< the last value opened a quote the line does not close
};

/// The values of one line: blanks around unquoted values dropped, quoted values
/// kept as they stand with their doubled quotes made single.
DelimitedValues SplitDelimitedLine(std::string_view line);

/// A value as written: quoted when it holds a comma or a quote or begins or ends with a blank.
std::string QuoteDelimitedValue(std::string_view value);

/// The line of column titles: the names of the fields in their order.
std::string DelimitedTitleLine(const ImportFilter &filter);

} // namespace vellum
