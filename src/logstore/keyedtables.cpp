#include "keyedtables.h"

#include "bytes.h"
#include "compare.h"

#include <algorithm>
#include <cstring>

namespace vellum {

std::vector<std::uint8_t> MakeKey(std::string_view text)
{
    std::size_t length = std::min<std::size_t>(text.size(), 255);
    std::vector<std::uint8_t> key(length + 1);
    key[0] = static_cast<std::uint8_t>(length);
    if (length)
        std::memcpy(key.data() + 1, text.data(), length); // an empty view's data() may be null
    return key;
}

// --- TSortedCollection -----------------------------------------------------

int TSortedCollection::CompareKeys(const std::uint8_t *a, const std::uint8_t *b) const
{
    return CompareNoCase(ClampedKey(a), ClampedKey(b));
}

bool TSortedCollection::Search(const std::uint8_t *key, std::int32_t &position) const
{
    std::int32_t lo = 0, hi = Count() - 1;
    bool found = false;
    while (hi >= lo) {
        std::int32_t mid = lo + (hi - lo) / 2;
        int c = CompareKeys(KeyOf(Get(mid)), key);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0)
                found = true;
        }
    }
    position = lo;
    return found;
}

bool TSortedCollection::Search(std::string_view key, std::int32_t &position) const
{
    auto k = MakeKey(key);
    return Search(k.data(), position);
}

std::int32_t TSortedCollection::InsertSorted(Record *record)
{
    std::int32_t position = 0;
    Search(KeyOf(record), position);
    Insert(position, record);
    return position;
}

std::string TSortedCollection::KeyString(std::int32_t position) const
{
    return std::string(ClampedKey(Get(position)));
}

std::int32_t TSortedCollection::IndexOfKey(const std::uint8_t *key) const
{
    std::int32_t position = 0;
    return Search(key, position) ? position : -1;
}

std::int32_t TSortedCollection::IndexOfKey(std::string_view key) const
{
    auto k = MakeKey(key);
    return IndexOfKey(k.data());
}

std::uint32_t TSortedCollection::ReadCount(TStream &stream) const
{
    return OldCounts ? stream.ReadU16() : stream.ReadU32();
}

void TSortedCollection::SortIfOutOfOrder()
{
    auto less = [this](const Record *a, const Record *b) { return CompareKeys(KeyOf(a), KeyOf(b)) < 0; };
    if (std::is_sorted(begin(), end(), less))
        return;
    // Equal keys keep their file order, as if inserted one by one at the end of their run.
    std::stable_sort(items(), items() + Count(), less);
}

// --- owning tables ---------------------------------------------------------

void TOwningCollection::FreeAll()
{
    for (Record *record : *this)
        delete[] record;
    Clear();
}

void TOwningCollection::DeleteAt(std::int32_t position)
{
    Record *record = Get(position);
    Delete(position);
    delete[] record;
}

namespace {
Record *newRecord(const Record *source, std::size_t length)
{
    auto *record = new Record[length];
    std::memcpy(record, source, length);
    return record;
}
} // namespace

// --- TOneIndex -------------------------------------------------------------

void TOneIndex::LoadFromStream(TStream &stream, bool oldCounts)
{
    OldCounts = oldCounts;
    std::int64_t at = stream.Position();
    std::uint16_t size = stream.ReadU16();
    if (size != static_cast<std::uint16_t>(m_recSize))
        throw EReadError("table at offset " + std::to_string(at) + " has records of " + std::to_string(size) +
                         " bytes, expected " + std::to_string(m_recSize));
    std::uint32_t count = ReadCount(stream);
    stream.ExpectRecords(count, size, "table records");
    SetCapacity(Count() + static_cast<std::int64_t>(count));
    std::vector<Record> buffer(size);
    for (std::uint32_t i = 0; i < count; ++i) {
        stream.Read(buffer.data(), size);
        Add(newRecord(buffer.data(), size));
    }
    SortIfOutOfOrder();
}

void TOneIndex::SkipInStream(TStream &stream, bool oldCounts)
{
    std::uint16_t size = stream.ReadU16();
    std::uint32_t count = oldCounts ? stream.ReadU16() : stream.ReadU32();
    stream.ExpectRecords(count, size, "table records");
    stream.Seek(static_cast<std::int64_t>(size) * count, SeekOrigin::Current);
}

void TOneIndex::SaveToStream(TStream &stream) const
{
    stream.WriteU16(static_cast<std::uint16_t>(m_recSize));
    stream.WriteU32(static_cast<std::uint32_t>(Count()));
    for (const Record *record : *this)
        stream.Write(record, static_cast<std::size_t>(m_recSize));
}

std::int32_t TOneIndex::AddCopy(const Record *record)
{
    return InsertSorted(newRecord(record, static_cast<std::size_t>(m_recSize)));
}

void TOneIndex::CopyOut(std::int32_t position, Record *destination) const
{
    std::memcpy(destination, Get(position), static_cast<std::size_t>(m_recSize));
}

// --- TOneIndexTail ---------------------------------------------------------

void TOneIndexTail::LoadFromStream(TStream &stream, bool oldCounts)
{
    OldCounts = oldCounts;
    std::int64_t at = stream.Position();
    std::uint16_t fixed = stream.ReadU16();
    if (fixed != static_cast<std::uint16_t>(m_fixedSize))
        throw EReadError("table at offset " + std::to_string(at) + " has a fixed part of " + std::to_string(fixed) +
                         " bytes, expected " + std::to_string(m_fixedSize));
    std::uint32_t count = ReadCount(stream);
    stream.ExpectRecords(count, 2u + fixed + 1u, "table records");
    SetCapacity(Count() + static_cast<std::int64_t>(count));
    std::vector<Record> buffer(static_cast<std::size_t>(fixed) + 256);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::int64_t recordAt = stream.Position();
        std::uint16_t length = stream.ReadU16();
        if (length < fixed + 1u || length > fixed + 256u)
            throw EReadError("record " + std::to_string(i) + " at offset " + std::to_string(recordAt) +
                             " has a length of " + std::to_string(length) + " bytes");
        stream.Read(buffer.data(), length);
        if (buffer[fixed] != length - fixed - 1u)
            throw EReadError("record " + std::to_string(i) + " at offset " + std::to_string(recordAt) +
                             ": its tail length does not match its record length");
        Add(newRecord(buffer.data(), length));
    }
    SortIfOutOfOrder();
}

void TOneIndexTail::SkipInStream(TStream &stream, bool oldCounts)
{
    std::uint16_t fixed = stream.ReadU16();
    std::uint32_t count = oldCounts ? stream.ReadU16() : stream.ReadU32();
    stream.ExpectRecords(count, 2u + fixed + 1u, "table records");
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint16_t length = stream.ReadU16();
        if (length > stream.Remaining())
            throw EReadError("table record runs past the end of the file");
        stream.Seek(length, SeekOrigin::Current);
    }
}

void TOneIndexTail::SaveToStream(TStream &stream) const
{
    stream.WriteU16(static_cast<std::uint16_t>(m_fixedSize));
    stream.WriteU32(static_cast<std::uint32_t>(Count()));
    for (const Record *record : *this) {
        std::size_t length = RecLength(record);
        stream.WriteU16(static_cast<std::uint16_t>(length));
        stream.Write(record, length);
    }
}

std::int32_t TOneIndexTail::AddCopy(const Record *record)
{
    return InsertSorted(newRecord(record, RecLength(record)));
}

std::vector<std::uint8_t> TOneIndexTail::MakeRecord(const std::uint8_t *fixedPart, std::string_view tail) const
{
    std::vector<std::uint8_t> record(static_cast<std::size_t>(m_fixedSize));
    std::memcpy(record.data(), fixedPart, record.size());
    auto key = MakeKey(tail);
    record.insert(record.end(), key.begin(), key.end());
    return record;
}

void TOneIndexTail::CopyOut(std::int32_t position, Record *destination) const
{
    std::memcpy(destination, Get(position), RecLength(Get(position)));
}

std::vector<std::uint8_t> TOneIndexTail::RecordBytes(std::int32_t position) const
{
    const Record *record = Get(position);
    return {record, record + RecLength(record)};
}

std::int32_t TOneIndexTail::AddLines(const std::uint8_t *fixedPart, const std::vector<std::string> &lines)
{
    std::string tail;
    for (const auto &line : lines) {
        tail += line;
        tail += '\xFF';
    }
    if (tail.size() > 255)
        tail.resize(255);
    if (!tail.empty())
        tail.pop_back();
    auto record = MakeRecord(fixedPart, tail);
    return AddCopy(record.data());
}

void TOneIndexTail::GetLines(std::int32_t position, std::vector<std::string> &lines) const
{
    lines.clear();
    std::string_view tail = ShortStringAt(TailOf(position));
    std::size_t start = 0;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (static_cast<unsigned char>(tail[i]) == 0xFF) {
            lines.emplace_back(tail.substr(start, i - start));
            start = i + 1;
        }
    }
    if (start < tail.size())
        lines.emplace_back(tail.substr(start));
}

// --- TSel2 and TTwoIndex ---------------------------------------------------

void TSel2::DeleteItem(const Record *record)
{
    std::int32_t position = IndexOf(record);
    if (position >= 0)
        Delete(position);
}

void TTwoIndex::rebuildSecond()
{
    Second.Clear();
    Second.SetCapacity(Count());
    for (Record *record : *this)
        Second.InsertSorted(record);
}

void TTwoIndex::LoadFromStream(TStream &stream, bool oldCounts)
{
    TOneIndexTail::LoadFromStream(stream, oldCounts);
    rebuildSecond();
}

std::int32_t TTwoIndex::AddRecord(const Record *record)
{
    std::int32_t position = TOneIndexTail::AddCopy(record);
    Second.InsertSorted(Get(position));
    return position;
}

void TTwoIndex::DeleteAt(std::int32_t position)
{
    Second.DeleteItem(Get(position));
    TOwningCollection::DeleteAt(position);
}

void TTwoIndex::ClearAll()
{
    Second.Clear();
    FreeAll();
}

} // namespace vellum
