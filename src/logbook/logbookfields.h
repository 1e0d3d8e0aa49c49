#pragma once
// The 52 fields a logbook report can show: their names, widths and alignments,
// and the text of a QSO's cell in each.

#include "print/printsurface.h"

#include "logstore/daytime.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

class CustomAwardNames;
class TCountryData;
class TQsoData;
struct TQsoRec;

inline constexpr int LogbookFieldCount = 52;

struct LogbookFieldInfo {
    const char *name;
    int width; ///< characters; 0: the report's note width
    PrintAlign align;
};
extern const std::array<LogbookFieldInfo, LogbookFieldCount> LogbookFieldTable;

namespace LogbookField {
inline constexpr int Band = 4, Callsign = 5, CallsignNotes = 6, Date = 11, Mode = 22, Number = 23, QsoNotes = 29,
                     Time = 37;
}

/// The field with this name, ignoring case; -1 when none.
int LogbookFieldIndex(std::string_view name);
/// The field's width in characters: the note width for the two note fields, 6 for
/// "Band" with the band shown in MHz.
int LogbookFieldWidth(int field, int noteWidth, bool bandInMHz);
/// The width of the field's grid column: its width, or the name's length + 1 when larger.
int LogbookGridWidth(int field, int noteWidth, bool bandInMHz);

/// What the cells are made from besides the QSO.
struct LogbookSources {
    const TQsoData *log = nullptr;              ///< notes and group names
    const TCountryData *countries = nullptr;    ///< names of countries, states, counties, IOTA; managers
    const CustomAwardNames *awards = nullptr;   ///< long names of custom awards
    DateFormat dateFormat = DateFormat::MonthDayYear;
    bool bandInMHz = false;
};

/// The cells of a report's rows.
class LogbookCells {
public:
    LogbookCells(LogbookSources sources, int noteWidth) : m_sources(sources), m_noteWidth(noteWidth) {}
    /// The text of a field for a QSO (cp1252); rowNumber is its row, from 1. Tabs and
    /// line breaks of notes become blanks, so a cell never splits a row.
    std::string Cell(int field, const TQsoRec &qso, std::int64_t rowNumber) const;
    /// The cells of the columns joined by tabs.
    std::string Row(const std::vector<std::uint8_t> &columns, const TQsoRec &qso, std::int64_t rowNumber) const;
    const LogbookSources &Sources() const { return m_sources; }
    int NoteWidth() const { return m_noteWidth; }

private:
    std::string countryCell(int field, const TQsoRec &qso) const;
    std::string noteCell(std::string_view note) const;

    LogbookSources m_sources;
    int m_noteWidth;
};

} // namespace vellum
