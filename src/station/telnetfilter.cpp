#include "telnetfilter.h"

namespace vellum {

using namespace Telnet;

TelnetFilter::Result TelnetFilter::Feed(std::span<const std::uint8_t> bytes)
{
    Result out;
    out.data.reserve(bytes.size());
    for (std::uint8_t b : bytes) {
        switch (m_state) {
        case State::Data:
            if (b == IAC)
                m_state = State::Command;
            else
                out.data.push_back(b);
            break;
        case State::Command:
            if (b == IAC) {
                out.data.push_back(IAC); // IAC IAC is a literal 255
                m_state = State::Data;
            } else if (b == WILL || b == WONT || b == DO || b == DONT) {
                m_verb = b;
                m_state = State::Option;
            } else {
                m_state = b == SB ? State::Sub : State::Data; // NOP, GA and the like carry nothing
            }
            break;
        case State::Option:
            negotiate(m_verb, b, out.reply);
            m_state = State::Data;
            break;
        case State::Sub: // subnegotiation is skipped up to IAC SE
            if (b == IAC)
                m_state = State::SubCommand;
            break;
        case State::SubCommand:
            m_state = b == SE ? State::Data : State::Sub;
            break;
        }
    }
    return out;
}

void TelnetFilter::negotiate(std::uint8_t verb, std::uint8_t option, std::vector<std::uint8_t> &reply)
{
    // The peer may echo and suppress go-ahead; we perform no option ourselves.
    // A request that matches the state already agreed is not answered, so two
    // sides never loop.
    auto send = [&reply, option](std::uint8_t answer) { reply.insert(reply.end(), {IAC, answer, option}); };
    bool &peer = m_peerEnabled[option];
    switch (verb) {
    case WILL:
        if (option != Echo && option != SuppressGoAhead) {
            send(DONT);
        } else if (!peer) {
            peer = true;
            send(DO);
        }
        break;
    case WONT:
        if (peer) {
            peer = false;
            send(DONT);
        }
        break;
    case DO:
        send(WONT); // the client offers no options of its own
        break;
    case DONT: // nothing to switch off
        break;
    }
}

std::vector<std::uint8_t> TelnetFilter::Escape(std::span<const std::uint8_t> bytes)
{
    std::vector<std::uint8_t> out;
    out.reserve(bytes.size());
    for (std::uint8_t b : bytes) {
        out.push_back(b);
        if (b == IAC)
            out.push_back(IAC);
    }
    return out;
}

} // namespace vellum
