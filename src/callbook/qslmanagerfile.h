#pragma once
// The QSL manager file of the Flying Horse CD-ROM (Data/QslMgr.dat below the data
// path): records of 53 bytes - call string[13] at 0, manager string[13] at 14,
// remark string[15] at 28, date string[8] at 44; the records of one call follow
// each other.

#include "resultlines.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vellum {

inline constexpr std::size_t QslManagerRecordSize = 53;

struct QslManagerRecord {
    std::string call;
    std::string manager;
    std::string remark;
    std::string date;
};

/// The record at a position of the file's bytes; nothing past the last whole record.
std::optional<QslManagerRecord> QslManagerRecordAt(std::span<const std::uint8_t> file, std::uint64_t position);

/// "CALL via MGR remark date: DATE" for the records of call from position on
/// (the "CALL via " part cut to 18 characters, with the manager to 31).
void AddQslManagerLines(std::span<const std::uint8_t> file, std::uint64_t position, std::string_view call,
                        CallbookLines &lines);

/// The same from the file below the data path; "IOERR=" and the error number when
/// it cannot be read.
void AddQslManagerFileLines(const std::string &dataPath, std::uint64_t position, std::string_view call,
                            CallbookLines &lines);

} // namespace vellum
