#include "compare.h"

#include <algorithm>
#include <cstring>

namespace vellum {

int CompareExact(std::string_view a, std::string_view b)
{
    std::size_t common = std::min(a.size(), b.size());
    if (common) {
        int c = std::memcmp(a.data(), b.data(), common); // memcmp compares as unsigned char
        if (c != 0)
            return c < 0 ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

namespace {
inline unsigned char foldLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}
} // namespace

int CompareNoCase(std::string_view a, std::string_view b)
{
    std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        unsigned char x = foldLetter(static_cast<unsigned char>(a[i]));
        unsigned char y = foldLetter(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

} // namespace vellum
