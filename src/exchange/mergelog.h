#pragma once
// "Merge VELLUM Log": the QSOs of another log file of the program's own format
// added to the open log, duplicates handled by the policy the user picks.

#include "importlog.h"

#include <cstdint>
#include <string>

namespace vellum {

class TQsoData;

struct MergeResult {
    bool merged = false;    ///< the file was read (wholly or up to a duplicate that stopped it)
    std::int64_t added = 0; ///< QSOs the log holds now that it did not before
};

/// Asks the duplicate policy when the log holds QSOs (Cancel ends before
/// anything is read), merges the file and tells how many QSOs were added:
/// "5 QSOs added".
MergeResult MergeLogFile(TQsoData &log, ImportQuestions &questions, const std::string &fileName);

} // namespace vellum
