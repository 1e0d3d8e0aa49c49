#pragma once
// The received text of a terminal: display lines wrapped at the terminal width,
// the receive rules of a TNC or cluster stream (bell, backspace, line ends,
// control bytes), the logical lines handed on for the spot list, and the
// scrollback capacity. The window only paints it.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

struct DisplayLine {
    enum Flag : std::uint8_t { Selected = 1, Continuation = 2 };
    std::string text; ///< cp1252
    std::uint8_t flags = 0;
    bool continuation() const { return flags & Continuation; }
};

class TerminalText {
public:
    /// The longest logical line kept for the spot list; bytes beyond it are counted and dropped.
    static constexpr std::size_t MaxLogicalLine = 4096;

    TerminalText();

    /// Every complete logical line (without its line end), for the spot list.
    void OnLine(std::function<void(const std::string &)> handler) { m_onLine = std::move(handler); }
    void OnBell(std::function<void()> handler) { m_onBell = std::move(handler); }
    void SetHandLinesOn(bool on) { m_handLinesOn = on; }
    void SetCapacity(std::size_t lines) { m_capacity = lines < 10 ? 10 : lines; }
    std::size_t Capacity() const { return m_capacity; }
    /// The width in characters; all lines are wrapped again.
    void SetWidth(std::size_t width);
    std::size_t Width() const { return m_width; }

    /// Takes received bytes; returns the number of display lines removed from the
    /// top to keep the capacity (a held view moves up by as many).
    std::size_t Receive(std::span<const std::uint8_t> bytes);
    std::size_t Receive(std::string_view text)
    {
        return Receive(std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()));
    }
    /// What a peer sent that ends without a line end is delivered once when the connection ends.
    void FlushPartialLine();
    void Clear();

    const std::deque<DisplayLine> &Lines() const { return m_lines; }
    std::size_t Count() const { return m_lines.size(); }
    void SetSelected(std::size_t line, bool selected);
    void ClearSelection();
    /// The logical line a display line belongs to, joined.
    std::string LogicalLineAt(std::size_t line) const;
    /// The received text as logical lines joined with CR LF, each cut to 252 characters:
    /// all of them, or only those with a selected part.
    std::string CopyText(bool selectedOnly) const;
    /// Bytes dropped from over-long logical lines.
    std::uint64_t DroppedBytes() const { return m_dropped; }

private:
    void appendByte(char c);
    void backspace();
    void lineEnd();
    void wrapLast();
    std::size_t trim();
    std::size_t firstOfLogical(std::size_t line) const;

    std::deque<DisplayLine> m_lines;
    std::string m_logical;
    std::size_t m_width = 80;
    std::size_t m_capacity = 500;
    int m_swallow = 0;
    bool m_handLinesOn = true;
    std::uint64_t m_dropped = 0;
    std::function<void(const std::string &)> m_onLine;
    std::function<void()> m_onBell;
};

/// Where a display line of width is cut: after the last blank or punctuation
/// within the width, else at the width.
std::size_t WrapPoint(std::string_view text, std::size_t width);
/// The reply to a double-click on a received line: "R " + the first number of the
/// line (after leading blanks) + CR; empty when the line does not start with a number.
std::string ReadCommandFor(std::string_view logicalLine);

} // namespace vellum
