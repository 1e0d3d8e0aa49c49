#include "reportdefinitions.h"

#include "logbookfields.h"

#include "config/inifile.h"
#include "logstore/compare.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"

#include <algorithm>
#include <filesystem>

namespace vellum {

namespace {

constexpr const char *SortKeyName = "SORT";
constexpr const char *NoteWidthKey = "NOTEWIDTH";
constexpr std::size_t ProblemsPerSection = 5;

bool isKey(std::string_view key, const char *name) { return CompareNoCase(key, name) == 0; }

/// The name as a section name holds it: control characters (a line break would end
/// the section line) become blanks, cut to 25 characters.
std::string cutName(std::string name)
{
    for (char &c : name)
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    if (name.size() > ReportNameCapacity)
        name.resize(ReportNameCapacity);
    return name;
}

constexpr std::size_t IniNameCapacity = 255; ///< TIniFile cuts longer section names

/// The section names in the order of the file (each once, as first written).
std::vector<std::string> sectionsInFileOrder(std::string_view text)
{
    std::vector<std::string> names;
    ForEachIniLine(text, [&names](int, std::string_view line) {
        if (!IsIniSectionLine(line))
            return;
        std::string name(line.substr(1, std::min(line.size() - 2, IniNameCapacity)));
        for (const std::string &known : names)
            if (CompareNoCase(known, name) == 0)
                return;
        names.push_back(std::move(name));
    });
    return names;
}

ReportDefinition readSection(const TIniFile &ini, const std::string &section, std::vector<std::string> &problems)
{
    ReportDefinition definition;
    definition.name = cutName(section);
    definition.sort = SortKeyOfName(ini.ReadString(section, SortKeyName, "Date"));
    const std::string where = "Report \"" + section + "\": ";
    std::int32_t width = ini.ReadInteger(section, NoteWidthKey, DefaultNoteWidth);
    if (width < 1 || width > 255) {
        problems.push_back(where + "note width " + std::to_string(width) + " is not 1 to 255; 15 is taken");
        width = DefaultNoteWidth;
    }
    definition.noteWidth = width;
    std::vector<std::string> unknown;
    for (const std::string &key : ini.ReadSection(section)) {
        if (isKey(key, SortKeyName) || isKey(key, NoteWidthKey))
            continue;
        int field = LogbookFieldIndex(key);
        if (field < 0)
            unknown.push_back(key);
        else
            definition.columns.push_back(static_cast<std::uint8_t>(field));
    }
    for (std::size_t i = 0; i < unknown.size() && i < ProblemsPerSection; ++i)
        problems.push_back(where + "no field is named \"" + unknown[i] + "\"; skipped");
    if (unknown.size() > ProblemsPerSection)
        problems.push_back(where + std::to_string(unknown.size() - ProblemsPerSection) + " more unknown keys skipped");
    if (definition.columns.empty()) {
        problems.push_back(where + "no known field; it shows the column \"Callsign\"");
        definition.columns.push_back(LogbookField::Callsign);
    }
    return definition;
}

} // namespace

ReportDefinition DefaultReportDefinition()
{
    return {NonameReport, SortKey::Band, 25, {static_cast<std::uint8_t>(LogbookField::Callsign)}};
}

SortKey SortKeyOfName(std::string_view name)
{
    for (int i = 0; i < SortKeyCount; ++i)
        if (CompareNoCase(SortOrderTable[static_cast<std::size_t>(i)].name, name) == 0)
            return static_cast<SortKey>(i);
    return SortKey::Date;
}

const char *SortName(SortKey key) { return SortOrderTable[static_cast<std::size_t>(key)].name; }

TReportDefinitions::TReportDefinitions() : m_definitions{DefaultReportDefinition()} {}

TReportDefinitions TReportDefinitions::FromText(std::string_view text, std::vector<std::string> &problems)
{
    TIniFile ini;
    ini.LoadText(text);
    TReportDefinitions set;
    std::vector<std::string> sections = sectionsInFileOrder(text);
    if (sections.empty())
        return set;
    set.m_definitions.clear();
    for (const std::string &section : sections) {
        ReportDefinition definition = readSection(ini, section, problems);
        // Names alike in their first 25 characters would be one section when written.
        if (set.IndexOfName(definition.name) >= 0) {
            problems.push_back("Report \"" + section + "\": another report has the name \"" + definition.name +
                               "\"; left out");
            continue;
        }
        set.m_definitions.push_back(std::move(definition));
    }
    return set;
}

TReportDefinitions TReportDefinitions::Load(const std::string &fileName, std::vector<std::string> &problems)
{
    std::error_code error;
    if (!std::filesystem::exists(fileName, error))
        return {};
    std::vector<std::uint8_t> bytes = ReadWholeFile(fileName);
    return FromText(std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()), problems);
}

int TReportDefinitions::IndexOfName(std::string_view name) const
{
    for (std::size_t i = 0; i < m_definitions.size(); ++i)
        if (CompareNoCase(m_definitions[i].name, name) == 0)
            return static_cast<int>(i);
    return -1;
}

void TReportDefinitions::Replace(int index, ReportDefinition definition)
{
    definition.name = cutName(std::move(definition.name));
    m_definitions.at(static_cast<std::size_t>(index)) = std::move(definition);
    m_changed = true;
}

int TReportDefinitions::AddDefault()
{
    m_definitions.push_back(DefaultReportDefinition());
    m_changed = true;
    return Count() - 1;
}

std::string TReportDefinitions::Text() const
{
    std::string text;
    for (const ReportDefinition &d : m_definitions) {
        if (!text.empty())
            text += "\n";
        text += "[" + d.name + "]\n";
        text += std::string(SortKeyName) + "=" + SortName(d.sort) + "\n";
        text += std::string(NoteWidthKey) + "=" + std::to_string(d.noteWidth) + "\n";
        for (std::uint8_t column : d.columns)
            if (column < LogbookFieldCount)
                text += std::string(LogbookFieldTable[column].name) + "=\n";
    }
    return text;
}

void TReportDefinitions::Save(const std::string &fileName, bool cycleFiles)
{
    if (!m_changed)
        return;
    std::string text = Text();
    WriteWholeFile(fileName, std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()), cycleFiles);
    m_changed = false;
}

std::string ReportDefinitionsFileName() { return DataFileName(DataFile::Reports); }

} // namespace vellum
