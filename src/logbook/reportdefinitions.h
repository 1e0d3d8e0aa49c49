#pragma once
// Report definitions: the logbook layouts of the definitions file (VELLUM.REP),
// one INI section per report in the file's order - "SORT" with the sort name,
// "NOTEWIDTH", then one empty key per column, the field's name, in column order.

#include "logstore/qsoorders.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

inline constexpr std::size_t ReportNameCapacity = 25;
inline constexpr int DefaultNoteWidth = 15;       ///< a section without NOTEWIDTH
inline constexpr const char *NonameReport = "??noname report??";

struct ReportDefinition {
    std::string name;
    SortKey sort = SortKey::Band;
    int noteWidth = 25;                ///< characters of the note columns, 1 to 255
    std::vector<std::uint8_t> columns; ///< field indexes, in display order; never empty when read

    friend bool operator==(const ReportDefinition &, const ReportDefinition &) = default;
};

/// "??noname report??" sorted by band, note width 25, the single column "Callsign".
ReportDefinition DefaultReportDefinition();
/// The sort with this name (ignoring case); Date for an unknown name.
SortKey SortKeyOfName(std::string_view name);
const char *SortName(SortKey key);

class TReportDefinitions {
public:
    /// The one default definition.
    TReportDefinitions();
    /// Reads definitions from an INI text. What had to be mended is added to
    /// problems: a note width outside 1..255 (15 is taken), keys naming no field
    /// (skipped), a section without a known field (it shows "Callsign").
    static TReportDefinitions FromText(std::string_view text, std::vector<std::string> &problems);
    /// Reads the file; a missing file gives the default definition. Throws EFileError
    /// when the file exists but cannot be read.
    static TReportDefinitions Load(const std::string &fileName, std::vector<std::string> &problems);

    int Count() const { return static_cast<int>(m_definitions.size()); }
    const std::string &Name(int index) const { return m_definitions.at(static_cast<std::size_t>(index)).name; }
    ReportDefinition Get(int index) const { return m_definitions.at(static_cast<std::size_t>(index)); }
    /// The definition whose name equals name ignoring case; -1 when none.
    int IndexOfName(std::string_view name) const;
    /// Replaces definition index (the name cut to 25 characters); marks the set changed.
    void Replace(int index, ReportDefinition definition);
    /// Appends the default definition; returns its index.
    int AddDefault();
    bool Changed() const { return m_changed; }

    /// The file's text: the definitions in their order.
    std::string Text() const;
    /// Writes the file when the set changed (SafeFileWriter; previous generation kept
    /// with cycleFiles). Throws EFileError; the set then stays changed.
    void Save(const std::string &fileName, bool cycleFiles);

private:
    std::vector<ReportDefinition> m_definitions;
    bool m_changed = false;
};

/// The definitions file of the program directory (SAVE/VELLUM.REP).
std::string ReportDefinitionsFileName();

} // namespace vellum
