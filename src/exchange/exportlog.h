#pragma once
// The export driver: the QSOs of the open log, in the QSO window's browse
// order, that the current selection (and, when the user wants it, the QSO
// window's QSO filter) admits, written as an ADIF file.

#include "importlog.h"

#include <cstdint>
#include <string>

namespace vellum {

class TQsoData;
class TCountryData;
struct ImportFilter;
struct TConfigRecord;

/// The QSO filter of the QSO window, as far as an export needs it.
class ExportQsoFilter {
public:
    virtual ~ExportQsoFilter() = default;
    /// Whether a QSO filter is set up (running or not).
    virtual bool IsSetUp() const = 0;
    /// Whether a QSO passes the filter that is set up.
    virtual bool Matches(const TQsoRec &qso) const = 0;
};

struct ExportContext {
    TQsoData &log;
    const TCountryData &countries;
    const ExportQsoFilter *qsoFilter = nullptr; ///< none: no QSO filter to offer
    std::string importDir = {};                 ///< where the prefix map file is; empty: ImportDir()
    const TConfigRecord *config = nullptr;      ///< CW/phone boundaries of frequencies written by a filter
};

struct ExportResult {
    bool written = false;   ///< the file was written completely
    std::int64_t qsos = 0;  ///< QSOs written
    std::int64_t notes = 0; ///< callsign notes written to the notes file of a filter export
};

namespace ExportText {
inline constexpr const char *UseQsoFilter = "A QSO filter is set up in the QSO window.\rExport only the QSOs it admits?";
} // namespace ExportText

/// Writes the QSOs to fileName. With a QSO filter set up, asks whether to use
/// it (Yes, No, Cancel: nothing written). The file is written whole through a
/// temporary file (the previous file kept as its "~" generation when the log's
/// settings cycle files); a failure is told with an error box and leaves any
/// old file as it was. Ends with an information box naming the count.
ExportResult ExportLog(ExportContext &context, const std::string &fileName, const ImportFilter &filter,
                       RecordFormat format);

} // namespace vellum
