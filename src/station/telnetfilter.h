#pragma once
// The telnet layer of the TCP client: command sequences in the received stream
// are taken out and answered, so a cluster node sees a plain, sane client, and
// only the data reaches the caller. A sequence may be split across reads.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace vellum {

namespace Telnet {
inline constexpr std::uint8_t IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, SE = 240;
inline constexpr std::uint8_t Echo = 1, SuppressGoAhead = 3;
} // namespace Telnet

class TelnetFilter {
public:
    struct Result {
        std::vector<std::uint8_t> data;  ///< for the caller
        std::vector<std::uint8_t> reply; ///< to send back to the peer
    };
    /// Takes the next received bytes.
    Result Feed(std::span<const std::uint8_t> bytes);
    /// Data to send with a literal 255 doubled.
    static std::vector<std::uint8_t> Escape(std::span<const std::uint8_t> bytes);

private:
    enum class State { Data, Command, Option, Sub, SubCommand };
    void negotiate(std::uint8_t verb, std::uint8_t option, std::vector<std::uint8_t> &reply);

    State m_state = State::Data;
    std::uint8_t m_verb = 0;
    std::array<bool, 256> m_peerEnabled{}; ///< options the peer performs (WILL accepted)
};

} // namespace vellum
