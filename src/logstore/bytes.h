#pragma once
// Bounds-checked little-endian readers and writers for the fixed-layout
// records that every file of the program is made of.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

/// Raised when a record or file ends before the bytes a reader needs.
class ShortRead : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Whether `count` records of at least `recordSize` bytes each fit in `left`
/// bytes (without overflowing, however large the count a file claims).
constexpr bool RecordsFit(std::uint64_t count, std::uint64_t recordSize, std::uint64_t left)
{
    return recordSize == 0 || count <= left / recordSize;
}

/// The message of a count that cannot be right: "the file claims 5 QSOs of at
/// least 75 bytes at byte 12, but only 40 bytes follow".
std::string RecordsOverrunText(std::string_view what, std::uint64_t count, std::uint64_t recordSize,
                               std::uint64_t offset, std::uint64_t left);

/// Reads fields from a span of bytes; every read past the end throws ShortRead.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    double f64();
    /// A string[capacity]: one length byte and `capacity` character bytes.
    /// A length byte above the capacity is clamped to it.
    std::string shortString(std::size_t capacity);
    void bytes(void *out, std::size_t count);
    void skip(std::size_t count);
    /// Checks a count read from the bytes before anything is reserved for it:
    /// throws ShortRead (RecordsOverrunText) unless `count` records of at least
    /// `recordSize` bytes fit in the bytes left. `what` names the records ("QSOs").
    void expectRecords(std::uint64_t count, std::uint64_t recordSize, std::string_view what) const;

    std::size_t offset() const { return m_offset; }
    std::size_t remaining() const { return m_bytes.size() - m_offset; }
    bool atEnd() const { return m_offset >= m_bytes.size(); }

private:
    void need(std::size_t count) const;
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_offset = 0;
};

/// Appends little-endian fields to a byte vector.
class ByteWriter {
public:
    explicit ByteWriter(std::vector<std::uint8_t> &out) : m_out(out) {}

    void u8(std::uint8_t v) { m_out.push_back(v); }
    void u16(std::uint16_t v);
    void u32(std::uint32_t v);
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f64(double v);
    /// Writes a string[capacity]; text longer than the capacity is cut, unused bytes are zero.
    void shortString(std::string_view text, std::size_t capacity);
    void bytes(const void *data, std::size_t count);
    void zeros(std::size_t count) { m_out.insert(m_out.end(), count, 0); }

private:
    std::vector<std::uint8_t> &m_out;
};

// In-place helpers for records kept as fixed byte images.
inline std::uint16_t loadU16(const std::uint8_t *p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t loadU32(const std::uint8_t *p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline void storeU16(std::uint8_t *p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void storeU32(std::uint8_t *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace vellum
