#pragma once
// Reading QSOs from a text file through a filter: one QSO a line, each field at
// the columns (or, for a comma-separated filter, as the value) and in the
// notation the filter gives it, notes on the lines that follow when the filter
// says so.

#include "adifreader.h"
#include "importedqso.h"
#include "lineinput.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace vellum {

class CountryResolver;
class ImportFields;
struct ImportFilter;

/// The custom awards an import checks "Awd group" and "Awd value" against.
class CustomAwardLookup {
public:
    virtual ~CustomAwardLookup() = default;
    virtual bool HasAward(std::string_view id) const = 0;
    /// Whether the award takes this value (any value when it has no list of values).
    virtual bool AllowsValue(std::string_view id, std::string_view value) const = 0;
};

/// A date written in a date format (0..16) of the filters; nothing when it is
/// no valid date. Two-digit years below 30 are 20YY, others 19YY.
std::optional<std::uint16_t> ParseFilterDate(std::string_view text, int format);
/// A band written in a band format of the filters; 0 when the text names none.
int ParseFilterBand(std::string_view text, int format);
/// A mode written in a mode format of the filters; 0 when the text names none.
int ParseFilterMode(std::string_view text, int format);

/// Reads the records of one filter import.
class FilterRecordReader {
public:
    /// customAwards may be null: then no custom award exists.
    FilterRecordReader(LineInput &input, ImportFields &fields, const CountryResolver &resolver,
                       const CustomAwardLookup *customAwards);

    /// Reads the next QSO line (skipping empty lines, and a first line of
    /// column titles) and the note lines after it into q, then completes the
    /// record. EndOfInput when only empty lines were left: there is no record.
    RecordEnd Read(ImportedQso &q);

private:
    class QsoLine;
    class Fields;
    /// Whether the line is the file's first and holds no digit in the date and
    /// time (which every QSO line has): a line of column titles.
    bool isTitleLine(const QsoLine &line);
    bool m_firstLine = true;
    LineInput &m_input;
    ImportFields &m_fields;
    const CountryResolver &m_resolver;
    const CustomAwardLookup *m_customAwards;
};

} // namespace vellum
