#pragma once
// The PSK31 alphabet: a code word per character, frequent characters short.
// Words start and end with 1 and hold no "00"; two zero bits end each word.
// Codes 0 to 127 are the published table; 128 to 255 (the rest of the code
// page) take the next free words in order of length.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vellum::psk {

/// The code word of a character as '0'/'1' text, without the two separating zeros.
std::string_view VaricodeOf(std::uint8_t character);

/// Decodes a stream of bits one at a time: a character comes out after its
/// word and the two zeros that end it; a word counts only after two zeros
/// (bits heard in the middle of a word are no character).
class VaricodeDecoder {
public:
    /// Takes the next bit; returns the character a word just ended with.
    std::optional<std::uint8_t> Bit(bool one);
    void Reset() { m_word = 0, m_length = 0, m_zeros = 0; }

private:
    std::uint32_t m_word = 0; ///< the bits of the word so far, first bit highest
    int m_length = 0;
    int m_zeros = 0;
};

/// The bits of a text: every character's word followed by "00".
std::string VaricodeBits(std::string_view text);

} // namespace vellum::psk
