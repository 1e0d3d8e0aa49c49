#pragma once
// The lines of the country editor's "Messages" page: at most 10000; when the
// list is full the oldest line goes and is counted. A line may point at a
// country and a mapping prefix, which a double click on it shows.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

namespace vellum {

struct MessageLine {
    std::string text;
    std::int32_t country = -1; ///< the country the line is about; -1 for none
    std::string mapping;       ///< the mapping prefix the line is about; empty for none
};

class MessageList {
public:
    static constexpr std::size_t Capacity = 10000;

    void Clear()
    {
        m_lines.clear();
        m_dropped = 0;
    }
    void Add(std::string text, std::int32_t country = -1, std::string mapping = {})
    {
        if (m_lines.size() == Capacity) {
            m_lines.pop_front();
            ++m_dropped;
        }
        m_lines.push_back({std::move(text), country, std::move(mapping)});
    }
    const std::deque<MessageLine> &Lines() const { return m_lines; }
    std::size_t Count() const { return m_lines.size(); }
    /// How many lines went to make room since the last Clear.
    std::size_t Dropped() const { return m_dropped; }

private:
    std::deque<MessageLine> m_lines;
    std::size_t m_dropped = 0;
};

} // namespace vellum
