#pragma once
// The rate-1/2 convolutional code of QPSK31 (constraint length 5, generator
// polynomials 0x19 and 0x17) and its Viterbi decoder on soft symbols.

#include <array>
#include <cstdint>
#include <optional>

namespace vellum::psk {

/// Two output bits (0..3) per input bit.
class ConvEncoder {
public:
    int Encode(bool bit);
    void Reset() { m_shift = 0; }

private:
    std::uint32_t m_shift = 0;
};

/// Takes, per received symbol, how well it matches each of the four code symbols
/// (higher is better) and gives the decoded bits with a fixed delay.
class ViterbiDecoder {
public:
    static constexpr int Delay = 32;
    std::optional<bool> Symbol(const std::array<double, 4> &match);
    void Reset();

private:
    static constexpr int States = 16;
    std::array<double, States> m_metric{};
    std::array<std::uint64_t, States> m_path{};
    int m_steps = 0;
};

} // namespace vellum::psk
