#include "notetext.h"

#include "text.h"

#include <algorithm>

namespace vellum {

namespace {

using text::IsDigit;
using text::Upper;

bool isNameCharacter(char c) { return IsDigit(c) || text::IsLetter(c) || c == ' ' || c == '.' || c == '_'; }

/// Position of part in text ignoring case, npos when absent.
std::size_t findNoCase(std::string_view text, std::string_view part)
{
    auto it = std::search(text.begin(), text.end(), part.begin(), part.end(),
                          [](char a, char b) { return Upper(a) == Upper(b); });
    return it == text.end() && !part.empty() ? std::string_view::npos : static_cast<std::size_t>(it - text.begin());
}

/// Removes the first number directly followed by " kHz" (any case), with that text.
void removeFrequency(std::string &note)
{
    for (std::size_t from = 0;;) {
        std::size_t at = findNoCase(std::string_view(note).substr(from), " KHZ");
        if (at == std::string_view::npos)
            return;
        at += from;
        std::size_t start = at;
        while (start > 0 && (IsDigit(note[start - 1]) || note[start - 1] == '.' || note[start - 1] == ','))
            --start;
        if (start < at && IsDigit(note[at - 1])) {
            note.erase(start, at + 4 - start);
            return;
        }
        from = at + 1;
    }
}

/// Removes the first "IMPORT FROM " or "IMPORTED FROM " (any case) and the name after it.
void removeImportFrom(std::string &note)
{
    std::size_t a = findNoCase(note, "IMPORT FROM "), b = findNoCase(note, "IMPORTED FROM ");
    std::size_t at = std::min(a, b);
    if (at == std::string::npos)
        return;
    std::size_t end = at + (at == a ? 12 : 14);
    while (end < note.size() && isNameCharacter(note[end]))
        ++end;
    note.erase(at, end - at);
}

} // namespace

std::string CleanImportedNote(std::string_view text, const NoteCleaning &cleaning)
{
    std::string note(text);
    if (!note.empty() && note.back() == '|')
        note.pop_back();
    if (cleaning.frequency)
        removeFrequency(note);
    if (cleaning.importFrom)
        removeImportFrom(note);
    std::string out;
    out.reserve(note.size());
    for (char c : note)
        if (c != ' ' || out.empty() || out.back() != ' ')
            out += c;
    return out;
}

bool ContainsNoCase(std::string_view text, std::string_view part) { return findNoCase(text, part) != std::string_view::npos; }

void AddToNote(std::string &note, std::string_view text)
{
    if (text.empty() || ContainsNoCase(note, text))
        return;
    if (!note.empty())
        note += ' ';
    note.append(text);
}

} // namespace vellum
