#include "pskwords.h"

#include "logstore/trim.h"

#include <algorithm>
#include <cctype>

namespace vellum::psk {

namespace {

bool isLetterOrDigit(char c)
{
    auto u = static_cast<unsigned char>(c);
    return u < 128 && std::isalnum(u);
}

} // namespace

std::string CapturedWord(std::string_view selected)
{
    std::string_view word = Trim(selected);
    word = word.substr(0, word.find_first_of(",.;"));
    std::string kept;
    for (char c : word)
        if (c == '/' || isLetterOrDigit(c))
            kept += c;
    return kept;
}

bool HasDigit(std::string_view word)
{
    return std::any_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<CapturedReport> ReportOf(std::string_view word)
{
    if (word.size() < 3 || word[0] < '1' || word[0] > '5' || word[1] < '1' || word[1] > '9' || word[2] < '1' ||
        word[2] > '9')
        return std::nullopt;
    std::string_view rest = word.substr(3);
    if (!rest.empty() && rest.front() == '/')
        rest.remove_prefix(1);
    return CapturedReport{std::string(word.substr(0, 3)), std::string(rest)};
}

std::string NotesWithName(std::string_view notes, std::string_view word)
{
    if (!notes.empty())
        return std::string(notes) + " " + std::string(word);
    std::string name(word);
    for (std::size_t i = 0; i < name.size(); ++i)
        name[i] = static_cast<char>(i == 0 ? std::toupper(static_cast<unsigned char>(name[i]))
                                           : std::tolower(static_cast<unsigned char>(name[i])));
    return name;
}

std::string ChannelTwoText(const std::vector<std::string> &lines)
{
    std::string text = " ";
    for (auto line = lines.rbegin(); line != lines.rend() && text.size() <= 255; ++line) {
        std::string piece = *line;
        if (!piece.empty() && piece.back() == '\r')
            piece.back() = ' ';
        else
            piece += ' ';
        text = piece + text;
    }
    return text;
}

} // namespace vellum::psk
