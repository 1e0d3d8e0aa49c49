#include "terminaltext.h"

#include <algorithm>

namespace vellum {

namespace {
constexpr std::string_view BreakCharacters = " (),.:;";
constexpr std::size_t CopyLineLimit = 252;
} // namespace

std::size_t WrapPoint(std::string_view text, std::size_t width)
{
    if (text.size() <= width)
        return text.size();
    for (std::size_t i = width; i > 0; --i)
        if (BreakCharacters.find(text[i - 1]) != std::string_view::npos)
            return i; // the break character stays on the first part
    return width;
}

std::string ReadCommandFor(std::string_view line)
{
    std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return {};
    std::size_t end = start;
    while (end < line.size() && line[end] >= '0' && line[end] <= '9')
        ++end;
    return end == start ? std::string() : "R " + std::string(line.substr(start, end - start)) + "\r";
}

TerminalText::TerminalText() { m_lines.emplace_back(); }

void TerminalText::SetWidth(std::size_t width)
{
    width = std::max<std::size_t>(width, 10);
    if (width == m_width)
        return;
    m_width = width;
    // Join every logical line and wrap it again at the new width.
    std::deque<DisplayLine> joined;
    for (DisplayLine &line : m_lines) {
        if (line.continuation() && !joined.empty())
            joined.back().text += line.text;
        else
            joined.push_back({std::move(line.text), static_cast<std::uint8_t>(line.flags & DisplayLine::Selected)});
    }
    m_lines.clear();
    for (DisplayLine &line : joined) {
        m_lines.push_back(std::move(line));
        wrapLast();
    }
    if (m_lines.empty())
        m_lines.emplace_back();
}

std::size_t TerminalText::Receive(std::span<const std::uint8_t> bytes)
{
    for (std::uint8_t b : bytes) {
        if (m_swallow > 0) {
            --m_swallow;
            continue;
        }
        if (b == 7) {
            if (m_onBell)
                m_onBell();
        } else if (b == 8) {
            backspace();
        } else if (b == 13) {
            lineEnd();
        } else if (b >= 32) {
            appendByte(static_cast<char>(b));
        }
    }
    return trim();
}

void TerminalText::appendByte(char c)
{
    if (m_logical.size() >= MaxLogicalLine) {
        ++m_dropped; // a line that never ends is cut, not grown without bound
        return;
    }
    m_logical += c;
    m_lines.back().text += c;
    if (m_lines.back().text.size() > m_width)
        wrapLast();
}

void TerminalText::backspace()
{
    // A TNC erases with BS, blank, BS: one character goes, the next two bytes are swallowed.
    while (m_lines.size() > 1 && m_lines.back().text.empty())
        m_lines.pop_back();
    if (!m_lines.back().text.empty())
        m_lines.back().text.pop_back();
    if (!m_logical.empty())
        m_logical.pop_back();
    m_swallow = 2;
}

void TerminalText::lineEnd()
{
    if (m_handLinesOn && m_onLine)
        m_onLine(m_logical);
    m_logical.clear();
    wrapLast();
    m_lines.emplace_back();
}

void TerminalText::FlushPartialLine()
{
    if (m_logical.empty() && m_lines.back().text.empty())
        return;
    lineEnd();
    trim();
}

void TerminalText::wrapLast()
{
    while (m_lines.back().text.size() > m_width) {
        std::string &text = m_lines.back().text;
        std::size_t cut = WrapPoint(text, m_width);
        std::string rest = text.substr(cut);
        text.resize(cut);
        m_lines.push_back({std::move(rest), DisplayLine::Continuation});
    }
}

std::size_t TerminalText::trim()
{
    std::size_t removed = 0;
    while (m_lines.size() > m_capacity) {
        // The first logical line goes whole: its first display line and its continuations.
        do {
            m_lines.pop_front();
            ++removed;
        } while (!m_lines.empty() && m_lines.front().continuation());
    }
    if (m_lines.empty())
        m_lines.emplace_back();
    return removed;
}

void TerminalText::Clear()
{
    m_lines.clear();
    m_lines.emplace_back();
    m_logical.clear();
    m_swallow = 0;
}

void TerminalText::SetSelected(std::size_t line, bool selected)
{
    if (line >= m_lines.size())
        return;
    std::uint8_t &flags = m_lines[line].flags;
    flags = static_cast<std::uint8_t>(selected ? flags | DisplayLine::Selected : flags & ~DisplayLine::Selected);
}

void TerminalText::ClearSelection()
{
    for (DisplayLine &line : m_lines)
        line.flags &= static_cast<std::uint8_t>(~DisplayLine::Selected);
}

std::size_t TerminalText::firstOfLogical(std::size_t line) const
{
    while (line > 0 && m_lines[line].continuation())
        --line;
    return line;
}

std::string TerminalText::LogicalLineAt(std::size_t line) const
{
    if (line >= m_lines.size())
        return {};
    std::size_t at = firstOfLogical(line);
    std::string text = m_lines[at].text;
    while (++at < m_lines.size() && m_lines[at].continuation())
        text += m_lines[at].text;
    return text;
}

std::string TerminalText::CopyText(bool selectedOnly) const
{
    std::string out;
    for (std::size_t at = 0; at < m_lines.size();) {
        std::string text = m_lines[at].text;
        bool selected = m_lines[at].flags & DisplayLine::Selected;
        while (++at < m_lines.size() && m_lines[at].continuation()) {
            text += m_lines[at].text;
            selected = selected || (m_lines[at].flags & DisplayLine::Selected);
        }
        if (selectedOnly && !selected)
            continue;
        if (!out.empty())
            out += "\r\n";
        out += text.substr(0, CopyLineLimit);
    }
    return out;
}

} // namespace vellum
