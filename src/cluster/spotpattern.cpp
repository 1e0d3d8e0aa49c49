#include "spotpattern.h"

#include "logstore/daytime.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace vellum {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isBlank(char c) { return c == ' ' || c == '\t'; }
/// "&" and the spotter's tail: letters, digits, "/", "-"; the tail also takes "@"
/// and "#", the mark of skimmer spotters ("EA5WU-#").
bool isCallChar(char c) { return isLetter(c) || isDigit(c) || c == '/' || c == '-'; }
bool isTailChar(char c) { return isCallChar(c) || c == '@' || c == '#'; }
bool isCallRunChar(char c) { return isLetter(c) || isDigit(c) || c == '/'; }

constexpr std::size_t MaxCall = 12;
constexpr std::size_t MaxRemarks = 33;

/// The part of text from at, at most count characters; empty past the end.
std::string_view slice(std::string_view text, std::size_t at, std::size_t count)
{
    return at < text.size() ? text.substr(at, count) : std::string_view();
}

/// A run of digits only (no sign, no blanks) as a number.
std::optional<int> number(std::string_view text)
{
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    for (char c : text)
        if (!isDigit(c))
            return std::nullopt;
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

double decimal(std::string_view text)
{
    std::string copy = text.starts_with('.') ? "0" + std::string(text) : std::string(text);
    char *end = nullptr;
    double value = std::strtod(copy.c_str(), &end);
    return std::isfinite(value) ? value : 0;
}

/// The remarks' marker and its number: the first of the markers, in this order,
/// found anywhere in the remarks.
void readMarker(ParsedSpot &spot)
{
    static constexpr std::array<std::pair<std::string_view, QsxMarker>, 6> markers = {{
        {"QSX", QsxMarker::Frequency}, {"WKD", QsxMarker::Frequency}, {"UP", QsxMarker::Up},
        {"DN", QsxMarker::Down},       {"DWN", QsxMarker::Down},      {"DOWN", QsxMarker::Down},
    }};
    const std::string &remarks = spot.remarks;
    for (const auto &[name, kind] : markers) {
        std::size_t at = remarks.find(name);
        if (at == std::string::npos)
            continue;
        std::size_t p = at + name.size();
        if (p < remarks.size() && remarks[p] == ' ')
            ++p;
        std::size_t end = p;
        while (end < remarks.size() && (isDigit(remarks[end]) || remarks[end] == '.'))
            ++end;
        spot.marker = kind;
        spot.qsx = end > p ? decimal(std::string_view(remarks).substr(p, end - p)) : 0;
        return;
    }
}

class Matcher {
public:
    Matcher(std::string_view pattern, std::string_view line, int year, ParsedSpot &spot)
        : m_pattern(pattern), m_line(line), m_year(year), m_spot(spot)
    {
    }

    bool run()
    {
        while (m_pos < m_line.size() && isBlank(m_line[m_pos]))
            ++m_pos;
        if (m_pos >= m_line.size())
            return false;
        for (m_at = 0; m_at < m_pattern.size(); ++m_at) {
            char op = m_pattern[m_at];
            if (op == '*')
                return true;
            if (m_pos >= m_line.size() && op != '|' && op != 'q')
                return false;
            if (!step(op))
                return false;
        }
        return true;
    }

private:
    bool step(char op)
    {
        switch (op) {
        case '|':
            while (m_pos < m_line.size() && isBlank(m_line[m_pos]))
                ++m_pos;
            return true;
        case '#': return take(isDigit(m_line[m_pos]));
        case '&': return take(isCallChar(m_line[m_pos]));
        case 'f': return frequency();
        case 'c': return callsign(m_spot.call);
        case 'r': return spotter();
        case 't': return time();
        case 'd': return date();
        case 'q': remarks(); return true;
        default: return take(m_line[m_pos] == op);
        }
    }

    bool take(bool matches)
    {
        m_pos += matches ? 1 : 0;
        return matches;
    }

    std::string_view run(bool (*accepts)(char))
    {
        std::size_t start = m_pos;
        while (m_pos < m_line.size() && accepts(m_line[m_pos]))
            ++m_pos;
        return m_line.substr(start, m_pos - start);
    }

    bool frequency()
    {
        std::string_view text = run([](char c) { return isDigit(c) || c == '.'; });
        if (text.size() < 4)
            return false;
        m_spot.freqKHz = decimal(text);
        return m_spot.freqKHz > 0;
    }

    bool callsign(std::string &into)
    {
        std::string_view text = run(isCallRunChar);
        if (text.size() > MaxCall || !IsSpotCallsign(text))
            return false;
        into = text;
        return true;
    }

    bool spotter()
    {
        if (!callsign(m_spot.spotter))
            return false;
        std::string_view tail = run(isTailChar);
        m_spot.spotter += tail.substr(0, MaxCall - std::min(MaxCall, m_spot.spotter.size()));
        return true;
    }

    bool time()
    {
        if (m_line.size() - m_pos < 4)
            return false;
        std::optional<int> hhmm = number(slice(m_line, m_pos, 4));
        if (!hhmm || *hhmm / 100 > 23 || *hhmm % 100 > 59)
            return false;
        m_spot.time = static_cast<std::uint16_t>(*hhmm / 100 * 60 + *hhmm % 100);
        m_pos += 4;
        return true;
    }

    // A date as "12-Jan-2025", "Jan 12 2025", "12/01/2025" or "2-Jan-25"; the month
    // name is looked for within the length of such a date, not in the remarks after it.
    bool date()
    {
        std::string_view text = m_line.substr(m_pos);
        int month = 0;
        std::size_t monthAt = std::string_view::npos;
        for (int m = 0; m < 12 && monthAt == std::string_view::npos; ++m) {
            std::string name = SpotMatchText(MonthAbbreviations[m]);
            std::size_t at = text.substr(0, 11).find(name);
            if (at != std::string_view::npos)
                monthAt = at, month = m + 1;
        }
        std::size_t day = monthAt == 0 ? 4 : 0;
        std::size_t yearAt = monthAt == std::string_view::npos ? 5 : 6;
        bool oneDigitDay = day + 1 < text.size() && (isBlank(text[day + 1]) || text[day + 1] == '-' || text[day + 1] == '/');
        std::optional<int> dayValue = number(slice(text, day, oneDigitDay ? 1 : 2));
        if (!oneDigitDay)
            ++yearAt;
        if (monthAt == std::string_view::npos) {
            std::optional<int> monthValue = number(slice(text, day + (oneDigitDay ? 2 : 3), 2));
            if (!monthValue)
                return false;
            month = *monthValue;
        }
        if (!dayValue)
            return false;
        std::size_t yearEnd = std::min(yearAt, text.size());
        while (yearEnd < text.size() && yearEnd - yearAt < 4 && isDigit(text[yearEnd]))
            ++yearEnd;
        int year = yearEnd > yearAt ? number(slice(text, yearAt, yearEnd - yearAt)).value_or(m_year) : m_year;
        std::optional<std::uint16_t> dayNumber = DayNumber(year, month, *dayValue);
        if (!dayNumber)
            return false;
        m_spot.date = *dayNumber;
        m_pos += yearEnd;
        return true;
    }

    // The pattern after "q" read backwards from the end of the line finds where
    // the remarks end; forward matching goes on from there.
    void remarks()
    {
        std::size_t end = m_line.size();
        for (std::size_t i = m_pattern.size(); i > m_at + 1; --i) {
            char op = m_pattern[i - 1];
            if (op == '*' || op == 'q')
                break;
            end = backOver(op, end);
        }
        m_spot.remarks.clear();
        m_spot.qsx = 0;
        m_spot.marker = QsxMarker::None;
        if (end <= m_pos)
            return;
        std::string_view text = m_line.substr(m_pos, end - m_pos);
        while (!text.empty() && isBlank(text.back()))
            text.remove_suffix(1);
        m_spot.remarks = text.substr(0, MaxRemarks);
        m_pos = end;
        readMarker(m_spot);
    }

    std::size_t backOver(char op, std::size_t end) const
    {
        auto skip = [this, &end](auto accepts) {
            while (end > 0 && accepts(m_line[end - 1]))
                --end;
        };
        if (op == '#') {
            skip([](char c) { return !isDigit(c); });
            skip(isDigit);
        } else if (op == '&' || (op >= 'a' && op <= 'z')) {
            skip([](char c) { return !isTailChar(c); });
            skip(isTailChar);
        } else if (op == '|') {
            skip([](char c) { return !isBlank(c); });
            skip(isBlank);
        } else {
            skip([op](char c) { return c != op; });
            if (end > 0)
                --end;
        }
        return end;
    }

    std::string_view m_pattern;
    std::string_view m_line;
    int m_year;
    ParsedSpot &m_spot;
    std::size_t m_pos = 0;
    std::size_t m_at = 0;
};

} // namespace

bool IsSpotCallsign(std::string_view call)
{
    if (call.size() < 3 || call.front() == '/' || call.back() == '/')
        return false;
    bool letter = false;
    for (std::size_t i = 0; i < call.size(); ++i) {
        char c = call[i];
        if (!isLetter(c) && !isDigit(c) && c != '?' && c != '/')
            return false;
        if (c == '/' && call[i - 1] == '/')
            return false;
        letter = letter || isLetter(c);
    }
    return letter;
}

bool MatchSpotPattern(std::string_view pattern, std::string_view upperLine, int currentYear, ParsedSpot &spot)
{
    spot = ParsedSpot{};
    return Matcher(pattern, upperLine, currentYear, spot).run();
}

void ApplyQsxMarker(ParsedSpot &spot)
{
    bool offset = spot.marker == QsxMarker::Up || spot.marker == QsxMarker::Down;
    if (!offset || spot.qsx == 0 || spot.qsx > 350)
        return;
    spot.qsx = spot.marker == QsxMarker::Up ? spot.freqKHz + spot.qsx : spot.freqKHz - spot.qsx;
}

bool MatchWarningPattern(std::string_view pattern, std::string_view line)
{
    if (pattern.empty())
        return false;
    if (pattern.find('*') == std::string_view::npos)
        return line.starts_with(pattern);
    if (pattern == "*")
        return !line.empty();
    std::size_t pos = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '*') {
            if (pos >= line.size() || line[pos] != pattern[i])
                return false;
            ++pos;
            continue;
        }
        if (i + 1 == pattern.size())
            return true; // a closing "*" takes the rest
        std::size_t next = line.find(pattern[i + 1], pos);
        if (next == std::string_view::npos)
            return false;
        pos = next;
    }
    return true;
}

std::string SpotMatchText(std::string_view line)
{
    std::string text(line);
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace vellum
