#include "lineinput.h"

#include <algorithm>

namespace vellum {

LineInput::LineInput(std::string_view bytes, std::size_t capacity)
    : m_bytes(bytes), m_end(std::min(bytes.find('\x1A'), bytes.size())), m_capacity(capacity)
{
}

bool LineInput::Next(TextLine &line)
{
    if (AtEnd())
        return false;
    std::string_view rest = m_bytes.substr(m_position, m_end - m_position);
    std::size_t length = std::min(rest.find_first_of("\r\n"), rest.size());
    line.text = rest.substr(0, std::min(length, m_capacity));
    line.cut = length > m_capacity;
    m_position += length;
    if (m_position < m_end && m_bytes[m_position] == '\r')
        ++m_position;
    if (m_position < m_end && m_bytes[m_position] == '\n')
        ++m_position;
    return true;
}

} // namespace vellum
