#pragma once
// The small pattern language that turns a cluster line into a spot, and the
// warning patterns for talk lines and announcements. Matching walks the line
// once, forward, with one backward scan for the remarks: its time is bounded by
// the length of the line and the pattern whatever the line holds.

#include <cstdint>
#include <string>
#include <string_view>

namespace vellum {

/// How the number after a marker in the remarks reads.
enum class QsxMarker { None, Frequency, Up, Down };

/// The fields a spotting pattern took out of a line.
struct ParsedSpot {
    double freqKHz = 0;
    double qsx = 0; ///< after ApplyQsxMarker: a frequency in kHz, or 0
    QsxMarker marker = QsxMarker::None;
    std::string call;
    std::string spotter;
    std::string remarks;
    std::uint16_t date = 0;     ///< 0 = not given
    std::uint16_t time = 65535; ///< minutes; 65535 = not given
};

/// At least 3 characters of letters, digits, "?" and "/", one letter at least,
/// and "/" neither first, last nor doubled.
bool IsSpotCallsign(std::string_view call);

/// Matches one spotting pattern against an upper-cased line. currentYear fills a
/// date without a year. On success the marker's number is still raw (see ApplyQsxMarker).
bool MatchSpotPattern(std::string_view pattern, std::string_view upperLine, int currentYear, ParsedSpot &spot);

/// An offset marker ("UP", "DN") of at most 350 kHz becomes the frequency it
/// points to; a "QSX"/"WKD" number is taken as a frequency as it stands.
void ApplyQsxMarker(ParsedSpot &spot);

/// A warning pattern against an upper-cased line: "*" matches up to the next
/// occurrence of the character after it (no backtracking); without "*" the line
/// must start with the pattern; an empty pattern never matches.
bool MatchWarningPattern(std::string_view pattern, std::string_view upperLine);

/// The line upper-cased (ASCII letters) for matching.
std::string SpotMatchText(std::string_view line);

} // namespace vellum
