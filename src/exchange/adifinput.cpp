#include "adifinput.h"

#include "detail/text.h"

#include "logstore/cp1252.h"

#include <algorithm>
#include <cstring>

namespace vellum {

namespace {

constexpr char CtrlZ = 26;
constexpr std::size_t NameCapacity = 64;
/// Raw bytes kept of a value: 255 characters of UTF-8 take at most this many.
constexpr std::size_t RawCapacity = 4 * AdifValueCapacity;
constexpr std::uint64_t LengthLimit = 1ull << 48;
constexpr std::size_t npos = std::string_view::npos;

/// Whether a value may end at `end`: only blanks and line ends lie between it
/// and the next tag (or the end of the file). Other text there means that the
/// length count was too small.
bool endsCleanly(std::string_view bytes, std::size_t end)
{
    while (end < bytes.size() && (bytes[end] == ' ' || bytes[end] == '\t' || bytes[end] == '\r' || bytes[end] == '\n'))
        ++end;
    return end == bytes.size() || bytes[end] == '<' || bytes[end] == CtrlZ;
}

/// The length of the UTF-8 sequence a lead byte starts; 0 for a byte that starts none.
std::size_t sequenceLength(unsigned char b)
{
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        return 2;
    if (b >= 0xE0 && b <= 0xEF)
        return 3;
    if (b >= 0xF0 && b <= 0xF4)
        return 4;
    return 0;
}

/// The position just after the first "<EOR>" (any case) that starts in [from, to), or npos.
std::size_t findEor(std::string_view bytes, std::size_t from, std::size_t to)
{
    while (from < to) {
        const void *hit = std::memchr(bytes.data() + from, '<', to - from);
        if (!hit)
            return npos;
        std::size_t at = static_cast<std::size_t>(static_cast<const char *>(hit) - bytes.data());
        if (at + 5 <= bytes.size() && text::Upper(bytes[at + 1]) == 'E' && text::Upper(bytes[at + 2]) == 'O' &&
            text::Upper(bytes[at + 3]) == 'R' && bytes[at + 4] == '>')
            return at + 5;
        from = at + 1;
    }
    return npos;
}

/// The end of `count` UTF-8 characters from start, when they are well-formed,
/// hold more than ASCII and end where a value may end; npos otherwise.
std::size_t characterCountEnd(std::string_view bytes, std::size_t start, std::uint64_t count)
{
    std::size_t at = start;
    bool wide = false;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (at >= bytes.size())
            return npos;
        std::size_t length = sequenceLength(static_cast<unsigned char>(bytes[at]));
        if (length == 0 || at + length > bytes.size() || !IsWellFormedUtf8(bytes.substr(at, length)))
            return npos;
        wide = wide || length > 1;
        at += length;
    }
    return wide && endsCleanly(bytes, at) ? at : npos;
}

/// Copies the value's bytes (LF as "|", CR dropped), at most RawCapacity of them.
void copyRaw(std::string &out, std::string_view raw)
{
    out.clear();
    for (char c : raw) {
        if (out.size() == RawCapacity)
            break;
        if (c == '\n')
            out += '|';
        else if (c != '\r')
            out += c;
    }
}

/// Makes the raw value cp1252: UTF-8 text is converted (when the input allows),
/// anything else is kept as it stands; then cut to 255 characters.
void decodeValue(AdifTag &tag, AdifText text, bool capped)
{
    std::string &value = tag.value;
    bool ascii = std::all_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii && text == AdifText::Detect) {
        if (capped) {
            // The cap may have cut the last character: drop the bytes it kept.
            std::size_t lead = value.size();
            for (int back = 0; back < 4 && lead > 0; ++back) {
                auto b = static_cast<unsigned char>(value[--lead]);
                if ((b & 0xC0) != 0x80) {
                    if (lead + sequenceLength(b) > value.size())
                        value.resize(lead);
                    break;
                }
            }
        }
        if (IsWellFormedUtf8(value))
            value = Utf8ToCp1252(value, &tag.replaced);
    }
    if (value.size() > AdifValueCapacity)
        value.resize(AdifValueCapacity);
}

enum class Step { Done, Restart, End };

/// Reads up to ":" or ">" from pos: the name (name = true) or the length digits.
/// A "<" restarts the tag there; a Ctrl-Z or the end of the bytes ends the input.
Step readUpToColonOrClose(std::string_view bytes, std::size_t &pos, char &stop, AdifTag &tag, bool name)
{
    while (pos < bytes.size()) {
        char c = bytes[pos++];
        if (c == ':' || c == '>') {
            stop = c;
            return Step::Done;
        }
        if (c == '<') {
            --pos;
            return Step::Restart;
        }
        if (c == CtrlZ)
            return Step::End;
        if (name) {
            if (c != '\r' && c != '\n' && tag.name.size() < NameCapacity)
                tag.name += text::Upper(c);
        } else if (c >= '0' && c <= '9') {
            tag.length = std::min<std::uint64_t>(tag.length * 10 + static_cast<std::uint64_t>(c - '0'), LengthLimit);
        }
    }
    return Step::End;
}

/// After "<": name, length and type indicator. Done with stop = '>' when a value follows.
Step readTagHead(std::string_view bytes, std::size_t &pos, AdifTag &tag, char &stop)
{
    tag.name.clear();
    tag.length = 0;
    stop = 0;
    Step step = readUpToColonOrClose(bytes, pos, stop, tag, true);
    if (step != Step::Done || stop == '>')
        return step;
    step = readUpToColonOrClose(bytes, pos, stop, tag, false);
    if (step != Step::Done || stop == '>')
        return step;
    // A type indicator of one character, then ">"; "<X:3:>" has none.
    if (pos < bytes.size() && bytes[pos] == '>') {
        ++pos;
        stop = '>';
        return Step::Done;
    }
    pos = std::min(pos + 1, bytes.size());
    stop = pos < bytes.size() && bytes[pos] == '>' ? '>' : 0;
    pos = std::min(pos + 1, bytes.size());
    return Step::Done;
}

/// Reads the value of a tag whose head ended with ">" at pos.
void readValue(AdifInput &input, std::size_t pos, AdifTag &tag)
{
    std::string_view bytes = input.Bytes();
    std::size_t left = bytes.size() - pos;
    std::size_t end = pos + static_cast<std::size_t>(std::min<std::uint64_t>(tag.length, left));
    tag.cutOff = tag.length > left;
    if (const void *z = std::memchr(bytes.data() + pos, CtrlZ, end - pos)) {
        // A Ctrl-Z ends the value and the input.
        end = static_cast<std::size_t>(static_cast<const char *>(z) - bytes.data());
        tag.cutOff = false;
        input.Seek(bytes.size());
    } else {
        input.Seek(end);
    }
    std::size_t afterEor = findEor(bytes, pos, end);
    if (afterEor != npos) {
        tag.swallowedEor = true;
        tag.afterEor = afterEor;
    } else if (!input.AtEnd() && !endsCleanly(bytes, end)) {
        // Some programs count the characters of UTF-8 text instead of its bytes.
        std::size_t byCharacters =
            input.text == AdifText::Detect ? characterCountEnd(bytes, pos, tag.length) : npos;
        if (byCharacters != npos) {
            end = byCharacters;
            input.Seek(end);
        } else {
            tag.runsOn = true;
        }
    }
    copyRaw(tag.value, bytes.substr(pos, end - pos));
    decodeValue(tag, input.text, end - pos > RawCapacity);
}

} // namespace

bool IsWellFormedUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = sequenceLength(static_cast<unsigned char>(text[i]));
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

bool ReadAdifTag(AdifInput &input, AdifTag &tag)
{
    std::string_view bytes = input.Bytes();
    std::size_t pos = input.Position();
    tag.value.clear();
    tag.cutOff = false;
    tag.swallowedEor = false;
    tag.runsOn = false;
    tag.replaced = 0;
    for (;;) {
        std::size_t open = bytes.find('<', pos);
        std::size_t skipped = (open == npos ? bytes.size() : open) - std::min(pos, bytes.size());
        if (open == npos || std::memchr(bytes.data() + pos, CtrlZ, skipped)) {
            tag.name.clear();
            input.Seek(bytes.size());
            return false;
        }
        tag.offset = open;
        pos = open + 1;
        char stop = 0;
        Step step = readTagHead(bytes, pos, tag, stop);
        if (step == Step::Restart)
            continue;
        if (step == Step::End) {
            tag.name.clear();
            input.Seek(bytes.size());
            return false;
        }
        if (stop == '>')
            readValue(input, pos, tag);
        else
            input.Seek(pos);
        return true;
    }
}

} // namespace vellum
