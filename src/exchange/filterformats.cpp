#include "filterformats.h"

#include "delimitedline.h"

#include "logstore/compare.h"

#include <array>
#include <string>

namespace vellum {

namespace {

using Names = std::vector<std::string_view>;

const Names PlainNames = {"?????", "String", "Number"};
const Names BandNames = {"160,80,40",   "16,80,40",       "Freq MHz",      "Freq KHz",  "160m, 10m lft",
                         "160, 10 lft", "1=10,2=15,3=20", "1=6,2=10,3=12", "1=160,2=80"};
const Names NoteNames = {"Store with Call", "Store with QSO", "Note follows QSO"};
const Names QslMethodNames = {"VELLUM", "DXBASE"};
const Names ModeNames = {"CW,PHO,FSK",       "CW,SSB,RTT",        "1=CW,2=FSK,3=PHO",
                         "0=CW,1=PHO,2=FSK", "C=CW,P=PHO,R=FSK",  " CW,SSB,RTT rght",
                         "C=CW,S=PHO,R=RTTY", "0=USB,1=LSB,2=CW", "SSB,AM,FM,PSK3"};
const Names YesNoNames = {"Y/N", "1/0"};
const Names AwardNames = {"Y/N/*", "1/0/*", "0/1/2", "Logwin"};
const Names SatelliteNames = {"Flag", "VELLUM", "DXBASE"};
const Names StateNames = {"CA, VA", "CA, LAX", "Spokane, WA"};
const Names TimeNames = {"HH:MM", "HHMM", "HHMMSS"};

constexpr std::array<DateLayout, DateFormatCount> DateLayouts = {{
    {"YYMMDD", 6, 1, 2, 3, 2, 5, 2},       {"YYYYMMDD", 8, 1, 4, 5, 2, 7, 2},
    {"MM/DD/YY", 8, 7, 2, 1, 2, 4, 2},     {"MM/DD/YYYY", 10, 7, 4, 1, 2, 4, 2},
    {"DD/MM/YY", 8, 7, 2, 4, 2, 1, 2},     {"DD/MM/YYYY", 10, 7, 4, 4, 2, 1, 2},
    {"DD-Mon-YY", 9, 8, 2, 4, 3, 1, 2},    {"DD-Mon-YYYY", 11, 8, 4, 4, 3, 1, 2},
    {"Mon-DD-YY", 9, 8, 2, 1, 3, 5, 2},    {"Mon-DD-YYYY", 11, 8, 4, 1, 3, 5, 2},
    {"DDMMYY", 6, 5, 2, 3, 2, 1, 2},       {"DDMMYYYY", 8, 5, 4, 3, 2, 1, 2},
    {"DDMMM-YY", 8, 7, 2, 3, 3, 1, 2},     {"YY\\MM\\DD", 8, 1, 2, 4, 2, 7, 2},
    {"MMDDYY", 6, 5, 2, 1, 2, 3, 2},       {"DDMonYY", 7, 6, 2, 3, 3, 1, 2},
    {"YYYY-MM-DD", 10, 1, 4, 6, 2, 9, 2},
}};

Names dateNames(bool withFlag)
{
    Names names;
    for (const DateLayout &layout : DateLayouts)
        names.emplace_back(layout.name);
    if (withFlag)
        names.emplace_back("Flag QSO date");
    return names;
}

std::optional<int> bandLength(int format)
{
    static constexpr std::array<int, 9> lengths = {3, 2, 0, 0, 4, 3, 1, 2, 2};
    if (format < 0 || format >= static_cast<int>(lengths.size()) || lengths[static_cast<std::size_t>(format)] == 0)
        return std::nullopt;
    return lengths[static_cast<std::size_t>(format)];
}

std::optional<int> modeLength(int format)
{
    if (format == ModeFormat::CwPhoFsk || format == ModeFormat::CwSsbRtt || format == ModeFormat::RightAligned)
        return 3;
    return format == ModeFormat::ModeName ? 4 : 1;
}

} // namespace

std::vector<std::string_view> FormatNames(int field)
{
    if (field < 0 || field >= ImportFieldCount)
        return {};
    switch (ImportFieldNames[static_cast<std::size_t>(field)].kind) {
    case FieldKind::Plain: return PlainNames;
    case FieldKind::Band: return BandNames;
    case FieldKind::Date: return dateNames(false);
    case FieldKind::QslDate: return dateNames(true);
    case FieldKind::Note: return NoteNames;
    case FieldKind::QslMethod: return QslMethodNames;
    case FieldKind::Mode: return ModeNames;
    case FieldKind::YesNo: return YesNoNames;
    case FieldKind::AwardFlag: return AwardNames;
    case FieldKind::Satellite: return SatelliteNames;
    case FieldKind::State: return StateNames;
    case FieldKind::Time: return TimeNames;
    }
    return {};
}

std::string_view FormatName(int field, int format)
{
    if (field < 0 || field >= ImportFieldCount)
        return "?????";
    const ImportFieldInfo &info = ImportFieldNames[static_cast<std::size_t>(field)];
    if (info.kind == FieldKind::Plain)
        return PlainNames[static_cast<std::size_t>(info.type)];
    Names names = FormatNames(field);
    return format >= 0 && format < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(format)] : "?????";
}

std::optional<int> FormatOfName(int field, std::string_view name)
{
    Names names = FormatNames(field);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (CompareNoCase(names[i], name) == 0)
            return static_cast<int>(i);
    return std::nullopt;
}

std::optional<int> FixedLength(int field, int format)
{
    if (field == ImportField::Zone)
        return 2;
    if (field < 0 || field >= ImportFieldCount)
        return std::nullopt;
    switch (ImportFieldNames[static_cast<std::size_t>(field)].kind) {
    case FieldKind::Band: return bandLength(format);
    case FieldKind::Date:
    case FieldKind::QslDate:
        if (format == FlagQsoDate && field == ImportField::QslDate)
            return 1;
        if (const DateLayout *layout = DateLayoutOf(format))
            return layout->length;
        return std::nullopt;
    case FieldKind::QslMethod:
    case FieldKind::YesNo:
    case FieldKind::AwardFlag:
    case FieldKind::Satellite: return 1;
    case FieldKind::Mode: return modeLength(format);
    case FieldKind::State:
        if (format == StateFormat::CountyState)
            return std::nullopt;
        return format == StateFormat::Section ? 3 : 2;
    case FieldKind::Time: return format == TimeFormat::Colon ? 5 : format == TimeFormat::HourMinute ? 4 : 6;
    case FieldKind::Plain:
    case FieldKind::Note: return std::nullopt;
    }
    return std::nullopt;
}

const DateLayout *DateLayoutOf(int format)
{
    return format >= 0 && format < DateFormatCount ? &DateLayouts[static_cast<std::size_t>(format)] : nullptr;
}

std::vector<std::string> FilterProblems(const ImportFilter &filter)
{
    std::vector<std::string> problems;
    for (int field = 0; field < ImportFieldCount; ++field) {
        const FieldSpec &spec = filter.FieldSpecs[static_cast<std::size_t>(field)];
        if (spec.position == 0)
            continue;
        std::string name = ImportFieldNames[static_cast<std::size_t>(field)].name;
        const ImportFieldInfo &info = ImportFieldNames[static_cast<std::size_t>(field)];
        if (info.kind != FieldKind::Plain && spec.format >= FormatNames(field).size())
            problems.push_back(name + ": format " + std::to_string(spec.format) + " is not one of its formats");
        if (spec.length == 0)
            problems.push_back(name + " at column " + std::to_string(spec.position) + " has a length of 0");
        else if (spec.position + spec.length - 1 > 255 && !IsDelimitedFilter(filter)) // delimited: columns are order
            problems.push_back(name + " at column " + std::to_string(spec.position) + " with length " +
                               std::to_string(spec.length) + " runs past column 255");
    }
    return problems;
}

std::vector<std::string> ColumnAllocation(const ImportFilter &filter)
{
    std::vector<std::string> lines;
    lines.reserve(255);
    for (int column = 1; column <= 255; ++column) {
        std::string text = std::to_string(column);
        text.insert(0, 3 - text.size(), ' ');
        text += ' ';
        bool first = true;
        for (int field = 0; field < ImportFieldCount; ++field) {
            const FieldSpec &spec = filter.FieldSpecs[static_cast<std::size_t>(field)];
            if (spec.position == 0 || column < spec.position || column >= spec.position + spec.length)
                continue;
            text += first ? "" : " Also ";
            text += ImportFieldNames[static_cast<std::size_t>(field)].name;
            first = false;
        }
        lines.push_back(std::move(text));
    }
    return lines;
}

} // namespace vellum
