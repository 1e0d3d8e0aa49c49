#include "resultlines.h"

#include "logstore/trim.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace vellum {

namespace {

std::string_view untilNul(std::span<const char> buffer)
{
    auto end = std::find(buffer.begin(), buffer.end(), '\0');
    return {buffer.data(), static_cast<std::size_t>(end - buffer.begin())};
}

/// Splits at carriage returns; returns the rest after the last one.
std::string_view splitAtReturns(std::string_view text, CallbookLines &lines)
{
    for (auto cr = text.find('\r'); cr != std::string_view::npos; cr = text.find('\r')) {
        lines.emplace_back(text.substr(0, cr));
        text.remove_prefix(cr + 1);
    }
    return text;
}

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

/// The pending line of the tagged formats.
class PendingLine {
public:
    explicit PendingLine(CallbookLines &lines) : m_lines(lines) {}
    void flush()
    {
        if (!m_text.empty())
            m_lines.push_back(m_text);
        m_text.clear();
    }
    void set(std::string text) { m_text = std::move(text); }
    const std::string &text() const { return m_text; }
    void add(std::string_view text, std::string_view separator = {})
    {
        if (!separator.empty())
            m_text += std::string(separator) + " " + std::string(text);
        else if (!m_text.empty())
            m_text += " " + std::string(text);
        else
            m_text = text;
    }

private:
    CallbookLines &m_lines;
    std::string m_text;
};

/// Tag 2: "street, town, ..." - all parts but the last become lines, the last is pending.
void addCommaParts(std::string_view text, CallbookLines &lines, PendingLine &pending)
{
    auto comma = text.find(',');
    if (comma == std::string_view::npos) {
        lines.emplace_back(text);
        return;
    }
    lines.emplace_back(text.substr(0, comma));
    std::string_view rest = text.substr(std::min(text.size(), comma + 2));
    for (auto next = rest.find(", "); next != std::string_view::npos; next = rest.find(", ")) {
        lines.emplace_back(rest.substr(0, next));
        rest.remove_prefix(next + 2);
    }
    pending.set(std::string(rest));
}

} // namespace

void AddCarriageReturnLines(std::span<const char> buffer, CallbookLines &lines)
{
    std::string_view text = untilNul(buffer);
    bool endsWithReturn = !text.empty() && text.back() == '\r';
    std::string_view rest = splitAtReturns(text, lines);
    if (!endsWithReturn && !text.empty())
        lines.emplace_back(rest);
}

void AddCarriageReturnLinesSkippingEmptyRest(std::span<const char> buffer, CallbookLines &lines)
{
    std::string_view rest = splitAtReturns(untilNul(buffer), lines);
    if (!rest.empty())
        lines.emplace_back(rest);
}

void AddCountedLines(std::span<const char> buffer, std::int64_t count, CallbookLines &lines)
{
    auto size = static_cast<std::size_t>(std::clamp<std::int64_t>(count, 0, static_cast<std::int64_t>(buffer.size())));
    std::string text;
    for (char c : std::string_view(buffer.data(), size))
        if (c != '\n')
            text += c;
    std::string_view rest = splitAtReturns(text, lines);
    if (!rest.empty())
        lines.emplace_back(rest);
}

std::int64_t AddFlyingHorseFields(std::span<const char> buffer, CallbookLines &lines)
{
    PendingLine pending(lines);
    std::string postalCode;
    std::int64_t managerRecord = 0;
    std::size_t at = 0;
    while (at < buffer.size() && buffer[at] != 0) {
        auto tag = static_cast<unsigned char>(buffer[at++]);
        std::size_t start = at;
        while (at < buffer.size() && static_cast<unsigned char>(buffer[at]) >= 32)
            ++at;
        std::string_view text(buffer.data() + start, at - start);
        switch (tag) {
        case 1: lines.emplace_back(text); break;
        case 2: addCommaParts(text, lines, pending); break;
        case 5: postalCode = text; break;
        case 6:
            lines.push_back(pending.text() + ", " + std::string(text) + " " + postalCode);
            pending.set({});
            postalCode.clear();
            break;
        case 13: pending.flush(); pending.set("County = " + std::string(text)); break;
        case 17: pending.flush(); pending.set(std::string(text)); break;
        case 18: {
            std::int64_t number = 0;
            auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
            managerRecord = error == std::errc() && end == text.data() + text.size() && number > 0 ? number : 0;
            break;
        }
        default: break;
        }
    }
    pending.flush();
    return managerRecord;
}

void AddBuckmasterFields(std::span<const char> buffer, std::string_view call, std::string_view qslHeading,
                         CallbookLines &lines)
{
    constexpr int FirstTag = 184, LastTag = 209;
    std::vector<std::string> fields(LastTag - FirstTag + 1);
    std::vector<bool> present(fields.size(), false);
    for (std::size_t at = 0; at < buffer.size(); ++at) {
        int tag = static_cast<unsigned char>(buffer[at]);
        if (tag < FirstTag || tag > LastTag)
            continue;
        std::size_t start = at + 1, end = start;
        while (end < buffer.size() && buffer[end] != 0 && static_cast<unsigned char>(buffer[end]) < 127)
            ++end;
        std::string_view text = Trim(std::string_view(buffer.data() + start, end - start));
        if (!text.empty()) {
            fields[static_cast<std::size_t>(tag - FirstTag)] = text;
            present[static_cast<std::size_t>(tag - FirstTag)] = true;
        }
        at = end - 1;
    }
    PendingLine pending(lines);
    auto add = [&](int tag, std::string_view separator = {}) {
        if (present[static_cast<std::size_t>(tag - FirstTag)])
            pending.add(fields[static_cast<std::size_t>(tag - FirstTag)], separator);
    };
    for (int tag : {184, 185, 186, 187})
        add(tag);
    pending.flush();
    add(188);
    pending.flush();
    add(191);
    add(192, ",");
    add(193);
    pending.flush();
    add(209);
    pending.flush();
    add(198, "County:");
    pending.flush();
    add(202, "Grid:");
    pending.flush();
    if (present[208 - FirstTag]) {
        lines.emplace_back(qslHeading);
        add(208, std::string(call) + " via");
        pending.flush();
    }
}

std::string ManagerFromLines(const CallbookLines &lines, std::string_view call)
{
    std::string wanted = upper(call);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string line = upper(lines[i]);
        auto via = line.find("VIA ");
        if (via == std::string::npos || line.find(wanted) == std::string::npos)
            continue;
        std::string manager;
        for (std::size_t at = via + 4; at < line.size() && manager.size() < 12; ++at) {
            char c = line[at];
            if (!(c == '/' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')))
                break;
            manager += c;
        }
        return manager;
    }
    return {};
}

void AddQslProgramResult(std::string_view fileText, std::string_view call, CallbookLines &lines)
{
    bool started = false;
    while (!fileText.empty()) {
        auto end = fileText.find('\n');
        std::string_view line = fileText.substr(0, end);
        fileText.remove_prefix(end == std::string_view::npos ? fileText.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!started)
            started = line.find(call) != std::string_view::npos || line.find("Error") != std::string_view::npos;
        if (!started)
            continue;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (!line.empty())
            lines.emplace_back(line);
    }
}

bool SafeCallForProgram(std::string_view call)
{
    if (call.empty() || call.size() > 12)
        return false;
    return std::all_of(call.begin(), call.end(), [](char c) {
        return c == '/' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}

} // namespace vellum
