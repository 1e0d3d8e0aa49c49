#pragma once
// The import/export filter record that starts every import and export, and the
// table of the 45 fields a filter can place (whose names also name the entries
// of an import's error text). The ADIF code uses of a filter only its
// identifier (for the prefix map file), its default extension and its two note
// filters; the field layout serves the fixed-column text formats.

#include "logstore/shortstring.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace vellum {

/// The kinds of the filter fields: which list of formats applies to a field.
enum class FieldKind : std::uint8_t {
    Plain, Band, Date, QslDate, Note, QslMethod, Mode, YesNo, AwardFlag, Satellite, State, Time
};

/// The fixed type of a plain field, shown as "String" or "Number".
enum class PlainType : std::uint8_t { None, String, Number };

struct ImportFieldInfo {
    const char *name;
    FieldKind kind;
    PlainType type;
};

inline constexpr int ImportFieldCount = 45;
/// The field table, in record order ("Awd group" ... "Zone").
extern const std::array<ImportFieldInfo, ImportFieldCount> ImportFieldNames;

/// Positions of the fields in ImportFieldNames (and in a filter's FieldSpecs).
namespace ImportField {
enum : int {
    AwdGroup = 0, AwdValue = 1, AwdXAward = 2, Band = 3, Callsign = 4, Confrm = 5, County = 6, CountyAward = 7,
    Date = 8, DxccBandAward = 9, DxccMixedAward = 10, DxccModeAward = 11, DxccValid = 12, Grid = 13, Group = 14,
    Iota = 15, IotaAward = 16, Label = 17, Mode = 18, Note1 = 19, Note2 = 20, Note3 = 21, Prefix = 22, Qrp = 23,
    QslDate = 24, QslMethod = 25, Recvd = 26, RstR = 27, RstS = 28, Satellite = 29, State = 30, TenTen = 31,
    Time = 32, VuccAward = 33, WasBandAward = 34, WasMixedAward = 35, WasModeAward = 36, WazBandAward = 37,
    WazMixedAward = 38, WazModeAward = 39, WpxBandAward = 40, WpxMixedAward = 41, WpxModeAward = 42, YLop = 43,
    Zone = 44,
};
} // namespace ImportField

/// Where a filter places one field: first column (1..255, 0 = not used), format
/// (index into the format list of the field's kind) and length in characters.
struct FieldSpec {
    std::uint8_t position = 0;
    std::uint8_t format = 0;
    std::uint8_t length = 0;
};

/// Usage of a filter.
enum class FilterUsage : std::uint8_t { Import = 0, ImportExport = 1, BinaryImport = 2 };

/// One import/export filter as held in memory.
struct ImportFilter {
    ShortString<3> Ext;          ///< default extension of the data files
    std::uint8_t RecLen = 0;     ///< 0: exported lines lose trailing blanks; n: lines are n characters
    ShortString<8> Id;           ///< key of the filter list; names the prefix map file
    FilterUsage Usage = FilterUsage::Import;
    ShortString<30> Description;
    char DateChar = 0;
    std::int32_t Modified = 0;   ///< days since 1 January 1600
    ShortString<3> NoteExt;      ///< extension of the notes file; empty = none
    std::uint8_t FilterFreq = 0;   ///< note filter "Frequency"
    std::uint8_t FilterImport = 0; ///< note filter "Import from"
    std::uint8_t FilterDupes = 0;  ///< note filter "Duplicates" (kept, consulted by nothing)
    std::array<FieldSpec, ImportFieldCount> FieldSpecs{};
};

/// Whether the filter is an ADIF filter: its identifier begins with "ADIF".
bool IsAdifFilter(const ImportFilter &filter);

/// The built-in ADIF filter: identifier "ADIF", extension "ADI", usage
/// "Imp/Exp", both note filters off. Imports and exports run with it until the
/// filter list offers the user's own.
ImportFilter AdifFilter();

} // namespace vellum
