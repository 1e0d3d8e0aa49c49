#pragma once
// Keyed tables of reference data: small byte records kept in key order and
// looked up by a lower-bound binary search. The key of a record is the short
// string at its start (or, for TSel2, the tail string after its fixed part).

#include "fileio.h"
#include "lists.h"
#include "shortstring.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

using Record = std::uint8_t;

/// Builds a search key: a short string (length byte + characters) of the text.
std::vector<std::uint8_t> MakeKey(std::string_view text);

/// A table of records kept in key order.
class TSortedCollection : public TMyList<Record> {
public:
    bool OldCounts = false; ///< record counts in streams are 16-bit

    /// Lower-bound search: position of the first record whose key is not less than key.
    bool Search(const std::uint8_t *key, std::int32_t &position) const;
    bool Search(std::string_view key, std::int32_t &position) const;
    /// Inserts before every record with an equal key; returns the position.
    std::int32_t InsertSorted(Record *record);
    std::string KeyString(std::int32_t position) const;
    std::int32_t IndexOfKey(const std::uint8_t *key) const;
    std::int32_t IndexOfKey(std::string_view key) const;
    /// A record count: 2 bytes when OldCounts is set, else 4.
    std::uint32_t ReadCount(TStream &stream) const;

    virtual const std::uint8_t *KeyOf(const Record *record) const { return record; }
    virtual int CompareKeys(const std::uint8_t *a, const std::uint8_t *b) const;
    /// The most characters a key holds; a damaged length byte above it is read as it.
    virtual std::size_t KeyCapacity() const { return 255; }
    /// The text of a key, its length clamped to KeyCapacity().
    std::string_view ClampedKey(const std::uint8_t *key) const
    {
        return {reinterpret_cast<const char *>(key + 1), std::min<std::size_t>(key[0], KeyCapacity())};
    }

protected:
    /// Checks a table just read: when its records are out of key order, sorts them.
    void SortIfOutOfOrder();
};

/// Base of the tables that own their records.
class TOwningCollection : public TSortedCollection {
public:
    ~TOwningCollection() override { FreeAll(); }
    void FreeAll();
    void DeleteAt(std::int32_t position);
};

/// Fixed-size records of RecSize bytes, owned.
class TOneIndex : public TOwningCollection {
public:
    explicit TOneIndex(std::int16_t recSize) : m_recSize(recSize) {}
    std::int16_t RecSize() const { return m_recSize; }
    std::size_t KeyCapacity() const override { return m_recSize > 1 ? static_cast<std::size_t>(m_recSize - 1) : 0; }

    /// Reads the record size, the count and the records (appended in file order).
    /// A record size other than RecSize, or a count larger than the bytes left,
    /// throws EReadError; records out of key order are sorted after reading.
    void LoadFromStream(TStream &stream, bool oldCounts);
    static void SkipInStream(TStream &stream, bool oldCounts);
    void SaveToStream(TStream &stream) const;
    std::int32_t AddCopy(const Record *record);
    void CopyOut(std::int32_t position, Record *destination) const;

private:
    std::int16_t m_recSize;
};

/// Records of a fixed part followed by a short string (the tail), owned.
class TOneIndexTail : public TOwningCollection {
public:
    explicit TOneIndexTail(std::int16_t fixedSize) : m_fixedSize(fixedSize) {}
    std::int16_t FixedSize() const { return m_fixedSize; }
    std::size_t KeyCapacity() const override { return m_fixedSize > 1 ? static_cast<std::size_t>(m_fixedSize - 1) : 0; }

    std::size_t RecLength(const Record *record) const { return static_cast<std::size_t>(m_fixedSize) + record[m_fixedSize] + 1; }
    virtual void LoadFromStream(TStream &stream, bool oldCounts);
    static void SkipInStream(TStream &stream, bool oldCounts);
    void SaveToStream(TStream &stream) const;
    /// Copies RecLength(record) bytes into a new record and inserts it.
    virtual std::int32_t AddCopy(const Record *record);
    /// Builds a record from a fixed part and a tail text (cut to 255 characters).
    std::vector<std::uint8_t> MakeRecord(const std::uint8_t *fixedPart, std::string_view tail) const;
    /// Copies the record out (RecLength bytes) into destination.
    void CopyOut(std::int32_t position, Record *destination) const;
    std::vector<std::uint8_t> RecordBytes(std::int32_t position) const;

    const std::uint8_t *TailOf(std::int32_t position) const { return Get(position) + m_fixedSize; }
    std::string TailString(std::int32_t position) const { return std::string(ShortStringAt(TailOf(position))); }

    /// Tail = the lines, each followed by 0xFF, cut to 255 characters, without the final 0xFF.
    std::int32_t AddLines(const std::uint8_t *fixedPart, const std::vector<std::string> &lines);
    /// Splits the tail at every 0xFF; a final piece is kept only when not empty.
    void GetLines(std::int32_t position, std::vector<std::string> &lines) const;

private:
    std::int16_t m_fixedSize;
};

/// The records of a TTwoIndex ordered by their tail; owns nothing.
class TSel2 : public TSortedCollection {
public:
    explicit TSel2(std::int16_t tailOffset) : m_tailOffset(tailOffset) {}
    const std::uint8_t *KeyOf(const Record *record) const override { return record + m_tailOffset; }
    std::size_t KeyCapacity() const override { return 255; } // a tail's length is its record's length
    /// Removes the entry that holds this very record.
    void DeleteItem(const Record *record);

private:
    std::int16_t m_tailOffset;
};

/// A TOneIndexTail with a second ordering by tail.
class TTwoIndex : public TOneIndexTail {
public:
    explicit TTwoIndex(std::int16_t fixedSize) : TOneIndexTail(fixedSize), Second(fixedSize) {}
    ~TTwoIndex() override { Second.Clear(); }

    void LoadFromStream(TStream &stream, bool oldCounts) override;
    std::int32_t AddRecord(const Record *record);
    std::int32_t AddCopy(const Record *record) override { return AddRecord(record); }
    void DeleteAt(std::int32_t position);
    void ClearAll();

    Record *ItemBySecond(std::int32_t position) const { return Second.Get(position); }
    const std::uint8_t *TailBySecond(std::int32_t position) const { return Second.KeyOf(Second.Get(position)); }
    std::string KeyBySecond(std::int32_t position) const { return std::string(ClampedKey(Second.Get(position))); }
    std::string TailStringBySecond(std::int32_t position) const { return std::string(ShortStringAt(TailBySecond(position))); }
    bool SearchSecond(std::string_view tail, std::int32_t &position) const { return Second.Search(tail, position); }
    std::int32_t IndexOfSecond(std::string_view tail) const { return Second.IndexOfKey(tail); }

    TSel2 Second;

private:
    void rebuildSecond();
};

} // namespace vellum
