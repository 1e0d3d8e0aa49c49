#pragma once
// Addresses of QSL managers: the address table of the country data (a
// manager's call and its address lines, joined by the byte 0xFF), the look-up
// and replacement the QSO window uses, and the working copy of the address
// editor with its text import and export.

#include "countrydata.h"
#include "sortedrows.h"
#include "textimport.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

/// The address lines of a manager (the call compared ignoring case); empty when none is stored.
std::vector<std::string> ManagerAddress(const TCountryData &data, std::string_view call);
/// Stores the address lines of a manager (cut to the 254 characters a record holds),
/// replacing an address stored for the call, and marks the country data
/// modified. An empty call changes nothing.
void ReplaceManagerAddress(TCountryData &data, std::string_view call, const std::vector<std::string> &lines);

/// A manager and the lines of its address.
struct AddressRow {
    std::string call;
    std::vector<std::string> lines;
};
/// The table's order: call, ignoring case.
int CompareAddressRows(const AddressRow &a, const AddressRow &b);

/// The lines joined by 0xFF, as the record's tail holds them.
std::string JoinAddressLines(const std::vector<std::string> &lines);
/// The most characters the address editor takes for one address, line separators included.
inline constexpr std::size_t AddressEditorCapacity = 245;
/// The lines cut so that, joined, they hold at most capacity characters, without empty last lines.
std::vector<std::string> FitAddressLines(const std::vector<std::string> &lines, std::size_t capacity);

namespace AddressText {
inline constexpr const char *AlreadyListed = "Please change the manager\rbefore adding an entry";
inline constexpr const char *DeleteQuestion = "Do you want to DELETE existing addresses";
inline constexpr const char *EmptyListCall = "QQ0QQ";
inline constexpr const char *Noun = "Address";
} // namespace AddressText

/// The working copy of the address table; calls are unique (ignoring case).
class AddressRows : public SortedRows<AddressRow, CompareAddressRows> {
public:
    void Load(const TCountryData &data);
    /// Replaces the address table by the rows. Does not mark the data modified.
    void Apply(TCountryData &data) const;

    /// Adds call (upper-cased, cut to 12) with an empty address; returns its
    /// position, or -1 when the call is empty or already listed.
    std::int32_t AddCall(std::string_view call);
    /// Removes the row; when none is left, adds "QQ0QQ" so that the list is never empty.
    void DeleteRow(std::int32_t position);
    /// Sets the address of a row, cut to AddressEditorCapacity characters.
    void SetLines(std::int32_t position, const std::vector<std::string> &lines);
    /// The first row whose call is not less than text (ignoring case); the last
    /// row when none is; -1 for an empty list.
    std::int32_t FindCall(std::string_view text) const;

    /// One line per manager: the call in double quotes, then for each address
    /// line "," and the line in double quotes.
    std::string ExportText() const;
    /// Imports lines of fields separated by ","; a field that begins with a
    /// double quote runs to the next double quote. The first field is the call,
    /// the others are the address lines. A listed manager is replaced when its
    /// address differs, else skipped; others are added. A line without a call
    /// is an error.
    ImportReport Import(std::string_view text, bool deleteExisting, ProgressService *progress = nullptr);

    static const std::vector<ImportCount> &ReportCounts();
    static constexpr const char *DeleteQuestion = AddressText::DeleteQuestion;
    static constexpr const char *Noun = AddressText::Noun;
};

} // namespace vellum
