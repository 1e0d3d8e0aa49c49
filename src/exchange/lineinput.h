#pragma once
// The read position over a text file of a filter: lines ended by CR LF, LF or a
// lone CR, at most 255 characters kept of each (or any other capacity); a
// Ctrl-Z ends the input as it ends old DOS text files.

#include <cstddef>
#include <string_view>

namespace vellum {

/// The most characters of a line a filter reads.
inline constexpr std::size_t FilterLineCapacity = 255;

struct TextLine {
    std::string_view text; ///< at most the input's capacity of characters, without its line end
    bool cut = false;      ///< the line was longer and lost its characters past the capacity
};

class LineInput {
public:
    explicit LineInput(std::string_view bytes, std::size_t capacity = FilterLineCapacity);

    /// Reads the next line; false at the end of the input.
    bool Next(TextLine &line);
    bool AtEnd() const { return m_position >= m_end; }
    std::size_t Position() const { return m_position; }
    std::size_t Size() const { return m_end; }

private:
    std::string_view m_bytes;
    std::size_t m_end;
    std::size_t m_capacity;
    std::size_t m_position = 0;
};

} // namespace vellum
