#pragma once
// Older log file formats "B" to "G" and their conversion to the current record.

#include "qsorec.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace vellum {

/// Bytes of the fixed part of one QSO in a log file of the given format ("B".."H").
std::size_t QsoRecordSize(char format);
/// Whether QSOs of the format carry a QSO note after the fixed part ("F" on).
bool FormatHasQsoNote(char format);
/// Whether the format has the header word and the SWL section ("G" on).
bool FormatHasHeaderWord(char format);

/// Brings records of one file of an older format forward, one format step at a
/// time. It keeps the state the "F" to "G" step needs across the records of a file
/// (QSOs logged in the same old minute get seconds 0, 1, ... 59).
class OldFormatConverter {
public:
    explicit OldFormatConverter(char format) : m_format(format) {}
    /// Converts the fixed part of one record of the file's format ("B".."G").
    void Convert(std::span<const std::uint8_t> bytes, TQsoRec &rec);

private:
    char m_format;
    bool m_havePrevious = false;
    std::uint16_t m_previousOldTime = 0;
    int m_sameMinuteCounter = 0;
};

/// The "G" to "H" mode renumbering (0 none, 1 SSB, 2 CW, 3 RTTY); other values give 0.
std::uint8_t RenumberOldMode(std::uint8_t oldMode);

} // namespace vellum
