#pragma once
// The function-key macros: the "%" codes of a function key's text expanded with
// the QSO being entered, the station's call, the clock and text files of the
// SAVE directory. Shared by the CW keyboard and the terminals.

#include "config/configrecord.h"
#include "logstore/daytime.h"
#include "qso/qsoentry.h"

#include <cstdint>
#include <string>

namespace vellum {

class UserNotifier;

/// What the codes read.
struct MacroEnvironment {
    QsoMacroFields fields;   ///< the QSO window's call, reports, exchange, call notes, contest number
    std::string ownCall;     ///< "%~"
    DateFormat dateFormat = DateFormat::YearMonthDay;
    std::uint16_t today = 0; ///< UTC day number
    std::int32_t utcSeconds = 0;
    std::string saveDir;     ///< where "%f" files are
};

/// The environment of now: the own call and date format of the configuration, the UTC clock,
/// the SAVE directory, with the QSO window's fields.
MacroEnvironment CurrentMacroEnvironment(const TConfigRecord &config, QsoMacroFields fields);

struct MacroExpansion {
    std::string text;
    bool enterQso = false; ///< "%l": enter the QSO afterwards (real-time mode only)
};

/// Expands function key 1..16 of keys. Each key is expanded at most once in one expansion:
/// a second use warns "Recursion for register " + its number and the rest of the text is
/// kept unexpanded. A missing "%f" file is the error "File to send not found:\r" + path;
/// files nested more than MacroFileDepth deep warn and are left out.
MacroExpansion MacroExpand(int key, const FunctionKeys &keys, const MacroEnvironment &environment,
                           UserNotifier &notifier);

/// Expands a text as a function key would be expanded, as if it were a key of its own.
MacroExpansion MacroExpandText(std::string_view text, const FunctionKeys &keys, const MacroEnvironment &environment,
                               UserNotifier &notifier);

inline constexpr int MacroFileDepth = 8;

/// The first name in call notes for "%n": the leading run of letters and "-" when the notes
/// begin with a letter, each part capitalised ("hans-peter" gives "Hans-Peter").
std::string FirstNameOf(std::string_view notes);

} // namespace vellum
