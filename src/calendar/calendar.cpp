#include "calendar.h"

#include "logstore/bytes.h"
#include "logstore/compare.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace vellum {

namespace {

std::string_view noteOf(const std::uint8_t *record)
{
    const std::uint8_t *note = record + CalEventField::Note;
    return {reinterpret_cast<const char *>(note + 1), std::min<std::size_t>(note[0], CalEventField::NoteCapacity)};
}

bool beginsWithMagic(const std::vector<std::uint8_t> &bytes)
{
    return bytes.size() >= sizeof CalendarMagic && std::memcmp(bytes.data(), CalendarMagic, sizeof CalendarMagic) == 0;
}

/// A name beside fileName that no file has yet: "<file>.damaged", then "<file>.damaged-2", ...
std::string asideName(const std::string &fileName)
{
    std::string name = fileName + ".damaged";
    for (int n = 2; std::filesystem::exists(name); ++n)
        name = fileName + ".damaged-" + std::to_string(n);
    return name;
}

} // namespace

std::vector<std::uint8_t> CalEvent::Encode() const
{
    std::vector<std::uint8_t> record(CalEventField::Size, 0);
    storeU16(record.data() + CalEventField::StartDay, startDay);
    storeU16(record.data() + CalEventField::EndDay, endDay);
    std::size_t length = std::min(note.size(), CalEventField::NoteCapacity);
    record[CalEventField::Note] = static_cast<std::uint8_t>(length);
    std::memcpy(record.data() + CalEventField::Note + 1, note.data(), length);
    return record;
}

CalEvent CalEvent::Decode(const std::uint8_t *record)
{
    return {loadU16(record + CalEventField::StartDay), loadU16(record + CalEventField::EndDay),
            std::string(noteOf(record))};
}

int TCalCollection::CompareKeys(const std::uint8_t *a, const std::uint8_t *b) const
{
    if (int c = CompareNumbers(loadU16(a + CalEventField::StartDay), loadU16(b + CalEventField::StartDay)))
        return c;
    if (int c = CompareNumbers(loadU16(a + CalEventField::EndDay), loadU16(b + CalEventField::EndDay)))
        return c;
    return CompareExact(noteOf(a), noteOf(b));
}

// --- EventCalendar -------------------------------------------------------------

std::vector<CalEvent> EventCalendar::Events() const
{
    std::vector<CalEvent> events;
    events.reserve(static_cast<std::size_t>(Count()));
    for (std::int32_t i = 0; i < Count(); ++i)
        events.push_back(At(i));
    return events;
}

std::vector<std::string> EventCalendar::Notes() const
{
    std::vector<std::string> notes;
    for (std::int32_t i = 0; i < Count(); ++i)
        notes.emplace_back(noteOf(m_events.Get(i)));
    return notes;
}

std::vector<std::string> EventCalendar::NotesOn(std::uint16_t day) const
{
    std::vector<std::string> notes;
    for (std::int32_t i = 0; i < Count(); ++i)
        if (CalEvent event = At(i); event.Spans(day))
            notes.push_back(std::move(event.note));
    return notes;
}

bool EventCalendar::HasEventOn(std::uint16_t day) const
{
    for (std::int32_t i = 0; i < Count(); ++i)
        if (At(i).Spans(day))
            return true;
    return false;
}

std::optional<std::int32_t> EventCalendar::Add(std::uint16_t start, std::uint16_t end, std::string_view note)
{
    if (end < start)
        return std::nullopt;
    std::vector<std::uint8_t> record = CalEvent{start, end, std::string(note)}.Encode();
    return m_events.AddCopy(record.data());
}

void EventCalendar::Remove(std::int32_t index)
{
    if (index >= 0 && index < Count())
        m_events.DeleteAt(index);
}

std::int32_t EventCalendar::Cleanup(std::uint16_t today)
{
    std::int32_t removed = 0;
    while (!Empty() && At(0).endDay < today) {
        m_events.DeleteAt(0);
        ++removed;
    }
    return removed;
}

void EventCalendar::ReadBytes(const std::vector<std::uint8_t> &bytes)
{
    m_events.FreeAll();
    bool current = beginsWithMagic(bytes);
    TMemoryStream stream(bytes);
    if (current)
        stream.Seek(sizeof CalendarMagic, SeekOrigin::Begin);
    try {
        m_events.LoadFromStream(stream, !current);
        if (!stream.Eof())
            throw EReadError(std::to_string(stream.Remaining()) + " bytes follow the events");
    } catch (...) {
        m_events.FreeAll();
        throw;
    }
}

std::vector<std::uint8_t> EventCalendar::FileBytes() const
{
    TMemoryStream stream;
    stream.Write(CalendarMagic, sizeof CalendarMagic);
    m_events.SaveToStream(stream);
    return stream.Bytes();
}

// --- the file -------------------------------------------------------------------

std::string CalendarFileName() { return DataFileName(DataFile::Calendar); }

CalendarLoad LoadCalendarFile(EventCalendar &calendar, const std::string &fileName, bool keepAside)
{
    calendar.Clear();
    CalendarLoad load;
    if (!std::filesystem::exists(fileName))
        return load;
    try {
        calendar.ReadBytes(ReadWholeFile(fileName));
        load.state = CalendarFileState::Read;
        return load;
    } catch (const std::exception &error) { // EReadError, EFileError, ShortRead
        load.state = CalendarFileState::Damaged;
        load.reason = error.what();
    }
    if (keepAside) {
        std::string aside = asideName(fileName);
        std::error_code failed;
        std::filesystem::rename(fileName, aside, failed);
        if (!failed)
            load.keptAs = aside;
    }
    return load;
}

void SaveCalendarFile(const EventCalendar &calendar, const std::string &fileName, bool cycleFiles)
{
    if (calendar.Empty()) {
        std::error_code failed;
        std::filesystem::remove(fileName, failed);
        if (failed)
            throw EFileError("Cannot delete " + fileName + ": " + failed.message());
        return;
    }
    WriteWholeFile(fileName, calendar.FileBytes(), cycleFiles);
}

bool CalendarHasEventOn(const std::string &fileName, std::uint16_t day)
{
    EventCalendar calendar;
    return LoadCalendarFile(calendar, fileName, false).state == CalendarFileState::Read && calendar.HasEventOn(day);
}

} // namespace vellum
