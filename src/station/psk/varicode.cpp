#include "varicode.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace vellum::psk {

namespace {

constexpr std::array<const char *, 128> Published = {
    "1010101011", "1011011011", "1011101101", "1101110111", "1011101011", "1101011111", "1011101111", "1011111101",
    "1011111111", "11101111",   "11101",      "1101101111", "1011011101", "11111",      "1101110101", "1110101011",
    "1011110111", "1011110101", "1110101101", "1110101111", "1101011011", "1101101011", "1101101101", "1101010111",
    "1101111011", "1101111101", "1110110111", "1101010101", "1101011101", "1110111011", "1011111011", "1101111111",
    "1",          "111111111",  "101011111",  "111110101",  "111011011",  "1011010101", "1010111011", "101111111",
    "11111011",   "11110111",   "101101111",  "111011111",  "1110101",    "110101",     "1010111",    "110101111",
    "10110111",   "10111101",   "11101101",   "11111111",   "101110111",  "101011011",  "101101011",  "110101101",
    "110101011",  "110110111",  "11110101",   "110111101",  "111101101",  "1010101",    "111010111",  "1010101111",
    "1010111101", "1111101",    "11101011",   "10101101",   "10110101",   "1110111",    "11011011",   "11111101",
    "101010101",  "1111111",    "111111101",  "101111101",  "11010111",   "10111011",   "11011101",   "10101011",
    "11010101",   "111011101",  "10101111",   "1101111",    "1101101",    "101010111",  "110110101",  "101011101",
    "101110101",  "101111011",  "1010101101", "111110111",  "111101111",  "111111011",  "1010111111", "101101101",
    "1011011111", "1011",       "1011111",    "101111",     "101101",     "11",         "111101",     "1011011",
    "101011",     "1101",       "111101011",  "10111111",   "11011",      "111011",     "1111",       "111",
    "111111",     "110111111",  "10101",      "10111",      "101",        "110111",     "1111011",    "1101011",
    "11011111",   "1011101",    "111010101",  "1010110111", "110111011",  "1010110101", "1011010111", "1110110101",
};

bool validWord(std::uint32_t bits, int length)
{
    if (!(bits & 1u) || !(bits >> (length - 1) & 1u))
        return false;
    for (int i = 0; i + 1 < length; ++i)
        if (!(bits >> i & 3u))
            return false;
    return true;
}

std::string text(std::uint32_t bits, int length)
{
    std::string word;
    for (int i = length - 1; i >= 0; --i)
        word += (bits >> i & 1u) ? '1' : '0';
    return word;
}

struct Table {
    std::array<std::string, 256> words;
    std::unordered_map<std::uint32_t, std::uint8_t> characters; ///< key: bits with a leading marker bit
    static std::uint32_t key(const std::string &word)
    {
        std::uint32_t k = 1;
        for (char c : word)
            k = k << 1 | (c == '1' ? 1u : 0u);
        return k;
    }
    Table()
    {
        for (std::size_t c = 0; c < Published.size(); ++c)
            words[c] = Published[c];
        for (std::size_t c = 0; c < Published.size(); ++c)
            characters[key(words[c])] = static_cast<std::uint8_t>(c);
        std::size_t next = 128;
        for (int length = 1; next < 256 && length < 20; ++length)
            for (std::uint32_t bits = 0; next < 256 && bits < (1u << length); ++bits) {
                std::string word = text(bits, length);
                if (!validWord(bits, length) || characters.count(key(word)))
                    continue;
                words[next] = word;
                characters[key(word)] = static_cast<std::uint8_t>(next);
                ++next;
            }
    }
};

const Table &table()
{
    static const Table t;
    return t;
}

constexpr int LongestWord = 20;

} // namespace

std::string_view VaricodeOf(std::uint8_t character) { return table().words[character]; }

std::string VaricodeBits(std::string_view text)
{
    std::string bits;
    for (char c : text) {
        bits += VaricodeOf(static_cast<std::uint8_t>(c));
        bits += "00";
    }
    return bits;
}

std::optional<std::uint8_t> VaricodeDecoder::Bit(bool one)
{
    if (one) {
        if (m_length == 0 && m_zeros < 2)
            return std::nullopt; // a word starts only after the two zeros that end another
        if (m_zeros == 1 && m_length > 0) { // a single zero inside a word
            m_word <<= 1;
            ++m_length;
        }
        m_zeros = 0;
        m_word = m_word << 1 | 1u;
        if (++m_length > LongestWord) // no word is that long: noise
            Reset();
        return std::nullopt;
    }
    if (++m_zeros < 2 || m_length == 0) {
        m_zeros = std::min(m_zeros, 2);
        return std::nullopt;
    }
    std::uint32_t key = (1u << m_length) | m_word;
    Reset();
    m_zeros = 2;
    auto found = table().characters.find(key);
    if (found == table().characters.end())
        return std::nullopt;
    return found->second;
}

} // namespace vellum::psk
