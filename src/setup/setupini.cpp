#include "setup/setupini.h"

#include "setup/detail/numberfields.h"

#include "config/configrules.h"
#include "config/inifile.h"
#include "logstore/fileio.h"
#include "logstore/qsotables.h"
#include "logstore/trim.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace vellum {

using detail::AssignNumber;
using detail::NumberOf;
using detail::TypeRange;

namespace {

constexpr std::size_t MaxNotes = 100;
constexpr int FunctionKeyCount = 16;
constexpr std::int64_t MaxWindowCoordinate = 100000;

struct KeySection {
    const char *name;
    FunctionKeys TConfigRecord::*keys;
};
constexpr KeySection KeySections[] = {{"CWKEYS", &TConfigRecord::CWKEYS},
                                      {"TNCKEYS", &TConfigRecord::TNCKEYS},
                                      {"RTTYKEYS", &TConfigRecord::RTTYKEYS},
                                      {"PSK31KEYS", &TConfigRecord::PSK31KEYS}};

std::string functionKey(int n) { return "F" + std::to_string(n); }
std::string bandKey(int band) { return BandLabel(band, false); }
std::string windowSection(int k) { return std::string("W-") + WindowNames[static_cast<std::size_t>(k)]; }
std::string labelSection(std::size_t n) { return "CustLab" + std::to_string(n + 1); }

const char *const WindowKeys[] = {"LEFT", "TOP", "HEIGT", "WIDTH"};

/// The settings of the sections that hold plain values, each with the default a merge
/// takes for a missing key: v(key, default, field).
template <typename R, typename V>
void cwSettings(R &r, V &&v)
{
    v("Speed", 20, r.Speed);
    v("wpm", 20, r.wpm);
    v("weight", 100, r.weight);
    v("tone", 850, r.tone);
    v("sidetone", 1, r.sidetone);
    v("marquee", 1, r.marquee);
    v("immediate", 1, r.immediate);
    v("showfunc", 1, r.showfunc);
}

template <typename F, typename V>
void labelFontSettings(F &f, V &&v)
{
    v("Name", "Arial", f.Name);
    v("Size", 10, f.Size);
    v("Color", 0, f.Color);
    v("Bold", 0, f.Bold);
    v("Italic", 0, f.Italic);
}

template <typename L, typename V>
void labelLayoutSettings(L &l, V &&v)
{
    v("LabelID", "", l.LabelID);
    v("Metric", 0, l.Metric);
    v("SpacingTop", 0.0, l.SpacingTop);
    v("SpacingLeft", 0.0, l.SpacingLeft);
    v("SpacingHeight", 0.0, l.SpacingHeight);
    v("SpacingWidth", 0.0, l.SpacingWidth);
    v("LabelHeight", 0.0, l.LabelHeight);
    v("LabelWidth", 0.0, l.LabelWidth);
    v("RightShift", 0.0, l.RightShift);
    v("DownShift", 0.0, l.DownShift);
    v("PageWidth", 0.0, l.PageWidth);
    v("PageHeight", 0.0, l.PageHeight);
    v("NumAcross", 1, l.NumAcross);
    v("NumDown", 1, l.NumDown);
    v("PaperName", "", l.PaperName);
    v("Portrait", 0, l.Portrait);
}

template <typename P, typename V>
void psk31Settings(P &p, V &&v)
{
    v("CenterFreq", 1500, p.CenterFreq);
    v("MainFreq", 1500, p.MainFreq);
    v("FreqChan2", 1600, p.FreqChan2);
    v("Mode", 0, p.Mode);
    v("AFC", 1, p.AFC);
    v("Net", 1, p.Net);
    v("Smooth", 3, p.Smooth);
    v("AFCRange", 100, p.AFCRange);
    v("BaseLine", 30, p.BaseLine);
    v("SlowMeter", 1, p.SlowMeter);
    v("ThreshHold", 0, p.ThreshHold);
    v("Display", 0, p.Display);
    v("Split1", 50, p.Split1);
    v("Split2", 50, p.Split2);
    v("Split3", 50, p.Split3);
    v("KEYING", 1, p.KEYING);
    v("KEYDTR", 1, p.KEYDTR);
    v("OTHERH", 0, p.OTHERH);
    v("CHAN2", 0, p.CHAN2);
    v("Scale", 1, p.Scale);
}

template <typename R, typename V>
void mapSettings(R &r, V &&v)
{
    v("Projection", 255, r.Projection);
    v("Water", 0xFFFF00, r.Water);
    v("Land", 0x008000, r.Land);
}

/// Every section of plain values, with what a visitor of its settings needs.
template <typename R, typename V>
void forEachValueSection(R &r, V &&v)
{
    v("CW", [&](auto &&visit) { cwSettings(r, visit); });
    v("LABHEAD", [&](auto &&visit) { labelFontSettings(r.LABHEAD, visit); });
    v("LABBODY", [&](auto &&visit) { labelFontSettings(r.LABBODY, visit); });
    for (std::size_t n = 0; n < r.CustLab.size(); ++n)
        v(labelSection(n), [&r, n](auto &&visit) { labelLayoutSettings(r.CustLab[n], visit); });
    v("PSK31", [&](auto &&visit) { psk31Settings(r.PSK31, visit); });
}

std::string fixedText(double number, int decimals, int width)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%*.*f", width, decimals, std::isfinite(number) ? number : 0.0);
    return buffer;
}

std::string lowerAscii(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// --- writing ------------------------------------------------------------------------

std::string controlText(const SetupControl &control, const TConfigRecord &record)
{
    const ControlValue value = control.get(record);
    switch (control.kind) {
    case ControlKind::Text: return std::get<std::string>(value);
    case ControlKind::Integer:
    case ControlKind::Check: return std::to_string(std::get<std::int64_t>(value));
    case ControlKind::Real: {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::get<double>(value));
        return std::string(buffer, result.ptr);
    }
    case ControlKind::Choice:
    case ControlKind::TextChoice: {
        const int item = control.ItemOf(record);
        return item < 0 ? std::string() : control.items[static_cast<std::size_t>(item)];
    }
    case ControlKind::CheckList: {
        std::string marks;
        for (bool mark : std::get<std::vector<bool>>(value))
            marks += mark ? 'Y' : 'N';
        return marks;
    }
    }
    return {};
}

struct ValueWriter {
    TIniFile &ini;
    std::string section;

    template <typename Default, typename Field>
    void operator()(const char *key, const Default &, const Field &field) const
    {
        if constexpr (requires { Field::capacity; })
            ini.WriteString(section, key, field.view());
        else if constexpr (std::is_same_v<Field, LeF64>)
            ini.WriteString(section, key, fixedText(field, 3, 0));
        else
            ini.WriteString(section, key, std::to_string(NumberOf(field)));
    }
};

void writeSpecialSections(const TConfigRecord &r, TIniFile &ini)
{
    for (const KeySection &keys : KeySections)
        for (int n = 1; n <= FunctionKeyCount; ++n)
            ini.WriteString(keys.name, functionKey(n), (r.*keys.keys)[static_cast<std::size_t>(n - 1)].view());
    for (int band = 1; band < BandCount; ++band)
        ini.WriteString("CWCUTOFF", bandKey(band), fixedText(r.Personal_CWcutoff[static_cast<std::size_t>(band)], 2, 10));
    ini.WriteString("SYSTEM", "LASTLOG", r.LASTLOG.view());
    std::string disabled;
    for (const ByteBool &flag : r.TabDisabled)
        disabled += flag ? 'Y' : 'N';
    ini.WriteString("SYSTEM", "DISABLED", disabled);
    ini.WriteInteger("ROTATOR", "OFFSET", r.OFFSET);
    ini.WriteInteger("ROTATOR", "CORRECTION", r.CORRECTION);
    for (int band = 1; band < BandCount; ++band)
        ini.WriteInteger("ROTATOR", bandKey(band), r.RotatorBands[static_cast<std::size_t>(band)]);
    for (int k = 0; k < WindowIndex::Count; ++k) {
        const TWindowPos &place = r.WindowPos[static_cast<std::size_t>(k)];
        if (place.Top == 0 && place.Left == 0)
            continue;
        const std::int32_t values[] = {place.Left, place.Top, place.Height, place.Width};
        for (std::size_t i = 0; i < 4; ++i)
            ini.WriteInteger(windowSection(k), WindowKeys[i], values[i]);
    }
    ini.WriteInteger("W-PACK", "POSITION", r.PackSplit);
    ini.WriteInteger("W-RTTY", "POSITION", r.RttySplit);
    for (std::size_t c = 0; c < r.PACKETCOL.size(); ++c)
        ini.WriteInteger("PACKETCOL", "Col" + std::to_string(c), r.PACKETCOL[c]);
    if (r.Projection != 255)
        mapSettings(r, ValueWriter{ini, "MAP"});
    forEachValueSection(r, [&](const std::string &section, auto settings) { settings(ValueWriter{ini, section}); });
}

// --- merging ------------------------------------------------------------------------

/// The sections and keys the INI form knows, in lower case.
using KnownKeys = std::map<std::string, std::set<std::string>>;

KnownKeys knownKeys(const std::vector<SetupPage> &pages)
{
    KnownKeys known;
    auto add = [&known](std::string_view section, std::string_view key) {
        known[lowerAscii(section)].insert(lowerAscii(key));
    };
    for (const SetupPage &page : pages)
        for (const SetupControl &control : page.controls)
            if (control.iniKey)
                add(page.caption, control.name);
    for (const KeySection &keys : KeySections)
        for (int n = 1; n <= FunctionKeyCount; ++n)
            add(keys.name, functionKey(n));
    for (int band = 1; band < BandCount; ++band) {
        add("CWCUTOFF", bandKey(band));
        add("ROTATOR", bandKey(band));
    }
    for (const char *key : {"LASTLOG", "DISABLED"})
        add("SYSTEM", key);
    for (const char *key : {"OFFSET", "CORRECTION"})
        add("ROTATOR", key);
    for (int k = 0; k < WindowIndex::Count; ++k)
        for (const char *key : WindowKeys)
            add(windowSection(k), key);
    add("W-PACK", "POSITION");
    add("W-RTTY", "POSITION");
    for (int c = 0; c < 7; ++c)
        add("PACKETCOL", "Col" + std::to_string(c));
    const TConfigRecord &sample = BuiltInConfig();
    auto addAll = [&](std::string_view section) { return [&add, section](const char *key, const auto &, const auto &) { add(section, key); }; };
    mapSettings(sample, addAll("MAP"));
    forEachValueSection(sample, [&](const std::string &section, auto settings) { settings(addAll(section)); });
    return known;
}

void note(IniMergeReport &report, std::string text)
{
    if (report.notes.size() < MaxNotes)
        report.notes.push_back(std::move(text));
    else
        ++report.moreNotes;
}

/// The lines of an INI text as TIniFile reads them: where each key is, and what
/// does not belong to the INI form.
class LineIndex {
public:
    LineIndex(std::string_view text, const KnownKeys &known, IniMergeReport &report)
    {
        std::string section, sectionName;
        bool inSection = false;
        bool knownSection = false;
        ForEachIniLine(text, [&](int number, std::string_view line) {
            if (IsIniSectionLine(line)) {
                sectionName = line.substr(1, line.size() - 2);
                section = lowerAscii(sectionName);
                inSection = true;
                knownSection = known.contains(section);
                m_sections = true;
                if (!knownSection)
                    note(report, lineText(number) + "unknown section " + quoted(line) + " ignored");
                return;
            }
            const std::string_view key = line.substr(0, line.find('='));
            if (!inSection) {
                if (!Trim(line).empty())
                    note(report, lineText(number) + "text before the first section ignored");
                return;
            }
            if (!knownSection)
                return;
            if (!known.at(section).contains(lowerAscii(key))) {
                note(report, lineText(number) + "unknown key " + quoted(key) + " in [" + sectionName + "] ignored");
                return;
            }
            const std::string id = section + '\n' + lowerAscii(key);
            if (auto earlier = m_lines.find(id); earlier != m_lines.end())
                note(report, lineText(number) + quoted(key) + " repeats line " + std::to_string(earlier->second) +
                                 "; the value of line " + std::to_string(number) + " is taken");
            m_lines[id] = number;
        });
    }

    bool HasSections() const { return m_sections; }

    /// "line 12: " for a key that is in the text.
    std::string Where(std::string_view section, std::string_view key) const
    {
        auto it = m_lines.find(lowerAscii(section) + '\n' + lowerAscii(key));
        return it == m_lines.end() ? std::string() : lineText(it->second);
    }

    static std::string lineText(int number) { return "line " + std::to_string(number) + ": "; }
    static std::string quoted(std::string_view text)
    {
        return "\"" + std::string(text.substr(0, 40)) + (text.size() > 40 ? "...\"" : "\"");
    }

private:
    std::map<std::string, int> m_lines;
    bool m_sections = false;
};

/// Why a text cannot be an INI file, or nothing.
std::string damageOf(std::string_view text, const LineIndex &lines)
{
    if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos) {
        const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(zero), '\n');
        return "it holds binary data (a zero byte in line " + std::to_string(line) + ")";
    }
    if (!lines.HasSections())
        return Trim(text).empty() ? "it is empty" : "it holds no section (a line \"[name]\")";
    return {};
}

std::optional<std::int64_t> parseInteger(std::string_view text)
{
    text = Trim(text);
    if (text.size() > 1 && text[0] == '+')
        text.remove_prefix(1);
    std::int64_t number = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return number;
}

class SetupIniMerger {
public:
    SetupIniMerger(TConfigRecord &record, const TIniFile &ini, const LineIndex &lines, IniMergeReport &report)
        : r(record), m_ini(ini), m_lines(lines), m_report(report)
    {
    }

    void MergePage(const SetupPage &page)
    {
        for (const SetupControl &control : page.controls)
            if (control.iniKey && present(page.caption, control.name))
                mergeControl(page.caption, control);
    }

private:
    bool present(std::string_view section, std::string_view key) const { return !m_lines.Where(section, key).empty(); }

    void ignored(std::string_view section, std::string_view key, std::string_view why)
    {
        note(m_report, m_lines.Where(section, key) + "[" + std::string(section) + "] " + std::string(key) + "=" +
                           LineIndex::quoted(m_ini.ReadString(section, key, "")) + " ignored: " + std::string(why));
    }

    void mergeControl(const std::string &section, const SetupControl &control)
    {
        const std::string text = m_ini.ReadString(section, control.name, "");
        switch (control.kind) {
        case ControlKind::Text: control.set(r, text); return;
        case ControlKind::Integer:
        case ControlKind::Check: {
            const std::optional<std::int64_t> number = parseInteger(text);
            if (!number)
                return ignored(section, control.name, "not a whole number");
            if (control.kind == ControlKind::Check)
                return control.set(r, std::int64_t{*number != 0});
            if (!control.InRange(static_cast<double>(*number)))
                return ignored(section, control.name, control.RangeMessage());
            return control.set(r, *number);
        }
        case ControlKind::Real: {
            const double number = m_ini.ReadFloat(section, control.name, NAN);
            if (std::isnan(number))
                return ignored(section, control.name, "not a number");
            if (!control.InRange(number))
                return ignored(section, control.name, control.RangeMessage());
            return control.set(r, number);
        }
        case ControlKind::Choice:
        case ControlKind::TextChoice: {
            const int item = control.FindItem(text);
            if (item < 0)
                return ignored(section, control.name, "not one of its choices");
            return control.SetItem(r, item);
        }
        case ControlKind::CheckList: {
            auto marks = std::get<std::vector<bool>>(control.get(r));
            for (std::size_t i = 0; i < marks.size() && i < text.size(); ++i)
                marks[i] = text[i] == 'Y';
            return control.set(r, marks);
        }
        }
    }

    /// A number with the default for a missing key; a value that is no number or does
    /// not fit the setting gives the default too.
    template <typename Field>
    void mergeNumber(std::string_view section, std::string_view key, std::int64_t fallback, Field &field)
    {
        std::int64_t value = fallback;
        if (present(section, key)) {
            const auto [low, high] = TypeRange<Field>();
            const std::optional<std::int64_t> number = parseInteger(m_ini.ReadString(section, key, ""));
            if (!number || *number < low || *number > high)
                ignored(section, key, "not a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
                                          "; " + std::to_string(fallback) + " taken");
            else
                value = *number;
        }
        AssignNumber(field, value);
    }

    auto valueMerger(std::string section)
    {
        return [this, section](const char *key, const auto &fallback, auto &field) {
            using Field = std::remove_cvref_t<decltype(field)>;
            if constexpr (requires { Field::capacity; })
                field = m_ini.ReadString(section, key, fallback);
            else if constexpr (std::is_same_v<Field, LeF64>)
                field = m_ini.ReadFloat(section, key, 0.0);
            else
                mergeNumber(section, key, fallback, field);
        };
    }

    void mergeFunctionKeys()
    {
        for (const KeySection &keys : KeySections)
            for (int n = 1; n <= FunctionKeyCount; ++n)
                if (present(keys.name, functionKey(n)))
                    (r.*keys.keys)[static_cast<std::size_t>(n - 1)] = m_ini.ReadString(keys.name, functionKey(n), "");
    }

    void mergeCutoffs()
    {
        for (int band = 1; band < BandCount; ++band) {
            const double kHz = m_ini.ReadFloat("CWCUTOFF", bandKey(band), NAN);
            if (std::isfinite(kHz) && kHz >= 0 && kHz <= 1e9)
                r.Personal_CWcutoff[static_cast<std::size_t>(band)] = kHz;
            else if (present("CWCUTOFF", bandKey(band)))
                ignored("CWCUTOFF", bandKey(band), "not a frequency in kHz");
        }
    }

    void mergeSystem()
    {
        r.LASTLOG = m_ini.ReadString("SYSTEM", "LASTLOG", "");
        const std::string disabled = m_ini.ReadString("SYSTEM", "DISABLED", "");
        for (std::size_t i = 0; i < r.TabDisabled.size(); ++i)
            r.TabDisabled[i] = i < disabled.size() && disabled[i] == 'Y';
    }

    void mergeRotator()
    {
        // Offset and correction are added to bearings: a hostile value must not overflow.
        for (auto [key, fallback, field] : {std::tuple{"OFFSET", 90, &r.OFFSET}, std::tuple{"CORRECTION", 0, &r.CORRECTION}}) {
            mergeNumber("ROTATOR", key, fallback, *field);
            if (*field < -360 || *field > 360) {
                ignored("ROTATOR", key, "not from -360 to 360; " + std::to_string(fallback) + " taken");
                *field = fallback;
            }
        }
        // Every band value the rotator knows: 0 disabled, 1 normal, 2 with offset, 3 reverse.
        for (int band = 1; band < BandCount; ++band) {
            if (!present("ROTATOR", bandKey(band)))
                continue;
            const std::optional<std::int64_t> value = parseInteger(m_ini.ReadString("ROTATOR", bandKey(band), ""));
            if (value && *value >= 0 && *value <= 3)
                r.RotatorBands[static_cast<std::size_t>(band)] = static_cast<std::uint8_t>(*value);
            else
                ignored("ROTATOR", bandKey(band), "not a band setting from 0 to 3");
        }
    }

    void mergeWindows()
    {
        for (int k = 0; k < WindowIndex::Count; ++k) {
            const std::string section = windowSection(k);
            TWindowPos &place = r.WindowPos[static_cast<std::size_t>(k)];
            LeI32 *fields[] = {&place.Left, &place.Top, &place.Height, &place.Width};
            for (std::size_t i = 0; i < 4; ++i) {
                if (!present(section, WindowKeys[i]))
                    continue;
                const std::int64_t low = i < 2 ? -MaxWindowCoordinate : 0; // no negative sizes
                const std::optional<std::int64_t> value = parseInteger(m_ini.ReadString(section, WindowKeys[i], ""));
                if (value && *value >= low && *value <= MaxWindowCoordinate)
                    *fields[i] = static_cast<std::int32_t>(*value);
                else
                    ignored(section, WindowKeys[i], "not from " + std::to_string(low) + " to " +
                                                        std::to_string(MaxWindowCoordinate));
            }
        }
    }

    void mergeSplit(std::string_view section, LeI32 &split)
    {
        if (!present(section, "POSITION"))
            return; // the section may hold only the window's place
        mergeNumber(section, "POSITION", 50, split);
        if (split < 5 || split > 95)
            split = 50;
    }

public:
    /// The sections of settings no page shows. Within a section a missing key takes
    /// its default; a section missing altogether leaves its settings as they are, so
    /// that a file holding a few sections does not reset the others.
    void MergeSpecialSections()
    {
        mergeFunctionKeys();
        mergeCutoffs();
        forEachValueSection(r, [this](const std::string &section, auto settings) {
            if (m_ini.SectionExists(section))
                settings(valueMerger(section));
        });
        if (m_ini.SectionExists("MAP"))
            mapSettings(r, valueMerger("MAP"));
        if (m_ini.SectionExists("SYSTEM"))
            mergeSystem();
        if (m_ini.SectionExists("Personal")) {
            // The page took the cutoffs that are there; missing ones go back to their default.
            if (!present("Personal", "WorkedCutoff"))
                r.WorkedCutoff = 10000;
            if (!present("Personal", "MailedCutoff"))
                r.MailedCutoff = 10000;
        }
        if (m_ini.SectionExists("ROTATOR"))
            mergeRotator();
        mergeWindows();
        mergeSplit("W-PACK", r.PackSplit);
        mergeSplit("W-RTTY", r.RttySplit);
        if (m_ini.SectionExists("PACKETCOL"))
            for (std::size_t c = 0; c < r.PACKETCOL.size(); ++c)
                mergeNumber("PACKETCOL", "Col" + std::to_string(c), 0, r.PACKETCOL[c]);
        if (r.PSK31.KEYING > 10)
            r.PSK31.KEYING = 1;
    }

private:
    TConfigRecord &r;
    const TIniFile &m_ini;
    const LineIndex &m_lines;
    IniMergeReport &m_report;
};

} // namespace

std::string IniMergeReport::Text() const
{
    if (!damage.empty())
        return "The INI file was not merged: " + damage + ".";
    std::string text;
    for (const std::string &line : notes)
        text += (text.empty() ? "" : "\r") + line;
    if (moreNotes > 0)
        text += "\r... and " + std::to_string(moreNotes) + " more";
    return text;
}

void WriteSetupIni(const TConfigRecord &record, const std::vector<SetupPage> &pages, TIniFile &ini)
{
    for (const SetupPage &page : pages)
        for (const SetupControl &control : page.controls)
            if (control.iniKey)
                ini.WriteString(page.caption, control.name, controlText(control, record));
    writeSpecialSections(record, ini);
}

void WriteSetupIniFile(const TConfigRecord &record, const std::vector<SetupPage> &pages, const std::string &fileName)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path parent = fs::path(fileName).parent_path();
    if (!parent.empty())
        fs::create_directories(parent, ec);
    if (ec)
        throw EFileError("Cannot create the folder " + parent.string() + ": " + ec.message());
    // Made in memory: an existing file's contents are replaced, not merged with.
    TIniFile ini;
    WriteSetupIni(record, pages, ini);
    const std::string text = ini.Text();
    WriteWholeFile(fileName, std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()),
                   record.DefQSO_Cycle);
}

IniMergeReport MergeSetupIni(TConfigRecord &record, const std::vector<SetupPage> &pages, std::string_view text)
{
    IniMergeReport report;
    const LineIndex lines(text, knownKeys(pages), report);
    report.damage = damageOf(text, lines);
    if (!report.damage.empty()) {
        report.notes.clear();
        report.moreNotes = 0;
        return report;
    }
    TIniFile ini;
    ini.LoadText(text);
    TConfigRecord merged = record;
    SetupIniMerger merger(merged, ini, lines, report);
    for (const SetupPage &page : pages)
        merger.MergePage(page);
    merger.MergeSpecialSections();
    ClampStringLengths(merged);
    ClampSettings(merged);
    record = merged;
    return report;
}

IniMergeReport MergeSetupIniFile(TConfigRecord &record, const std::vector<SetupPage> &pages, const std::string &fileName)
{
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadWholeFile(fileName);
    } catch (const EFileError &e) {
        IniMergeReport report;
        report.damage = std::string("it cannot be read (") + e.what() + ")";
        return report;
    }
    return MergeSetupIni(record, pages, std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
}

} // namespace vellum
