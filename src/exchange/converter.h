#pragma once
// The converter of a "Binary Imp" filter: a shell script in the import
// directory named after the filter ("ID.sh", or "ID.BAT" as older program
// directories name it) that turns the chosen file into "export.txt" there,
// which is then imported through the filter.

#include "importlog.h"

#include <chrono>
#include <string>

namespace vellum {

struct ImportFilter;

enum class ConversionOutcome {
    Converted,    ///< export.txt was made
    Failed,       ///< the script ran but made no export.txt (or was stopped at the time limit)
    NotStarted,   ///< no script of that name, a name that leaves the directory, or it could not be run
};

struct ConversionResult {
    ConversionOutcome outcome = ConversionOutcome::NotStarted;
    std::string output;  ///< the converted file (import directory + "/export.txt")
    bool timedOut = false;
};

/// The script of a filter in the import directory; empty when there is none or
/// the identifier is no plain file name.
std::string ConverterScript(const std::string &importDir, const ImportFilter &filter);

/// Deletes export.txt, then runs "/bin/sh SCRIPT FILE IMPORTDIR" (an argument
/// list, no shell string) with the import directory as the script's working
/// directory (the program's own is not changed), and waits for it at most
/// `limit`, stopping it then.
ConversionResult RunConverter(const std::string &importDir, const ImportFilter &filter, const std::string &file,
                              std::chrono::milliseconds limit);

/// "Binary Imp": runs the converter on file and imports the export.txt it made
/// through the filter (not as ADIF). "Conversion failed" or "Error executing
/// ID" is told when there is nothing to import; nothing is imported then.
ImportResult ImportThroughConverter(ImportContext &context, const ImportFilter &filter, const std::string &file,
                                    std::chrono::milliseconds limit);

/// The texts the window shows.
namespace ConverterText {
inline constexpr const char *Failed = "Conversion failed";
inline constexpr const char *NotStarted = "Error executing ";
} // namespace ConverterText

} // namespace vellum
