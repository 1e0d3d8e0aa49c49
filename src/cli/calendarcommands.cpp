// vellum-cli calendar list | add: the events calendar of the program directory.

#include "cli.h"

#include "calendar/calendar.h"

#include "logstore/daytime.h"
#include "logstore/fileio.h"

#include <iostream>
#include <sstream>

namespace vellum::cli {

namespace {

const char *const CalendarUsage = "calendar list [YYYY-MM-DD] | calendar add START END TEXT  (dates YYYY-MM-DD)";

std::string eventJson(const CalEvent &event)
{
    return "{\"start\":" + JsonString(IsoDateText(event.startDay)) + ",\"end\":" + JsonString(IsoDateText(event.endDay)) +
           ",\"note\":" + JsonString(event.note) + "}";
}

/// The calendar file read for a command; a damaged file is an error and stays where it is.
void readCalendar(EventCalendar &calendar)
{
    CalendarLoad load = LoadCalendarFile(calendar, CalendarFileName(), false);
    if (load.state == CalendarFileState::Damaged)
        throw CliError(std::string(CalendarText::Damaged) + ": " + CalendarFileName() + ": " + load.reason);
}

/// The events that span the day, or all events without one.
int calendarList(CliContext &context)
{
    EventCalendar calendar;
    readCalendar(calendar);
    std::optional<std::uint16_t> day;
    if (context.args.size() > 1)
        day = IsoDateArgument(context.args[1]);
    std::ostringstream out;
    out << "[";
    bool first = true;
    for (const CalEvent &event : calendar.Events()) {
        if (day && !event.Spans(*day))
            continue;
        out << (first ? "" : ",") << eventJson(event);
        first = false;
    }
    std::cout << out.str() << "]\n";
    return 0;
}

int calendarAdd(CliContext &context)
{
    std::uint16_t start = IsoDateArgument(context.arg(1, "start date"));
    std::uint16_t end = IsoDateArgument(context.arg(2, "end date"));
    const std::string &text = context.arg(3, "text of the event");
    EventCalendar calendar;
    readCalendar(calendar);
    std::optional<std::int32_t> index = calendar.Add(start, end, text);
    if (!index)
        throw CliError(std::string(CalendarText::CheckDates) + ": the end is before the start");
    bool cycleFiles = context.services.settings && context.services.settings->cycleFiles();
    try {
        SaveCalendarFile(calendar, CalendarFileName(), cycleFiles);
    } catch (const EFileError &error) {
        throw CliError(error.what());
    }
    std::cout << "{\"added\":" << eventJson(calendar.At(*index)) << ",\"events\":" << calendar.Count() << "}\n";
    return 0;
}

int calendarCommand(CliContext &context)
{
    const std::string &sub = context.arg(0, CalendarUsage);
    if (sub == "list")
        return calendarList(context);
    if (sub == "add")
        return calendarAdd(context);
    throw CliError("calendar: unknown subcommand '" + sub + "' (" + CalendarUsage + ")");
}

} // namespace

VELLUM_CLI_COMMAND("calendar", CalendarUsage, calendarCommand);

} // namespace vellum::cli
