#pragma once
// The events calendar: dated events with a note, kept in key order (start day,
// end day, note) in the file SAVE/VELLUM.CAL ("CALB" and the table of 46-byte
// records; a file without the magic has 2-byte counts and is read too).

#include "logstore/keyedtables.h"
#include "logstore/services.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

/// The event record, 46 bytes.
namespace CalEventField {
inline constexpr std::size_t StartDay = 0, EndDay = 2, Note = 4, Reserved = 45, Size = 46;
inline constexpr std::size_t NoteCapacity = 40;
static_assert(Reserved + 1 == Size);
} // namespace CalEventField

inline constexpr char CalendarMagic[4] = {'C', 'A', 'L', 'B'};

/// An event taken apart.
struct CalEvent {
    std::uint16_t startDay = 0;
    std::uint16_t endDay = 0;
    std::string note; ///< at most 40 characters (cut on encoding)

    bool Spans(std::uint16_t day) const { return startDay <= day && day <= endDay; }
    std::vector<std::uint8_t> Encode() const;
    static CalEvent Decode(const std::uint8_t *record);
    friend bool operator==(const CalEvent &, const CalEvent &) = default;
};

/// The events in key order: start day, end day, then the note's exact bytes.
class TCalCollection : public TOneIndex {
public:
    TCalCollection() : TOneIndex(CalEventField::Size) {}
    int CompareKeys(const std::uint8_t *a, const std::uint8_t *b) const override;
};

/// The calendar: its events and what the calendar window does with them.
class EventCalendar {
public:
    std::int32_t Count() const { return m_events.Count(); }
    bool Empty() const { return Count() == 0; }
    CalEvent At(std::int32_t index) const { return CalEvent::Decode(m_events.Get(index)); }
    std::vector<CalEvent> Events() const;
    /// The notes of all events, in table order.
    std::vector<std::string> Notes() const;
    /// The notes of the events that span day, in table order.
    std::vector<std::string> NotesOn(std::uint16_t day) const;
    bool HasEventOn(std::uint16_t day) const;
    void Clear() { m_events.FreeAll(); }

    /// Adds an event before any equal one; its index, or nothing when end is before start.
    std::optional<std::int32_t> Add(std::uint16_t start, std::uint16_t end, std::string_view note);
    void Remove(std::int32_t index);
    /// Removes the expired events (end before today) at the front of the table
    /// and returns how many went; an expired event after one that has not
    /// expired stays.
    std::int32_t Cleanup(std::uint16_t today);

    /// Reads the bytes of a calendar file, replacing the events; throws
    /// EReadError (the events then stay empty) when they are damaged.
    void ReadBytes(const std::vector<std::uint8_t> &bytes);
    /// "CALB" and the table.
    std::vector<std::uint8_t> FileBytes() const;

private:
    TCalCollection m_events;
};

namespace CalendarText {
inline constexpr const char *CheckDates = "Please check your dates";
inline constexpr const char *Damaged = "The calendar file is damaged";
} // namespace CalendarText

/// SAVE/VELLUM.CAL of the program directory.
std::string CalendarFileName();

enum class CalendarFileState { Missing, Read, Damaged };

struct CalendarLoad {
    CalendarFileState state = CalendarFileState::Missing;
    std::string reason;   ///< why a damaged file could not be read
    std::string keptAs;   ///< where a damaged file was put aside (empty when it was not moved)
};

/// Reads fileName into calendar. A missing file leaves it empty. A damaged one
/// leaves it empty too and, when keepAside is set, is renamed to
/// "<file>.damaged" (or "<file>.damaged-N") so that a later save cannot
/// overwrite what may still be rescued from it.
CalendarLoad LoadCalendarFile(EventCalendar &calendar, const std::string &fileName, bool keepAside);

/// Writes the calendar through a safe rewrite; an empty calendar deletes the
/// file instead. Throws EFileError naming the file; the old file is then untouched.
void SaveCalendarFile(const EventCalendar &calendar, const std::string &fileName, bool cycleFiles);

/// Whether the calendar file holds an event that spans day. A missing or
/// damaged file holds none.
bool CalendarHasEventOn(const std::string &fileName, std::uint16_t day);

} // namespace vellum
