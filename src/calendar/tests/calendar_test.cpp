// The events calendar: the event record, the table's order, the file in both
// layouts, cleanup, and the start-up check's look at the file.

#include "calendar/calendar.h"

#include "logstore/bytes.h"
#include "logstore/daytime.h"
#include "logstore/fileio.h"
#include "testsupport/command.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum {
namespace {

std::uint16_t day(int year, int month, int dayOfMonth) { return *DayNumber(year, month, dayOfMonth); }

/// The bytes of an old calendar file: no magic, 2-byte count.
std::vector<std::uint8_t> oldFile(const std::vector<CalEvent> &events)
{
    std::vector<std::uint8_t> bytes = {46, 0, static_cast<std::uint8_t>(events.size()), 0};
    for (const CalEvent &event : events) {
        std::vector<std::uint8_t> record = event.Encode();
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

TEST(CalendarTest, EventRecordLayoutAndNoteCut)
{
    CalEvent event{40000, 40002, std::string(50, 'n')};
    std::vector<std::uint8_t> record = event.Encode();
    ASSERT_EQ(record.size(), 46u);
    EXPECT_EQ(loadU16(record.data()), 40000);
    EXPECT_EQ(loadU16(record.data() + 2), 40002);
    EXPECT_EQ(record[4], 40) << "a note of more than 40 characters is stored cut to 40";
    EXPECT_EQ(CalEvent::Decode(record.data()).note, std::string(40, 'n'));

    record[4] = 200; // a damaged length byte never reads past the note
    EXPECT_EQ(CalEvent::Decode(record.data()).note.size(), 40u);
}

TEST(CalendarTest, OrderByStartEndNoteAndEqualEventsBothKept)
{
    EventCalendar calendar;
    calendar.Add(200, 300, "b");
    calendar.Add(100, 400, "z");
    calendar.Add(200, 250, "c");
    calendar.Add(200, 300, "a");
    std::int32_t first = *calendar.Add(200, 300, "a");
    EXPECT_EQ(calendar.Notes(), (std::vector<std::string>{"z", "c", "a", "a", "b"}));
    EXPECT_EQ(first, 2) << "the later-added of two equal events goes before the earlier";
    EXPECT_FALSE(calendar.Add(300, 299, "backwards")) << "an end before the start adds nothing";
    EXPECT_EQ(calendar.Count(), 5);
}

TEST(CalendarTest, SpansAcrossYearEnd)
{
    EventCalendar calendar;
    calendar.Add(day(2026, 12, 30), day(2027, 1, 2), "New year contest");
    calendar.Add(day(2027, 1, 2), day(2027, 1, 2), "One day");
    EXPECT_TRUE(calendar.NotesOn(day(2026, 12, 29)).empty());
    EXPECT_EQ(calendar.NotesOn(day(2026, 12, 31)), std::vector<std::string>{"New year contest"});
    EXPECT_EQ(calendar.NotesOn(day(2027, 1, 1)), std::vector<std::string>{"New year contest"});
    EXPECT_EQ(calendar.NotesOn(day(2027, 1, 2)), (std::vector<std::string>{"New year contest", "One day"}));
    EXPECT_TRUE(calendar.NotesOn(day(2027, 1, 3)).empty());
}

TEST(CalendarTest, CleanupRemovesOnlyExpiredEventsAtTheFront)
{
    EventCalendar calendar;
    calendar.Add(1, 5, "one");
    calendar.Add(2, 50, "two");
    calendar.Add(3, 4, "three");
    EXPECT_EQ(calendar.Cleanup(10), 1);
    EXPECT_EQ(calendar.Notes(), (std::vector<std::string>{"two", "three"}))
        << "(3..4) stays because (2..50) comes before it";
    calendar.Remove(0);
    EXPECT_EQ(calendar.Cleanup(10), 1);
    EXPECT_TRUE(calendar.Empty());
}

TEST(CalendarTest, FileRoundTripAndOldLayout)
{
    test::TempDir dir("calendar");
    std::string file = dir.file("VELLUM.CAL");
    EventCalendar calendar;
    calendar.Add(day(2026, 12, 31), day(2027, 1, 1), "Straight Key Night");
    calendar.Add(100, 100, "Day 100");
    SaveCalendarFile(calendar, file, false);
    std::vector<std::uint8_t> bytes = test::ReadFile(file);
    ASSERT_EQ(bytes.size(), 4u + 2 + 4 + 2 * 46);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "CALB");
    EXPECT_EQ(loadU16(bytes.data() + 4), 46);
    EXPECT_EQ(loadU32(bytes.data() + 6), 2u);

    EventCalendar back;
    EXPECT_EQ(LoadCalendarFile(back, file, true).state, CalendarFileState::Read);
    EXPECT_EQ(back.Events(), calendar.Events());

    // Without the magic: 2-byte counts; saving writes the current layout.
    test::WriteFile(file, oldFile({{300, 301, "old b"}, {200, 210, "old a"}}));
    EXPECT_EQ(LoadCalendarFile(back, file, true).state, CalendarFileState::Read);
    EXPECT_EQ(back.Notes(), (std::vector<std::string>{"old a", "old b"})) << "sorted after reading";
    SaveCalendarFile(back, file, false);
    bytes = test::ReadFile(file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "CALB");
    EXPECT_EQ(bytes.size(), 4u + 2 + 4 + 2 * 46);
}

TEST(CalendarTest, SavingNoEventsDeletesTheFile)
{
    test::TempDir dir("calendar");
    std::string file = dir.file("VELLUM.CAL");
    EventCalendar calendar;
    calendar.Add(100, 100, "x");
    SaveCalendarFile(calendar, file, false);
    EXPECT_TRUE(CalendarHasEventOn(file, 100));
    calendar.Remove(0);
    SaveCalendarFile(calendar, file, false);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_FALSE(CalendarHasEventOn(file, 100)) << "no file: no event";
}

TEST(CalendarTest, StartupCheckLooksAtTheGivenDayOnly)
{
    test::TempDir dir("calendar");
    std::string file = dir.file("VELLUM.CAL");
    EventCalendar calendar;
    calendar.Add(100, 100, "Day 100");
    SaveCalendarFile(calendar, file, false);
    EXPECT_FALSE(CalendarHasEventOn(file, 99));
    EXPECT_TRUE(CalendarHasEventOn(file, 100));
    EXPECT_FALSE(CalendarHasEventOn(file, 101));
}

TEST(CalendarTest, DamagedFilesAreReportedAndKeptAside)
{
    test::TempDir dir("calendar");
    std::string file = dir.file("VELLUM.CAL");
    EventCalendar calendar;
    calendar.Add(100, 100, "x");
    std::vector<std::uint8_t> good = calendar.FileBytes();

    struct Case {
        const char *what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<std::uint8_t> shortFile(good.begin(), good.end() - 1);
    std::vector<std::uint8_t> wrongSize = good;
    wrongSize[4] = 45;
    std::vector<std::uint8_t> hugeCount = good;
    hugeCount[9] = 0x7F;
    std::vector<std::uint8_t> trailing = good;
    trailing.push_back(0);
    for (const Case &c : {Case{"ends early", shortFile}, Case{"record size", wrongSize},
                          Case{"count beyond the file", hugeCount}, Case{"bytes after the events", trailing}}) {
        SCOPED_TRACE(c.what);
        test::WriteFile(file, c.bytes);
        EXPECT_FALSE(CalendarHasEventOn(file, 100));
        EXPECT_TRUE(std::filesystem::exists(file)) << "the start-up check leaves the file alone";
        CalendarLoad load = LoadCalendarFile(calendar, file, true);
        EXPECT_EQ(load.state, CalendarFileState::Damaged);
        EXPECT_FALSE(load.reason.empty());
        EXPECT_TRUE(calendar.Empty());
        EXPECT_FALSE(std::filesystem::exists(file));
        ASSERT_FALSE(load.keptAs.empty());
        EXPECT_EQ(test::ReadFile(load.keptAs), c.bytes) << "kept byte for byte";
    }
    EXPECT_TRUE(std::filesystem::exists(file + ".damaged-4")) << "earlier copies are not overwritten";
}

/// vellum-cli calendar on a program directory of its own; its output with its messages.
test::CommandRun calendarCli(const test::TempDir &dir, const std::string &arguments)
{
    return test::RunCommand(std::string(VELLUM_CLI) + " --dir " + dir.path() + " calendar " + arguments + " 2>&1");
}

TEST(CalendarTest, CommandLineAddAndList)
{
    test::TempDir dir("calendar-cli");
    std::filesystem::create_directories(dir.file("SAVE"));
    test::CommandRun run = calendarCli(dir, "add 2026-12-30 2027-01-02 'New year contest'");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "{\"added\":{\"start\":\"2026-12-30\",\"end\":\"2027-01-02\",\"note\":\"New year contest\"},"
                       "\"events\":1}\n");
    ASSERT_EQ(calendarCli(dir, "add 2027-01-02 2027-01-02 'Club meeting'").status, 0);
    EventCalendar saved;
    ASSERT_EQ(LoadCalendarFile(saved, dir.file("SAVE/VELLUM.CAL"), false).state, CalendarFileState::Read);
    EXPECT_EQ(saved.Count(), 2);

    EXPECT_EQ(calendarCli(dir, "list 2027-01-01").out,
              "[{\"start\":\"2026-12-30\",\"end\":\"2027-01-02\",\"note\":\"New year contest\"}]\n");
    EXPECT_EQ(calendarCli(dir, "list 2027-01-03").out, "[]\n");
    EXPECT_NE(calendarCli(dir, "list").out.find("Club meeting"), std::string::npos) << "without a day: every event";

    run = calendarCli(dir, "add 2027-01-05 2027-01-04 Backwards");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("Please check your dates"), std::string::npos) << run.out;
    EXPECT_EQ(calendarCli(dir, "add 2027-02-30 2027-03-01 x").status, 1) << "no such day";

    // A damaged file is reported and left as it is.
    test::WriteFile(dir.file("SAVE/VELLUM.CAL"), "CALB");
    run = calendarCli(dir, "add 2027-01-01 2027-01-01 x");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("The calendar file is damaged"), std::string::npos) << run.out;
    EXPECT_EQ(test::ReadFile(dir.file("SAVE/VELLUM.CAL")).size(), 4u);
}

} // namespace
} // namespace vellum
