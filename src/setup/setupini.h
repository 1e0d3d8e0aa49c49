#pragma once
// The INI form of the settings: every page of the setup dialog as a section
// with one key per control, then the sections of the settings no page shows
// (function keys, CW cutoffs, keyer, window places, labels, PSK31, ...).
// Writing and merging work on a configuration record; a merge is input from
// outside, so every value is checked, unknown sections and keys are reported
// with their line, and the record is clamped as after loading a configuration
// file.

#include "config/configrecord.h"
#include "setup/setupcontrols.h"

#include <string>
#include <string_view>
#include <vector>

namespace vellum {

class TIniFile;

/// Puts the INI form of record into ini (which writes its sections sorted by name).
void WriteSetupIni(const TConfigRecord &record, const std::vector<SetupPage> &pages, TIniFile &ini);

/// Writes the INI form of record to fileName: its directory is created when
/// missing and a file of that name is replaced. Throws EFileError on failure;
/// an existing file is then untouched.
void WriteSetupIniFile(const TConfigRecord &record, const std::vector<SetupPage> &pages, const std::string &fileName);

/// What a merge did.
struct IniMergeReport {
    std::string damage;             ///< why nothing was merged; empty when the file was merged
    std::vector<std::string> notes; ///< sections, keys and values passed over, each with its line
    std::size_t moreNotes = 0;      ///< notes left out of the list (it keeps the first 100)

    bool Merged() const { return damage.empty(); }
    /// The damage or the notes as lines for a message box; empty for a clean merge.
    std::string Text() const;
};

/// Merges INI text into record. A damaged text (a zero byte, or no section at
/// all) changes nothing. Otherwise each key present sets its setting when its
/// value is acceptable (a page control's value must parse, lie in the control's
/// range or name one of its choices); the special sections take their defaults
/// for missing keys. Afterwards string lengths and settings are clamped as after
/// loading a configuration file.
IniMergeReport MergeSetupIni(TConfigRecord &record, const std::vector<SetupPage> &pages, std::string_view text);

/// MergeSetupIni of a file's contents; a file that cannot be read changes nothing.
IniMergeReport MergeSetupIniFile(TConfigRecord &record, const std::vector<SetupPage> &pages,
                                 const std::string &fileName);

} // namespace vellum
