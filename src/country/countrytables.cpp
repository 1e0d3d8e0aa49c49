#include "countrytables.h"

#include "logstore/bytes.h"
#include "logstore/compare.h"

#include <algorithm>

namespace vellum {

int TKeyedFixedTable::CompareKeys(const std::uint8_t *a, const std::uint8_t *b) const
{
    std::string_view ka = KeyText(a, m_keyCapacity), kb = KeyText(b, m_keyCapacity);
    int c = m_keyCase == KeyCase::Exact ? CompareExact(ka, kb) : CompareNoCase(ka, kb);
    if (c != 0 || m_dateOffset < 0)
        return c;
    return CompareNumbers(loadU16(a + m_dateOffset), loadU16(b + m_dateOffset));
}

std::vector<std::uint8_t> TKeyedFixedTable::keyImage(std::string_view key) const
{
    std::vector<std::uint8_t> image(static_cast<std::size_t>(RecSize()), 0);
    std::size_t length = std::min({key.size(), m_keyCapacity, image.size() - 1});
    image[0] = static_cast<std::uint8_t>(length);
    std::copy_n(key.begin(), length, image.begin() + 1);
    return image;
}

bool TKeyedFixedTable::Search(std::string_view key, std::int32_t &position) const
{
    return TSortedCollection::Search(keyImage(key).data(), position);
}

std::int32_t TKeyedFixedTable::IndexOfKey(std::string_view key) const
{
    return TSortedCollection::IndexOfKey(keyImage(key).data());
}

int TKeyedTailTable::CompareKeys(const std::uint8_t *a, const std::uint8_t *b) const
{
    return CompareNoCase(KeyText(a, m_keyCapacity), KeyText(b, m_keyCapacity));
}

int TKeyedTwoIndex::CompareKeys(const std::uint8_t *a, const std::uint8_t *b) const
{
    return CompareNoCase(KeyText(a, m_keyCapacity), KeyText(b, m_keyCapacity));
}

} // namespace vellum
