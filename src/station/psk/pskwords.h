#pragma once
// The text rules of the PSK31 terminal: a double-clicked word made ready for the
// QSO window, what kind of field it fits, and the text that channel 2 hands to
// the main receive pane.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellum::psk {

/// The selected word trimmed, cut at its first ",", "." or ";", with only "/",
/// digits and letters kept (empty: nothing to take).
std::string CapturedWord(std::string_view selected);

bool HasDigit(std::string_view word);

/// A signal report "599" with what follows it ("5991234" and "599/1234" give "1234").
struct CapturedReport {
    std::string report;
    std::string received;
};
std::optional<CapturedReport> ReportOf(std::string_view word);

/// The call notes after a name was taken: "John" for empty notes, else notes + " " + word.
std::string NotesWithName(std::string_view notes, std::string_view word);

/// The lines of the channel-2 pane as one text for the main pane: taken from the last
/// line backwards, each followed by a blank, after a leading blank, until the text is
/// longer than 255 characters or the lines run out.
std::string ChannelTwoText(const std::vector<std::string> &lines);

} // namespace vellum::psk
