#pragma once
// TIniFile: a whole INI text file in memory, as sections of key/value pairs.
// The INI form of the settings, the radio definitions and the report
// definitions are read and written through it, so its rules are part of those
// formats:
// - sections are kept sorted by name, ignoring the case of a..z;
// - keys keep the order in which they were first written or read, and are
//   found ignoring the case of a..z; values are compared exactly and hold at most
//   255 characters; keys and section names are cut at 255 characters too, so a
//   hostile file costs no more than its size, and reading takes time in
//   proportion to it however many sections and keys it holds;
// - reading trims values of surrounding blanks; numbers that do not convert
//   give the caller's default;
// - the file is rewritten only when something changed.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vellum {

/// Calls line(number, text) for each line of an INI text as TIniFile reads it:
/// without its line end ("\n", "\r\n"), empty lines skipped, numbered from 1.
void ForEachIniLine(std::string_view text, const std::function<void(int number, std::string_view line)> &line);

/// Whether a line names a section ("[name]").
inline bool IsIniSectionLine(std::string_view line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

/// Whether rewriting a file keeps its previous generation ("~" extension).
enum class KeepGeneration { No, Yes };

class TIniFile {
public:
    /// An INI text in memory, without a file (LoadText fills it): UpdateFile and
    /// the destructor write nothing.
    TIniFile() = default;
    /// Reads fileName when it exists (a missing file reads as empty). Lines are
    /// taken without their line end ("\n", "\r\n"); empty lines are skipped; a line
    /// "[name]" selects (or creates) section name; any other line is split at its
    /// first "=" into key and value (no "=": a key with an empty value) and stored
    /// in the current section; lines before the first section are ignored.
    /// Throws EFileError when the file exists but cannot be read.
    explicit TIniFile(std::string fileName, KeepGeneration keep = KeepGeneration::No);
    /// Writes the file when it changed (as UpdateFile). A failure cannot be
    /// reported from here and is lost: call UpdateFile() first to hear about it.
    ~TIniFile();
    TIniFile(const TIniFile &) = delete;
    TIniFile &operator=(const TIniFile &) = delete;

    /// Adds the pair, or replaces the value when it differs (the value is cut to
    /// 255 characters); creates the section when needed. Marks the file changed
    /// only when something changed.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value); ///< "1" or "0"
    /// Writes the shortest text that ReadFloat reads back as the same number.
    void WriteFloat(std::string_view section, std::string_view key, double value);

    /// The stored value or, when the section or key is missing, fallback; either
    /// trimmed of surrounding blanks.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
    /// The value as a decimal integer (optional sign); fallback when missing, not
    /// a number, followed by other characters ("12x") or out of range.
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const;
    /// ReadInteger(section, key, fallback ? 1 : 0) != 0.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;
    /// The value as a finite real number ("." or "," as the decimal point);
    /// fallback when missing or not such a number.
    double ReadFloat(std::string_view section, std::string_view key, double fallback) const;

    bool SectionExists(std::string_view section) const;
    /// The section names in their sorted order.
    std::vector<std::string> ReadSections() const;
    /// The keys of a section in their order; empty when the section is missing.
    std::vector<std::string> ReadSection(std::string_view section) const;

    /// Replaces the contents by the sections of text, read as from a file; the
    /// file counts as unchanged afterwards.
    void LoadText(std::string_view text);
    /// The text a rewrite writes: per section "[name]" and one "key=value" line
    /// per pair, an empty line between sections and none after the last.
    std::string Text() const;

    /// Rewrites the file from Text() when it changed, through a temporary file
    /// renamed into place. Throws EFileError on failure; the file then stays
    /// marked as changed and the old file is untouched.
    void UpdateFile();
    bool Modified() const { return m_dirty; }
    const std::string &FileName() const { return m_fileName; }

private:
    struct NoCaseLess {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    struct Section {
        std::vector<std::pair<std::string, std::string>> pairs;
        std::map<std::string, std::size_t, NoCaseLess> positions; ///< of each key in pairs
    };
    const Section *findSection(std::string_view name) const;
    Section &sectionFor(std::string_view name);
    const std::string *findValue(std::string_view section, std::string_view key) const;
    void store(Section &section, std::string_view key, std::string_view value);

    std::string m_fileName;
    KeepGeneration m_keep = KeepGeneration::No;
    std::map<std::string, Section, NoCaseLess> m_sections; // by name, ignoring the case of a..z
    bool m_dirty = false;
};

} // namespace vellum
