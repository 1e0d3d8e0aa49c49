#include "countrytables.h"

#include "logstore/bytes.h"
#include "logstore/compare.h"

namespace vellum {

int TKeyedFixedTable::CompareKeys(const std::uint8_t *a, const std::uint8_t *b) const
{
    std::string_view ka = KeyText(a, m_keyCapacity), kb = KeyText(b, m_keyCapacity);
    int c = m_keyCase == KeyCase::Exact ? CompareExact(ka, kb) : CompareNoCase(ka, kb);
    if (c != 0 || m_dateOffset < 0)
        return c;
    return CompareNumbers(loadU16(a + m_dateOffset), loadU16(b + m_dateOffset));
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
