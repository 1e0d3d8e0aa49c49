#include "selection.h"

#include "bytes.h"

#include <algorithm>
#include <cstring>

namespace vellum {

TSelection AllQsosSelection()
{
    TSelection all;
    all.Name = "All QSOs";
    return all;
}

void StoreSelection(const TSelection &s, std::span<std::uint8_t, SelectionStoredSize> out)
{
    std::uint8_t *p = out.data();
    std::memset(p, 0, SelectionStoredSize);
    p[0] = static_cast<std::uint8_t>(s.Name.size());
    std::memcpy(p + 1, s.Name.data(), s.Name.size());
    p[26] = s.DateFilter;
    storeU16(p + 27, s.FirstDate);
    storeU16(p + 29, s.LastDate);
    p[31] = s.GroupFilter;
    std::copy(s.Groups.begin(), s.Groups.end(), p + 32);
}

void LoadSelection(std::span<const std::uint8_t, SelectionStoredSize> in, TSelection &s)
{
    const std::uint8_t *p = in.data();
    s.Name.assign(std::string_view(reinterpret_cast<const char *>(p + 1), std::min<std::size_t>(p[0], 25)));
    s.DateFilter = p[26];
    s.FirstDate = loadU16(p + 27);
    s.LastDate = loadU16(p + 29);
    s.GroupFilter = p[31];
    std::copy(p + 32, p + 64, s.Groups.begin());
}

} // namespace vellum
