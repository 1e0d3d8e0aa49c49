#include "bytes.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vellum {

void ByteReader::need(std::size_t count) const
{
    if (count > remaining())
        throw ShortRead("need " + std::to_string(count) + " bytes at offset " + std::to_string(m_offset) +
                        ", only " + std::to_string(remaining()) + " left");
}

std::uint8_t ByteReader::u8()
{
    need(1);
    return m_bytes[m_offset++];
}

std::uint16_t ByteReader::u16()
{
    need(2);
    auto v = loadU16(m_bytes.data() + m_offset);
    m_offset += 2;
    return v;
}

std::uint32_t ByteReader::u32()
{
    need(4);
    auto v = loadU32(m_bytes.data() + m_offset);
    m_offset += 4;
    return v;
}

double ByteReader::f64()
{
    need(8);
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | m_bytes[m_offset + static_cast<std::size_t>(i)];
    m_offset += 8;
    return std::bit_cast<double>(bits);
}

std::string ByteReader::shortString(std::size_t capacity)
{
    need(capacity + 1);
    std::size_t length = std::min<std::size_t>(m_bytes[m_offset], capacity);
    std::string text(reinterpret_cast<const char *>(m_bytes.data() + m_offset + 1), length);
    m_offset += capacity + 1;
    return text;
}

void ByteReader::bytes(void *out, std::size_t count)
{
    need(count);
    if (count)
        std::memcpy(out, m_bytes.data() + m_offset, count);
    m_offset += count;
}

void ByteReader::skip(std::size_t count)
{
    need(count);
    m_offset += count;
}

void ByteReader::expectRecords(std::uint64_t count, std::uint64_t recordSize, std::string_view what) const
{
    if (!RecordsFit(count, recordSize, remaining()))
        throw ShortRead(RecordsOverrunText(what, count, recordSize, m_offset, remaining()));
}

std::string RecordsOverrunText(std::string_view what, std::uint64_t count, std::uint64_t recordSize,
                               std::uint64_t offset, std::uint64_t left)
{
    return "the file claims " + std::to_string(count) + " " + std::string(what) + " of at least " +
           std::to_string(recordSize) + " bytes at byte " + std::to_string(offset) + ", but only " +
           std::to_string(left) + " bytes follow";
}

void ByteWriter::u16(std::uint16_t v)
{
    m_out.push_back(static_cast<std::uint8_t>(v));
    m_out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void ByteWriter::u32(std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        m_out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void ByteWriter::f64(double v)
{
    auto bits = std::bit_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i)
        m_out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

void ByteWriter::shortString(std::string_view text, std::size_t capacity)
{
    std::size_t length = std::min(text.size(), capacity);
    m_out.push_back(static_cast<std::uint8_t>(length));
    m_out.insert(m_out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
    m_out.insert(m_out.end(), capacity - length, 0);
}

void ByteWriter::bytes(const void *data, std::size_t count)
{
    auto p = static_cast<const std::uint8_t *>(data);
    m_out.insert(m_out.end(), p, p + count);
}

} // namespace vellum
