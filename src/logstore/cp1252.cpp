#include "cp1252.h"

#include <cstdint>

namespace vellum {

namespace {
// Unicode code points of the bytes 0x80..0x9F; 0 where cp1252 defines none.
const char32_t HighControls[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

void appendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

int toCp1252(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i)
        if (HighControls[i] == cp && cp != 0)
            return 0x80 + i;
    return -1;
}
} // namespace

std::string Cp1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else if (b < 0xA0)
            appendUtf8(out, HighControls[b - 0x80] ? HighControls[b - 0x80] : 0xFFFD);
        else
            appendUtf8(out, b);
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view text, int *replaced)
{
    std::string out;
    out.reserve(text.size());
    int count = 0;
    for (std::size_t i = 0; i < text.size();) {
        auto b = static_cast<unsigned char>(text[i]);
        char32_t cp = 0;
        std::size_t length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        bool valid = length > 0 && i + length <= text.size();
        if (valid) {
            cp = length == 1 ? b : b & (0x7F >> length);
            for (std::size_t k = 1; k < length; ++k) {
                auto cont = static_cast<unsigned char>(text[i + k]);
                if ((cont & 0xC0) != 0x80) {
                    valid = false;
                    break;
                }
                cp = (cp << 6) | (cont & 0x3F);
            }
        }
        int mapped = valid ? toCp1252(cp) : -1;
        if (mapped < 0) {
            out += '?';
            ++count;
        } else {
            out += static_cast<char>(mapped);
        }
        i += valid ? length : 1;
    }
    if (replaced)
        *replaced = count;
    return out;
}

} // namespace vellum
