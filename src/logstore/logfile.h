#pragma once
// The log file read from bytes in memory: the same reader as
// TQsoData::ReadLog, for tests, fuzz targets and logs that do not come from a
// file of their own.

#include "qsodata.h"

#include <cstdint>
#include <span>
#include <string>

namespace vellum {

/// Reads the bytes of a log file into log (load) or merges them into it, as
/// TQsoData::ReadLog does with a file; sourceName names the bytes in the
/// messages. A load keeps the log's LogFileName. Returns false on failure,
/// after telling the user through the log's notifier.
bool ReadLogBytes(TQsoData &log, std::span<const std::uint8_t> bytes, const std::string &sourceName, LoadMode mode,
                  DuplicateMode duplicates);

} // namespace vellum
