#pragma once
// Field types of byte-image records that are read and written as whole memory
// images: little-endian numbers and one-byte flags held as bytes, so that a
// record made of them has alignment 1, no padding, and the same bytes on every
// machine. Reading a field assembles its value from the bytes; nothing is cast.

#include <array>
#include <bit>
#include <cstdint>
#include <type_traits>

namespace vellum {

/// A little-endian integer or double held as sizeof(T) bytes.
template <typename T>
class LittleEndian {
    static_assert(std::is_arithmetic_v<T>, "numbers only");
    using Bits = std::conditional_t<sizeof(T) == 2, std::uint16_t,
                                    std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>;
    static_assert(sizeof(Bits) == sizeof(T));

public:
    using value_type = T;

    LittleEndian() = default;
    LittleEndian(T value) { set(value); } // NOLINT: implicit, so fields take plain numbers

    T get() const
    {
        Bits bits = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            bits = static_cast<Bits>(bits | (static_cast<Bits>(m_bytes[i]) << (8 * i)));
        return std::bit_cast<T>(bits);
    }
    void set(T value)
    {
        const auto bits = std::bit_cast<Bits>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i)
            m_bytes[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
    operator T() const { return get(); } // NOLINT: implicit on purpose
    LittleEndian &operator=(T value)
    {
        set(value);
        return *this;
    }

private:
    std::array<std::uint8_t, sizeof(T)> m_bytes{};
};

using LeU16 = LittleEndian<std::uint16_t>;
using LeI32 = LittleEndian<std::int32_t>;
using LeF64 = LittleEndian<double>;

/// A one-byte flag: 0 off, anything else on. The byte is kept as stored.
class ByteBool {
public:
    ByteBool() = default;
    ByteBool(bool value) : m_byte(value ? 1 : 0) {} // NOLINT: implicit on purpose
    operator bool() const { return m_byte != 0; }    // NOLINT: implicit on purpose
    ByteBool &operator=(bool value)
    {
        m_byte = value ? 1 : 0;
        return *this;
    }
    std::uint8_t raw() const { return m_byte; }

private:
    std::uint8_t m_byte = 0;
};

/// Bytes whose meaning the program does not use; kept as read.
template <std::size_t Count>
using ReservedBytes = std::array<std::uint8_t, Count>;

static_assert(alignof(LeF64) == 1 && sizeof(LeF64) == 8);
static_assert(alignof(ByteBool) == 1 && sizeof(ByteBool) == 1);
static_assert(std::is_trivially_copyable_v<LeF64> && std::is_trivially_copyable_v<ByteBool>);

} // namespace vellum
