#pragma once
// What the callbook sources answer, turned into the text lines of the lookup
// window, and what is read back out of those lines (the QSL manager).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

using CallbookLines = std::vector<std::string>;

/// Text up to the first NUL (or the end of the buffer), split at carriage returns.
/// Every line is added, empty ones too, and the text after the last carriage
/// return unless the NUL follows that carriage return directly (Amsoft style).
void AddCarriageReturnLines(std::span<const char> buffer, CallbookLines &lines);
/// The same, but the text after the last carriage return only when it is not
/// empty (Octavia style).
void AddCarriageReturnLinesSkippingEmptyRest(std::span<const char> buffer, CallbookLines &lines);
/// The first `count` bytes (at most the buffer) split at carriage returns, line
/// feeds dropped, a non-empty rest added as the last line (QRZ CD-ROM style).
void AddCountedLines(std::span<const char> buffer, std::int64_t count, CallbookLines &lines);

/// Fields of a tag byte (1..31) and text, ended by a 0 tag (Flying Horse style).
/// Returns the QSL manager record number named by tag 18 (0 when none or not a number).
std::int64_t AddFlyingHorseFields(std::span<const char> buffer, CallbookLines &lines);

/// Fields of a tag byte (184..209) and text up to a byte 0 or 127 and above
/// (Buckmaster style). `qslHeading` is added before the QSL manager line.
void AddBuckmasterFields(std::span<const char> buffer, std::string_view call, std::string_view qslHeading,
                         CallbookLines &lines);

/// The QSL manager named by a result line after the first: the first line whose
/// upper-case text contains "VIA " and the call; the manager is the run of
/// capital letters, digits and "/" after "VIA " (at most 12). Empty when none.
std::string ManagerFromLines(const CallbookLines &lines, std::string_view call);

/// The lines of the QSL manager program's result file worth showing: from the
/// first line that contains the call or "Error" on, leading blanks removed, empty
/// lines skipped.
void AddQslProgramResult(std::string_view fileText, std::string_view call, CallbookLines &lines);

/// Whether a call may be passed to an outside program: letters, digits and "/",
/// 1 to 12 characters.
bool SafeCallForProgram(std::string_view call);

} // namespace vellum
