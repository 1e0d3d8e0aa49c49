#include "convcode.h"

#include <bit>
#include <limits>

namespace vellum::psk {

namespace {

constexpr std::uint32_t Poly1 = 0x19;
constexpr std::uint32_t Poly2 = 0x17;

int codeSymbol(std::uint32_t shift)
{
    return (std::popcount(shift & Poly1) & 1) << 1 | (std::popcount(shift & Poly2) & 1);
}

} // namespace

int ConvEncoder::Encode(bool bit)
{
    m_shift = (m_shift << 1 | (bit ? 1u : 0u)) & 0x1F;
    return codeSymbol(m_shift);
}

void ViterbiDecoder::Reset()
{
    m_metric.fill(0);
    m_path.fill(0);
    m_steps = 0;
}

std::optional<bool> ViterbiDecoder::Symbol(const std::array<double, 4> &match)
{
    std::array<double, States> metric;
    std::array<std::uint64_t, States> path{};
    metric.fill(-std::numeric_limits<double>::infinity());
    // State = the last four input bits; a new bit b from state s goes to ((s << 1) | b) & 15
    // and the encoder's register then holds (s << 1) | b.
    for (std::uint32_t state = 0; state < States; ++state)
        for (std::uint32_t bit = 0; bit < 2; ++bit) {
            std::uint32_t shift = (state << 1 | bit) & 0x1F;
            std::uint32_t next = shift & 0xF;
            double candidate = m_metric[state] + match[static_cast<std::size_t>(codeSymbol(shift))];
            if (candidate > metric[next]) {
                metric[next] = candidate;
                path[next] = m_path[state] << 1 | bit;
            }
        }
    double best = metric[0];
    std::size_t bestState = 0;
    for (std::size_t s = 1; s < States; ++s)
        if (metric[s] > best)
            best = metric[s], bestState = s;
    for (std::size_t s = 0; s < States; ++s)
        m_metric[s] = metric[s] - best; // keep the numbers small
    m_path = path;
    if (++m_steps <= Delay)
        return std::nullopt;
    return (m_path[bestState] >> Delay & 1u) != 0;
}

} // namespace vellum::psk
