#pragma once
// Fixed-capacity length-prefixed strings (string[n]): a length byte and up to
// n single-byte characters of the Windows ANSI code page.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vellum {

template <std::size_t Capacity>
class ShortString {
    static_assert(Capacity > 0 && Capacity <= 255, "string[n] holds at most 255 characters");

public:
    static constexpr std::size_t capacity = Capacity;

    ShortString() = default;
    ShortString(std::string_view text) { assign(text); } // NOLINT: implicit on purpose

    /// Stores text, cut to the capacity; the unused bytes become zero.
    void assign(std::string_view text)
    {
        m_length = static_cast<std::uint8_t>(std::min(text.size(), Capacity));
        std::memcpy(m_chars.data(), text.data(), m_length);
        std::fill(m_chars.begin() + m_length, m_chars.end(), '\0');
    }
    ShortString &operator=(std::string_view text)
    {
        assign(text);
        return *this;
    }

    // A record copied whole from a file may carry a length byte above the
    // capacity: reads never go past the field.
    std::string_view view() const { return {m_chars.data(), size()}; }
    std::string str() const { return std::string(view()); }
    std::size_t size() const { return m_length <= Capacity ? m_length : Capacity; }
    bool empty() const { return m_length == 0; }
    const char *data() const { return m_chars.data(); }

    friend bool operator==(const ShortString &a, const ShortString &b) { return a.view() == b.view(); }
    friend bool operator==(const ShortString &a, std::string_view b) { return a.view() == b; }

private:
    std::uint8_t m_length = 0;
    std::array<char, Capacity> m_chars{};
};

/// The text of the short string (length byte + characters) at p.
inline std::string_view ShortStringAt(const std::uint8_t *p)
{
    return {reinterpret_cast<const char *>(p + 1), p[0]};
}

/// Upper-cases the letters a..z only, as call signs are held.
inline std::string UpperAscii(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

} // namespace vellum
