// Fuzz target: reading a calendar file from arbitrary bytes, then listing,
// cleaning up and writing the events back, as the calendar window does.

#include "calendar/calendar.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    vellum::EventCalendar calendar;
    try {
        calendar.ReadBytes(std::vector<std::uint8_t>(data, data + size));
    } catch (const std::exception &) {
        return 0; // a damaged file is reported and put aside, never used
    }
    (void)calendar.NotesOn(40000);
    (void)calendar.Events();
    (void)calendar.FileBytes();
    calendar.Add(40000, 40001, "x");
    calendar.Cleanup(40001);
    return 0;
}
