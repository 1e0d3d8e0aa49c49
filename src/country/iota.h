#pragma once
// IOTA references: the records of the IOTA table of the country data, and the
// working copy that the IOTA editor edits, with its text import and export.
// Entry 0 of the table is a placeholder that lists, exports and imports skip.

#include "countrydata.h"
#include "sortedrows.h"
#include "textimport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

/// An IOTA record taken apart; a position of 0, 0 stands for none.
struct IotaInfo {
    std::string reference; ///< two letters and three digits, no dash
    std::string name;      ///< up to 38 characters
    double longitude = 0;  ///< degrees, East positive
    double latitude = 0;   ///< degrees, North positive

    /// The record: fixed part of 41 bytes (reserved bytes zero) and the name.
    std::vector<std::uint8_t> Encode() const;
    static IotaInfo Decode(const std::uint8_t *record);
};

/// Whether text is two letters and three digits.
bool IsIotaReference(std::string_view text);
/// The reference as stored: blanks and a dash removed ("eu-005" gives "EU005"), upper case.
std::string NormalizeIotaReference(std::string_view text);
/// A reference as typed or imported, as stored: upper case, blanks out, and with a
/// dash the number padded to three digits ("eu-5" and "EU-05" give "EU005"; "EU5" too).
std::string NormalizeTypedIota(std::string_view text);
/// Whether the IOTA table holds any reference (entry 0 is a placeholder).
bool HasIotaReferences(const TKeyedTwoIndex &table);
/// Whether a stored-form reference may go into a QSO: well formed and, when the
/// table holds references, one of them. Without a table every well-formed one is taken.
bool AcceptableIota(const TKeyedTwoIndex &table, std::string_view reference, bool tableHasReferences);
/// A coordinate: a decimal number with a point, optionally followed by "N" or
/// "E" (kept) or "S" or "W" (made negative); nothing when it is empty,
/// unreadable, signed and suffixed at once, or larger than limit in size.
std::optional<double> ParseCoordinate(std::string_view text, double limit);

/// The table's order: reference, ignoring case.
int CompareIotaRows(const IotaInfo &a, const IotaInfo &b);

namespace IotaText {
inline constexpr const char *NewReference = "?????";
inline constexpr const char *NewName = "??Name??";
inline constexpr const char *DeleteQuestion = "Do you want to DELETE existing IOTA information";
inline constexpr const char *Noun = "IOTA";
} // namespace IotaText

/// The working copy of the IOTA table without its entry 0.
class IotaRows : public SortedRows<IotaInfo, CompareIotaRows> {
public:
    /// Takes the rows from entry 1 on, and entry 0 as it is.
    void Load(const TCountryData &data);
    /// Rebuilds the IOTA table: entry 0 as loaded (an empty placeholder when
    /// the table had none), then the rows. Does not mark the data modified.
    void Apply(TCountryData &data) const;

    /// The row the editor's Insert adds: "?????" named "??Name??" at 0, 0.
    static IotaInfo NewRow() { return {IotaText::NewReference, IotaText::NewName, 0, 0}; }
    /// The first row whose reference is not less than text (Count() when none is).
    std::int32_t FindKey(std::string_view text) const;

    /// One line per row: reference, ",", the name in double quotes, ",",
    /// latitude, ",", longitude, each with 3 decimals in at least 6 characters.
    std::string ExportText() const;
    /// Imports lines of reference, name (in double quotes or up to the next
    /// ","), latitude and longitude. A row with the same reference is replaced,
    /// others are added. Lines with a missing field, a reference that is not
    /// two letters and three digits or an unreadable coordinate are errors.
    ImportReport Import(std::string_view text, bool deleteExisting, ProgressService *progress = nullptr);

    static const std::vector<ImportCount> &ReportCounts();
    static constexpr const char *DeleteQuestion = IotaText::DeleteQuestion;
    static constexpr const char *Noun = IotaText::Noun;

private:
    std::vector<std::uint8_t> m_placeholder;
};

} // namespace vellum
