#pragma once
// Page mode of a terminal: a web page of spots fetched with HTTP/1.0 and its
// <PRE> block turned into terminal lines. The reader is the state machine only;
// the terminal opens, writes and closes its TCP client as each step says.

#include "clusteraddress.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vellum {

/// What the terminal does after a step of the reader.
struct HttpStep {
    std::vector<std::string> captions; ///< the terminal's caption, in order (the last one stays)
    std::string send;                  ///< to write to the connection
    std::string received;              ///< terminal lines (with CR LF) for the receive rules
    std::optional<std::string> warning;
    bool open = false;   ///< connect to Address()
    bool close = false;  ///< close the connection
    bool suspendSpots = false, resumeSpots = false;
};

class HttpPageReader {
public:
    enum class State { Idle = 0, Connecting = 1, StatusLine = 2, Body = 3, Failed = 4 };
    static constexpr int MaxRedirects = 5;
    static constexpr std::size_t MaxLine = 253;

    explicit HttpPageReader(ClusterAddress address) : m_address(std::move(address)) {}
    const ClusterAddress &Address() const { return m_address; }
    State CurrentState() const { return m_state; }

    /// Start (or, while a transfer runs, abort it).
    HttpStep Start();
    HttpStep Connected();
    HttpStep Received(std::span<const std::uint8_t> bytes);
    HttpStep Disconnected();

private:
    void line(const std::string &text, HttpStep &step);
    void statusLine(const std::string &text, HttpStep &step);
    void headerLine(const std::string &text, HttpStep &step);
    void bodyLine(const std::string &text, HttpStep &step);
    void fail(const std::string &message, HttpStep &step);
    void redirect(const std::string &url, HttpStep &step);

    ClusterAddress m_address;
    State m_state = State::Idle;
    bool m_inHeaders = false;
    bool m_html = false;
    bool m_redirecting = false;
    std::optional<std::string> m_location;
    bool m_pre = false;
    int m_redirects = 0;
    std::string m_partial;
    char m_lastEnd = 0;
};

/// A body line of the page as a terminal line (with CR LF); empty for lines shorter than 30 characters.
std::string ConvertSpotPageLine(std::string_view line);

} // namespace vellum
